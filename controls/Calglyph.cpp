// Day cells go to the owner's drawing event; the header row and empty cells stay the grid's.
#include "controls/Calglyph.h"

namespace quillory {

void TCalendarWithGlyphs::DrawCell(QPainter& painter, int column, int row, const QRect& rect, TGridDrawState state,
                                   const QString& text)
{
    if (DrawCalendarCellEvent && !text.isEmpty() && text.front().isDigit())
        DrawCalendarCellEvent(painter, column, row, rect, state, text);
    else
        TCalendar::DrawCell(painter, column, row, rect, state, text);
}

} // namespace quillory
