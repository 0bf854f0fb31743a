// The icon palette's rules: menu keys of library files, the bonus sets found on disk, and the
// library path in the settings across a move of the program folder.
#include "app/IconPalette.h"
#include "app/Settings.h"

#include "TempFolder.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace quillory {
namespace {

TEST(IconPalette, MenuKeyOfALibraryFile)
{
    const struct {
        const char* file;
        const char* key;
    } rows[] = {
        {"/opt/q/icons/activity.icl", "ACTIVITIES"},
        {"/opt/q/ICONS/HOLIDAY.ICL", "HOLIDAYS"},
        {"/opt/q/icons/misc1.icl", "MISCELLANEOUS #1"},
        {"/opt/q/icons/Misc2.icl", "MISCELLANEOUS #2"},
        {"/opt/q/icons/events.icl", "EVENTS"},
        {"/opt/q/BonusIcons/Food and Drink.icl", "FOOD AND DRINK"},
        {"/opt/q/BonusIcons/sea.old.icl", "SEA"},
        {"C:\\QUILLORY\\ICONS\\MISC1.ICL", "MISCELLANEOUS #1"},
        {"", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(IconMenuKey(row.file), row.key) << row.file;
}

TEST(IconPalette, BonusSetsAreSortedCutAtTheFirstDotAndListedOnce)
{
    TempFolder folder;
    for (const char* name : {"zoo.icl", "Animals.icl", "beach.summer.icl", "ANIMALS.ICL", "notes.txt", "Alpha.ico",
                             "zoo.old.icl"})
        folder.write(name, "x");
    const std::vector<BonusIconSet> expected = {
        {"ANIMALS", "ANIMALS.ICL"}, {"beach", "beach.summer.icl"}, {"zoo", "zoo.icl"}};
    EXPECT_EQ(BonusIconSets(folder.withSlash()), expected);
    EXPECT_TRUE(BonusIconSets(folder.withSlash() + "missing/").empty());
}

TEST(IconPalette, StoredLibraryPaths)
{
    EXPECT_EQ(StoredIconLibrary("/opt/q/icons/misc1.icl", "/opt/q/"), "icons/misc1.icl");
    EXPECT_EQ(StoredIconLibrary("/home/me/my.icl", "/opt/q/"), "/home/me/my.icl");
    EXPECT_EQ(IconLibraryFromStored("icons/misc1.icl", "/opt/q/"), "/opt/q/icons/misc1.icl");
    EXPECT_EQ(IconLibraryFromStored("/home/me/my.icl", "/opt/q/"), "/home/me/my.icl");
    EXPECT_EQ(IconLibraryFromStored("", "/opt/q/"), "");
}

// Settings written by one program folder, read after the folder was moved: the library is the
// one in the new place. Stored as an absolute path, it named the old place and was lost.
TEST(IconPalette, LibraryInTheSettingsSurvivesMovingTheProgramFolder)
{
    TempFolder root;
    const std::filesystem::path before = root.path() / "before", after = root.path() / "after";
    std::filesystem::create_directories(before / "BonusIcons");
    root.write("before/BonusIcons/Animals.icl", "x");
    const std::string previous = DiaryFolder();

    SetProgramFolder(before.string());
    Preferences p;
    p.IconsFile = DataFolder() + "BonusIcons/Animals.icl";
    SavePreferences(p);
    EXPECT_EQ(IniFile(SettingsFileName()).ReadString("Icons", "File", ""), "BonusIcons/Animals.icl");

    std::filesystem::rename(before, after);
    SetProgramFolder(after.string());
    EXPECT_EQ(LoadPreferences(WindowRect{}).IconsFile, after.string() + "/BonusIcons/Animals.icl");

    // A setting of an older version, absolute and pointing at the old place, or a path of
    // another system, finds the library in the program folder as well.
    for (const std::string old : {before.string() + "/BonusIcons/ANIMALS.ICL", std::string("C:\\QUILLORY\\BonusIcons\\Animals.icl")}) {
        const IniFile ini = IniFile::FromText("[Icons]\nFile=" + old + "\n");
        EXPECT_EQ(ReadPreferences(ini, {DataFolder(), {}}).IconsFile, after.string() + "/BonusIcons/Animals.icl")
            << old;
    }
    SetProgramFolder(previous);
}

} // namespace
} // namespace quillory
