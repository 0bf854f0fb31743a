// Imported entries arriving in the diary: the rule for days that have an entry, the dry run,
// cancelling, a password, and a crash between staging and swap.
#include "ImportFixture.h"

#include "app/ImportSwap.h"
#include "app/import/DiaryImport.h"
#include "platform/Error.h"

#include <sodium.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace quillory {
namespace {

namespace fs = std::filesystem;

struct Crash {};  // stands for the power going off

std::string ReadBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class DiaryImportTest : public ImportTest {
protected:
    DiaryImportTest()
    {
        diary.write("Entries/20260101.QLE", "{\\rtf1\\ansi Mine}");
        in.format = "test";
        in.entries.push_back({D(2026, 1, 1), -1, "<p>Theirs</p>", {}, ""});
        in.entries.push_back({D(2026, 1, 2), -1, "<p>New <b>day</b></p>", {"a tag"}, ""});
    }

    ImportReport Run(ConflictRule rule, bool dryRun = false)
    {
        ImportOptions options;
        options.onConflict = rule;
        options.dryRun = dryRun;
        return ImportIntoDiary(in, options);
    }

    ImportSource in;
};

TEST_F(DiaryImportTest, DayWithAnEntryFollowsTheRule)
{
    struct Case {
        ConflictRule rule;
        const char* first;  // the text of the day that had an entry, afterwards
        std::vector<Day> appended, replaced, skipped;
    };
    const Case cases[] = {
        {ConflictRule::Append, "Mine||Theirs", {D(2026, 1, 1)}, {}, {}},
        {ConflictRule::Skip, "Mine", {}, {}, {D(2026, 1, 1)}},
        {ConflictRule::Replace, "Theirs", {}, {D(2026, 1, 1)}, {}},
    };
    for (const Case& c : cases) {
        diary.write("Entries/20260101.QLE", "{\\rtf1\\ansi Mine}");
        std::error_code ec;
        fs::remove(diary.path() / "Entries/20260102.QLE", ec);
        const ImportReport report = Run(c.rule);
        EXPECT_EQ(EntryText(D(2026, 1, 1)), c.first) << int(c.rule);
        EXPECT_EQ(EntryText(D(2026, 1, 2)), "New day|#a_tag") << int(c.rule);
        EXPECT_EQ(report.created, std::vector<Day>{D(2026, 1, 2)});
        EXPECT_EQ(report.appended, c.appended);
        EXPECT_EQ(report.replaced, c.replaced);
        EXPECT_EQ(report.skipped, c.skipped);
        EXPECT_FALSE(fs::exists(ImportStagingFolder()));
        EXPECT_FALSE(fs::exists(ImportJournalFileName()));
    }
}

TEST_F(DiaryImportTest, AnEntryNamedInAnotherLetterCaseIsTheOneReplaced)
{
    fs::rename(diary.path() / "Entries/20260101.QLE", diary.path() / "Entries/20260101.qle");
    Run(ConflictRule::Replace);
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(diary.path() / "Entries"))
        names.push_back(item.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"20260101.qle", "20260102.QLE"}));
    EXPECT_EQ(EntryText(D(2026, 1, 1)), "Theirs");
}

TEST_F(DiaryImportTest, DryRunAndCancelWriteNothing)
{
    const ImportReport report = Run(ConflictRule::Replace, true);
    EXPECT_EQ(report.replaced.size(), 1u);
    EXPECT_EQ(EntryText(D(2026, 1, 1)), "Mine");
    EXPECT_FALSE(EntryFileExists(D(2026, 1, 2)));
    EXPECT_NE(ImportReportText(report).find("Dry run, nothing written: Read 2 entries from test: 1 new day, 0 appended, "
                                            "1 replaced, 0 skipped\nNew: 2026-01-02\nReplaced: 2026-01-01\n"),
              std::string::npos)
        << ImportReportText(report);

    ImportOptions options;
    options.progress = [](int done, int) { return done < 1; };
    EXPECT_THROW(ImportIntoDiary(in, options), ImportCancelled);
    EXPECT_EQ(EntryText(D(2026, 1, 1)), "Mine");
    EXPECT_FALSE(EntryFileExists(D(2026, 1, 2)));
    EXPECT_FALSE(fs::exists(ImportStagingFolder()));
}

TEST_F(DiaryImportTest, AnEntryThatCannotBeReadIsLeftAsItIs)
{
    // Sealed bytes that open with no key: never appended to, never replaced by an append.
    const std::string damaged("QLSE\0\x01\xfe sealed bytes", 19);
    diary.write("Entries/20260101.QLE", damaged);
    ImportOptions options;
    options.key = MakeStrongDiary("pw", {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN}).key;
    const ImportReport report = ImportIntoDiary(in, options);
    EXPECT_EQ(report.skipped, std::vector<Day>{D(2026, 1, 1)});
    EXPECT_EQ(diary.read("Entries/20260101.QLE"), damaged);
    ASSERT_FALSE(report.problems.empty());
    EXPECT_NE(report.problems[0].find("2026-01-01"), std::string::npos);
}

TEST_F(DiaryImportTest, WithAPasswordNoPlainCopyReachesTheDisk)
{
    const NewStrongDiary strong = MakeStrongDiary("pw", {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN});
    in.entries[1].html = "<p>secret words</p>";
    ImportOptions options;
    options.key = strong.key;
    options.onConflict = ConflictRule::Replace;
    // At the moment of the swap every staged file is sealed already.
    options.checkpoint = [&](SwapPoint point) {
        if (point != SwapPoint::Staged)
            return;
        for (const auto& item : fs::directory_iterator(ImportStagingFolder()))
            EXPECT_EQ(ReadBytes(item.path()).find("secret"), std::string::npos);
    };
    ImportIntoDiary(in, options);
    EXPECT_EQ(diary.read("Entries/20260102.QLE").find("secret"), std::string::npos);
    EXPECT_EQ(EntryText(D(2026, 1, 2), strong.key), "secret words|#a_tag");
}

TEST_F(DiaryImportTest, CrashBetweenStagingAndSwapIsAllOrNothing)
{
    struct Case {
        SwapPoint crashAt;
        bool imported;  // after the next start's recovery
    };
    for (const Case c : {Case{SwapPoint::Staged, false}, Case{SwapPoint::Committed, true},
                         Case{SwapPoint::Moved, true}}) {
        diary.write("Entries/20260101.QLE", "{\\rtf1\\ansi Mine}");
        std::error_code ec;
        fs::remove(diary.path() / "Entries/20260102.QLE", ec);
        ImportOptions options;
        options.onConflict = ConflictRule::Replace;
        options.checkpoint = [&](SwapPoint point) {
            if (point == c.crashAt)
                throw Crash{};
        };
        EXPECT_THROW(ImportIntoDiary(in, options), Crash);
        EXPECT_TRUE(RecoverImport());
        EXPECT_EQ(EntryText(D(2026, 1, 1)), c.imported ? "Theirs" : "Mine") << int(c.crashAt);
        EXPECT_EQ(EntryFileExists(D(2026, 1, 2)), c.imported) << int(c.crashAt);
        EXPECT_FALSE(fs::exists(ImportStagingFolder()));
        EXPECT_FALSE(fs::exists(ImportJournalFileName()));
        EXPECT_FALSE(RecoverImport());
    }
}

} // namespace
} // namespace quillory
