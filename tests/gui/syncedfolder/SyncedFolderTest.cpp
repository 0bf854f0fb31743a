// The main window over a diary that another computer changes while it is open: an entry file
// changed on disk, typed into and saved by moving to another day keeps both versions and says
// so; a settings file changed there keeps its password.
#include "../editing/EditingTestFixture.h"

#include "app/Crypt.h"
#include "app/EntryFiles.h"
#include "app/forms/Getpass.h"
#include "app/forms/Warn.h"
#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "platform/SyncedFile.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/PrinterList.h"
#include "richtext/model/DocumentDump.h"
#include "richtext/qt/RichText.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>

namespace quillory {
namespace {

namespace fs = std::filesystem;

const std::string kTheirs = "{\\rtf1\\ansi Written on the laptop}";

class SyncedFolderTest : public EditingTest {
protected:
    void SetUp() override
    {
        EditingTest::SetUp();
        fs::create_directories(folder.path() / "Entries");
    }
    // What the other computer does: the day's file replaced, with a modification time of its own.
    void ChangeElsewhere(Day day, std::string_view bytes)
    {
        const fs::path file = folder.write("Entries/" + DayKey(day) + ".QLE", bytes);
        fs::last_write_time(file, fs::last_write_time(file) - std::chrono::minutes(90));
        theirTime = fs::last_write_time(file);
    }
    std::string Kept(Day day) const
    {
        return ChangedElsewhereName(DayKey(day) + ".QLE", LocalTimeOfFile(theirTime));
    }

    fs::file_time_type theirTime;
};

TEST_F(SyncedFolderTest, AnEntryChangedOnDiskWhileOpenKeepsBothVersionsAndTellsTheUser)
{
    WriteEntry(kToday, "{\\rtf1\\ansi Morning}", "");
    auto window = Open();
    ASSERT_EQ(Text(*window), "Morning\n");

    ChangeElsewhere(kToday, kTheirs);
    QTest::keyClicks(window->WPRichText1, "Evening ");
    QTest::mouseClick(window->Nextbutton, Qt::LeftButton);

    EXPECT_EQ(window->CurrentDay, kToday + 1);
    EXPECT_NE(ReadEntry(kToday, "").find("Evening Morning"), std::string::npos);
    EXPECT_EQ(folder.read("Entries/" + Kept(kToday)), kTheirs);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    const MessageBoxRequest& box = boxes.Shown()[0];
    EXPECT_EQ(box.icon, MessageIcon::Warning);
    EXPECT_TRUE(box.text.contains("changed on another computer")) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains(QString::fromStdString(Kept(kToday)))) << box.text.toStdString();

