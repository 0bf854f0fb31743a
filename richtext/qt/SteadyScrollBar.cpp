#include "richtext/qt/SteadyScrollBar.h"

#include <QStyle>
#include <QStyleOptionSlider>

namespace quillory {

SteadyScrollBar::SteadyScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {}

SteadyScrollBar::Look SteadyScrollBar::look() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    Look seen;
    seen.slider = style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
    seen.empty = minimum() == maximum();
    seen.atMinimum = value() == minimum();
    seen.atMaximum = value() == maximum();
    return seen;
}

void SteadyScrollBar::sliderChange(SliderChange change)
{
    if (change == SliderRangeChange && painted_ && *painted_ == look())
        return; // the bar on the screen is as it should be
    QScrollBar::sliderChange(change);
}

void SteadyScrollBar::paintEvent(QPaintEvent* event)
{
    QScrollBar::paintEvent(event);
    painted_ = look();
}

} // namespace quillory
