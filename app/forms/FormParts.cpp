#include "app/forms/FormParts.h"

#include <QDir>
#include <QLabel>

namespace quillory {

QLabel* AddLabel(QWidget* parent, const char* name, const char* text, QRect place)
{
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(place);
    return label;
}

QLabel* AddWrappedLabel(QWidget* parent, const char* name, const char* text, QRect place)
{
    QLabel* label = AddLabel(parent, name, text, place);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QString ShownFolderName(const std::string& folder)
{
    QString shown = QDir::toNativeSeparators(QString::fromStdString(folder));
    while (shown.size() > 1 && shown.endsWith(QDir::separator()))
        shown.chop(1);
    shown.replace(QDir::separator(), QString(QDir::separator()) + QChar(0x200B));  // zero-width space
    return shown;
}

void ChainTabs(std::initializer_list<QWidget*> widgets)
{
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

void LabelFor(QLabel* label, QWidget* field)
{
    label->setBuddy(field);
    field->setAccessibleName(label->text().remove(QLatin1Char('&')).remove(QLatin1Char(':')).trimmed());
}

} // namespace quillory
