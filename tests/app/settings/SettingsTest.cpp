// The diary's preferences in QL.INI and the main window's placement rules.
#include "app/Settings.h"

#include "TempFolder.h"
#include "app/Crypt.h"
#include "platform/Error.h"
#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace quillory {
// Readable failures for the value types under test.
void PrintTo(const WindowRect& r, std::ostream* out)
{
    *out << "{" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << "}";
}
void PrintTo(const PlacementDecision& d, std::ostream* out)
{
    if (d.bounds)
        PrintTo(*d.bounds, out);
    else
        *out << "centred";
    *out << (d.maximize ? " maximized" : "");
}
} // namespace quillory

namespace {

using namespace quillory;

const PreferenceContext kContext{"/opt/quillory/", WindowRect{40, 30, 840, 630}};

TEST(Preferences, FirstStartWithoutSettingsFileGivesTheDefaults)
{
    const Preferences p = ReadPreferences(IniFile::FromText(""), kContext);
    EXPECT_EQ(p.DiaryPassword, "");
    EXPECT_EQ(p.DefaultFontName, "Arial");
    EXPECT_EQ(p.DefaultFontSize, 10);
    EXPECT_FALSE(p.DefaultFontBold || p.DefaultFontItalic || p.DefaultFontUnderline);
    EXPECT_EQ(p.DefaultFontColor, 0);
    EXPECT_TRUE(p.ShowOpeningScreen);
    EXPECT_FALSE(p.IconsVisible);
    EXPECT_EQ(p.IconsFile, "/opt/quillory/ICONS/MISC1.ICL");
    EXPECT_EQ(p.IconsTop, 30 + 100);        // main window's top + 100
    EXPECT_EQ(p.IconsLeft, 40 + 800 - 200);  // its left + width - 200
}

TEST(Preferences, StoredValuesAndThoseThatDoNotConvert)
{
    struct Row {
        const char* text;
        int size;
        bool show;
    };
    const Row rows[] = {
        {"Size=0x0C\nshow=2", 12, true},
        {"Size=12pt\nshow=", 10, true},
        {"Size=\nshow=0", 10, false},
        {"SIZE=14\nSHOW=no", 14, true},
    };
    for (const Row& row : rows) {
        // One section each for the font and the opening screen; keys in either.
        const std::string text = std::string("[Default Font]\n") + row.text + "\n[Opening Screen]\n" + row.text + "\n";
        const Preferences p = ReadPreferences(IniFile::FromText(text), kContext);
        EXPECT_EQ(p.DefaultFontSize, row.size) << row.text;
        EXPECT_EQ(p.ShowOpeningScreen, row.show) << row.text;
    }
}

class SettingsFile : public testing::Test {
protected:
    void SetUp() override { SetProgramFolder(folder.withSlash()); }

