// The date selector driven as a person would: clicks on days and buttons, the keyboard, and the
// red marks on exactly the days that have entry files; and the main window's calendar button.
#include "app/forms/Datesel.h"

#include "TempFolder.h"
#include "app/EntryFiles.h"
#include "app/EntryStore.h"
#include "app/forms/Main.h"
#include "controls/CalendarGrid.h"
#include "controls/Calglyph.h"
#include "controls/Graphp.h"
#include "platform/Clock.h"
#include "platform/qt/DateNames.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/PrinterList.h"
#include "richtext/qt/RichText.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace quillory {
namespace {

namespace fs = std::filesystem;

Day D(int year, int month, int day) { return *Day::FromDate(year, month, day); }

TEST(CalendarGrid, TheFirstOfTheMonthAlwaysStandsInTheFirstRow)
{
    const struct {
        int year, month, startOfWeek;
        int columnOfFirst;  // in row 1
        int lastRow;        // of the month's last day
    } rows[] = {
        {2023, 10, 0, 0, 5},  // the 1st a Sunday: first column
        {2024, 6, 0, 6, 6},   // the 1st a Saturday: last column, the 30th in row 6
        {2026, 2, 0, 0, 4},   // 28 days from a Sunday fill four rows exactly
        {2024, 6, 1, 5, 5},   // weeks from Monday
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.year) + "-" + std::to_string(row.month));
        for (int column = 0; column < 7; ++column)
            EXPECT_EQ(MonthGridDay(row.year, row.month, row.startOfWeek, column, 1) == 1, column == row.columnOfFirst);
        const int last = DaysInMonth(row.year, row.month);
        int lastRow = 0;
        for (int r = 1; r < 7; ++r)
            for (int column = 0; column < 7; ++column)
                if (MonthGridDay(row.year, row.month, row.startOfWeek, column, r) == last)
                    lastRow = r;
        EXPECT_EQ(lastRow, row.lastRow);
    }
}

TEST(CalendarGrid, MonthAndYearStepsKeepAValidDay)
{
    const struct {
        Day from;
        int months, years;
        Day to;
    } rows[] = {
        {D(2024, 3, 31), -1, 0, D(2024, 2, 29)},  // leap year
        {D(2023, 3, 31), -1, 0, D(2023, 2, 28)},
        {D(2023, 1, 31), 1, 0, D(2023, 2, 28)},
        {D(2024, 12, 15), 1, 0, D(2025, 1, 15)},
        {D(2024, 1, 15), -1, 0, D(2023, 12, 15)},
        {D(2024, 2, 29), 0, 1, D(2025, 2, 28)},
        {D(2024, 2, 29), 0, -4, D(2020, 2, 28)},  // the 28th first, even into a leap year
        {D(2000, 2, 29), 0, 100, D(2100, 2, 28)},
        {D(9999, 12, 31), 1, 0, D(9999, 12, 31)}, // past the last nameable year: unchanged
        {D(1, 1, 1), 0, -1, D(1, 1, 1)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(IsoText(row.from));
        EXPECT_EQ(row.months ? StepCalendarMonths(row.from, row.months) : StepCalendarYears(row.from, row.years), row.to);
    }
}

class DateSelectorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(folder.withSlash());
        fs::create_directories(folder.path() / "Entries");
    }
    void TearDown() override { SetProgramFolder(previousFolder); }

    void Entry(Day day) const { WriteEntry(day, "{\\rtf1 x}", ""); }

    // A selector as the main window opens it, shown.
    std::unique_ptr<TDateSelector> Open(Day initial)
    {
        auto selector = std::make_unique<TDateSelector>();
        selector->InitialDate = initial;
        selector->OnGetEntryDays = [](std::vector<std::string>& days, int year, int month) {
            ListEntryDays(days, year, month);
        };
        selector->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(selector.get()));
        return selector;
    }

    // The cell that shows `day` of the calendar's month.
    static QPoint CellOf(const TCalendar& calendar, int day)
    {
        for (int row = 1; row < 7; ++row)
            for (int column = 0; column < 7; ++column)
                if (calendar.CellText(column, row) == QString::number(day))
                    return {column, row};
        return {-1, -1};
    }
    static QPoint CenterOf(const TCalendar& calendar, int day)
    {
        const QPoint cell = CellOf(calendar, day);
        return calendar.CellRect(cell.x(), cell.y()).center();
    }

    // The days of the shown month whose cell carries the red square.
    static std::vector<int> MarkedDays(TCalendar& calendar)
    {
        const QImage image = calendar.grab().toImage();
        std::vector<int> marked;
        for (int day = 1; day <= DaysInMonth(calendar.Year(), calendar.Month()); ++day) {
            const QPoint cell = CellOf(calendar, day);
            const QRect r = calendar.CellRect(cell.x(), cell.y());
            const QPoint mark(r.left() + (r.width() - 6) / 2 + 3, r.top() + (r.height() - 8) / 2 - 2 + 4);
            if (image.pixelColor(mark) == QColor(Qt::red))
                marked.push_back(day);
        }
        return marked;
    }

    TempFolder folder;
    std::string previousFolder = DiaryFolder();
    ScopedFixedToday today{D(2026, 12, 6)};
};

