// The status line: three sunken fields side by side.
#include "richtext/qt/StatusBar.h"

#include <QHBoxLayout>
#include <QLabel>

namespace quillory {

TWPStatusBarBasic::TWPStatusBarBasic(QWidget* parent) : QFrame(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(2);
    for (int number : {StatusItem, FormatItem, FileNameItem}) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Item%1").arg(number));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        if (number == FormatItem)
            label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("PLAIN")) + 12);
        else if (number == StatusItem)
            label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("formatting ...")) + 12);
        layout->addWidget(label, number == FileNameItem ? 1 : 0);
        items_[number] = label;
    }
}

bool TWPStatusBarBasic::SetItem(int number, const QString& text)
{
    QLabel* label = ItemLabel(number);
    if (!label || label->text() == text)
        return false;
    label->setText(text);
    return true;
}

QString TWPStatusBarBasic::Item(int number) const
{
    const QLabel* label = ItemLabel(number);
    return label ? label->text() : QString();
}

QLabel* TWPStatusBarBasic::ItemLabel(int number) const
{
    const auto found = items_.find(number);
    return found == items_.end() ? nullptr : found->second;
}

} // namespace quillory