    TempFolder folder;
};

TEST_F(SettingsFile, SaveThenLoadGivesTheSameRecordWithThePasswordNeverInPlain)
{
    Preferences p;
    p.DiaryPassword = "My Diary";
    p.DefaultFontName = "Times New Roman";
    p.DefaultFontSize = 14;
    p.DefaultFontItalic = true;
    p.DefaultFontColor = 0x0000FF;
    p.ShowOpeningScreen = false;
    p.IconsFile = folder.withSlash() + "BonusIcons/Sea.icl";
    p.IconsVisible = true;
    p.IconsTop = -20;
    p.IconsLeft = 1500;
    SavePreferences(p);

    const std::string text = folder.read("QL.INI");
    EXPECT_NE(text.find("Password=" + EncryptString("My Diary") + "\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("My Diary"), std::string::npos);
    EXPECT_EQ(LoadPreferences(WindowRect{}), p);

    p.DiaryPassword.clear();
    SavePreferences(p);
    EXPECT_NE(folder.read("QL.INI").find("[Security]\nPassword=\n"), std::string::npos);
    EXPECT_EQ(StoredPassword(IniFile(SettingsFileName())), "");
}

TEST_F(SettingsFile, SaveKeepsWhatItDoesNotOwn)
{
    folder.write("QL.INI", "[TMainScreen_Placement]\r\nLeft=5\r\n[Extra]\r\nmine=1\r\n");
    SavePreferences(Preferences{});
    const IniFile ini(SettingsFileName());
    EXPECT_EQ(ini.ReadInteger("TMainScreen_Placement", "Left", 0), 5);
    EXPECT_EQ(ini.ReadString("Extra", "mine", ""), "1");
    EXPECT_EQ(ini.ReadString("Default Font", "Name", "?"), "");
}

TEST_F(SettingsFile, PlacementsOfTwoResolutionsLiveSideBySideWithThePreferences)
{
    SavePreferences(Preferences{});
    const FormPlacement at120{{10, 20, 1010, 820}, true};
    const FormPlacement at96{{5, 6, 605, 506}, false};
    StoreFormPlacement("TMainScreen", 120, at120);
    StoreFormPlacement("TMainScreen", 96, at96);
    EXPECT_EQ(LoadFormPlacement("TMainScreen", 120, false), at120);
    EXPECT_EQ(LoadFormPlacement("TMainScreen", 96, true), at96);
    EXPECT_EQ(ReadPreferences(IniFile(SettingsFileName()), {}), Preferences{});
}

TEST_F(SettingsFile, FailedSaveRaisesUnableToWrite)
{
    const std::string missing = folder.withSlash() + "gone/";
    SetProgramFolder(missing);
    try {
        SavePreferences(Preferences{});
        FAIL() << "no error raised";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + missing + "QL.INI");
    }
}

TEST(Placement, SectionPerScreenResolution)
{
    EXPECT_EQ(PlacementSectionName("TMainScreen", 96), "TMainScreen_Placement");
    EXPECT_EQ(PlacementSectionName("TMainScreen", 72), "TMainScreen_Placement");
    EXPECT_EQ(PlacementSectionName("TMainScreen", 120), "TMainScreen_Placement120");

    // Nothing stored: zeros, and "Maximized" as the window is now.
    const IniFile ini = IniFile::FromText("[TMainScreen_Placement]\nLeft=3\nBottom=9\n");
    EXPECT_EQ(ReadFormPlacement(ini, "TMainScreen_Placement144", true), (FormPlacement{{}, true}));
    EXPECT_EQ(ReadFormPlacement(ini, "TMainScreen_Placement", false), (FormPlacement{{3, 0, 0, 9}, false}));
}

TEST(Placement, KeepsTheWindowOnTheScreenWithoutResizingIt)
{
    const WindowRect screen{0, 0, 1024, 768};
    struct Row {
        const char* what;
        FormPlacement stored;
        PlacementDecision expected;
    };
    const Row rows[] = {
        {"inside", {{100, 50, 700, 550}, false}, {WindowRect{100, 50, 700, 550}, false}},
        {"maximized keeps its normal frame", {{100, 50, 700, 550}, true}, {WindowRect{100, 50, 700, 550}, true}},
        {"past the right edge", {{900, 50, 1500, 550}, false}, {WindowRect{424, 50, 1024, 550}, false}},
        {"past the left edge", {{-300, 50, 300, 550}, false}, {WindowRect{1, 50, 601, 550}, false}},
        {"wider than the screen", {{0, 0, 1224, 500}, false}, {WindowRect{1, 0, 1225, 500}, false}},
        {"past the bottom edge", {{10, 600, 610, 900}, false}, {WindowRect{10, 468, 610, 768}, false}},
        {"above the top edge", {{10, -40, 610, 260}, false}, {WindowRect{10, 1, 610, 301}, false}},
        {"Bottom 0 is none", {{100, 50, 700, 0}, false}, {std::nullopt, false}},
        {"nothing stored, maximized", {{}, true}, {std::nullopt, true}},
        {"no width is none", {{300, 50, 300, 550}, false}, {std::nullopt, false}},
        {"upside down is none", {{100, 550, 700, 50}, false}, {std::nullopt, false}},
        {"extreme numbers stay in range", {{-2147483647, 0, 2147483647, 100}, false},
         {WindowRect{1, 0, 2147483647, 100}, false}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(PlaceOnScreen(row.stored, screen), row.expected) << row.what;
}

} // namespace
