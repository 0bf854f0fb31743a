// "Import from Another Diary..." driven from the File menu as a person would: the source
// chosen, the format found out from it, a preview, the import appending below the day on
// screen, a replace that is only done once confirmed.
#include "app/forms/Main.h"

#include "TempFolder.h"
#include "app/EntryStore.h"
#include "app/forms/ImportDiary.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/PrinterList.h"
#include "richtext/model/DocumentDump.h"
#include "richtext/qt/RichText.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include <memory>

namespace quillory {
namespace {

const Day kToday = *Day::FromDate(2026, 12, 6);

constexpr const char* kJournal = R"({"tags": {}, "entries": [
 {"title": "Imported today.", "body": "", "date": "2026-12-06", "time": "20:00", "tags": [], "starred": false},
 {"title": "Another day.", "body": "", "date": "2026-12-01", "time": "08:00", "tags": [], "starred": false}]})";

class ImportMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(folder.withSlash());
        folder.write("QL.INI", "[Opening Screen]\nshow=0\n");
        folder.write("Entries/20261206.QLE", "{\\rtf1\\ansi Already here}");
        journal = elsewhere.write("journal.json", kJournal).string();
    }
    void TearDown() override { SetProgramFolder(previousFolder); }

    std::unique_ptr<TMainScreen> Open()
    {
        auto window = std::make_unique<TMainScreen>();
        window->FormActivate();
        return window;
    }
    static QAction* ImportItem(TMainScreen& window)
    {
        for (QAction* action : window.menuBar()->actions().first()->menu()->actions())
            if (action->text() == QStringLiteral("Import from Another Diary..."))
                return action;
        return nullptr;
    }
    static std::string Text(const TMainScreen& window) { return DumpText(window.WPRichText1->RtfText()); }

    TempFolder folder;
    TempFolder elsewhere;
    std::string journal;
    std::string previousFolder = DiaryFolder();
    ScopedFixedToday today{kToday};
    ScopedPrinterNames printers{QStringList()};
    MessageBoxScript boxes;
};

TEST_F(ImportMenuTest, PreviewThenImportAppendsBelowTheDayOnScreen)
{
    auto window = Open();
    QAction* item = ImportItem(*window);
    ASSERT_NE(item, nullptr);
    QString preview, report;
    ModalScript dialogs;
    dialogs.Then<TImportDiary>([&](TImportDiary& dialog) {
        dialog.SourceEdit->setText(QString::fromStdString(journal));
        dialog.PreviewButtonClick();
        preview = dialog.PreviewLabel->text();
        EXPECT_FALSE(EntryFileExists(*Day::FromDate(2026, 12, 1)));  // a preview writes nothing
        dialog.ImportButtonClick();
        report = dialog.ReportView->toPlainText();
        dialog.CloseButtonClick();
        return ModalScript::kKeepResult;
    });
    item->trigger();
    EXPECT_EQ(preview, QStringLiteral("2 entries on 2 days; days that have an entry already: 1."));
    EXPECT_TRUE(report.startsWith(QStringLiteral("Read 2 entries from jrnl JSON: 1 new day, 1 appended")))
        << report.toStdString();
    EXPECT_NE(Text(*window).find("Already here"), std::string::npos);
    EXPECT_NE(Text(*window).find("Imported today."), std::string::npos) << Text(*window);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(ImportMenuTest, ReplaceHappensOnlyOnceConfirmed)
{
    auto window = Open();
    boxes.Answer(MessageResult::No);
    ModalScript dialogs;
    dialogs.Then<TImportDiary>([&](TImportDiary& dialog) {
        dialog.SourceEdit->setText(QString::fromStdString(journal));
        dialog.ConflictBox->setCurrentIndex(2);
        dialog.ImportButtonClick();
        EXPECT_TRUE(dialog.ReportView->toPlainText().isEmpty());
        return int(QDialog::Rejected);
    });
    ImportItem(*window)->trigger();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_TRUE(boxes.Shown()[0].text.contains(QStringLiteral("will be lost")));
    EXPECT_NE(Text(*window).find("Already here"), std::string::npos);
    EXPECT_EQ(folder.read("Entries/20261206.QLE"), "{\\rtf1\\ansi Already here}");
}

} // namespace
} // namespace quillory
