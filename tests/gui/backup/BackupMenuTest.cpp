// "Back Up Diary..." and "Restore Diary..." driven from the File menu as a person would: the
// file dialogs and the question answered by script, the open entry saved first, the restored
// diary shown (its password asked when it brought another), refused archives reported.
#include "app/forms/Main.h"

#include "TempFolder.h"
#include "ZipFixture.h"
#include "app/DiaryBackup.h"
#include "app/DiarySecurity.h"
#include "app/EntryFiles.h"
#include "app/EntryText.h"
#include "app/forms/Opasswrd.h"
#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/PrinterList.h"
#include "richtext/model/DocumentDump.h"
#include "richtext/qt/RichText.h"

#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace quillory {
namespace {

namespace fs = std::filesystem;

const Day kToday = *Day::FromDate(2026, 12, 6);

class BackupMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(folder.withSlash());
        folder.write("QL.INI", "[Opening Screen]\nshow=0\n");
        folder.write("Entries/20261206.QLE", "{\\rtf1\\ansi Before the backup}");
    }
    void TearDown() override { SetProgramFolder(previousFolder); }

    std::unique_ptr<TMainScreen> Open()
    {
        auto window = std::make_unique<TMainScreen>();
        window->FormActivate();
        return window;
    }

    // A file dialog step that checks what the dialog offers and picks `file`.
    static std::function<int(QFileDialog&)> Pick(const fs::path& file, QFileDialog::AcceptMode mode,
                                                 QString* offered = nullptr)
    {
        return [=](QFileDialog& dialog) {
            EXPECT_EQ(dialog.acceptMode(), mode);
            if (offered)
                *offered = dialog.selectedFiles().value(0);
            dialog.selectFile(QString::fromStdString(file.string()));
            return int(QDialog::Accepted);
        };
    }
    static std::string Text(const TMainScreen& window) { return DumpText(window.WPRichText1->RtfText()); }
    // The paragraphs of an entry file's RTF, as DumpText shows the page.
    static std::string FileText(std::string_view rtf)
    {
        std::string text;
        ForEachEntryParagraph(rtf, [&text](std::string_view paragraph) {
            text.append(paragraph).append("\n");
            return false;
        });
        return text;
    }
    std::vector<QString> Texts() const
    {
        std::vector<QString> texts;
        for (const auto& box : boxes.Shown())
            texts.push_back(box.text);
        return texts;
    }
    static QAction* FileMenuItem(TMainScreen& window, const QString& caption)
    {
        for (QAction* action : window.menuBar()->actions().first()->menu()->actions())
            if (action->text() == caption)
                return action;
        return nullptr;
    }

    TempFolder folder;
    TempFolder elsewhere;
    std::string previousFolder = DiaryFolder();
    ScopedFixedToday today{kToday};
    ScopedPrinterNames printers{QStringList()};
    MessageBoxScript boxes;
};

TEST_F(BackupMenuTest, BackUpSavesTheOpenEntryFirstAndWritesACheckedArchive)
{
    auto window = Open();
    QTest::keyClicks(window->WPRichText1, "Typed ");
    const fs::path archive = elsewhere.path() / "mine.zip";
    QString offered;
    ModalScript dialogs;
    dialogs.Then<QFileDialog>(Pick(archive, QFileDialog::AcceptSave, &offered));

    ASSERT_EQ(FileMenuItem(*window, "Back Up Diary..."), window->BackUpDiary1);
    window->BackUpDiary1->trigger();

    EXPECT_TRUE(dialogs.Finished());
    EXPECT_TRUE(offered.endsWith("/Quillory diary 2026-12-06.zip")) << offered.toStdString();
    EXPECT_EQ(Texts(), std::vector<QString>{"The diary was backed up and checked: 1 entry and QL.INI in \"mine.zip\"."});
    const auto backup = BackupArchive::OpenFile(archive);
    const auto members = CheckBackupArchive(backup);
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(FileText(backup.ReadMember(members[0])), "Typed Before the backup\n");

    // Cancelling the dialog writes nothing and says nothing.
    ModalScript cancel;
    cancel.Then<QFileDialog>([](QFileDialog&) { return int(QDialog::Rejected); });
    window->BackUpDiary1->trigger();
    EXPECT_EQ(boxes.Shown().size(), 1u);
}

