// The busy window: no caption, no buttons, on top of the other windows.
#include "app/forms/Convnot.h"

#include "app/forms/FormParts.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace quillory {

TConvertNotify::TConvertNotify(QWidget* parent)
    // A window of its own even when it has an owner, framed by a single line, with no title.
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("ConvertNotify"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(11);
    setFont(arial);
    setFixedSize(kClientWidth, kClientHeight);
    setStyleSheet(QStringLiteral("#ConvertNotify { border: 1px solid palette(shadow); }"));
    setAttribute(Qt::WA_StyledBackground);

    WhatAmIdoing = AddLabel(this, "WhatAmIdoing", "Converting to new Quillory! file format....", {16, 36, 323, 20});
    Status = AddLabel(this, "Status", "Working...", {16, 80, 323, 20});
    for (QLabel* label : {WhatAmIdoing, Status})
        label->setAlignment(Qt::AlignCenter);
    QFont bold = font();
    bold.setBold(true);
    WhatAmIdoing->setFont(bold);
    FormCreate();
}

void TConvertNotify::FormCreate()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize area = screen->size();
    move((area.width() - width()) / 2, (area.height() - height()) / 2);
}

void TConvertNotify::SetStatus(const QString& text)
{
    Status->setText(text);
    Status->repaint();
}

} // namespace quillory
