// Other versions of a day: which names are versions, re-keying them with a password change so
// that none is lost, and appending, using and setting them aside.
#include "app/EntryVersions.h"

#include "TempFolder.h"
#include "app/EntryFiles.h"
#include "app/EntryStore.h"
#include "app/EntryText.h"
#include "app/PasswordChange.h"
#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>
#include <sodium.h>

#include <filesystem>
#include <map>

namespace quillory {
namespace {

namespace fs = std::filesystem;

const Day kDay = *Day::FromDate(2024, 1, 1);

TEST(VersionNameTest, SyncToolsCopiesAreVersionsOfTheDayTheirNameBeginsWith)
{
    using enum VersionSource;
    const struct {
        const char* name;
        std::optional<VersionName> expected;
    } cases[] = {
        {"20240101.sync-conflict-20261211-031500-ABCDEFG.QLE", VersionName{kDay, SyncConflict}},
        {"20240101.sync-conflict-20261211-031500-abc2def.qle", VersionName{kDay, SyncConflict}},
        {"20240101.sync-conflict-20261211-031500.QLE", VersionName{kDay, SyncConflict}},
        {"20240101 (conflicted copy 2026-12-11).QLE", VersionName{kDay, ConflictedCopy}},
        {"20240101 (Alice's conflicted copy 2026-12-11).QLE", VersionName{kDay, ConflictedCopy}},
        {"20240101 (Alice's MacBook's conflicted copy 2026-12-11 (1)).QLE", VersionName{kDay, ConflictedCopy}},
        {"20240101 (conflicted copy 2026-12-11 031500).QLE", VersionName{kDay, ConflictedCopy}},
        {"20240101 (conflicted copy alice 2026-12-11 031500).qle", VersionName{kDay, ConflictedCopy}},
        {"20240101 (Conflicted Copy 2026-12-11) (2).QLE", VersionName{kDay, ConflictedCopy}},
        {"20240101_conflict-20261211-031500.QLE", VersionName{kDay, ConflictedCopy}},
        {"20240101 (Case Conflict).QLE", VersionName{kDay, CaseConflict}},
        {"20240101 (case conflict 1).QLE", VersionName{kDay, CaseConflict}},
        {"20240101 (changed elsewhere 2026-12-11 0315).QLE", VersionName{kDay, ChangedElsewhere}},
        {"20240101 (changed elsewhere 2026-12-11 0315, 2).QLE", VersionName{kDay, ChangedElsewhere}},
        {"20240101.sync-conflict-20261211-031500-ABCDEFG (changed elsewhere 2026-12-11 0315).QLE",
         VersionName{kDay, ChangedElsewhere}},
        {"20240101 (replaced here 2026-12-11 0315).QLE", VersionName{kDay, ReplacedHere}},
        {"20240229 (conflicted copy 2026-12-11).QLE", VersionName{*Day::FromDate(2024, 2, 29), ConflictedCopy}},
        // Near misses: the entry itself, no day, the wrong extension, a sync tool's temporary file.
        {"20240101.QLE", std::nullopt},
        {"20241301 (conflicted copy 2026-12-11).QLE", std::nullopt},
        {"20230229.sync-conflict-20261211-031500-ABCDEFG.QLE", std::nullopt},
        {"2024010 (conflicted copy 2026-12-11).QLE", std::nullopt},
        {"120240101 (conflicted copy 2026-12-11).QLE", std::nullopt},
        {"20240101 (conflicted copy 2026-12-11).RTF", std::nullopt},
        {"20240101 (conflicted copy 2026-12-11).QLE.tmp", std::nullopt},
        {".syncthing.20240101.QLE.tmp", std::nullopt},
        {"~syncthing~20240101.QLE.tmp", std::nullopt},
        {"20240101.sync-conflict-2026.QLE", std::nullopt},
        {"20240101 (1).QLE", std::nullopt},
        {"20240101 copy.QLE", std::nullopt},
        {"20240101 (my conflicted thoughts).QLE", std::nullopt},
        {"QL (changed elsewhere 2026-12-31 0000).INI", std::nullopt},
        {"notes (conflicted copy 2026-12-11).QLE", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseVersionName(c.name), c.expected) << c.name;
}

TEST(VersionNameTest, TheNameKeptForAReplacedEntryIsAVersionOfItsDay)
{
    const LocalTime when{*Day::FromDate(2026, 12, 11), 3, 15, 0, 0};
    EXPECT_EQ(ReplacedHereName("20240101.QLE", when), "20240101 (replaced here 2026-12-11 0315).QLE");
    EXPECT_EQ(ReplacedHereName("20240101.QLE", when, 2), "20240101 (replaced here 2026-12-11 0315, 2).QLE");
    EXPECT_EQ(ParseVersionName(ReplacedHereName("20240101.QLE", when, 2)),
              (VersionName{kDay, VersionSource::ReplacedHere}));
}

// A diary folder of its own for each test; the key of the run is forgotten afterwards.
class VersionDiary : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(folder.withSlash());
        fs::create_directories(folder.path() / "Entries");
        folder.write("QL.INI", "[Default Font]\nName=Arial\n");
    }
    void TearDown() override
    {
        ForgetSessionKey();
        SetProgramFolder(previous);
    }

