// The two print layouts on a recording device: jobs, pages, page headers and headings, the
// quarter-inch packing of merged entries, cancelling and failures.
#include "app/PrintEntries.h"

#include "RecordingDevice.h"
#include "TempFolder.h"
#include "app/EntryFiles.h"
#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace quillory {
namespace {

namespace fs = std::filesystem;

const Day kFirst = *Day::FromDate(2016, 1, 4);  // a Monday
const Day kSecond = kFirst + 1;

// An entry of `paragraphs` paragraphs of 10 points ("line 1", "line 2", ...).
std::string Entry(int paragraphs, const std::string& word = "line")
{
    std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
    for (int i = 1; i <= paragraphs; ++i)
        rtf += word + " " + std::to_string(i) + (i < paragraphs ? "\\par " : "");
    return rtf + "}";
}

class PrintEntriesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(folder.withSlash());
        fs::create_directories(folder.path() / "Entries");
        settings.days = {kFirst, kSecond + 30};
        settings.longDate = [](Day day) { return "Day " + IsoText(day); };
    }
    void TearDown() override { SetProgramFolder(previous); }

    PrintOutcome Print(bool merged, const AfterPrintedDay& afterDay = {})
    {
        settings.merged = merged;
        return PrintEntries(device, settings, afterDay ? afterDay : [this](const std::string& status) {
            statuses.push_back(status);
            return false;
        });
    }

    // Baseline of the first text call that holds `text` on the page, or -1.
    static int BaselineOf(const RecordedPage& page, const std::string& text)
    {
        for (const auto& call : page.texts)
            if (call.text.find(text) != std::string::npos)
                return call.baseline;
        return -1;
    }

    TempFolder folder;
    std::string previous = DiaryFolder();
    RecordingDevice device;
    PrintSettings settings;
    std::vector<std::string> statuses;
};

TEST_F(PrintEntriesTest, SeparatePrintingMakesAJobPerEntryWithTheDateAboveAndALineBelowEveryPage)
{
    WriteEntry(kFirst, Entry(2, "first"), "");
    WriteEntry(kSecond, Entry(70, "second"), "");  // longer than one page
    WriteEntry(kSecond + 1, "", "");                // an empty entry prints nothing

    const PrintOutcome outcome = Print(false);

    EXPECT_EQ(outcome.end, PrintEnd::Completed);
    EXPECT_EQ(outcome.status, "Completed");
    EXPECT_EQ(outcome.entriesPrinted, 2);
    EXPECT_EQ(statuses, (std::vector<std::string>{"Printed 01/04/2016", "Printed 01/05/2016", "Printed 01/06/2016"}));
    ASSERT_EQ(device.jobs.size(), 2u);
    EXPECT_EQ(device.jobs[0].title, "Day 2016-01-04");
    EXPECT_EQ(device.jobs[0].pages.size(), 1u);
    ASSERT_GE(device.jobs[1].pages.size(), 2u);
    EXPECT_NE(device.jobs[1].pages.back().text().find("second 70"), std::string::npos);
    for (const RecordedJob& job : device.jobs) {
        EXPECT_TRUE(job.ended);
        for (const RecordedPage& page : job.pages) {
            EXPECT_EQ(page.texts.front().text, job.title);
            EXPECT_EQ(page.texts.front().font.name, "Arial");
            EXPECT_TRUE(page.texts.front().font.bold && page.texts.front().font.italic);
            EXPECT_EQ(page.texts.front().font.pointSize, 12);
            // The header's line a quarter of the band above the text, the footer's a quarter
            // inch into the bottom band, both as wide as the text (one inch margins).
            const auto lines = std::count_if(page.calls.begin(), page.calls.end(),
                                             [](const std::string& call) { return call.rfind("line 96,", 0) == 0; });
            EXPECT_EQ(lines, 2);
            // The footer's at the foot of the page (11 in - 1.25 in + 0.25 in), short pages too.
            EXPECT_TRUE(std::any_of(page.calls.begin(), page.calls.end(),
                                    [](const std::string& call) { return call.rfind("line 96,960 ", 0) == 0; }));
        }
    }
}

TEST_F(PrintEntriesTest, ADateInAnotherScriptIsShapedAndKeepsItsDirection)
{
    WriteEntry(kFirst, Entry(1), "");
    struct Row {
        std::string date;
        bool rightToLeft;
    } rows[] = {{"Понедельник, 4 января 2016", false}, {"יום שני, 4 בינואר 2016", true}};
    for (const auto& row : rows) {
        device.jobs.clear();
        settings.days = {kFirst, kFirst};
        settings.longDate = [&](Day) { return row.date; };
        Print(false);
        ASSERT_EQ(device.jobs.size(), 1u) << row.date;
        const FixedCanvas::TextCall& header = device.jobs[0].pages[0].texts.front();
        EXPECT_EQ(header.text, row.date);
        EXPECT_TRUE(header.shaped) << row.date;
        EXPECT_EQ(header.rightToLeft, row.rightToLeft) << row.date;
        EXPECT_EQ(header.x, 96) << row.date;
    }
}

