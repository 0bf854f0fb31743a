// The month grid: cell sizes follow the control's size, the 1st of the month always stands in
// the first row of days, and only a cell with a day number can be selected.
#include "controls/Calendar.h"

#include "controls/CalendarGrid.h"
#include "platform/Clock.h"

#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace quillory {

namespace {

// Today's cell is framed in this colour, apart from the selection and from any marks.
const QColor kTodayFrame(0, 0, 160);

} // namespace

TCalendar::TCalendar(QWidget* parent) : QWidget(parent), selected_(Today())
{
    setFocusPolicy(Qt::StrongFocus);
    UpdateCellSizes();
}

void TCalendar::SetSelectedDate(Day date)
{
    date = std::clamp(date, Day::First(), Day::Last());
    if (date == selected_)
        return;
    selected_ = date;
    update();
    if (OnChange)
        OnChange();
}

void TCalendar::SetYear(int year)
{
    year = std::clamp(year, int(Day::kFirstYear), int(Day::kLastYear));
    SetSelectedDate(*Day::FromDate(year, Month(), std::min(DayOfMonth(), DaysInMonth(year, Month()))));
}

void TCalendar::SetMonth(int month)
{
    month = std::clamp(month, 1, 12);
    SetSelectedDate(*Day::FromDate(Year(), month, std::min(DayOfMonth(), DaysInMonth(Year(), month))));
}

void TCalendar::SetDay(int day)
{
    SetSelectedDate(*Day::FromDate(Year(), Month(), std::clamp(day, 1, DaysInMonth(Year(), Month()))));
}

Day TCalendar::StepMonths(int months) const
{
    return StepCalendarMonths(selected_, months);
}

Day TCalendar::StepYears(int years) const
{
    return StepCalendarYears(selected_, years);
}

void TCalendar::SetStartOfWeek(int day)
{
    startOfWeek_ = ((day % 7) + 7) % 7;
    update();
}

QString TCalendar::CellText(int column, int row) const
{
    if (column < 0 || column >= kCalendarColumns || row < 0 || row >= kCalendarRows)
        return {};
    if (row == 0) {
        const int weekday = MonthGridWeekday(column, startOfWeek_);
        return QLocale().dayName(weekday == 0 ? 7 : weekday, QLocale::ShortFormat);  // Qt counts from Monday
    }
    const int day = MonthGridDay(Year(), Month(), startOfWeek_, column, row);
    return day > 0 ? QString::number(day) : QString();
}

void TCalendar::UpdateCellSizes()
{
    colWidth_ = std::max(0, (width() - (kCalendarColumns - 1) * kGridLineWidth) / kCalendarColumns);
    rowHeight_ = std::max(0, (height() - (kCalendarRows - 1) * kGridLineWidth) / kCalendarRows);
}

QRect TCalendar::CellRect(int column, int row) const
{
    return QRect(column * (colWidth_ + kGridLineWidth), row * (rowHeight_ + kGridLineWidth), colWidth_, rowHeight_);
}

QPoint TCalendar::CellAt(QPoint position) const
{
    const int column = position.x() / std::max(1, colWidth_ + kGridLineWidth);
    const int row = position.y() / std::max(1, rowHeight_ + kGridLineWidth);
    if (position.x() < 0 || position.y() < 0 || column >= kCalendarColumns || row >= kCalendarRows)
        return {-1, -1};
    return {column, row};
}

bool TCalendar::SelectCell(QPoint cell)
{
    if (cell.y() < 1)
        return false;
    const int day = MonthGridDay(Year(), Month(), startOfWeek_, cell.x(), cell.y());
    if (day == 0)
        return false;
    SetDay(day);
    return true;
}

void TCalendar::DrawCell(QPainter& painter, int column, int row, const QRect& rect, TGridDrawState state,
                         const QString& text)
{
    painter.fillRect(rect, painter.brush());
    painter.drawText(rect, Qt::AlignCenter, text);
}

void TCalendar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colors = palette();
    painter.fillRect(rect(), colors.color(QPalette::Mid));  // the grid lines
    const Day today = Today();
    for (int row = 0; row < kCalendarRows; ++row) {
        for (int column = 0; column < kCalendarColumns; ++column) {
            const QString text = CellText(column, row);
            const bool selected = row > 0 && text.toInt() == DayOfMonth();
            TGridDrawState state = TGridDrawState::None;
            if (row == 0)
                state = TGridDrawState::Fixed;
            else if (selected)
                state = hasFocus() ? TGridDrawState::Selected | TGridDrawState::Focused : TGridDrawState::Selected;
            const QPalette::ColorRole face = row == 0 ? QPalette::Button : selected ? QPalette::Highlight : QPalette::Base;
            const QPalette::ColorRole ink = row == 0  ? QPalette::ButtonText
                                          : selected ? QPalette::HighlightedText
                                                     : QPalette::Text;
            painter.setBrush(colors.color(face));
            painter.setPen(colors.color(ink));
            painter.setFont(font());
            const QRect cell = CellRect(column, row);
            painter.save();
            DrawCell(painter, column, row, cell, state, text);
            painter.restore();
            if (row > 0 && !text.isEmpty() && today.Year() == Year() && today.Month() == Month()
                && text.toInt() == today.DayOfMonth()) {
                painter.setBrush(Qt::NoBrush);
                painter.setPen(QPen(kTodayFrame, 2));
                painter.drawRect(cell.adjusted(1, 1, -1, -1));
            }
        }
    }
    if (hasFocus()) {
        // The focus frame around the selected cell, as a grid shows it.
        for (int row = 1; row < kCalendarRows; ++row)
            for (int column = 0; column < kCalendarColumns; ++column)
                if (MonthGridDay(Year(), Month(), startOfWeek_, column, row) == DayOfMonth()) {
                    painter.setBrush(Qt::NoBrush);
                    painter.setPen(QPen(colors.color(QPalette::HighlightedText), 1, Qt::DotLine));
                    painter.drawRect(CellRect(column, row).adjusted(0, 0, -1, -1));
                }
    }
}

void TCalendar::resizeEvent(QResizeEvent*)
{
    UpdateCellSizes();
}

void TCalendar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        SelectCell(CellAt(event->position().toPoint()));
    QWidget::mousePressEvent(event);
}

void TCalendar::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && SelectCell(CellAt(event->position().toPoint())) && OnDblClick)
        OnDblClick();
}

void TCalendar::keyPressEvent(QKeyEvent* event)
{
    const bool control = event->modifiers() & Qt::ControlModifier;
    const auto moveBy = [this](int days) {
        const int serial = std::clamp(selected_.Serial() + days, Day::First().Serial(), Day::Last().Serial());
        SetSelectedDate(Day::FromSerial(serial));
    };
    switch (event->key()) {
    case Qt::Key_Left: moveBy(-1); break;
    case Qt::Key_Right: moveBy(1); break;
    case Qt::Key_Up: moveBy(-7); break;
    case Qt::Key_Down: moveBy(7); break;
    case Qt::Key_Home: SetDay(1); break;
    case Qt::Key_End: SetDay(DaysInMonth(Year(), Month())); break;
    case Qt::Key_PageUp: control ? PrevYear() : PrevMonth(); break;
    case Qt::Key_PageDown: control ? NextYear() : NextMonth(); break;
    default:
        // Enter and Escape belong to the dialog around the grid.
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

} // namespace quillory
