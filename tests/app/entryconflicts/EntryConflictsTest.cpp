// Saving a page while another computer changes the same diary: every way the day's file can
// have moved on since it was loaded, and what stays of both sides.
#include "app/EntryConflicts.h"

#include "TempFolder.h"
#include "app/Crypt.h"
#include "app/EntryStore.h"
#include "app/PasswordChange.h"
#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>

namespace quillory {
namespace {

namespace fs = std::filesystem;

const Day kDay = *Day::FromDate(2024, 1, 5);
const std::string kOurs = "{\\rtf1\\ansi ours}";
const std::string kLoaded = "{\\rtf1\\ansi as loaded}";
const std::string kTheirs = "{\\rtf1\\ansi theirs, longer}";

class EntryConflictsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(folder.withSlash());
        fs::create_directories(folder.path() / "Entries");
    }
    void TearDown() override { SetProgramFolder(previous); }

    // Every file in Entries by name, with its bytes.
    std::map<std::string, std::string> Files() const
    {
        std::map<std::string, std::string> files;
        for (const auto& item : fs::directory_iterator(folder.path() / "Entries"))
            files[item.path().filename().string()] = folder.read("Entries/" + item.path().filename().string());
        return files;
    }
    // The one file beside the entry that keeps the other version, or nothing.
    std::optional<std::string> KeptBeside() const
    {
        std::optional<std::string> kept;
        for (const auto& [name, bytes] : Files()) {
            if (IsChangedElsewhereName(name)) {
                EXPECT_FALSE(kept) << "more than one version kept";
                kept = bytes;
            }
        }
        return kept;
    }

    TempFolder folder;
    std::string previous = DiaryFolder();
};

TEST_F(EntryConflictsTest, EveryWayTheFileCanHaveMovedOnKeepsBothSides)
{
    enum class Disk { Missing, AsLoaded, Theirs };
    const struct {
        const char* name;
        Disk atLoad;
        Disk atSave;
        SaveStep step;
        EntryConflict conflict;
        std::optional<std::string> entry;  // the day's file afterwards
        std::optional<std::string> kept;   // the version kept beside it
    } rows[] = {
        {"written as loaded", Disk::AsLoaded, Disk::AsLoaded, SaveStep::Write, EntryConflict::None, kOurs, {}},
        {"new entry", Disk::Missing, Disk::Missing, SaveStep::Write, EntryConflict::None, kOurs, {}},
        {"changed elsewhere", Disk::AsLoaded, Disk::Theirs, SaveStep::Write, EntryConflict::ChangedElsewhere, kOurs, kTheirs},
        {"created elsewhere", Disk::Missing, Disk::Theirs, SaveStep::Write, EntryConflict::CreatedElsewhere, kOurs, kTheirs},
        {"deleted elsewhere", Disk::AsLoaded, Disk::Missing, SaveStep::Write, EntryConflict::DeletedElsewhere, kOurs, {}},
        {"deleted as loaded", Disk::AsLoaded, Disk::AsLoaded, SaveStep::Delete, EntryConflict::None, {}, {}},
        {"emptied while changed elsewhere", Disk::AsLoaded, Disk::Theirs, SaveStep::Delete, EntryConflict::NotDeleted, kTheirs, {}},
        {"deleted on both sides", Disk::AsLoaded, Disk::Missing, SaveStep::Delete, EntryConflict::None, {}, {}},
        {"empty page, created elsewhere", Disk::Missing, Disk::Theirs, SaveStep::Nothing, EntryConflict::None, kTheirs, {}},
    };
    const fs::path entry = folder.path() / "Entries" / "20240105.QLE";
    auto put = [&](Disk disk) {
        fs::remove(entry);
        if (disk != Disk::Missing)
            folder.write("Entries/20240105.QLE", disk == Disk::AsLoaded ? kLoaded : kTheirs);
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        for (const auto& item : fs::directory_iterator(folder.path() / "Entries"))
            fs::remove(item.path());
        put(row.atLoad);
        FileStamp loaded;
        if (row.atLoad != Disk::Missing)
            EXPECT_EQ(ReadEntry(kDay, "", loaded), kLoaded);
        put(row.atSave);

        const SavedEntry saved = SaveEntryChecked(kDay, row.step, kOurs, "", loaded);

        EXPECT_EQ(saved.conflict, row.conflict);
        EXPECT_EQ(fs::exists(entry) ? std::optional(folder.read("Entries/20240105.QLE")) : std::nullopt, row.entry);
        EXPECT_EQ(KeptBeside(), row.kept);
        if (row.kept)
            EXPECT_EQ(folder.read("Entries/" + saved.keptAs.filename().string()), *row.kept);
        EXPECT_EQ(Files().size(), std::size_t(row.entry.has_value()) + std::size_t(row.kept.has_value()));
        EXPECT_EQ(ConflictNotice(kDay, saved).empty(), row.conflict == EntryConflict::None);
        if (row.conflict != EntryConflict::None)
            EXPECT_NE(ConflictNotice(kDay, saved).find("01/05/2024"), std::string::npos) << ConflictNotice(kDay, saved);
        if (row.kept)
            EXPECT_NE(ConflictNotice(kDay, saved).find(saved.keptAs.filename().string()), std::string::npos);

        // The stamp given back is the file now: saving again right away is no conflict, and
        // after an empty page's non-save a file that appeared is still the other's.
        if (row.step != SaveStep::Nothing) {
            const SavedEntry again = SaveEntryChecked(kDay, SaveStep::Write, kOurs, "", saved.stamp);
            EXPECT_EQ(again.conflict, EntryConflict::None);
        } else {
            EXPECT_EQ(SaveEntryChecked(kDay, SaveStep::Write, kOurs, "", saved.stamp).conflict,
                      EntryConflict::CreatedElsewhere);
        }
    }
}

