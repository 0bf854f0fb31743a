// The decision between a portable copy and an installed one, and where each keeps the diary.
#include "platform/Error.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace quillory {
namespace {

namespace fs = std::filesystem;

// A tree with a portable folder's look-alikes and an installed prefix, and an environment of
// our own making.
class FolderChoiceTest : public ::testing::Test {
protected:
    EnvironmentLookup Environment() const
    {
        return [this](std::string_view name) -> std::optional<std::string> {
            const auto found = environment.find(std::string(name));
            if (found == environment.end())
                return std::nullopt;
            return found->second;
        };
    }
    fs::path Make(const std::string& relative)
    {
        fs::create_directories(root.path() / relative);
        return root.path() / relative;
    }
    std::string Slashed(const std::string& relative) const { return (root.path() / relative).string() + "/"; }

    TempFolder root;
    std::map<std::string, std::string> environment{{"HOME", (root.path() / "home").string()}};
};

TEST_F(FolderChoiceTest, PortableWhenTheExecutablesFolderHoldsDataOrADiary)
{
    // Each of these beside the executable makes a portable copy, even inside an installed prefix.
    for (const std::string marker : {"quillor.dct", "help/", "icons/", "Entries/", "QL.INI", "ENTRIES/", "ql.ini"}) {
        TempFolder tree;
        fs::create_directories(tree.path() / "share/quillory");
        fs::create_directories(tree.path() / "bin");
        if (marker.back() == '/')
            fs::create_directories(tree.path() / "bin" / marker);
        else
            tree.write("bin/" + marker, "x");
        const FolderChoice choice = ChooseFolders(tree.path() / "bin", Environment());
        EXPECT_TRUE(choice.portable) << marker;
        EXPECT_EQ(choice.data, tree.withSlash() + "bin/") << marker;
        EXPECT_EQ(choice.diary, choice.data) << marker;
        EXPECT_FALSE(choice.diaryIsDefault) << marker;
    }
}

TEST_F(FolderChoiceTest, AnInstalledCopyReadsDataFromShareAndKeepsTheDiaryInTheUsersDataFolder)
{
    Make("usr/share/quillory");
    const fs::path bin = Make("usr/bin");

    FolderChoice choice = ChooseFolders(bin, Environment());
    EXPECT_FALSE(choice.portable);
    EXPECT_EQ(choice.data, Slashed("usr/share/quillory"));
    EXPECT_EQ(choice.diary, Slashed("home/.local/share/quillory"));
    EXPECT_TRUE(choice.diaryIsDefault);

    // XDG_DATA_HOME counts only when it is an absolute path.
    environment["XDG_DATA_HOME"] = (root.path() / "xdg").string();
    EXPECT_EQ(ChooseFolders(bin, Environment()).diary, Slashed("xdg/quillory"));
    for (const std::string ignored : {"", "relative/data"}) {
        environment["XDG_DATA_HOME"] = ignored;
        EXPECT_EQ(ChooseFolders(bin, Environment()).diary, Slashed("home/.local/share/quillory")) << ignored;
    }
}

TEST_F(FolderChoiceTest, WithoutDataAnywhereTheCopyStaysPortableAsBefore)
{
    // A build tree, or a lone executable copied somewhere: no share/quillory beside its folder.
    const fs::path build = Make("build");
    const FolderChoice choice = ChooseFolders(build, Environment());
    EXPECT_TRUE(choice.portable);
    EXPECT_EQ(choice.diary, Slashed("build"));
    EXPECT_EQ(choice.data, Slashed("build"));
}

TEST_F(FolderChoiceTest, TheDiaryFolderSettingMovesAnInstalledCopysDiaryOnly)
{
    Make("usr/share/quillory");
    const fs::path bin = Make("usr/bin");
    environment["XDG_CONFIG_HOME"] = (root.path() / "config").string();
    EXPECT_EQ(DiaryFolderSettingFile(Environment()), root.path() / "config/quillory/quillory.ini");

    WriteDiaryFolderSetting(Environment(), (root.path() / "Sync/diary").string());
    FolderChoice choice = ChooseFolders(bin, Environment());
    EXPECT_EQ(choice.diary, Slashed("Sync/diary"));
    EXPECT_FALSE(choice.diaryIsDefault);  // a synced folder not mounted yet is never created
    EXPECT_EQ(choice.data, Slashed("usr/share/quillory"));

    // "~/" is the home folder; a relative name means nothing and is ignored; empty is unset.
    const std::map<std::string, std::string> cases{
        {"~/Sync/diary", Slashed("home/Sync/diary")},
        {"Sync/diary", Slashed("home/.local/share/quillory")},
        {"", Slashed("home/.local/share/quillory")},
    };
    for (const auto& [stored, expected] : cases) {
        WriteDiaryFolderSetting(Environment(), stored);
        EXPECT_EQ(ChooseFolders(bin, Environment()).diary, expected) << stored;
    }

    // A portable copy keeps its diary beside itself whatever the setting says.
    WriteDiaryFolderSetting(Environment(), (root.path() / "Sync/diary").string());
    const fs::path portable = Make("stick");
    root.write("stick/QL.INI", "");
    EXPECT_EQ(ChooseFolders(portable, Environment()).diary, Slashed("stick"));
}

TEST_F(FolderChoiceTest, WritingTheSettingKeepsTheRestOfItsFile)
{
    environment["XDG_CONFIG_HOME"] = (root.path() / "config").string();
    root.write("config/quillory/quillory.ini", "; mine\n[Other]\nKey=1\n");
    WriteDiaryFolderSetting(Environment(), "/srv/diary");
    const IniFile ini(root.path() / "config/quillory/quillory.ini");
    EXPECT_EQ(ini.ReadString("Other", "Key", ""), "1");
    EXPECT_EQ(ReadDiaryFolderSetting(Environment()), "/srv/diary");

    environment.erase("HOME");
    environment.erase("XDG_CONFIG_HOME");
    EXPECT_THROW(WriteDiaryFolderSetting(Environment(), "/srv/diary"), Error);
}

// The process-wide folders: --folder and the tests' portable folder, and the default diary
// folder made on first use, private to the user.
TEST(ProgramFolders, PointingElsewhereAndMakingTheDiaryFolder)
{
    TempFolder root;
    const std::string previousData = DataFolder(), previousDiary = DiaryFolder();

    SetProgramFolder(root.path().string());
    EXPECT_EQ(DataFolder(), root.withSlash());
    EXPECT_EQ(DiaryFolder(), root.withSlash());
    EXPECT_EQ(SettingsFileName(), root.withSlash() + "QL.INI");
    EXPECT_TRUE(PortableCopy());

    const std::string& diary = DiaryFolder();  // a reference sees later changes
    SetDiaryFolder((root.path() / "synced").string());
    EXPECT_EQ(diary, root.withSlash() + "synced/");
    EXPECT_EQ(DataFolder(), root.withSlash());
    std::string error;
    EXPECT_FALSE(PrepareDiaryFolder(&error));  // named by the user: never made up
    EXPECT_NE(error.find("synced"), std::string::npos);
    EXPECT_FALSE(fs::exists(root.path() / "synced"));

    fs::create_directory(root.path() / "synced");
    EXPECT_TRUE(PrepareDiaryFolder(&error));

    SetProgramFolder(previousData);
    SetDiaryFolder(previousDiary);
}

} // namespace
} // namespace quillory