TEST_F(PrintEntriesTest, MergedPrintingPutsShortEntriesOnOnePageUnderDatedHeadings)
{
    WriteEntry(kFirst, Entry(2, "first"), "");
    WriteEntry(kSecond, Entry(2, "second"), "");

    const PrintOutcome outcome = Print(true);

    EXPECT_EQ(outcome.end, PrintEnd::Completed);
    ASSERT_EQ(device.jobs.size(), 1u);
    ASSERT_EQ(device.jobs[0].pages.size(), 1u);
    const RecordedPage& page = device.jobs[0].pages[0];
    EXPECT_EQ(page.text(), "Day 2016-01-04|first 1|first 2|Day 2016-01-05|second 1|second 2");
    EXPECT_EQ(page.texts[0].font.pointSize, 10);  // the heading, not the page header's 12 points
    // The second block starts a quarter inch below the first, whose height was rounded up to
    // quarter inches: between a quarter and a half inch of space after the last line.
    const int gap = BaselineOf(page, "Day 2016-01-05") - BaselineOf(page, "first 2");
    EXPECT_GT(gap, 20 + 24);
    EXPECT_LE(gap, 20 + 48 + 6);
}

TEST_F(PrintEntriesTest, MergedEntryEndingLessThanHalfAnInchAboveTheBottomSendsTheNextToANewPage)
{
    // The text area is 864 pixels high, a paragraph 20; 36 paragraphs leave room, 40 do not.
    for (const int paragraphs : {36, 40}) {
        SCOPED_TRACE(paragraphs);
        device.jobs.clear();
        WriteEntry(kFirst, Entry(paragraphs), "");
        WriteEntry(kSecond, Entry(1, "next"), "");
        Print(true);
        ASSERT_EQ(device.jobs.size(), 1u);
        const auto& pages = device.jobs[0].pages;
        ASSERT_EQ(pages.size(), paragraphs == 36 ? 1u : 2u);
        EXPECT_NE(pages.back().text().find("next 1"), std::string::npos);
    }
}

TEST_F(PrintEntriesTest, MergedEntryLongerThanAPageContinuesOnTheNextPages)
{
    WriteEntry(kFirst, Entry(100), "");
    Print(true);
    ASSERT_EQ(device.jobs.size(), 1u);
    const auto& pages = device.jobs[0].pages;
    ASSERT_EQ(pages.size(), 3u);
    std::string all;
    for (const auto& page : pages)
        all += page.text() + "|";
    for (int i = 1; i <= 100; ++i)  // every line once, none lost at a page end
        EXPECT_NE(all.find("line " + std::to_string(i) + "|"), std::string::npos) << i;
    // A continued page starts at the top of the text area, as the first did.
    EXPECT_EQ(pages[1].texts.front().baseline, pages[0].texts.front().baseline);
}

TEST_F(PrintEntriesTest, CancelKeepsTheSeparateJobsAlreadyPrintedAndAbortsTheMergedJob)
{
    WriteEntry(kFirst, Entry(1), "");
    WriteEntry(kSecond, Entry(1), "");
    for (const bool merged : {false, true}) {
        SCOPED_TRACE(merged);
        device.jobs.clear();
        int days = 0;
        const PrintOutcome outcome = Print(merged, [&days](const std::string&) { return ++days == 1; });
        EXPECT_EQ(outcome.end, PrintEnd::Cancelled);
        EXPECT_EQ(outcome.status, "Cancelled");
        ASSERT_EQ(device.jobs.size(), 1u);  // the second day is never printed
        EXPECT_EQ(device.jobs[0].ended, !merged);
        EXPECT_EQ(device.jobs[0].aborted, merged);
    }
}

TEST_F(PrintEntriesTest, NothingIsPrintedForARangeBackwardsOrWithoutEntries)
{
    WriteEntry(kFirst, Entry(1), "");
    for (const DayRange days : {DayRange{kSecond, kFirst}, DayRange{kSecond, kSecond + 5}}) {
        for (const bool merged : {false, true}) {
            settings.days = days;
            const PrintOutcome outcome = Print(merged);
            EXPECT_EQ(outcome.status, "Completed");
            EXPECT_TRUE(device.jobs.empty());  // not even a blank sheet
            EXPECT_TRUE(statuses.empty());
        }
    }
}

TEST_F(PrintEntriesTest, EncipheredEntriesAreReadWithThePassword)
{
    WriteEntry(kFirst, Entry(1, "secret"), "Pass");
    settings.password = "Pass";
    Print(true);
    ASSERT_EQ(device.jobs.size(), 1u);
    EXPECT_NE(device.jobs[0].pages[0].text().find("secret 1"), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);  // no plain copy
}

TEST_F(PrintEntriesTest, AFailureIsReportedWithWhatReallyFailed)
{
    WriteEntry(kFirst, Entry(1), "");
    device.refuse = true;
    for (const bool merged : {false, true}) {
        const PrintOutcome outcome = Print(merged);
        EXPECT_EQ(outcome.end, PrintEnd::Failed);
        EXPECT_EQ(outcome.status, "Error - too many pages\nThe printer is out of paper");
    }
}

} // namespace
} // namespace quillory
