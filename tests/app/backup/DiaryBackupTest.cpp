// Backing up and restoring the diary of the program folder: what goes into a backup, the round
// trip, archives refused with the diary untouched, and a crash at every step of a restore.
#include "app/DiaryBackup.h"
#include "app/DiaryRestore.h"

#include "TempFolder.h"
#include "ZipFixture.h"
#include "platform/Clock.h"
#include "platform/Error.h"
#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>

#include <set>

namespace quillory {
namespace {

namespace fs = std::filesystem;
using zipfixture::Snapshot;

struct Crash {};  // stands for the power going off

class DiaryBackupTest : public ::testing::Test {
protected:
    DiaryBackupTest()
    {
        SetProgramFolder(diary.withSlash());
        diary.write("Entries/20261206.QLE", "{\\rtf1\\ansi Sixth}");
        diary.write("Entries/20261207.qle", std::string("QLSE\0\x01\xfe sealed bytes", 19));  // kept as they are
        diary.write("QL.INI", "[Opening Screen]\nshow=0\n");
        // Beside the entries but no entries: never backed up, never lost by a restore.
        diary.write("Entries/20261206 (changed elsewhere 2026-12-07 0815).QLE", "{\\rtf1 other version}");
        diary.write("Entries/notes.txt", "mine");
        diary.write("quilloru.dct", "words\n");
    }
    ~DiaryBackupTest() override { SetProgramFolder(previous); }

    // The names and bytes of an archive's members.
    static std::map<std::string, std::string> Members(const fs::path& file)
    {
        std::map<std::string, std::string> members;
        const auto archive = BackupArchive::OpenFile(file);
        for (const auto& member : CheckBackupArchive(archive))
            members[member.name] = archive.ReadMember(member);
        return members;
    }

    // The diary changed after its backup: an entry edited, one deleted, one added, new settings.
    void ChangeDiary()
    {
        diary.write("Entries/20261206.QLE", "{\\rtf1\\ansi Sixth, changed}");
        fs::remove(diary.path() / "Entries/20261207.qle");
        diary.write("Entries/20261208.QLE", "{\\rtf1\\ansi Eighth}");
        diary.write("QL.INI", "[Opening Screen]\nshow=1\n");
    }

