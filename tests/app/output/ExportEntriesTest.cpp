// Export into files of their own: byte copies without a password, plain RTF with one, the other
// formats, the count of files really written and the report of the days that failed; and the
// days an output command covers.
#include "app/ExportEntries.h"

#include "TempFolder.h"
#include "app/Crypt.h"
#include "app/EntryFiles.h"
#include "app/EntryStore.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace quillory {
namespace {

namespace fs = std::filesystem;

const Day kDay = *Day::FromDate(1998, 10, 15);
const std::string kRtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Caf\\'e9 <b>\\par second}";

class ExportEntriesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(folder.withSlash());
        fs::create_directories(folder.path() / "Entries");
        fs::create_directories(folder.path() / "out");
        settings.days = {kDay - 10, kDay + 10};
        settings.folder = folder.withSlash() + "out/";
    }
    void TearDown() override { SetProgramFolder(previous); }

    TempFolder folder;
    std::string previous = DiaryFolder();
    ExportSettings settings;
};

TEST_F(ExportEntriesTest, RtfIsTheStoredTextDecipheredInMemory)
{
    for (const std::string password : {"", "Key 1"}) {
        SCOPED_TRACE(password);
        WriteEntry(kDay, kRtf, password);
        folder.write("out/19981015.rtf", "an older export");  // replaced, whatever the case of its name
        settings.password = password;
        std::vector<std::string> progress;
        const ExportOutcome outcome = ExportEntries(settings, [&](const std::string& s) { progress.push_back(s); });
        EXPECT_EQ(outcome.written, 1);
        EXPECT_TRUE(outcome.failed.empty());
        EXPECT_EQ(folder.read("out/19981015.rtf"), kRtf);
        if (password.empty()) {
            EXPECT_EQ(folder.read("out/19981015.rtf"), folder.read("Entries/19981015.QLE"));  // a byte copy
        }
        EXPECT_EQ(progress, std::vector<std::string>{"Processing entry for 10/15/1998"});
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.path() / "out"), fs::directory_iterator()), 1);
    }
}

TEST_F(ExportEntriesTest, TextAndHtmlAreWrittenInUtf8)
{
    WriteEntry(kDay, kRtf, "");
    struct Row {
        ExportFormat format;
        const char* file;
        const char* contains;
    };
    for (const Row& row : {Row{ExportFormat::Text, "out/19981015.txt", "Caf\xc3\xa9 <b>\r\nsecond"},
                           Row{ExportFormat::Html, "out/19981015.html", "Caf\xc3\xa9 &lt;b&gt;"},
                           Row{ExportFormat::Html, "out/19981015.html", "<meta charset=\"utf-8\">"}}) {
        SCOPED_TRACE(row.file);
        settings.format = row.format;
        EXPECT_EQ(ExportEntries(settings).written, 1);
        EXPECT_NE(folder.read(row.file).find(row.contains), std::string::npos) << folder.read(row.file);
    }
}

// An entry of many scripts: its RTF keeps them as \\u, and the text and HTML exports hold them
// as UTF-8 (once the exports turned every one of them into '?').
TEST_F(ExportEntriesTest, EveryScriptIsExported)
{
    const std::string rtf = "{\\rtf1\\ansi\\uc1{\\fonttbl{\\f0 Arial;}}\\f0 Za\\u380?\\'f3\\u322?\\u263? "
                            "\\u1046?\\u1091?\\u1082? \\u26085?\\u26412? \\u-10179?\\u-8704?}";
    const std::string text = "Za\u017c\u00f3\u0142\u0107 \u0416\u0443\u043a \u65e5\u672c \U0001F600";
    WriteEntry(kDay, rtf, "");
    for (const auto& [format, file] : {std::pair{ExportFormat::Text, "out/19981015.txt"},
                                       std::pair{ExportFormat::Html, "out/19981015.html"}}) {
        SCOPED_TRACE(file);
        settings.format = format;
        EXPECT_EQ(ExportEntries(settings).written, 1);
        EXPECT_NE(folder.read(file).find(text), std::string::npos) << folder.read(file);
    }
}