    std::string Entries(const std::string& name) const { return folder.read("Entries/" + name); }
    void Write(const std::string& name, std::string_view bytes) const { folder.write("Entries/" + name, bytes); }
    // The text of an entry's paragraphs, one line each.
    static std::string TextOf(std::string_view content)
    {
        std::string text;
        ForEachEntryParagraph(content, [&](std::string_view paragraph) {
            text += std::string(paragraph) + "\n";
            return false;
        });
        return text;
    }

    TempFolder folder;
    std::string previous = DiaryFolder();
};

const strong::KdfLimits kFast{crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN};
const std::string kMine = "{\\rtf1\\ansi Mine}";
const std::string kHere = "{\\rtf1\\ansi Kept here}";
const std::string kThere = "{\\rtf1\\ansi Written there}";
const std::string kEntry = "20240101.QLE";
const std::string kHereName = "20240101 (changed elsewhere 2026-12-11 0315).QLE";
const std::string kThereName = "20240101.sync-conflict-20261211-031500-ABCDEFG.QLE";
const std::string kLockedName = "20240101 (conflicted copy 2026-12-11).QLE";

enum class Protection { None, Legacy, Strong };

void Protect(Protection protection, const std::string& password)
{
    if (protection == Protection::None)
        return;
    const PasswordScheme scheme = protection == Protection::Strong ? PasswordScheme::Strong : PasswordScheme::Legacy;
    ProcessPassword("", password, {}, RekeyTarget{scheme, kFast});
}

TEST_F(VersionDiary, APasswordChangeReKeysEveryVersionWithItsDaysKeyAndLeavesTheUnopenedAlone)
{
    const struct {
        const char* name;
        Protection from;
        std::string oldPassword;
        PasswordScheme to;
        std::string newPassword;
    } cases[] = {
        {"none to legacy", Protection::None, "", PasswordScheme::Legacy, "new"},
        {"none to strong", Protection::None, "", PasswordScheme::Strong, "new"},
        {"legacy to strong", Protection::Legacy, "old", PasswordScheme::Strong, "new"},
        {"legacy to other legacy", Protection::Legacy, "old", PasswordScheme::Legacy, "new"},
        {"strong to strong", Protection::Strong, "old", PasswordScheme::Strong, "new"},
        {"strong to none", Protection::Strong, "old", PasswordScheme::Strong, ""},
        {"legacy to none", Protection::Legacy, "old", PasswordScheme::Legacy, ""},
    };
    // Sealed with another diary's key: it opens with no password of this one.
    const DiaryKey otherDiary = MakeStrongDiary("another diary", kFast).key;
    const std::string locked = EncodeEntry(otherDiary, "20240101", "{\\rtf1 theirs, locked}");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(folder.path() / "Entries");
        fs::remove_all(folder.path() / "Old versions");
        folder.write("QL.INI", "[Default Font]\nName=Arial\n");
        ForgetSessionKey();
        Write(kEntry, kMine);
        Protect(c.from, c.oldPassword);
        // The copy written here keeps the entry's bytes as they were; the one written there was
        // the other computer's entry file, sealed with the day's key under the same password.
        const DiaryKey& key = SessionKey(c.oldPassword);
        Write(kHereName, EncodeEntry(key, "20240101", kHere));
        Write(kThereName, EncodeEntry(key, "20240101", kThere));
        Write(kLockedName, locked);

        ProcessPassword(c.oldPassword, c.newPassword, {}, RekeyTarget{c.to, kFast});

        EXPECT_EQ(Entries(kLockedName), locked);
        EXPECT_EQ(ReadEntry(kDay, c.newPassword), kMine);
        for (const auto& [name, text] : {std::pair{kHereName, kHere}, std::pair{kThereName, kThere}}) {
            EXPECT_EQ(ReadVersion(*FindVersion(kDay, name), c.newPassword), text) << name;
            // Renamed to the day's own name, as a user would after reading it, it opens.
            fs::rename(folder.path() / "Entries" / name, folder.path() / "Entries" / kEntry);
            EXPECT_EQ(ReadEntry(kDay, c.newPassword), text) << name;
        }
        EXPECT_THROW(ReadVersion(*FindVersion(kDay, kLockedName), c.newPassword), DamagedEntry);
    }
}

