// TCalendarWithGlyphs: the month grid whose owner draws the day cells itself, so that it can
// put marks (the date selector's red squares) into them.
#pragma once

#include "controls/Calendar.h"

#include <functional>

class QPainter;

namespace quillory {

// Draws one day cell: the painter (`can`), the cell, its rectangle, its state and its text.
using TDrawCalendarCellEvent = std::function<void(QPainter& can, int ACol, int ARow, const QRect& ARect,
                                                  TGridDrawState AState, const QString& Celltext)>;

class TCalendarWithGlyphs : public TCalendar {
    Q_OBJECT

public:
    using TCalendar::TCalendar;

    // When set, draws every cell whose text begins with a digit; other cells are drawn as the
    // plain grid draws them.
    TDrawCalendarCellEvent DrawCalendarCellEvent;

protected:
    void DrawCell(QPainter& painter, int column, int row, const QRect& rect, TGridDrawState state,
                  const QString& text) override;
};

} // namespace quillory
