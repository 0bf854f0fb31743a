// A diary under the strong scheme: moving to it and back through the journalled re-keying,
// crashes at every step, QL.INI keeping no password, and entries that fail authentication.
#include "../passwords/PasswordDiary.h"
#include "app/DiarySecurity.h"
#include "app/EntryFiles.h"
#include "app/EntryStore.h"
#include "app/Settings.h"

#include <gtest/gtest.h>
#include <sodium.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace quillory {
namespace {

using testing_support::Crash;
using testing_support::PasswordDiary;
namespace fs = std::filesystem;

const RekeyTarget kStrong{PasswordScheme::Strong, {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN}};
const RekeyTarget kLegacy{PasswordScheme::Legacy, {}};
const Day kFirst = *Day::FromDate(2026, 12, 1);
const Day kSecond = *Day::FromDate(2026, 12, 2);

class StrongDiaryTest : public ::testing::Test {
protected:
    void TearDown() override { ForgetSessionKey(); }

    // Every entry opens with `password` under the strong scheme, and QL.INI holds neither the
    // password nor its scrambled form.
    static void ExpectStrong(const PasswordDiary& diary, const std::string& password)
    {
        const DiarySecurity security = LoadDiarySecurity();
        ASSERT_EQ(security.scheme, Scheme::Strong);
        EXPECT_EQ(security.salt.size(), strong::kSaltBytes);
        const auto key = UnlockDiary(security, password);
        ASSERT_TRUE(key) << "'" << password << "' does not open the check value";
        EXPECT_FALSE(UnlockDiary(security, password + "x"));
        const std::string settings = diary.Path().empty() ? "" : ReadText(diary.Path() / "QL.INI");
        EXPECT_EQ(settings.find(password), std::string::npos);
        EXPECT_EQ(settings.find(EncryptString(password)), std::string::npos);
        EXPECT_NE(settings.find("Name=Courier New"), std::string::npos);
        EXPECT_FALSE(fs::exists(diary.Path() / "Rekeying.ini"));
        EXPECT_FALSE(fs::exists(diary.Path() / "Entries.rekey"));
        const auto files = diary.EntryBytes();
        for (const auto& [name, rtf] : diary.Plain()) {
            ASSERT_TRUE(files.count(name)) << name;
            EXPECT_TRUE(strong::LooksSealed(files.at(name))) << name;
            EXPECT_TRUE(DecodeEntry(*key, fs::path(name).stem().string(), files.at(name)) == rtf) << name;
        }
        EXPECT_EQ(files.at("notes.txt"), "not an entry");
    }