TEST_F(VersionDiary, ACopySealedWithItsWholeNameOpensAndIsReKeyedWithTheDaysKey)
{
    // How copies were once re-keyed: sealed with everything before ".QLE" as the day key.
    Protect(Protection::Strong, "old");
    Write(kEntry, EncodeEntry(SessionKey("old"), "20240101", kMine));
    Write(kThereName, EncodeEntry(SessionKey("old"), fs::path(kThereName).stem().string(), kThere));
    EXPECT_EQ(ReadVersion(*FindVersion(kDay, kThereName), "old"), kThere);

    ProcessPassword("old", "new", {}, RekeyTarget{PasswordScheme::Strong, kFast});
    EXPECT_EQ(DecodeEntry(SessionKey("new"), "20240101", Entries(kThereName)), kThere);
}

TEST_F(VersionDiary, VersionsAreListedByDayAndNeverAsEntries)
{
    Write(kEntry, kMine);
    Write(kThereName, kThere);
    Write(kHereName, kHere);
    Write("20240102 (conflicted copy 2026-12-11).QLE", kThere);
    Write("20240103 copy.QLE", kThere);
    fs::create_directories(folder.path() / "Entries" / "20240104 (conflicted copy 2026-12-11).QLE");
    fs::last_write_time(folder.path() / "Entries" / kThereName, fs::file_time_type::clock::now() - std::chrono::hours(2));
    fs::last_write_time(folder.path() / "Entries" / kHereName, fs::file_time_type::clock::now() - std::chrono::hours(1));

    std::vector<std::string> names;
    for (const EntryVersion& version : ListVersions())
        names.push_back(version.Name());
    EXPECT_EQ(names, (std::vector<std::string>{kThereName, kHereName, "20240102 (conflicted copy 2026-12-11).QLE"}));
    EXPECT_EQ(ListVersions(kDay).size(), 2u);
    EXPECT_TRUE(ListVersions(*Day::FromDate(2024, 1, 3)).empty());
    EXPECT_TRUE(FindVersion(kDay, "20240101.SYNC-CONFLICT-20261211-031500-ABCDEFG.qle"));
    EXPECT_FALSE(FindVersion(*Day::FromDate(2024, 1, 2), kThereName));
    // The calendar, search, export and printing see the entry of the first day only.
    EXPECT_EQ(EntryDaysBetween(kDay, kDay + 10), std::vector<Day>{kDay});
}

TEST_F(VersionDiary, AppendingKeepsBothTextsAndSetsTheVersionAsideWhole)
{
    Protect(Protection::Strong, "pw");
    WriteEntry(kDay, kMine, "pw");
    const std::string sealed = EncodeEntry(SessionKey("pw"), "20240101", kThere);
    Write(kThereName, sealed);

    const SettledVersion settled = AppendVersion(*FindVersion(kDay, kThereName), "pw");
    EXPECT_EQ(settled.saved.conflict, EntryConflict::None);
    EXPECT_EQ(TextOf(ReadEntry(kDay, "pw")), "Mine\nWritten there\n");
    EXPECT_FALSE(fs::exists(folder.path() / "Entries" / kThereName));
    EXPECT_EQ(settled.setAside, folder.path() / "Old versions" / kThereName);
    EXPECT_EQ(folder.read("Old versions/" + kThereName), sealed);
    EXPECT_TRUE(ListVersions(kDay).empty());
}

