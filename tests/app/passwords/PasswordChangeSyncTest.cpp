// Re-keying a diary that another computer changes at the same time: entries changed, deleted or
// written there while the change runs are neither overwritten with older text nor brought back,
// and one changed in the last moment before its swap is kept beside.
#include "app/PasswordChange.h"

#include "PasswordDiary.h"
#include "app/Crypt.h"
#include "platform/SyncedFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace quillory;
using quillory::testing_support::PasswordDiary;

namespace {

namespace fs = std::filesystem;

const std::string kTheirs = "{\\rtf1\\ansi written on the other computer}";

TEST(PasswordChangeSyncTest, EntriesChangedDuringStagingAreReKeyedFromTheirNewText)
{
    PasswordDiary diary("old");
    const fs::path entries = diary.Path() / "Entries";
    int staged = 0;
    RekeyObserver observer;
    observer.checkpoint = [&](RekeyPoint point) {
        if (point != RekeyPoint::FileStaged || ++staged != 3)
            return;
        // All three staged; meanwhile the other computer, still on the old password, works on.
        std::ofstream(entries / "20261201.QLE", std::ios::binary | std::ios::trunc) << EncipherBuffer(kTheirs, "old");
        fs::remove(entries / "20261202.QLE");
        std::ofstream(entries / "20261209.QLE", std::ios::binary) << EncipherBuffer(kTheirs, "old");
    };

    EXPECT_TRUE(ProcessPassword("old", "new", observer).empty());

    EXPECT_EQ(diary.Stored(), "new");
    const auto files = diary.EntryBytes();
    EXPECT_EQ(DecipherBuffer(files.at("20261201.QLE"), "new"), kTheirs);
    EXPECT_EQ(files.count("20261202.QLE"), 0u);  // deleted there: stays deleted
    EXPECT_EQ(DecipherBuffer(files.at("20261203.QLE"), "new"), diary.Plain().at("20261203.QLE"));
    EXPECT_EQ(DecipherBuffer(files.at("20261209.QLE"), "new"), kTheirs);
    EXPECT_EQ(files.size(), 4u);  // with notes.txt, and no version kept beside
    EXPECT_FALSE(fs::exists(diary.Path() / "Entries.rekey"));
}

TEST(PasswordChangeSyncTest, AnEntryChangedJustBeforeItsSwapIsKeptBesideAndReported)
{
    PasswordDiary diary("old");
    const fs::path entries = diary.Path() / "Entries";
    const std::string theirs = EncipherBuffer(kTheirs, "old");
    RekeyObserver observer;
    observer.checkpoint = [&](RekeyPoint point) {
        if (point == RekeyPoint::Committed)
            std::ofstream(entries / "20261201.QLE", std::ios::binary | std::ios::trunc) << theirs;
    };

    const std::vector<KeptVersion> kept = ProcessPassword("old", "new", observer);

    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(fs::path(kept[0].entry).filename(), "20261201.QLE");
    const std::string keptName = fs::path(kept[0].keptAs).filename().string();
    EXPECT_TRUE(IsChangedElsewhereName(keptName)) << keptName;
    EXPECT_EQ(diary.EntryBytes().at(keptName), theirs);
    EXPECT_EQ(DecipherBuffer(diary.EntryBytes().at("20261201.QLE"), "new"), diary.Plain().at("20261201.QLE"));
    EXPECT_NE(KeptVersionsNotice(kept).find(keptName), std::string::npos);
    EXPECT_TRUE(KeptVersionsNotice({}).empty());
}

TEST(PasswordChangeSyncTest, TheStartAfterACrashKeepsAnEntryChangedSinceStaging)
{
    // The change was committed, then the program died; before the next start the other
    // computer saved the first day again. Its version must not go under the staged one.
    PasswordDiary diary("old");
    const fs::path entries = diary.Path() / "Entries";
    RekeyObserver observer;
    observer.checkpoint = [](RekeyPoint point) {
        if (point == RekeyPoint::Committed)
            throw quillory::testing_support::Crash{};
    };
    EXPECT_THROW(ProcessPassword("old", "new", observer), quillory::testing_support::Crash);
    const std::string theirs = EncipherBuffer(kTheirs, "old");
    std::ofstream(entries / "20261202.QLE", std::ios::binary | std::ios::trunc) << theirs;

    std::vector<KeptVersion> kept;
    EXPECT_TRUE(RecoverPasswordChange({}, &kept));

    ASSERT_EQ(kept.size(), 1u);
    const std::string keptName = fs::path(kept[0].keptAs).filename().string();
    EXPECT_EQ(diary.EntryBytes().at(keptName), theirs);
    EXPECT_EQ(DecipherBuffer(diary.EntryBytes().at("20261202.QLE"), "new"), diary.Plain().at("20261202.QLE"));
    EXPECT_EQ(diary.Stored(), "new");
    EXPECT_FALSE(fs::exists(diary.Path() / "Entries.rekey"));
}

TEST(PasswordChangeSyncTest, AnEntryThatCannotBeReadAtTheLastCheckUndoesTheChange)
{
    // All or nothing still: whether the entry changed cannot be told, so nothing changes.
    PasswordDiary diary("");
    const fs::path entries = diary.Path() / "Entries";
    const auto before = diary.EntryBytes();
    RekeyObserver observer;
    int staged = 0;
    observer.checkpoint = [&](RekeyPoint point) {
        if (point == RekeyPoint::FileStaged && ++staged == 3) {
            // The other computer's write left a file that gives a read error.
            fs::rename(entries / "20261201.QLE", diary.Path() / "saved.QLE");
            fs::create_symlink("/proc/self/mem", entries / "20261201.QLE");
        }
    };

    EXPECT_THROW(ProcessPassword("", "new", observer), Error);

    fs::remove(entries / "20261201.QLE");
    fs::rename(diary.Path() / "saved.QLE", entries / "20261201.QLE");
    EXPECT_EQ(diary.EntryBytes(), before);
    EXPECT_EQ(diary.Stored(), "");
    EXPECT_FALSE(fs::exists(diary.Path() / "Entries.rekey"));
}

} // namespace
