// TCalendar: a month grid of 7 columns and 7 rows - the short day names in the fixed first row,
// the days of the selected date's month below - in which a click or the keyboard selects a day.
#pragma once

// moc cannot read the standard library headers that these pull in; it does not need them.
#ifndef Q_MOC_RUN
#include "platform/Day.h"
#endif

#include <QWidget>
#include <functional>

namespace quillory {

// The state in which a cell is drawn.
enum class TGridDrawState : unsigned {
    None = 0,
    Selected = 1,  // the selected day
    Focused = 2,   // the selected day while the grid has the keyboard focus
    Fixed = 4,     // the header row
};
constexpr TGridDrawState operator|(TGridDrawState a, TGridDrawState b)
{
    return TGridDrawState(unsigned(a) | unsigned(b));
}
constexpr bool HasState(TGridDrawState state, TGridDrawState bit) { return (unsigned(state) & unsigned(bit)) != 0; }

class TCalendar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kGridLineWidth = 1;

    explicit TCalendar(QWidget* parent = nullptr);

    // The selected date; the grid shows its month. Today at creation.
    Day SelectedDate() const noexcept { return selected_; }
    void SetSelectedDate(Day date);
    int Year() const noexcept { return selected_.Year(); }
    int Month() const noexcept { return selected_.Month(); }
    int DayOfMonth() const noexcept { return selected_.DayOfMonth(); }
    // Each keeps the other parts; a day number past the month's end becomes its last day.
    void SetYear(int year);
    void SetMonth(int month);
    void SetDay(int day);
    void NextMonth() { SetSelectedDate(StepMonths(1)); }
    void PrevMonth() { SetSelectedDate(StepMonths(-1)); }
    void NextYear() { SetSelectedDate(StepYears(1)); }
    void PrevYear() { SetSelectedDate(StepYears(-1)); }

    // 0 = weeks start on Sunday .. 6 = Saturday.
    int StartOfWeek() const noexcept { return startOfWeek_; }
    void SetStartOfWeek(int day);

    // The text of a cell: a short day name in row 0, a day number or nothing below.
    QString CellText(int column, int row) const;
    QRect CellRect(int column, int row) const;
    // The cell of a point, or (-1, -1).
    QPoint CellAt(QPoint position) const;
    int ColWidth() const noexcept { return colWidth_; }
    int RowHeight() const noexcept { return rowHeight_; }

    // Raised whenever SelectedDate changes.
    std::function<void()> OnChange;
    // Raised by a double click, after its first click selected the day under the mouse.
    std::function<void()> OnDblClick;

protected:
    // Draws one cell with the brush, pen and font already set for its state: the rectangle
    // filled, the text centred.
    virtual void DrawCell(QPainter& painter, int column, int row, const QRect& rect, TGridDrawState state,
                          const QString& text);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Day StepMonths(int months) const;
    Day StepYears(int years) const;
    void UpdateCellSizes();
    // Selects the day of a cell; false for a cell without text.
    bool SelectCell(QPoint cell);

    Day selected_;
    int startOfWeek_ = 0;
    int colWidth_ = 0;
    int rowHeight_ = 0;
};

} // namespace quillory