    std::vector<std::string> FolderNames() const
    {
        std::vector<std::string> names;
        for (const auto& item : fs::directory_iterator(diary.path()))
            names.push_back(item.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder diary;
    TempFolder elsewhere;
    std::string previous = DiaryFolder();
    ScopedFixedToday today{LocalTime{*Day::FromDate(2026, 12, 10), 8, 15, 2}};
};

TEST_F(DiaryBackupTest, BackupHoldsEntriesAndSettingsByteForByteAndNothingElse)
{
    const fs::path out = elsewhere.path() / DefaultBackupName(Today());
    const BackupOutcome outcome = BackUpDiary(out);

    EXPECT_EQ(out.filename(), "Quillory diary 2026-12-10.zip");
    EXPECT_EQ(outcome.entries, 2);
    EXPECT_TRUE(outcome.settings);
    EXPECT_EQ(BackupSummary(outcome), "2 entries and QL.INI backed up to " + out.string());
    const std::map<std::string, std::string> expected{
        {"Entries/20261206.QLE", diary.read("Entries/20261206.QLE")},
        {"Entries/20261207.QLE", diary.read("Entries/20261207.qle")},  // the name as the program writes it
        {"QL.INI", diary.read("QL.INI")},
    };
    EXPECT_EQ(Members(out), expected);
    // Only the archive: its temporary file is gone.
    EXPECT_EQ(std::distance(fs::directory_iterator(elsewhere.path()), fs::directory_iterator()), 1);
}

TEST_F(DiaryBackupTest, FailedBackupLeavesAnEarlierArchiveAsItWasAndNoTemporaryFile)
{
    const fs::path out = elsewhere.write("backup.zip", "an older backup");
    ArchiveLimits tight;
    tight.maxEntrySize = 4;  // the read-back check refuses what was written
    EXPECT_THROW(BackUpDiary(out, tight), Error);
    EXPECT_EQ(elsewhere.read("backup.zip"), "an older backup");
    EXPECT_EQ(std::distance(fs::directory_iterator(elsewhere.path()), fs::directory_iterator()), 1);

    struct Row {
        fs::path target;
        const char* reason;
    };
    const Row refused[] = {
        {elsewhere.path(), "it is a folder"},
        {diary.path() / "QL.INI", "it is a file of the diary itself"},
        {diary.path() / "Entries" / "20261206.QLE", "it is a file of the diary itself"},
        {diary.path() / "Entries" / "20261207.QLE", "it is a file of the diary itself"},  // .qle on disk
        {diary.path() / "ql.ini", "it is a file of the diary itself"},
        {elsewhere.path() / "missing" / "backup.zip", "Cannot create file"},
    };
    const auto before = Snapshot(diary.path());
    for (const Row& row : refused) {
        SCOPED_TRACE(row.target);
        try {
            BackUpDiary(row.target);
            ADD_FAILURE() << "written";
        } catch (const Error& error) {
            EXPECT_NE(std::string(error.what()).find(row.reason), std::string::npos) << error.what();
        }
    }
    EXPECT_EQ(Snapshot(diary.path()), before);
}

TEST_F(DiaryBackupTest, EmptyDiaryHasNothingToBackUp)
{
    TempFolder empty;
    SetProgramFolder(empty.withSlash());
    EXPECT_THROW(BackUpDiary(elsewhere.path() / "x.zip"), Error);
    EXPECT_FALSE(fs::exists(elsewhere.path() / "x.zip"));
}

TEST_F(DiaryBackupTest, RestoreBringsBackTheBackedUpDiaryAndKeepsTheReplacedOne)
{
    const fs::path out = elsewhere.path() / "backup.zip";
    BackUpDiary(out);
    const auto original = Snapshot(diary.path());
    ChangeDiary();
    const auto changed = Snapshot(diary.path());

    const RestoreOutcome outcome = RestoreDiary(out);

    EXPECT_EQ(outcome.entries, 2);
    EXPECT_TRUE(outcome.settings);
    EXPECT_FALSE(outcome.securityChanged);
    EXPECT_EQ(outcome.kept, diary.path() / "Diary before restore 2026-12-10 081502.zip");
    EXPECT_EQ(RestoreSummary(outcome, out), "Restored 2 entries and QL.INI from " + out.string()
                                                + "; the replaced diary is kept in " + outcome.kept.string());
    // The diary is the backed-up one again, every byte of it; the entry in another letter case
    // comes back under the name the program writes, and the files beside the entries stay.
    auto expected = original;
    expected.erase("Entries/20261207.qle");
    expected["Entries/20261207.QLE"] = original.at("Entries/20261207.qle");
    expected[outcome.kept.filename().string()] = zipfixture::ReadBytes(outcome.kept);
    EXPECT_EQ(Snapshot(diary.path()), expected);
    // The kept backup is the diary as it was just before.
    const std::map<std::string, std::string> kept{
        {"Entries/20261206.QLE", changed.at("Entries/20261206.QLE")},
        {"Entries/20261208.QLE", changed.at("Entries/20261208.QLE")},
        {"QL.INI", changed.at("QL.INI")},
    };
    EXPECT_EQ(Members(outcome.kept), kept);
}

TEST_F(DiaryBackupTest, BackupWithoutSettingsRestoresADiaryWithoutThem)
{
    fs::remove(diary.path() / "QL.INI");
    const fs::path out = elsewhere.path() / "backup.zip";
    EXPECT_EQ(BackupSummary(BackUpDiary(out)), "2 entries backed up to " + out.string());
    diary.write("QL.INI", "[Security]\nPassword=ABC\n");
    const RestoreOutcome outcome = RestoreDiary(out);
    EXPECT_FALSE(outcome.settings);
    EXPECT_FALSE(fs::exists(diary.path() / "QL.INI"));
    EXPECT_EQ(Members(outcome.kept).at("QL.INI"), "[Security]\nPassword=ABC\n");
}

TEST_F(DiaryBackupTest, RefusedArchiveLeavesTheDiaryUntouched)
{
    BackUpDiary(elsewhere.path() / "sound.zip");
    const std::string sound = zipfixture::ReadBytes(elsewhere.path() / "sound.zip");
    std::string damaged = sound;
    damaged[damaged.size() / 3] ^= 0x55;
    const std::string hostile = zipfixture::MakeZip(
        elsewhere.path() / "scratch.zip", {{"Entries/20240101.QLE", "x"}, {"../QL.INI", "[Security]\n"}});
    const std::string bomb = zipfixture::StateUnpackedSize(
        zipfixture::MakeZip(elsewhere.path() / "scratch.zip", {{"Entries/20240101.QLE", std::string(1 << 20, 'a')}}),
        10);
    const std::string lateDamage = [&] {
        // The first member sound, the last one spoilt: found only while unpacking.
        std::string bytes = zipfixture::MakeZip(elsewhere.path() / "scratch.zip",
                                                {{"Entries/20240101.QLE", "first"}, {"QL.INI", "second", 0100644, true}});
        bytes[bytes.find("second")] ^= 1;
        return bytes;
    }();

    const auto before = Snapshot(diary.path());
    for (const auto& [name, bytes] : std::map<std::string, std::string>{
             {"damaged", damaged}, {"hostile", hostile}, {"bomb", bomb}, {"late", lateDamage}, {"empty", ""}}) {
        SCOPED_TRACE(name);
        const fs::path file = elsewhere.write(name + ".zip", bytes);
        EXPECT_THROW(RestoreDiary(file), Error);
        EXPECT_EQ(Snapshot(diary.path()), before);  // no staging, no kept copy, nothing changed
    }
    EXPECT_THROW(RestoreDiary(elsewhere.path() / "missing.zip"), Error);
    EXPECT_EQ(Snapshot(diary.path()), before);
}

TEST_F(DiaryBackupTest, CrashAtAnyStepLeavesTheOldDiaryOrTheRestoredOneAfterTheNextStart)
{
    const fs::path out = elsewhere.path() / "backup.zip";
    BackUpDiary(out);
    const auto restored = [&] {
        auto files = Snapshot(diary.path());
        files["Entries/20261207.QLE"] = files.at("Entries/20261207.qle");
        files.erase("Entries/20261207.qle");
        return files;
    }();
    ChangeDiary();
    const auto old = Snapshot(diary.path());

    const RestorePoint points[] = {RestorePoint::Staged,          RestorePoint::KeptWritten,
                                   RestorePoint::Committed,       RestorePoint::EntriesMovedAside,
                                   RestorePoint::EntriesSwapped,  RestorePoint::SettingsSwapped,
                                   RestorePoint::Finished};
    for (const RestorePoint point : points) {
        SCOPED_TRACE(int(point));
        RestoreObserver observer;
        observer.checkpoint = [point](RestorePoint reached) {
            if (reached == point)
                throw Crash{};
        };
        EXPECT_THROW(RestoreDiary(out, observer), Crash);
        RecoverRestore();

        // The kept backup (once written) stays as a file of its own; everything else is one
        // diary or the other.
        auto now = Snapshot(diary.path());
        for (auto it = now.begin(); it != now.end();)
            it = it->first.starts_with("Diary before restore") ? now.erase(it) : std::next(it);
        EXPECT_EQ(now, point < RestorePoint::Committed ? old : restored);
        EXPECT_FALSE(RecoverRestore());  // nothing left to do

        // Back to the changed diary for the next point.
        for (const auto& item : fs::directory_iterator(diary.path()))
            fs::remove_all(item.path());
        for (const auto& [name, bytes] : old)
            if (name.back() != '/')
                zipfixture::WriteBytes(diary.path() / name, bytes);
    }
}

TEST_F(DiaryBackupTest, FailureBeforeTheCommitRollsBackAtOnce)
{
    const fs::path out = elsewhere.path() / "backup.zip";
    BackUpDiary(out);
    ChangeDiary();
    const auto old = Snapshot(diary.path());
    RestoreObserver observer;
    observer.checkpoint = [](RestorePoint reached) {
        if (reached == RestorePoint::Staged)
            throw Error("disk gone");
    };
    EXPECT_THROW(RestoreDiary(out, observer), Error);
    EXPECT_EQ(Snapshot(diary.path()), old);
}

TEST_F(DiaryBackupTest, RestoredSettingsWithAnotherPasswordAreReported)
{
    const fs::path out = elsewhere.path() / "backup.zip";
    diary.write("QL.INI", "[Security]\nScheme=Legacy\nPassword=" + std::string("\x9c\x9e", 2) + "\n");
    BackUpDiary(out);
    diary.write("QL.INI", "[Opening Screen]\nshow=0\n");
    EXPECT_TRUE(RestoreDiary(out).securityChanged);
    EXPECT_FALSE(RestoreDiary(out).securityChanged);
}

} // namespace
} // namespace quillory
