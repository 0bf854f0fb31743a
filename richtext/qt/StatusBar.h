// TWPStatusBarBasic: the editor's status line. Item 4 is the status text ("Ready", or what the
// editor is busy with), item 18 the memory format, item 20 the remembered file name.
#pragma once

#include <QFrame>
#include <QString>

#include <map>

class QLabel;

namespace quillory {

class TWPStatusBarBasic : public QFrame {
    Q_OBJECT

public:
    static constexpr int StatusItem = 4;
    static constexpr int FormatItem = 18;
    static constexpr int FileNameItem = 20;

    explicit TWPStatusBarBasic(QWidget* parent = nullptr);

    // Items other than 4, 18 and 20 are not shown and read back empty. True when the text changed.
    bool SetItem(int number, const QString& text);
    QString Item(int number) const;
    QLabel* ItemLabel(int number) const;

private:
    std::map<int, QLabel*> items_;
};

} // namespace quillory
