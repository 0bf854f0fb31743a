// Painting of the window-less panel: border, outer bevel, border width, inner bevel, face,
// caption - the order in which the framework's own panel paints itself.
#include "controls/Graphp.h"

#include <QEvent>
#include <QPainter>

namespace quillory {

TGraphicPanel::TGraphicPanel(QWidget* parent) : QWidget(parent), color_(palette().color(QPalette::Button))
{
    resize(kDefaultSize);
}

void TGraphicPanel::SetAlignment(PanelAlignment alignment)
{
    alignment_ = alignment;
    update();
}

void TGraphicPanel::SetBevelInner(PanelBevel bevel)
{
    bevelInner_ = bevel;
    update();
}

void TGraphicPanel::SetBevelOuter(PanelBevel bevel)
{
    bevelOuter_ = bevel;
    update();
}

void TGraphicPanel::SetBevelWidth(int width)
{
    bevelWidth_ = width;
    update();
}

void TGraphicPanel::SetBorderWidth(int width)
{
    borderWidth_ = width;
    update();
}

void TGraphicPanel::SetBorderStyle(PanelBorderStyle style)
{
    borderStyle_ = style;
    update();
}

void TGraphicPanel::SetLocked(bool locked)
{
    locked_ = locked;
    update();
}

void TGraphicPanel::SetCaption(const QString& caption)
{
    caption_ = caption;
    update();
}

void TGraphicPanel::SetColor(const QColor& color)
{
    color_ = color;
    update();
}

void TGraphicPanel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        update();
    QWidget::changeEvent(event);
}

QRect TGraphicPanel::PaintBevel(QPainter& painter, QRect r, PanelBevel bevel, int frames) const
{
    const QColor highlight = palette().color(QPalette::Light);
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor& topLeft = bevel == PanelBevel::Raised ? highlight : shadow;
    const QColor& bottomRight = bevel == PanelBevel::Raised ? shadow : highlight;
    for (int i = 0; i < frames && r.isValid(); ++i) {
        painter.setPen(topLeft);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
        r.adjust(1, 1, -1, -1);
    }
    return r;
}

void TGraphicPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QRect r = rect();
    if (borderStyle_ == PanelBorderStyle::Single) {
        painter.setPen(Qt::black);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }
    if (bevelOuter_ != PanelBevel::None)
        r = PaintBevel(painter, r, bevelOuter_, bevelWidth_);
    for (int i = 0; i < borderWidth_ && r.isValid(); ++i) {
        painter.setPen(color_);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }
    if (bevelInner_ != PanelBevel::None)
        r = PaintBevel(painter, r, bevelInner_, bevelWidth_);
    if (!r.isValid())
        return;
    painter.fillRect(r, color_);

    if (caption_.isEmpty())
        return;
    // The caption sits in a band as high as the letter "W", centred vertically.
    const int band = painter.fontMetrics().boundingRect(QLatin1Char('W')).height();
    QRect text = r;
    text.setTop(r.top() + (r.height() - band) / 2);
    text.setHeight(band);
    int flags = Qt::TextExpandTabs | Qt::AlignVCenter | Qt::TextDontClip;
    switch (alignment_) {
    case PanelAlignment::Left: flags |= Qt::AlignLeft; break;
    case PanelAlignment::Right: flags |= Qt::AlignRight; break;
    case PanelAlignment::Center: flags |= Qt::AlignHCenter; break;
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(text, flags, caption_);
}

} // namespace quillory