TEST_F(EntryConflictsTest, AnEncipheredEntrysOtherVersionIsKeptAsItWasOnDisk)
{
    // No plain copy reaches the disk: the other version keeps the bytes it had, and ours is
    // enciphered as every entry is.
    WriteEntry(kDay, kLoaded, "Secret");
    FileStamp loaded;
    ReadEntry(kDay, "Secret", loaded);
    const std::string theirs = EncipherBuffer(kTheirs, "Secret");
    folder.write("Entries/20240105.QLE", theirs);

    const SavedEntry saved = SaveEntryChecked(kDay, SaveStep::Write, kOurs, "Secret", loaded);

    EXPECT_EQ(saved.conflict, EntryConflict::ChangedElsewhere);
    EXPECT_EQ(folder.read("Entries/" + saved.keptAs.filename().string()), theirs);
    EXPECT_EQ(ReadEntry(kDay, "Secret"), kOurs);
}

TEST_F(EntryConflictsTest, KeptVersionsAreNoEntriesOfTheDiary)
{
    // Without an entry of its own, the day of a kept version must not show up as one: not in
    // the listing, the calendar, nor the outermost days. The password change re-keys it with
    // its day's key, as the other version of that day, never as an entry of its own.
    const Day today = Today();
    const Day early = *Day::FromDate(2001, 2, 3);
    folder.write("Entries/20010203 (changed elsewhere 2001-02-04 0815).QLE", kTheirs);
    folder.write("Entries/20240105.QLE", kOurs);
    folder.write("Entries/20240105 (changed elsewhere 2024-01-06 0815).QLE", kTheirs);

    EXPECT_EQ(EntryDaysBetween(early, today), std::vector<Day>{kDay});
    EXPECT_TRUE(EntryDaysOfMonth(2001, 2).empty());
    EXPECT_EQ(FirstDiaryRecord(), kDay);
    EXPECT_EQ(CountEntryFiles(), 3);  // the files a password change re-keys

    ProcessPassword("", "Secret");
    EXPECT_EQ(ReadEntry(kDay, "Secret"), kOurs);
    EXPECT_EQ(DecipherBuffer(folder.read("Entries/20240105 (changed elsewhere 2024-01-06 0815).QLE"), "Secret"),
              kTheirs);
    EXPECT_EQ(EntryDaysBetween(early, today), std::vector<Day>{kDay});
}

} // namespace
} // namespace quillory
