// Automatic backups: which archives the rotation keeps, a year of daily closes, the folder's
// other files left alone, failures that keep the old backups, enciphered diaries, the notice.
#include "app/AutoBackup.h"

#include "../passwords/PasswordDiary.h"
#include "TempFolder.h"
#include "app/DiaryRestore.h"
#include "app/EntryStore.h"
#include "app/DiarySecurity.h"
#include "platform/Error.h"
#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>
#include <sodium.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <set>
#include <sys/resource.h>

namespace quillory {
namespace {

namespace fs = std::filesystem;

LocalTime At(int year, int month, int day, int hour = 22, int minute = 0)
{
    return LocalTime{*Day::FromDate(year, month, day), hour, minute};
}

std::set<std::string> Texts(const std::vector<LocalTime>& times)
{
    std::set<std::string> texts;
    for (const LocalTime& time : times)
        texts.insert(BackupTimeText(time));
    return texts;
}

std::set<std::string> KeptTexts(const std::vector<LocalTime>& times, const KeepCounts& keep)
{
    const std::vector<bool> kept = ChooseKeptBackups(times, keep);
    std::vector<LocalTime> chosen;
    for (std::size_t i = 0; i < times.size(); ++i)
        if (kept[i])
            chosen.push_back(times[i]);
    return Texts(chosen);
}

std::vector<LocalTime> DailyFrom(LocalTime first, int days)
{
    std::vector<LocalTime> times;
    for (int i = 0; i < days; ++i)
        times.push_back(LocalTime{first.day + i, first.hour, first.minute});
    return times;
}

TEST(AutoBackupRules, RotationKeepsTheNewestOfEachRecentDayWeekAndMonth)
{
    struct Row {
        const char* name;
        std::vector<LocalTime> times;
        KeepCounts keep;
        std::set<std::string> kept;
    };
    const std::vector<Row> rows = {
        {"a year of daily backups (31 December 2026 is a Thursday)",
         DailyFrom(At(2026, 1, 1), 365),
         {},
         {"2026-12-25 22:00", "2026-12-26 22:00", "2026-12-27 22:00", "2026-12-28 22:00", "2026-12-29 22:00",
          "2026-12-30 22:00", "2026-12-31 22:00",
          // weeks from Monday: the Sundays of the three weeks before this one
          "2026-12-20 22:00", "2026-12-13 22:00",
          // the last day of each earlier month
          "2026-11-30 22:00", "2026-10-31 22:00", "2026-09-30 22:00", "2026-08-31 22:00", "2026-07-31 22:00",
          "2026-06-30 22:00", "2026-05-31 22:00", "2026-04-30 22:00", "2026-03-31 22:00", "2026-02-28 22:00",
          "2026-01-31 22:00"}},
        {"fewer backups than any rule keeps: all stay",
         {At(2026, 3, 1), At(2026, 2, 1), At(2025, 12, 24)},
         {},
         {"2026-03-01 22:00", "2026-02-01 22:00", "2025-12-24 22:00"}},
        {"two on one day: only the later counts for that day",
         {At(2026, 3, 2, 8, 0), At(2026, 3, 2, 21, 30), At(2026, 3, 1)},
         {2, 0, 0},
         {"2026-03-02 21:30", "2026-03-01 22:00"}},
        {"days without backups are not counted: the last 3 days that have one",
         {At(2026, 3, 20), At(2026, 3, 10), At(2026, 2, 27), At(2026, 1, 5)},
         {3, 0, 0},
         {"2026-03-20 22:00", "2026-03-10 22:00", "2026-02-27 22:00"}},
        {"a week runs Monday to Sunday: Sunday 8 and Monday 9 March lie in two weeks",
         {At(2026, 3, 9), At(2026, 3, 8), At(2026, 3, 7)},
         {1, 2, 0},
         {"2026-03-09 22:00", "2026-03-08 22:00"}},
        {"a week across New Year is one week",
         {At(2027, 1, 2), At(2026, 12, 28), At(2026, 12, 27)},
         {1, 2, 0},
         {"2027-01-02 22:00", "2026-12-27 22:00"}},
        {"months across a year boundary",
         {At(2027, 1, 3), At(2026, 12, 30), At(2026, 12, 2), At(2026, 11, 15)},
         {1, 0, 3},
         {"2027-01-03 22:00", "2026-12-30 22:00", "2026-11-15 22:00"}},
        {"no weekly and no monthly: only the daily ones",
         DailyFrom(At(2026, 1, 1), 40),
         {2, 0, 0},
         {"2026-02-09 22:00", "2026-02-08 22:00"}},
        {"given in any order", {At(2026, 1, 1), At(2026, 1, 3), At(2026, 1, 2)}, {1, 0, 0}, {"2026-01-03 22:00"}},
        {"none", {}, {}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(KeptTexts(row.times, row.keep), row.kept);
    }
}

TEST(AutoBackupRules, ArchiveNamesAreOursOnlyInTheirExactSpelling)
{
    EXPECT_EQ(AutoBackupName(At(2026, 12, 10, 7, 5)), "Quillory backup 2026-12-10 0705.zip");
    EXPECT_EQ(TimeOfAutoBackupName("Quillory backup 2026-12-10 0705.zip"), At(2026, 12, 10, 7, 5));
    for (const char* name : {"Quillory backup 2026-12-10 0705.ZIP", "quillory backup 2026-12-10 0705.zip",
                             "Quillory backup 2026-02-30 0705.zip", "Quillory backup 2026-12-10 2460.zip",
                             "Quillory backup 2026-12-10 0705 (1).zip", "Quillory backup 2026-12-10 07:05.zip",
                             "Quillory diary 2026-12-10.zip", "Quillory backup 2026-12-10 0705.zip.tmp", ""}) {
        EXPECT_FALSE(TimeOfAutoBackupName(name)) << name;
    }
    const BackupMark mark{"00ff", 3650, true};
    EXPECT_EQ(ReadBackupMark(BackupMarkComment(mark)), mark);
    EXPECT_EQ(ReadBackupMark("Quillory automatic backup\nentries=12x\nlater=1\nfingerprint=ab"), (BackupMark{"ab", 0, false}));
    EXPECT_FALSE(ReadBackupMark("made by hand"));
    EXPECT_EQ(ParseBackupTime(BackupTimeText(At(2026, 1, 2, 3, 4))), At(2026, 1, 2, 3, 4));
}

TEST(AutoBackupRules, WhenABackupIsDue)
{
    const LocalTime now = At(2026, 12, 10, 22, 0);
    struct Row {
        const char* name;
        AutoBackupOccasion occasion;
        BackupSituation situation;
        std::string fingerprint;
        AutoBackupStep step;
    };
    const auto with = [&](bool enabled, bool entries, std::optional<LocalTime> newest, std::string newestPrint) {
        return BackupSituation{enabled, entries, now, newest, newestPrint};
    };
    using enum AutoBackupOccasion;
    using enum AutoBackupStep;
    const Row rows[] = {
        {"first close of a diary with entries", Close, with(true, true, {}, ""), "a", Written},
        {"off", Close, with(false, true, {}, ""), "a", Off},
        {"no entries", Close, with(true, false, {}, ""), "a", NoEntries},
        {"one of today already", Close, with(true, true, At(2026, 12, 10, 8, 0), "old"), "a", DoneToday},
        {"changed since yesterday's", Close, with(true, true, At(2026, 12, 9), "old"), "a", Written},
        {"nothing changed since yesterday's", Close, with(true, true, At(2026, 12, 9), "a"), "a", Unchanged},
        {"at start, the last from last night", Start, with(true, true, At(2026, 12, 9, 23, 0), "old"), "a", NotOverdue},
        {"at start, the last two days ago and changed", Start, with(true, true, At(2026, 12, 8), "old"), "a", Written},
        {"at start, the last two days ago, unchanged", Start, with(true, true, At(2026, 12, 8), "a"), "a", Unchanged},
        {"asked for, though off and done today", Request, with(false, true, At(2026, 12, 10), "a"), "a", Written},
        {"asked for, no entries", Request, with(true, false, {}, ""), "a", NoEntries},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(DecideAutoBackup(row.occasion, row.situation, [&] { return row.fingerprint; }), row.step);
    }
}

TEST(AutoBackupRules, NoticeWhenOffOrFailingAndTheLastGoodBackupIsOld)
{
    const LocalTime now = At(2026, 12, 20, 9, 0);
    AutoBackupSettings on;
    AutoBackupSettings off;
    off.enabled = false;
    const BackupRecord none;
    BackupRecord failing;
    failing.lastGood = At(2026, 12, 1);
    failing.lastFailed = At(2026, 12, 19);
    failing.failure = "No space left on device";
    BackupRecord recovered = failing;
    recovered.lastGood = At(2026, 12, 19, 23, 0);

    struct Row {
        const char* name;
        AutoBackupSettings settings;
        BackupRecord record;
        std::optional<LocalTime> newestFound;
        bool entries;
        std::string notice;
    };
    const Row rows[] = {
        {"on and working, old backup (nothing changed since)", on, none, At(2026, 11, 1), true, ""},
        {"off, never backed up", off, none, {}, true,
         "Automatic backups are off, and this diary has never been backed up."},
        {"off, last one 19 days ago", off, none, At(2026, 12, 1), true,
         "Automatic backups are off, and the last backup of this diary is from 2026-12-01 22:00 (19 days ago)."},
        {"off, last one 10 days ago", off, none, At(2026, 12, 10), true, ""},
        {"off, a backup by hand counts", off, recovered, At(2026, 11, 1), true, ""},
        {"off, no entries", off, none, {}, false, ""},
        {"failing for 19 days", on, failing, {}, true,
         "Automatic backups are failing (No space left on device), and the last backup of this diary is from "
         "2026-12-01 22:00 (19 days ago)."},
        {"failed, then worked again", on, recovered, {}, true, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(OverdueBackupNotice(row.settings, row.record, row.newestFound, row.entries, now), row.notice);
    }
}

class AutoBackupTest : public ::testing::Test {
protected:
    AutoBackupTest()
    {
        SetProgramFolder(diary.withSlash());
        diary.write("QL.INI", "[Opening Screen]\nshow=0\n");
    }
    ~AutoBackupTest() override { SetProgramFolder(previous); }

    // Writes an entry whose text (and size) differs from every earlier one.
    void Write(Day day, const std::string& text)
    {
        diary.write("Entries/" + DayKey(day) + ".QLE", "{\\rtf1\\ansi " + text + "}");
    }
    static std::set<std::string> Names(const fs::path& folder)
    {
        std::set<std::string> names;
        for (const auto& item : fs::directory_iterator(folder))
            names.insert(item.path().filename().string());
        return names;
    }
    AutoBackupResult RunAt(const LocalTime& time, AutoBackupOccasion occasion = AutoBackupOccasion::Close)
    {
        const ScopedFixedToday clock(time);
        return RunAutoBackup(occasion);
    }
    fs::path Folder() const { return diary.path() / "backups"; }

    TempFolder diary;
    std::string previous = DiaryFolder();
};

TEST_F(AutoBackupTest, AYearOfDailyClosesKeepsTheRotationAndLeavesOtherFilesAlone)
{
    // The folder holds things that are not ours: the user's notes, an archive named by hand, one
    // spelt like ours but not marked as ours, one spelt like ours that is damaged.
    Write(*Day::FromDate(2025, 12, 31), "before");
    fs::create_directories(Folder());
    std::ofstream(Folder() / "notes.txt") << "mine";
    BackUpDiary(Folder() / "Quillory diary 2025-12-31.zip");
    BackUpDiary(Folder() / "Quillory backup 2025-06-01 1200.zip");
    std::ofstream(Folder() / "Quillory backup 2026-01-01 0800.zip") << "PK\x03\x04 damaged";
    std::ofstream(Folder() / ".hidden.zip.txt") << "mine";
    // Temporary files of backups killed while writing: removed once they are an hour old.
    for (const char* leftover : {".Quillory backup 2025-12-30 2200.zip.Ab12Cd", ".Quillory backup 2025-12-30 2200.zip.Ab12Cd.XyZ123"}) {
        std::ofstream(Folder() / leftover) << "PK";
        fs::last_write_time(Folder() / leftover, fs::file_time_type::clock::now() - std::chrono::hours(2));
    }
    std::ofstream(Folder() / ".Quillory backup 2025-12-31 2200.zip.Fresh1") << "PK";  // being written now
    std::set<std::string> foreign = Names(Folder());
    foreign.erase(".Quillory backup 2025-12-30 2200.zip.Ab12Cd");
    foreign.erase(".Quillory backup 2025-12-30 2200.zip.Ab12Cd.XyZ123");

    const Day first = *Day::FromDate(2026, 1, 1);
    for (int i = 0; i < 365; ++i) {
        const Day day = first + i;
        Write(first + i % 3, "Day " + std::to_string(i));
        const AutoBackupResult result = RunAt(LocalTime{day, 22, 0});
        ASSERT_EQ(result.step, AutoBackupStep::Written) << IsoText(day);
        EXPECT_EQ(result.outcome.entries, 1 + std::min(i + 1, 3));
        if (i == 100) {
            // The same evening again (a second window, the command line): at most one a day.
            EXPECT_EQ(RunAt(LocalTime{day, 23, 0}).step, AutoBackupStep::DoneToday);
        }
    }
    EXPECT_EQ(RunAt(LocalTime{first + 365, 22, 0}).step, AutoBackupStep::Unchanged);

    std::vector<LocalTime> expected = DailyFrom(At(2026, 1, 1), 365);
    std::set<std::string> names = foreign;
    const std::vector<bool> kept = ChooseKeptBackups(expected, {});
    for (std::size_t i = 0; i < expected.size(); ++i)
        if (kept[i])
            names.insert(AutoBackupName(expected[i]));
    EXPECT_EQ(Names(Folder()), names);
    EXPECT_EQ(FindAutoBackups(Folder()).size(), 20u);
    EXPECT_EQ(FindAutoBackups(Folder()).front().time, At(2026, 12, 31));
    EXPECT_EQ(LoadBackupRecord().lastGood, At(2026, 12, 31));
}

TEST_F(AutoBackupTest, FailuresAreReportedAndRecordedAndKeepTheOldBackups)
{
    const Day day = *Day::FromDate(2026, 3, 1);
    Write(day, "first");
    ASSERT_EQ(RunAt(LocalTime{day, 22, 0}).step, AutoBackupStep::Written);
    // Large enough that the archive cannot be written within the limit below, which the small
    // record of the failure still fits in.
    std::string noise;
    for (unsigned seed = 1; noise.size() < 20000; seed = seed * 1103515245u + 12345u)
        noise += char('a' + (seed >> 16) % 26);
    Write(day, noise);
    const std::set<std::string> before = Names(Folder());

    // A full disk: this process may not write a file beyond a few bytes.
    {
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit saved = limit;
        limit.rlim_cur = 4096;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const ScopedFixedToday clock(LocalTime{day + 1, 22, 0});
        EXPECT_THROW(RunAutoBackup(AutoBackupOccasion::Close), Error);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }
    EXPECT_EQ(Names(Folder()), before);
    const BackupRecord full = LoadBackupRecord();
    EXPECT_EQ(full.lastFailed, (LocalTime{day + 1, 22, 0}));
    EXPECT_NE(full.failure, "");

    // A check that fails: the archive is not counted and the older one stays.
    {
        const ScopedFixedToday clock(LocalTime{day + 2, 22, 0});
        ArchiveLimits tight;
        tight.maxEntrySize = 4;
        EXPECT_THROW(RunAutoBackup(AutoBackupOccasion::Close, tight), Error);
    }
    EXPECT_EQ(Names(Folder()), before);

    // Folders that cannot be written (even by root): one inside a read-only file system, and
    // one whose place is taken by a file.
    const fs::path blocked = diary.write("blocked", "a file");
    for (const fs::path& folder : {fs::path("/proc/quillory-backups"), fs::path("/proc"), blocked / "backups"}) {
        SCOPED_TRACE(folder);
        AutoBackupSettings settings = LoadAutoBackupSettings();
        settings.folder = folder.string();
        SaveAutoBackupSettings(settings);
        const ScopedFixedToday clock(LocalTime{day + 3, 22, 0});
        try {
            RunAutoBackup(AutoBackupOccasion::Close);
            ADD_FAILURE() << "written";
        } catch (const Error& error) {
            EXPECT_NE(std::string(error.what()).find(folder.string()), std::string::npos) << error.what();
        }
        EXPECT_EQ(LoadBackupRecord().lastFailed, (LocalTime{day + 3, 22, 0}));
    }
    EXPECT_EQ(Names(Folder()), before);

    // Back to the default folder: the next close works and the record says so.
    SaveAutoBackupSettings(AutoBackupSettings{});
    EXPECT_EQ(RunAt(LocalTime{day + 4, 22, 0}).step, AutoBackupStep::Written);
    EXPECT_EQ(LoadBackupRecord().lastGood, (LocalTime{day + 4, 22, 0}));
}

TEST_F(AutoBackupTest, SettingsReadBackAndOutOfRangeCountsAreBroughtIn)
{
    EXPECT_EQ(LoadAutoBackupSettings(), AutoBackupSettings{});
    EXPECT_EQ(BackupFolderOf(LoadAutoBackupSettings()), diary.path() / "backups");
    const AutoBackupSettings mine{false, "/media/second/diary", {3, 2, 1}};
    SaveAutoBackupSettings(mine);
    EXPECT_EQ(LoadAutoBackupSettings(), mine);
    EXPECT_NE(diary.read("QL.INI").find("show=0"), std::string::npos);  // the rest stays
    diary.write("QL.INI", "[Backups]\nKeepDaily=0\nKeepWeekly=-4\nKeepMonthly=100000\n");
    EXPECT_EQ(LoadAutoBackupSettings().keep, (KeepCounts{1, 0, kMaxKeptPerRule}));

    // Off: closing writes nothing.
    diary.write("QL.INI", "[Backups]\nAutomatic=0\n");
    Write(*Day::FromDate(2026, 3, 1), "x");
    EXPECT_EQ(RunAt(At(2026, 3, 1)).step, AutoBackupStep::Off);
    EXPECT_FALSE(fs::exists(Folder()));
}

// An enciphered diary is backed up as it lies on disk, and its backup opens with the password of
// its time after the password has changed.
TEST(AutoBackupEncryption, ArchivesHoldTheEntriesAsOnDiskAndRestoreWithTheirPassword)
{
    const std::string previous = DiaryFolder();
    {
        testing_support::PasswordDiary diary("");
        const RekeyTarget strong{PasswordScheme::Strong, {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN}};
        ProcessPassword("", "Then", {}, strong);
        const auto onDisk = diary.EntryBytes();
        const AutoBackupResult result = [] {
            const ScopedFixedToday clock(At(2026, 12, 10));
            return RunAutoBackup(AutoBackupOccasion::Close);
        }();
        ASSERT_EQ(result.step, AutoBackupStep::Written);
        const auto archive = BackupArchive::OpenFile(result.outcome.archive);
        for (const BackupMember& member : CheckBackupArchive(archive)) {
            const std::string bytes = archive.ReadMember(member);
            if (member.kind == MemberKind::Entry) {
                EXPECT_EQ(bytes, onDisk.at(member.day ? DayKey(*member.day) + ".QLE" : "")) << member.name;
                EXPECT_EQ(bytes.find("Day "), std::string::npos) << member.name;
            }
        }
        // Nothing else was written into the folder: no plain copy, no temporary file.
        EXPECT_EQ(std::distance(fs::directory_iterator(result.outcome.archive.parent_path()), fs::directory_iterator()),
                  1);

        ProcessPassword("Then", "Now", {}, strong);
        ForgetSessionKey();
        RestoreDiary(result.outcome.archive);
        EXPECT_TRUE(UnlockDiary(LoadDiarySecurity(), "Then"));
        EXPECT_FALSE(UnlockDiary(LoadDiarySecurity(), "Now"));
        ForgetSessionKey();
    }
    SetProgramFolder(previous);
}

} // namespace
} // namespace quillory