    // Coming back shows ours; saving again is no new conflict.
    QTest::mouseClick(window->PriorButton, Qt::LeftButton);
    QTest::keyClicks(window->WPRichText1, "Night ");
    QTest::mouseClick(window->SaveButton, Qt::LeftButton);
    EXPECT_EQ(boxes.Shown().size(), 1u);
    EXPECT_NE(ReadEntry(kToday, "").find("Night Evening Morning"), std::string::npos);
}

TEST_F(SyncedFolderTest, ADayWrittenElsewhereWhileOpenHereKeepsTheirEntryBeside)
{
    auto window = Open();
    ASSERT_TRUE(window->WPRichText1->IsEmpty());
    ChangeElsewhere(kToday, kTheirs);
    QTest::keyClicks(window->WPRichText1, "Mine");
    QTest::mouseClick(window->SaveButton, Qt::LeftButton);

    EXPECT_NE(ReadEntry(kToday, "").find("Mine"), std::string::npos);
    EXPECT_EQ(folder.read("Entries/" + Kept(kToday)), kTheirs);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_TRUE(boxes.Shown()[0].text.contains(QString::fromStdString(Kept(kToday))));
    EXPECT_TRUE(window->SaveButton->isHidden());
}

TEST_F(SyncedFolderTest, EmptyingAnEntryChangedElsewhereKeepsTheirTextAsTheEntry)
{
    WriteEntry(kToday, "{\\rtf1\\ansi Morning}", "");
    auto window = Open();
    ChangeElsewhere(kToday, kTheirs);
    window->SelectAll1->trigger();
    QTest::keyClick(window->WPRichText1, Qt::Key_Delete);
    QTest::mouseClick(window->SaveButton, Qt::LeftButton);

    EXPECT_EQ(folder.read("Entries/20261206.QLE"), kTheirs);
    EXPECT_EQ(Text(*window), "Written on the laptop\n");  // the page shows what stayed
    EXPECT_TRUE(window->EntryExists);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_TRUE(boxes.Shown()[0].text.contains("not deleted"));
}

TEST_F(SyncedFolderTest, APasswordSetElsewhereWhileOpenIsNotPutBackAtClose)
{
    auto window = Open();
    // The laptop sets a password (its entries re-keyed) and changes the default font.
    folder.write("QL.INI", "[Opening Screen]\nshow=0\n[Security]\nPassword=" + EncryptString("laptop")
                               + "\n[Default Font]\nName=Courier New\n");
    window->close();

    const IniFile after(folder.path() / "QL.INI");
    EXPECT_EQ(StoredPassword(after), "laptop");
    EXPECT_EQ(after.ReadString("Default Font", "Name", ""), "Courier New");
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(SyncedFolderTest, APageIsNotSavedWithAPasswordReplacedElsewhere)
{
    // The laptop set a password and re-keyed the entries: written with none, today's entry
    // would not open with it. The page stays, with its text and its Save button.
    WriteEntry(kToday, "{\\rtf1\\ansi Morning}", "");
    auto window = Open();
    const std::string laptopEntry = EncipherBuffer("{\\rtf1\\ansi Morning}", "laptop");
    folder.write("Entries/20261206.QLE", laptopEntry);
    folder.write("QL.INI", "[Opening Screen]\nshow=0\n[Security]\nPassword=" + EncryptString("laptop") + "\n");
    QTest::keyClicks(window->WPRichText1, "Evening ");
    QTest::mouseClick(window->Nextbutton, Qt::LeftButton);

    EXPECT_EQ(window->CurrentDay, kToday);
    EXPECT_FALSE(window->SaveButton->isHidden());
    EXPECT_EQ(folder.read("Entries/20261206.QLE"), laptopEntry);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_TRUE(boxes.Shown()[0].text.contains("password was changed on another computer"));
}

TEST_F(SyncedFolderTest, ThePagesOwnPasswordChangeIsNoChangeMadeElsewhere)
{
    // Re-keying rewrites the file of the page on screen; its next save must not take the new
    // bytes for another computer's.
    WriteEntry(kToday, "{\\rtf1\\ansi Morning}", "");
    auto window = Open();
    ModalScript script;
    script.Then<TWarningScreen>([](TWarningScreen& warning) {
              warning.OKButton->click();
              return ModalScript::kKeepResult;
          })
        .Then<TGetPassword>([](TGetPassword& dialog) {
            dialog.LegacyScheme->setChecked(true);
            QTest::keyClicks(dialog.NewPassword, "Secret1");
            dialog.OkButton->click();
            return ModalScript::kKeepResult;
        });
    window->mnuSecurity->trigger();
    ASSERT_TRUE(script.Finished());
    ASSERT_EQ(window->DiaryPassword(), "Secret1");

    QTest::keyClicks(window->WPRichText1, "Evening ");
    QTest::mouseClick(window->SaveButton, Qt::LeftButton);

    EXPECT_NE(ReadEntry(kToday, "Secret1").find("Evening Morning"), std::string::npos);
    for (const auto& box : boxes.Shown())
        EXPECT_FALSE(box.text.contains("another computer")) << box.text.toStdString();
    for (const auto& file : fs::directory_iterator(folder.path() / "Entries"))
        EXPECT_FALSE(IsChangedElsewhereName(file.path().filename().string())) << file.path();
}

} // namespace
} // namespace quillory