TEST_F(ExportEntriesTest, TheCountIsOfFilesWrittenAndTheFailedDaysAreNamed)
{
    WriteEntry(kDay, kRtf, "");
    WriteEntry(kDay + 1, kRtf, "");
    WriteEntry(kDay + 2, kRtf, "");
    fs::create_directories(folder.path() / "out" / "19981016.RTF");  // a folder in the way of one file
    const ExportOutcome outcome = ExportEntries(settings);
    EXPECT_EQ(outcome.written, 2);
    ASSERT_EQ(outcome.failed.size(), 1u);
    EXPECT_EQ(outcome.failed[0].day, kDay + 1);
    EXPECT_EQ(ExportSummary(outcome.written, settings.format, settings.folder),
              "Saved 2 file(s) as Rich Text Format (RTF)\nto directory: " + settings.folder);
    EXPECT_EQ(ExportFailureReport(outcome.failed).substr(0, 48), "These entries could not be exported: 10/16/1998\n");

    settings.folder = folder.withSlash() + "missing/";  // a folder that cannot be written into
    const ExportOutcome none = ExportEntries(settings);
    EXPECT_EQ(none.written, 0);
    EXPECT_EQ(none.failed.size(), 3u);
    EXPECT_NE(none.failed[0].message.find("Cannot create file " + settings.folder + "19981015.RTF"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder.path() / "missing"));
}

TEST_F(ExportEntriesTest, PdfNeedsARendererAndAFailingOneCountsAsFailed)
{
    WriteEntry(kDay, kRtf, "");
    settings.format = ExportFormat::Pdf;
    EXPECT_EQ(ExportEntries(settings).failed.size(), 1u);
    settings.pdf = [](Day day, std::string_view rtf) { return "%PDF " + IsoText(day) + " " + std::string(rtf); };
    EXPECT_EQ(ExportEntries(settings).written, 1);
    EXPECT_EQ(folder.read("out/19981015.pdf"), "%PDF 1998-10-15 " + kRtf);
}

TEST(OutputDaysTest, TheDaysOfTheScopeAndTheirEntriesInOrder)
{
    TempFolder folder;
    const std::string previous = DiaryFolder();
    SetProgramFolder(folder.withSlash());
    const ScopedFixedToday today(kDay + 100);
    for (const char* name : {"19981016.QLE", "19981015.qle", "19981017.QLE", "notes.QLE", "19981399.QLE", "19981014.rtf"})
        folder.write(std::string("Entries/") + name, "x");
    fs::create_directories(folder.path() / "Entries" / "19981018.QLE");  // a folder is no entry

    EXPECT_EQ(EntryDaysIn({kDay, kDay + 10}), (std::vector<Day>{kDay, kDay + 1, kDay + 2}));
    EXPECT_EQ(EntryDaysIn({kDay + 1, kDay + 1}), std::vector<Day>{kDay + 1});
    EXPECT_TRUE(EntryDaysIn({kDay + 2, kDay}).empty());

    const DayRange current = ChooseOutputDays(OutputScope::CurrentOnly, kDay + 5, kDay, kDay + 1);
    EXPECT_EQ(current.first, kDay + 5);
    EXPECT_EQ(current.last, kDay + 5);
    const DayRange all = ChooseOutputDays(OutputScope::All, kDay + 5, kDay, kDay);
    EXPECT_EQ(all.first, kDay);
    EXPECT_EQ(all.last, kDay + 100);  // never earlier than today
    const DayRange range = ChooseOutputDays(OutputScope::Range, kDay + 5, kDay + 3, kDay + 1);
    EXPECT_EQ(range.first, kDay + 3);
    EXPECT_TRUE(range.empty());
    SetProgramFolder(previous);
}

} // namespace
} // namespace quillory