TEST_F(BackupMenuTest, RestoreAsksThenShowsTheRestoredDiaryAndSaysWhereTheOldOneIsKept)
{
    const fs::path archive = elsewhere.path() / "backup.zip";
    BackUpDiary(archive);
    auto window = Open();
    QTest::keyClicks(window->WPRichText1, "Later ");

    {
        // "No" to the question changes nothing, but the open entry was saved first.
        boxes.Answer(MessageResult::No);
        ModalScript dialogs;
        dialogs.Then<QFileDialog>(Pick(archive, QFileDialog::AcceptOpen));
        window->RestoreDiary1->trigger();
        EXPECT_EQ(FileText(folder.read("Entries/20261206.QLE")), "Later Before the backup\n");
        EXPECT_EQ(Text(*window), "Later Before the backup\n");
    }
    ModalScript dialogs;
    dialogs.Then<QFileDialog>(Pick(archive, QFileDialog::AcceptOpen));
    window->RestoreDiary1->trigger();

    EXPECT_EQ(Text(*window), "Before the backup\n");
    EXPECT_EQ(FileText(folder.read("Entries/20261206.QLE")), "Before the backup\n");
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1], "Replace the whole diary with the backup \"backup.zip\"? The diary as it is now will be kept "
                        "as a backup of its own beside it.");
    const fs::path kept = folder.path() / "Diary before restore 2026-12-06 120000.zip";
    EXPECT_EQ(texts[2].toStdString(), "The diary was restored: 1 entry and QL.INI from \"backup.zip\". The diary it "
                                      "replaced is kept in \"" + kept.string() + "\".");
    EXPECT_TRUE(fs::exists(kept));
}

TEST_F(BackupMenuTest, RestoredDiaryWithAnotherPasswordAsksForIt)
{
    // The backup of a diary protected with "abc".
    TempFolder other;
    SetProgramFolder(other.withSlash());
    IniFile settings(SettingsFileName());
    WriteDiarySecurity(settings, LegacySecurity("abc"));
    settings.UpdateFile();
    fs::create_directories(other.path() / "Entries");
    WriteEntry(kToday, "{\\rtf1\\ansi Under a password}", "abc");
    const fs::path archive = elsewhere.path() / "protected.zip";
    BackUpDiary(archive);
    SetProgramFolder(folder.withSlash());

    auto window = Open();
    ModalScript dialogs;
    dialogs.Then<QFileDialog>(Pick(archive, QFileDialog::AcceptOpen))
        .Then<TGetOpeningPassword>([](TGetOpeningPassword& gate) {
            QTest::keyClicks(gate.Pass, "abc");
            gate.BitBtn1Click();
            return ModalScript::kKeepResult;
        });
    window->RestoreDiary1->trigger();

    EXPECT_TRUE(dialogs.Finished());
    EXPECT_EQ(window->DiaryPassword(), "abc");
    EXPECT_EQ(Text(*window), "Under a password\n");
    EXPECT_EQ(Texts().at(1), "The restored diary has a password of its own. Please enter it.");
}

TEST_F(BackupMenuTest, RefusedArchiveIsReportedAndTheDiaryStays)
{
    const fs::path archive = elsewhere.path() / "hostile.zip";
    zipfixture::WriteZip(archive, {{"Entries/20261206.QLE", "{\\rtf1 x}"}, {"../../escape", "x"}});
    auto window = Open();
    const auto before = zipfixture::Snapshot(folder.path());
    ModalScript dialogs;
    dialogs.Then<QFileDialog>(Pick(archive, QFileDialog::AcceptOpen));
    window->RestoreDiary1->trigger();

    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[1].icon, MessageIcon::Error);
    EXPECT_TRUE(boxes.Shown()[1].text.contains("is not a usable diary backup")) << boxes.Shown()[1].text.toStdString();
    EXPECT_EQ(zipfixture::Snapshot(folder.path()), before);
    EXPECT_EQ(Text(*window), "Before the backup\n");
}

} // namespace
} // namespace quillory