    static std::string ReadText(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
};

TEST_F(StrongDiaryTest, MovesFromLegacyToStrongAndBackAndClears)
{
    PasswordDiary diary("old");
    ProcessPassword("old", "Str0ng", {}, kStrong);
    ExpectStrong(diary, "Str0ng");
    EXPECT_EQ(ReadEntry(kFirst, "Str0ng"), diary.Plain().at("20261201.QLE"));

    ForgetSessionKey();  // a new run: the key is derived again from QL.INI
    EXPECT_EQ(ReadEntry(kSecond, "Str0ng"), diary.Plain().at("20261202.QLE"));
    EXPECT_EQ(diary.Stored(), "Str0ng");  // the password of this run, not one stored

    ProcessPassword("Str0ng", "Other", {}, kStrong);  // a new password gets a new salt
    ExpectStrong(diary, "Other");
    ProcessPassword("Other", "Other", {}, kLegacy);  // same text, other scheme: re-keyed
    diary.ExpectOpensWith("Other");
    ProcessPassword("Other", "Again", {}, kStrong);
    ProcessPassword("Again", "", {}, kStrong);  // clearing: plain RTF whatever the scheme
    diary.ExpectOpensWith("");
    EXPECT_EQ(LoadDiarySecurity().scheme, Scheme::None);
}

// A passphrase of 40 characters with spaces, punctuation and Polish letters keys the diary with
// its UTF-8; the same words with their accents spelled as combining marks open it too.
TEST_F(StrongDiaryTest, APassphraseOfAnyScriptKeysTheDiary)
{
    const std::string passphrase = "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 g\xC4\x99\xC5\x9Bl\xC4\x85 "
                                   "ja\xC5\xBA\xC5\x84 \xE2\x80\x94 correct horse 7!";
    const std::string decomposed = "Za\x7A\xCC\x87o\xCC\x81\xC5\x82\x63\xCC\x81 g\x65\xCC\xA8\x73\xCC\x81l\x61\xCC\xA8 "
                                   "ja\x7A\xCC\x81\x6E\xCC\x81 \xE2\x80\x94 correct horse 7!";
    PasswordDiary diary("old");
    ProcessPassword("old", passphrase, {}, kStrong);
    ExpectStrong(diary, passphrase);
    ForgetSessionKey();
    EXPECT_EQ(ReadEntry(kFirst, decomposed), diary.Plain().at("20261201.QLE"));
    EXPECT_FALSE(UnlockDiary(LoadDiarySecurity(), "Zazolc gesla jazn \xE2\x80\x94 correct horse 7!"));
    ProcessPassword(decomposed, "", {}, kStrong);
    diary.ExpectOpensWith("");
}

// A diary made strong before passphrases (its password keyed from cp1252 bytes, which for its
// characters are the UTF-8 ones) opens as it did, and takes a passphrase.
TEST_F(StrongDiaryTest, ADiaryMadeStrongBeforePassphrasesStillOpens)
{
    TempFolder folder;
    fs::copy(fs::path(QUILLORY_TEST_DATA) / "strong-diary", folder.path(), fs::copy_options::recursive);
    SetProgramFolder(folder.withSlash());
    const Day leapDay = *Day::FromDate(2024, 2, 29);
    const std::string text = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Written before passphrases.\\par}";
    EXPECT_THROW(ReadEntry(leapDay, "str0ng 1"), Error);
    EXPECT_EQ(ReadEntry(leapDay, "Str0ng 1"), text);
    ProcessPassword("Str0ng 1", "Zwei Wörter, ein Satz", {}, kStrong);
    ForgetSessionKey();
    EXPECT_EQ(ReadEntry(leapDay, "Zwei Wörter, ein Satz"), text);
}

TEST_F(StrongDiaryTest, AWrongPasswordNeitherReadsNorWritesNorReKeys)
{
    PasswordDiary diary("");
    ProcessPassword("", "Right", {}, kStrong);
    ForgetSessionKey();
    const auto before = diary.EntryBytes();
    for (const std::string wrong : {"", "right", "Wrong"}) {
        SCOPED_TRACE(wrong);
        EXPECT_THROW(ReadEntry(kFirst, wrong), Error);
        // Never a plain or legacy-enciphered file in a strong diary.
        EXPECT_THROW(WriteEntry(kFirst, "{\\rtf1 x}", wrong), Error);
        EXPECT_THROW(ProcessPassword(wrong, "New", {}, kLegacy), Error);
        EXPECT_EQ(diary.EntryBytes(), before);
    }
    ExpectStrong(diary, "Right");
}

TEST_F(StrongDiaryTest, AnEntryThatFailsAuthenticationIsReportedByNameAndTheOthersStillOpen)
{
    PasswordDiary diary("");
    ProcessPassword("", "Right", {}, kStrong);
    const fs::path first = diary.Path() / "Entries/20261201.QLE";
    const std::string sealed = diary.EntryBytes().at("20261201.QLE");
    std::string flipped = sealed;
    flipped[sealed.size() / 2] ^= 0x20;
    const std::string moved = diary.EntryBytes().at("20261202.QLE");  // another day's file
    for (const std::string& spoiled : {flipped, sealed.substr(0, sealed.size() - 1), moved, std::string()}) {
        std::ofstream(first, std::ios::binary | std::ios::trunc) << spoiled;
        try {
            ReadEntry(kFirst, "Right");
            ADD_FAILURE() << "a spoiled entry was read";
        } catch (const DamagedEntry& error) {
            EXPECT_EQ(std::string(error.what()), GetCurrentDateFileName(kFirst) +
                                                     " is damaged or was changed outside Quillory");
        }
        EXPECT_EQ(ReadEntry(kSecond, "Right"), diary.Plain().at("20261202.QLE"));
        // A re-keying would lose it: it stops and names the file, changing nothing.
        const auto before = diary.EntryBytes();
        try {
            ProcessPassword("Right", "", {}, kLegacy);
            ADD_FAILURE() << "re-keyed over a spoiled entry";
        } catch (const DamagedEntry& error) {
            EXPECT_NE(std::string(error.what()).find("20261201.QLE is damaged"), std::string::npos);
        }
        EXPECT_EQ(diary.EntryBytes(), before);
        EXPECT_EQ(LoadDiarySecurity().scheme, Scheme::Strong);
    }
}

TEST_F(StrongDiaryTest, SavingThePreferencesOfAStrongDiaryStoresNoPassword)
{
    PasswordDiary diary("");
    ProcessPassword("", "Right", {}, kStrong);
    Preferences preferences = LoadPreferences({});
    EXPECT_EQ(preferences.DiaryPassword, "Right");
    preferences.DefaultFontSize = 14;
    SavePreferences(preferences);
    ExpectStrong(diary, "Right");
    EXPECT_EQ(IniFile(diary.Path() / "QL.INI").ReadString("Security", "Password", "?"), "");
}

// Runs one change that crashes after `steps` steps; returns the steps passed.
std::vector<RekeyPoint> RunUntil(const std::string& oldPassword, const std::string& newPassword,
                                 const RekeyTarget& target, int steps)
{
    std::vector<RekeyPoint> passed;
    RekeyObserver observer;
    observer.checkpoint = [&](RekeyPoint point) {
        passed.push_back(point);
        if (static_cast<int>(passed.size()) == steps)
            throw Crash{};
    };
    try {
        ProcessPassword(oldPassword, newPassword, observer, target);
    } catch (const Crash&) {
    }
    return passed;
}

TEST_F(StrongDiaryTest, ACrashAtAnyStepBetweenTheSchemesIsCompletedOrUndoneAtTheNextStart)
{
    for (const bool toStrong : {true, false}) {
        const std::string from = toStrong ? "old" : "Str0ng";
        const std::string to = toStrong ? "Str0ng" : "old";
        const RekeyTarget target = toStrong ? kStrong : kLegacy;
        auto prepare = [&](PasswordDiary&) {
            if (!toStrong)
                ProcessPassword("old", "Str0ng", {}, kStrong);
        };
        std::size_t steps = 0;
        {
            PasswordDiary diary("old");
            prepare(diary);
            steps = RunUntil(from, to, target, -1).size();
        }
        ASSERT_GE(steps, 10u);
        for (int stop = 1; stop <= static_cast<int>(steps); ++stop) {
            SCOPED_TRACE(from + " -> " + to + ", crash after " + std::to_string(stop) + " steps");
            PasswordDiary diary("old");
            prepare(diary);
            const auto passed = RunUntil(from, to, target, stop);
            const bool committed = std::find(passed.begin(), passed.end(), RekeyPoint::Committed) != passed.end();
            ForgetSessionKey();
            RecoverPasswordChange();  // the next start
            const bool strongNow = committed == toStrong;
            if (strongNow)
                ExpectStrong(diary, "Str0ng");
            else
                diary.ExpectOpensWith("old");
        }
    }
}

TEST_F(StrongDiaryTest, TheSecurityRecordReadsBackAndADamagedOneStaysStrong)
{
    const NewStrongDiary made = MakeStrongDiary("Right", kStrong.limits);
    IniFile ini = IniFile::FromText("[Security]\nPassword=\n");
    WriteDiarySecurity(ini, made.security);
    EXPECT_EQ(ReadDiarySecurity(IniFile::FromText(ini.Text())), made.security);
    EXPECT_EQ(ini.Text().find("Right"), std::string::npos);

    // Cut values or hostile limits: still strong, so never taken for a diary without password,
    // and opened by no password (nor a derivation of minutes).
    for (const char* text : {"[Security]\nScheme=Strong\n",
                             "[Security]\nScheme=Strong\nSalt=zz\nOpsLimit=999999\nMemLimit=1\nCheck=00\n"}) {
        const DiarySecurity damaged = ReadDiarySecurity(IniFile::FromText(text));
        EXPECT_EQ(damaged.scheme, Scheme::Strong);
        EXPECT_FALSE(UnlockDiary(damaged, ""));
        EXPECT_FALSE(UnlockDiary(damaged, "Right"));
    }
    // Writing a legacy record over a strong one leaves no strong key behind.
    WriteDiarySecurity(ini, LegacySecurity("old"));
    EXPECT_EQ(ReadDiarySecurity(ini), LegacySecurity("old"));
}

} // namespace
} // namespace quillory