TEST_F(DateSelectorTest, MarksExactlyTheDaysWithEntriesAndRefreshesThemPerMonth)
{
    Entry(D(2024, 3, 3));
    Entry(D(2024, 3, 17));
    Entry(D(2024, 2, 29));
    Entry(D(2024, 4, 3));  // another month: not marked in March
    auto selector = Open(D(2024, 3, 31));
    EXPECT_EQ(selector->ShowDatePanel->Caption(), QStringLiteral("Sunday, March 31, 2024"));
    EXPECT_EQ(MarkedDays(*selector->Calendar), (std::vector<int>{3, 17}));
    EXPECT_EQ(selector->EntryDayRequests(), 1);

    // Another day of the same month: the panel follows, the marks are not asked for again.
    QTest::mouseClick(selector->Calendar, Qt::LeftButton, {}, CenterOf(*selector->Calendar, 17));
    EXPECT_EQ(selector->Calendar->SelectedDate(), D(2024, 3, 17));
    EXPECT_EQ(selector->ShowDatePanel->Caption(), QStringLiteral("Sunday, March 17, 2024"));
    EXPECT_EQ(selector->EntryDayRequests(), 1);
    // A cell outside the month selects nothing.
    QTest::mouseClick(selector->Calendar, Qt::LeftButton, {}, selector->Calendar->CellRect(6, 6).center());
    EXPECT_EQ(selector->Calendar->SelectedDate(), D(2024, 3, 17));

    QTest::mouseClick(selector->Calendar, Qt::LeftButton, {}, CenterOf(*selector->Calendar, 31));
    QTest::mouseClick(selector->PrevMonth, Qt::LeftButton);
    EXPECT_EQ(selector->Calendar->SelectedDate(), D(2024, 2, 29));
    EXPECT_EQ(selector->EntryDayRequests(), 2);
    EXPECT_EQ(MarkedDays(*selector->Calendar), std::vector<int>{29});

    QTest::mouseClick(selector->NextYear, Qt::LeftButton);
    EXPECT_EQ(selector->Calendar->SelectedDate(), D(2025, 2, 28));
    EXPECT_TRUE(MarkedDays(*selector->Calendar).empty());
    QTest::mouseClick(selector->PrevYear, Qt::LeftButton);
    QTest::mouseClick(selector->NextMonth, Qt::LeftButton);
    EXPECT_EQ(selector->Calendar->SelectedDate(), D(2024, 3, 28));
    EXPECT_EQ(MarkedDays(*selector->Calendar), (std::vector<int>{3, 17}));
    QTest::mouseClick(selector->DoCurrentDate, Qt::LeftButton);
    EXPECT_EQ(selector->Calendar->SelectedDate(), D(2026, 12, 6));
    EXPECT_EQ(selector->EntryDayRequests(), 6);
}

