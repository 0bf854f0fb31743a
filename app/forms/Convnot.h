// TConvertNotify: the small busy window with a headline and a status line that the conversion
// of the legacy diary, the search across entries and the export show while they work.
#pragma once

#include <QWidget>

class QLabel;

namespace quillory {

class TConvertNotify : public QWidget {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 355;
    static constexpr int kClientHeight = 146;

    // Centred on the screen; not shown yet. The owner sets the labels, shows it without waiting
    // and destroys it when the work is done.
    explicit TConvertNotify(QWidget* parent = nullptr);

    // Sets the status line and repaints it at once, since the caller is busy until it is done.
    void SetStatus(const QString& text);

    QLabel* WhatAmIdoing = nullptr;  // the headline
    QLabel* Status = nullptr;        // the line below it

private:
    void FormCreate();
};

} // namespace quillory
