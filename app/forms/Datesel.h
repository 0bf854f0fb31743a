// TDateSelector: the modal month calendar in which every day with an entry carries a small red
// square; the user picks a day and confirms it.
#pragma once

// moc cannot read the standard library headers that these pull in; it does not need them.
#ifndef Q_MOC_RUN
#include "platform/Day.h"
#endif

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QPushButton;

namespace quillory {

class TCalendarWithGlyphs;
class TGraphicPanel;
enum class TGridDrawState : unsigned;

// Fills the list with the day numbers ("1".."31") of a month that have entries.
using TGetEntryDaysEvent = std::function<void(std::vector<std::string>& days, int year, int month)>;

class TDateSelector : public QDialog {
    Q_OBJECT

public:
    explicit TDateSelector(QWidget* parent = nullptr);

    // Set by the caller before the dialog is shown: the day it starts on, and who answers
    // which days of a month have entries.
    Day InitialDate;
    TGetEntryDaysEvent OnGetEntryDays;
    // The day numbers with entries of the month last passed to OnGetEntryDays.
    std::vector<std::string> EntryDays;

    TGraphicPanel* ShowDatePanel = nullptr;
    TCalendarWithGlyphs* Calendar = nullptr;
    QPushButton* PrevYear = nullptr;
    QPushButton* PrevMonth = nullptr;
    QPushButton* DoCurrentDate = nullptr;
    QPushButton* NextMonth = nullptr;
    QPushButton* NextYear = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

    // The first activation: the calendar goes to InitialDate and the panel and marks follow.
    void FormActivate();
    void CalendarChange();
    void CalendarDrawCalendarCellEvent(QPainter& can, int ACol, int ARow, const QRect& ARect, TGridDrawState AState,
                                       const QString& Celltext);
    void CalendarDblClick() { done(Accepted); }
    void OKButtonClick() { done(Accepted); }
    void CancelButtonClick() { done(Rejected); }
    void PrevYearClick();
    void PrevMonthClick();
    void DoCurrentDateClick();
    void NextMonthClick();
    void NextYearClick();

    // How often OnGetEntryDays has been asked, for tests of when the marks are refreshed.
    int EntryDayRequests() const noexcept { return entryDayRequests_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();

    bool initialising_ = true;
    Day selectedDate_;
    int lastMonth_ = -1;
    int lastYear_ = -1;
    int entryDayRequests_ = 0;
};

} // namespace quillory