TEST_F(DateSelectorTest, KeysMoveTheSelectionEnterConfirmsEscapeCancels)
{
    auto selector = Open(D(2023, 1, 31));
    TCalendar& calendar = *selector->Calendar;
    EXPECT_TRUE(calendar.hasFocus());
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        Day to;
    } steps[] = {
        {Qt::Key_PageDown, {}, D(2023, 2, 28)},
        {Qt::Key_Right, {}, D(2023, 3, 1)},
        {Qt::Key_Left, {}, D(2023, 2, 28)},
        {Qt::Key_Up, {}, D(2023, 2, 21)},
        {Qt::Key_Down, {}, D(2023, 2, 28)},
        {Qt::Key_PageDown, Qt::ControlModifier, D(2024, 2, 28)},
        {Qt::Key_End, {}, D(2024, 2, 29)},
        {Qt::Key_PageUp, Qt::ControlModifier, D(2023, 2, 28)},
        {Qt::Key_Home, {}, D(2023, 2, 1)},
        {Qt::Key_PageUp, {}, D(2023, 1, 1)},
    };
    for (const auto& step : steps) {
        QTest::keyClick(&calendar, Qt::Key(step.key), step.modifiers);
        EXPECT_EQ(calendar.SelectedDate(), step.to) << step.key;
        EXPECT_EQ(selector->ShowDatePanel->Caption(), LongDateCaption(step.to));
    }
    QTest::keyClick(&calendar, Qt::Key_Return);
    EXPECT_EQ(selector->result(), QDialog::Accepted);

    auto again = Open(D(2023, 1, 31));
    QTest::keyClick(again->Calendar, Qt::Key_Right);
    QTest::keyClick(again->Calendar, Qt::Key_Escape);
    EXPECT_EQ(again->result(), QDialog::Rejected);
    EXPECT_TRUE(again->isHidden());
}

TEST_F(DateSelectorTest, ADoubleClickOnADayConfirmsThatDay)
{
    auto selector = Open(D(2024, 6, 1));
    QTest::mouseDClick(selector->Calendar, Qt::LeftButton, {}, CenterOf(*selector->Calendar, 30));
    EXPECT_EQ(selector->Calendar->SelectedDate(), D(2024, 6, 30));
    EXPECT_EQ(selector->result(), QDialog::Accepted);
}

TEST_F(DateSelectorTest, TheCalendarButtonShowsTheDayPickedAndCancelChangesNothing)
{
    folder.write("QL.INI", "[Opening Screen]\nshow=0\n");
    MessageBoxScript boxes;
    ScopedPrinterNames printers{QStringList()};
    Entry(D(2026, 11, 20));
    auto window = std::make_unique<TMainScreen>();
    window->FormActivate();
    QTest::keyClicks(window->WPRichText1, "unsaved");

    ModalScript script;
    std::vector<int> marked;
    script.Then<TDateSelector>([&](TDateSelector& selector) {
        selector.show();
        QTest::keyClick(selector.Calendar, Qt::Key_PageUp);
        marked = MarkedDays(*selector.Calendar);
        QTest::mouseClick(selector.Calendar, Qt::LeftButton, {}, CenterOf(*selector.Calendar, 20));
        QTest::mouseClick(selector.OKButton, Qt::LeftButton);
        return ModalScript::kKeepResult;
    });
    script.Then<TDateSelector>([](TDateSelector& selector) {
        selector.show();
        QTest::keyClick(selector.Calendar, Qt::Key_Left);
        QTest::mouseClick(selector.CancelButton, Qt::LeftButton);
        return ModalScript::kKeepResult;
    });

    QTest::mouseClick(window->CalendarButton, Qt::LeftButton);
    EXPECT_TRUE(fs::exists(GetCurrentDateFileName(D(2026, 12, 6))));  // saved before the selector opened
    EXPECT_EQ(marked, std::vector<int>{20});
    EXPECT_EQ(window->CurrentDay, D(2026, 11, 20));
    EXPECT_EQ(window->DateLabel->text(), QStringLiteral("Friday, November 20, 2026"));
    EXPECT_TRUE(window->EntryExists);

    QTest::mouseClick(window->CalendarButton, Qt::LeftButton);
    EXPECT_EQ(window->CurrentDay, D(2026, 11, 20));
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(script.Unexpected().empty());
    EXPECT_TRUE(boxes.Shown().empty());
}

} // namespace
} // namespace quillory
