// Automatic backups through the real main window: the backup when it closes, the one made up
// for at start, the notice of an unsafe diary with its "Back Up Now", the settings dialog from
// the File menu, and restoring from the list of backups found.
#include "app/forms/Main.h"

#include "TempFolder.h"
#include "app/AutoBackup.h"
#include "app/EntryText.h"
#include "app/forms/AutoBackups.h"
#include "app/forms/BackupSettings.h"
#include "app/forms/RestoreChoice.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/PrinterList.h"
#include "richtext/model/DocumentDump.h"
#include "richtext/qt/RichText.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace quillory {
namespace {

namespace fs = std::filesystem;

const LocalTime kEvening{*Day::FromDate(2026, 12, 6), 21, 30};

class AutoBackupWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(folder.withSlash());
        folder.write("QL.INI", "[Opening Screen]\nshow=0\n");
        folder.write("Entries/20261206.QLE", "{\\rtf1\\ansi Written before}");
    }
    void TearDown() override { SetProgramFolder(previousFolder); }

    std::unique_ptr<TMainScreen> Open()
    {
        auto window = std::make_unique<TMainScreen>();
        window->FormActivate();
        return window;
    }
    // The start's check at once, instead of a few seconds after the window showed.
    static void CheckAtStart(TMainScreen& window)
    {
        window.AutoBackups->CheckAtStart();
        window.AutoBackups->Wait();
        QCoreApplication::processEvents();
    }
    fs::path Folder() const { return folder.path() / "backups"; }
    // The paragraphs of the entry of 6 December in a backup.
    static std::string EntryIn(const fs::path& archive)
    {
        const auto backup = BackupArchive::OpenFile(archive);
        for (const BackupMember& member : CheckBackupArchive(backup)) {
            if (member.kind != MemberKind::Entry)
                continue;
            std::string text;
            ForEachEntryParagraph(backup.ReadMember(member), [&text](std::string_view paragraph) {
                text.append(paragraph).append("\n");
                return false;
            });
            return text;
        }
        return {};
    }

    TempFolder folder;
    std::string previousFolder = DiaryFolder();
    ScopedFixedToday now{kEvening};
    ScopedPrinterNames printers{QStringList()};
    MessageBoxScript boxes;
};

TEST_F(AutoBackupWindowTest, ClosingBacksUpWhatWasJustSavedOnceADayWithoutWaitingForIt)
{
    auto window = Open();
    QTest::keyClicks(window->WPRichText1, "Typed ");
    ASSERT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
    window->AutoBackups->Wait();

    auto found = FindAutoBackups(Folder());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].file.filename(), "Quillory backup 2026-12-06 2130.zip");
    EXPECT_EQ(found[0].entries, 1);
    EXPECT_EQ(EntryIn(found[0].file), "Typed Written before\n");
    EXPECT_TRUE(boxes.Shown().empty());

    // Another window the same evening: its close writes no second backup.
    window = Open();
    QTest::keyClicks(window->WPRichText1, "Again ");
    window->close();
    window.reset();  // waits for the worker
    EXPECT_EQ(FindAutoBackups(Folder()).size(), 1u);

    // Two days later the start makes up for the close that backed nothing up.
    const ScopedFixedToday later(LocalTime{kEvening.day + 2, 9, 0});
    window = Open();
    CheckAtStart(*window);
    found = FindAutoBackups(Folder());
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].file.filename(), "Quillory backup 2026-12-08 0900.zip");
    EXPECT_EQ(EntryIn(found[0].file), "Again Typed Written before\n");
    EXPECT_EQ(window->AutoBackups->Notice(), nullptr);  // backups work: nothing to say
}

TEST_F(AutoBackupWindowTest, NoticeOnceWhenOffAndOldAndBackUpNowMakesOne)
{
    folder.write("QL.INI", "[Opening Screen]\nshow=0\n[Backups]\nAutomatic=0\n");
    auto window = Open();
    CheckAtStart(*window);
    TBackupNotice* notice = window->AutoBackups->Notice();
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(notice->NoticeLabel->text(), "Automatic backups are off, and this diary has never been backed up.");
    EXPECT_FALSE(fs::exists(Folder()));  // off: the start wrote nothing

    // Once per start: a second check says nothing more.
    CheckAtStart(*window);
    EXPECT_EQ(window->AutoBackups->Notice(), notice);

    QTest::keyClicks(window->WPRichText1, "Unsaved ");
    QTest::mouseClick(notice->BackUpNowButton, Qt::LeftButton);
    const auto found = FindAutoBackups(Folder());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(EntryIn(found[0].file), "Unsaved Written before\n");  // the page was saved first
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text.toStdString(),
              "The diary was backed up and checked: 1 entry and QL.INI in \"" + found[0].file.string() + "\".");
    QCoreApplication::processEvents();
    EXPECT_EQ(window->AutoBackups->Notice(), nullptr);

    // Closing while off writes nothing more.
    window->close();
    window.reset();
    EXPECT_EQ(FindAutoBackups(Folder()).size(), 1u);
}

