// TConvertNotify: a frameless window that stays on top, centred on the screen.
#include "app/forms/Convnot.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace quillory {

TConvertNotify::TConvertNotify(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("ConvertNotify"));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    setFont(font);
    setFixedSize(kClientWidth, kClientHeight);

    // The single-line border of the designed form.
    auto* border = new QFrame(this);
    border->setFrameShape(QFrame::Box);
    border->setGeometry(0, 0, kClientWidth, kClientHeight);

    WhatAmIdoing = new QLabel(QStringLiteral("Converting to new Quillory! file format...."), this);
    WhatAmIdoing->setObjectName(QStringLiteral("WhatAmIdoing"));
    Status = new QLabel(QStringLiteral("Working..."), this);
    Status->setObjectName(QStringLiteral("Status"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addStretch();
    layout->addWidget(WhatAmIdoing, 0, Qt::AlignHCenter);
    layout->addSpacing(12);
    layout->addWidget(Status, 0, Qt::AlignHCenter);
    layout->addStretch();
    FormCreate();
}

void TConvertNotify::FormCreate()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

void TConvertNotify::SetStatus(const QString& text)
{
    Status->setText(text);
    Status->repaint();
}

} // namespace quillory
