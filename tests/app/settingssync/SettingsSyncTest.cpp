// Saving the preferences while another computer changes QL.INI: what this run changed is
// written, what changed there stays, a setting changed on both sides keeps their file beside,
// and a password changed there is never put back.
#include "app/SettingsSync.h"

#include "TempFolder.h"
#include "app/Crypt.h"
#include "platform/ProgramFolder.h"
#include "platform/SyncedFile.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace quillory {
namespace {

namespace fs = std::filesystem;

const PreferenceContext kContext{"/diary/", WindowRect{}};

Preferences Loaded()
{
    return ReadPreferences(IniFile::FromText("[Security]\nPassword=" + EncryptString("old") +
                                             "\n[Default Font]\nName=Arial\nSize=10\n"),
                           kContext);
}

TEST(SettingsSyncTest, WritesWhatChangedHereAndKeepsWhatChangedThere)
{
    const struct {
        const char* name;
        const char* fontThere;      // the file's font name at save time
        const char* fontHere;       // this run's
        const char* passwordThere;  // the file's password
        const char* passwordHere;
        const char* fontAfter;
        const char* passwordAfter;
        std::vector<std::string> conflicts;
    } rows[] = {
        {"nothing changed", "Arial", "Arial", "old", "old", "Arial", "old", {}},
        {"changed here", "Arial", "Courier New", "old", "old", "Courier New", "old", {}},
        {"changed there", "Times New Roman", "Arial", "theirs", "old", "Times New Roman", "theirs", {}},
        {"changed alike", "Courier New", "Courier New", "new", "new", "Courier New", "new", {}},
        {"font changed on both sides", "Times New Roman", "Courier New", "old", "old", "Courier New", "old",
         {"Default Font/Name"}},
        // The entries on disk follow the password stored last: theirs stays.
        {"password changed on both sides", "Arial", "Arial", "theirs", "mine", "Arial", "theirs",
         {"Security/Password"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        IniFile file = IniFile::FromText(std::string("; kept\n[Security]\nPassword=") + EncryptString(row.passwordThere)
                                         + "\n[Default Font]\nName=" + row.fontThere + "\nSize=10\n[Other]\nKey=1\n");
        Preferences mine = Loaded();
        mine.DefaultFontName = row.fontHere;
        mine.DiaryPassword = row.passwordHere;

        EXPECT_EQ(MergePreferences(file, mine, Loaded(), kContext.programFolder), row.conflicts);

        const Preferences after = ReadPreferences(file, kContext);
        EXPECT_EQ(after.DefaultFontName, row.fontAfter);
        EXPECT_EQ(after.DiaryPassword, row.passwordAfter);
        EXPECT_EQ(file.ReadString("Other", "Key", ""), "1");
        EXPECT_EQ(file.Text().rfind("; kept\n", 0), 0u);
    }
}

TEST(SettingsSyncTest, KeysTheFileLacksAreWrittenAsBefore)
{
    IniFile file = IniFile::FromText("");
    const Preferences defaults = ReadPreferences(file, kContext);
    EXPECT_TRUE(MergePreferences(file, defaults, defaults, kContext.programFolder).empty());
    for (const PreferenceKey& key : kPreferenceKeys)
        EXPECT_NE(file.ReadString(key.section, key.key, "\x01"), "\x01") << key.key;
}

TEST(SettingsSyncTest, AConflictKeepsTheirFileBesideAndSaysSo)
{
    TempFolder folder;
    const std::string previous = DiaryFolder();
    SetProgramFolder(folder.withSlash());
    const std::string theirs = "[Default Font]\nName=Times New Roman\n";
    folder.write("QL.INI", theirs);
    Preferences loaded = ReadPreferences(IniFile::FromText("[Default Font]\nName=Arial\n"), kContext);
    Preferences mine = loaded;
    mine.DefaultFontName = "Courier New";

    const SettingsSaved saved = SavePreferencesMerged(mine, loaded);

    ASSERT_EQ(saved.conflicts, std::vector<std::string>{"Default Font/Name"});
    EXPECT_TRUE(IsChangedElsewhereName(saved.keptAs.filename().string()));
    EXPECT_EQ(saved.keptAs.filename().string().rfind("QL (changed elsewhere ", 0), 0u);
    EXPECT_EQ(folder.read(saved.keptAs.filename().string()), theirs);
    EXPECT_EQ(IniFile(folder.path() / "QL.INI").ReadString("Default Font", "Name", ""), "Courier New");
    const std::string notice = SettingsConflictNotice(saved);
    EXPECT_NE(notice.find(saved.keptAs.filename().string()), std::string::npos) << notice;
    EXPECT_LE(notice.size(), 255u);

    // Without a conflict nothing is kept and nothing is said.
    loaded = ReadPreferences(IniFile(folder.path() / "QL.INI"), kContext);
    const SettingsSaved quiet = SavePreferencesMerged(loaded, loaded);
    EXPECT_TRUE(quiet.conflicts.empty());
    EXPECT_TRUE(SettingsConflictNotice(quiet).empty());
    int files = 0;
    for ([[maybe_unused]] const auto& item : fs::directory_iterator(folder.path()))
        ++files;
    EXPECT_EQ(files, 2);
    SetProgramFolder(previous);
}

} // namespace
} // namespace quillory