TEST_F(AutoBackupWindowTest, SettingsDialogShowsTheLastBackupAndStoresWhatIsChosen)
{
    {
        const ScopedFixedToday earlier(LocalTime{kEvening.day - 1, 22, 5});
        RunAutoBackup(AutoBackupOccasion::Close);
    }
    const TempFolder second;
    auto window = Open();
    ModalScript dialogs;
    dialogs.Then<TBackupSettings>([&](TBackupSettings& dialog) {
        EXPECT_TRUE(dialog.AutomaticBox->isChecked());
        EXPECT_EQ(dialog.FolderEdit->text().toStdString(), Folder().string());
        EXPECT_EQ(dialog.KeepDaily->value(), 7);
        EXPECT_EQ(dialog.KeepWeekly->value(), 4);
        EXPECT_EQ(dialog.KeepMonthly->value(), 12);
        EXPECT_EQ(dialog.LastBackupLabel->text(), "2026-12-05 22:05");

        dialog.FolderEdit->setText("relative/folder");
        dialog.OKBtnClick();  // refused: stays open
        EXPECT_EQ(dialog.result(), QDialog::Rejected);

        dialog.KeepDaily->setValue(3);
        dialog.KeepMonthly->setValue(24);
        dialog.FolderEdit->setText(QString::fromStdString(second.path().string()));
        dialog.OKBtnClick();
        return ModalScript::kKeepResult;
    });
    window->AutoBackups1->trigger();
    EXPECT_TRUE(dialogs.Finished());
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].icon, MessageIcon::Warning);
    const AutoBackupSettings stored = LoadAutoBackupSettings();
    EXPECT_EQ(stored.keep, (KeepCounts{3, 4, 24}));
    EXPECT_EQ(stored.folder, second.path().string());
    EXPECT_TRUE(stored.enabled);

    // Closing now backs up into the new folder.
    QTest::keyClicks(window->WPRichText1, "Moved ");
    window->close();
    window.reset();
    EXPECT_EQ(FindAutoBackups(second.path()).size(), 1u);
}

TEST_F(AutoBackupWindowTest, RestoreListsTheBackupsNewestFirstBesideChoosingAFile)
{
    for (int i = 0; i < 2; ++i) {
        const ScopedFixedToday earlier(LocalTime{kEvening.day - 2 + i, 20, 0});
        folder.write("Entries/20261206.QLE", "{\\rtf1\\ansi Version " + std::to_string(i + 1) + "}");
        folder.write("Entries/2026120" + std::to_string(i + 1) + ".QLE", "{\\rtf1\\ansi another day}");
        RunAutoBackup(AutoBackupOccasion::Close);
    }
    folder.write("Entries/20261206.QLE", "{\\rtf1\\ansi Today}");
    auto window = Open();

    std::vector<QStringList> rows;
    ModalScript dialogs;
    dialogs.Then<TRestoreChoice>([&](TRestoreChoice& choice) {
        for (int row = 0; row < choice.BackupList->topLevelItemCount(); ++row) {
            const QTreeWidgetItem* item = choice.BackupList->topLevelItem(row);
            rows.push_back({item->text(0), item->text(1), item->text(2)});
        }
        choice.BackupList->setCurrentItem(choice.BackupList->topLevelItem(1));
        choice.RestoreBtnClick();
        return ModalScript::kKeepResult;
    });
    window->RestoreDiary1->trigger();

    EXPECT_TRUE(dialogs.Finished());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0], "2026-12-05 20:00");
    EXPECT_EQ(rows[0][1], "3");
    EXPECT_EQ(rows[1][0], "2026-12-04 20:00");
    EXPECT_EQ(rows[1][1], "2");
    EXPECT_TRUE(rows[1][2].endsWith("bytes") || rows[1][2].endsWith("KB")) << rows[1][2].toStdString();
    EXPECT_EQ(DumpText(window->WPRichText1->RtfText()), "Version 1\n");
    EXPECT_TRUE(boxes.Shown().back().text.startsWith("The diary was restored: 2 entries and QL.INI"));

    // "Choose a File..." goes on to the open dialog; cancelling it restores nothing.
    ModalScript chooseFile;
    chooseFile.Then<TRestoreChoice>([](TRestoreChoice& choice) {
        choice.ChooseFileBtnClick();
        return ModalScript::kKeepResult;
    });
    chooseFile.Then<QFileDialog>([](QFileDialog&) { return int(QDialog::Rejected); });
    const std::size_t shown = boxes.Shown().size();
    window->RestoreDiary1->trigger();
    EXPECT_TRUE(chooseFile.Finished());
    EXPECT_EQ(boxes.Shown().size(), shown);
}

} // namespace
} // namespace quillory
