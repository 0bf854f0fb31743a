// SteadyScrollBar: a scroll bar that is repainted on a change of its range only when that moves
// or resizes its slider on the screen. In a long document every key that adds or takes away a
// line changes the range by a few pixels in a hundred thousand, which the slider does not show.
#pragma once

#include <QRect>
#include <QScrollBar>

#include <optional>

namespace quillory {

class SteadyScrollBar : public QScrollBar {
public:
    explicit SteadyScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Everything a change of the range alters in the painted bar.
    struct Look {
        QRect slider;
        bool empty = false; // no range: no slider
        bool atMinimum = false;
        bool atMaximum = false;
        friend bool operator==(const Look&, const Look&) = default;
    };
    Look look() const;

    std::optional<Look> painted_; // as last painted
};

} // namespace quillory