TEST_F(VersionDiary, AppendingToADayWithoutAnEntryMakesTheVersionTheEntry)
{
    Write(kThereName, kThere);
    AppendVersion(*FindVersion(kDay, kThereName), "");
    EXPECT_EQ(TextOf(ReadEntry(kDay, "")), "Written there\n");
}

TEST_F(VersionDiary, UsingAVersionKeepsMineAsAVersionAndSettingAsideNeverOverwrites)
{
    Write(kEntry, kMine);
    Write(kThereName, kThere);
    fs::create_directories(folder.path() / "Old versions");
    folder.write("Old versions/" + kThereName, "set aside before");

    const SettledVersion settled = UseVersion(*FindVersion(kDay, kThereName), "");
    EXPECT_EQ(ReadEntry(kDay, ""), kThere);
    ASSERT_TRUE(settled.keptMine);
    EXPECT_EQ(ParseVersionName(settled.keptMine->filename().string()),
              (VersionName{kDay, VersionSource::ReplacedHere}));
    EXPECT_EQ(Entries(settled.keptMine->filename().string()), kMine);
    EXPECT_EQ(folder.read("Old versions/" + kThereName), "set aside before");
    EXPECT_EQ(settled.setAside.filename(), "20240101.sync-conflict-20261211-031500-ABCDEFG (2).QLE");
    EXPECT_EQ(folder.read("Old versions/" + settled.setAside.filename().string()), kThere);
    EXPECT_EQ(ListVersions(kDay).size(), 1u);  // mine
}

TEST_F(VersionDiary, AVersionThatDoesNotOpenChangesNothing)
{
    Protect(Protection::Strong, "pw");
    WriteEntry(kDay, kMine, "pw");
    const std::string entry = Entries(kEntry);
    const std::string locked = EncodeEntry(MakeStrongDiary("another diary", kFast).key, "20240101", kThere);
    Write(kLockedName, locked);
    const EntryVersion version = *FindVersion(kDay, kLockedName);

    EXPECT_THROW(AppendVersion(version, "pw"), DamagedEntry);
    EXPECT_THROW(UseVersion(version, "pw"), DamagedEntry);
    EXPECT_EQ(Entries(kEntry), entry);
    EXPECT_EQ(Entries(kLockedName), locked);
    EXPECT_EQ(ListVersions(kDay).size(), 1u);
    // Set aside (what Dismiss does) it is kept whole.
    const fs::path aside = SetVersionAside(version);
    EXPECT_EQ(folder.read("Old versions/" + aside.filename().string()), locked);
    EXPECT_TRUE(ListVersions(kDay).empty());
}

TEST_F(VersionDiary, OpeningWithoutASealChecksThatTheBytesAreAnEntry)
{
    const EntryVersion version{folder.path() / "Entries" / kThereName, kDay, VersionSource::SyncConflict, {}};
    const DiaryKey none;
    DiaryKey legacy;
    legacy.scheme = Scheme::Legacy;
    legacy.legacyPassword = "pw";
    const std::string sealed = EncodeEntry(MakeStrongDiary("x", kFast).key, "20240101", kThere);
    EXPECT_EQ(OpenVersionBytes(none, version, kThere), kThere);
    EXPECT_EQ(OpenVersionBytes(none, version, "plain text\r\nof a day"), "plain text\r\nof a day");
    EXPECT_FALSE(OpenVersionBytes(none, version, sealed));
    EXPECT_FALSE(OpenVersionBytes(none, version, EncodeEntry(legacy, "20240101", kThere)));
    EXPECT_EQ(OpenVersionBytes(legacy, version, EncodeEntry(legacy, "20240101", kThere)), kThere);
    EXPECT_EQ(OpenVersionBytes(legacy, version, kThere), kThere);  // made before the password
    EXPECT_FALSE(OpenVersionBytes(legacy, version, sealed));
    DiaryKey otherLegacy = legacy;
    otherLegacy.legacyPassword = "other";
    EXPECT_FALSE(OpenVersionBytes(legacy, version, EncodeEntry(otherLegacy, "20240101", kThere)));
}

} // namespace
} // namespace quillory
