// TDefaultFontDialog: the default font of new days - Qt's font chooser with the colours the
// editor knows beside it.
#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

class QComboBox;
class QDialogButtonBox;
class QFontDialog;

namespace quillory {

class TDefaultFontDialog : public QDialog {
    Q_OBJECT

public:
    // `color` is shown chosen when it is one of the editor's colours, else black.
    TDefaultFontDialog(const QFont& font, const QColor& color, QWidget* parent = nullptr);

    QFont selectedFont() const;
    QColor selectedColor() const;

    QFontDialog* DefaultFontdialog = nullptr; // the font, size and style
    QComboBox* ColorBox = nullptr;
    QDialogButtonBox* Buttons = nullptr;
};

} // namespace quillory
