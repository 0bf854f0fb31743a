// On This Day, the tag list and the statistics window, opened from the Find menu of the main
// window over a small diary, with their dialogs answered by script.
#include "app/forms/Main.h"

#include "TempFolder.h"
#include "app/EntryFiles.h"
#include "app/EntryIndex.h"
#include "app/EntryStore.h"
#include "app/forms/DiaryDaysForms.h"
#include "app/forms/SearchPanel.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/PrinterList.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace quillory {
namespace {

Day D(int year, int month, int day) { return *Day::FromDate(year, month, day); }
const Day kToday = D(2026, 12, 6);

class DiaryDaysFormsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(folder.withSlash());
        folder.write("QL.INI", "[Opening Screen]\nshow=0\n");
        std::filesystem::create_directories(folder.path() / "Entries");
        const auto entry = [](Day day, std::string_view text) { WriteEntry(day, text, std::string_view()); };
        entry(D(2021, 12, 6), "Five years back. #Friends\r\n");
        entry(D(2025, 12, 5), "The day before, a year ago.\r\n");
        entry(D(2025, 12, 6), "\r\nA year ago today, with #friends and #tea\r\n");
        entry(D(2026, 12, 4), "Two days ago #tea\r\n");
        entry(D(2026, 12, 5), "Yesterday\r\n");
    }
    void TearDown() override { SetProgramFolder(previousFolder); }

    std::unique_ptr<TMainScreen> Open()
    {
        auto window = std::make_unique<TMainScreen>();
        window->FormActivate();
        QCoreApplication::processEvents();
        window->Index->Wait();
        return window;
    }

    TempFolder folder;
    std::string previousFolder = DiaryFolder();
    ScopedFixedToday today{kToday};
    ScopedPrinterNames printers{QStringList()};
    MessageBoxScript boxes;
};

TEST_F(DiaryDaysFormsTest, OnThisDayListsEarlierYearsAndShowsTheChosenDay)
{
    auto window = Open();
    ModalScript script;
    script.Then<TOnThisDay>([](TOnThisDay& dialog) {
        EXPECT_EQ(dialog.Entries->topLevelItemCount(), 2);
        const QTreeWidgetItem* first = dialog.Entries->topLevelItem(0);
        EXPECT_EQ(first->text(0), QStringLiteral("1 year ago"));
        EXPECT_EQ(first->text(2), QStringLiteral("A year ago today, with #friends and #tea"));
        EXPECT_EQ(dialog.Entries->topLevelItem(1)->text(0), QStringLiteral("5 years ago"));
        emit dialog.Entries->itemActivated(dialog.Entries->topLevelItem(1), 0);
        return ModalScript::kKeepResult;
    });
    window->mnuOnThisDay->trigger();
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(window->CurrentDay, D(2021, 12, 6));
}

TEST_F(DiaryDaysFormsTest, ChoosingATagListsItsDays)
{
    auto window = Open();
    ModalScript script;
    script.Then<TTagList>([](TTagList& dialog) {
        EXPECT_EQ(dialog.Tags->topLevelItemCount(), 2);
        const QTreeWidgetItem* first = dialog.Tags->topLevelItem(0);
        EXPECT_EQ(first->text(0) + " " + first->text(1), QStringLiteral("#friends 2"));
        emit dialog.Tags->itemActivated(dialog.Tags->topLevelItem(1), 0);
        return ModalScript::kKeepResult;
    });
    window->mnuTags->trigger();
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(window->SearchPanel->Field->text(), QStringLiteral("#tea"));
    EXPECT_EQ(window->SearchPanel->ListedDays(), (std::vector<Day>{D(2026, 12, 4), D(2025, 12, 6)}));
}

TEST_F(DiaryDaysFormsTest, StatisticsShowTheFiguresAndBars)
{
    auto window = Open();
    ModalScript script;
    script.Then<TStatistics>([](TStatistics& dialog) {
        const QString figures = dialog.Figures->text();
        EXPECT_TRUE(figures.contains(QStringLiteral("Entries: 5"))) << figures.toStdString();
        EXPECT_TRUE(figures.contains(QStringLiteral("Words: 23"))) << figures.toStdString();
        EXPECT_TRUE(figures.contains(QStringLiteral("Current streak: 2 days"))) << figures.toStdString();
        EXPECT_TRUE(figures.contains(QStringLiteral("Longest streak: 2 days"))) << figures.toStdString();
        // The bars draw at any size without trouble, entries or words.
        for (const QSize size : {QSize(120, 60), QSize(900, 500)}) {
            dialog.Bars->resize(size);
            EXPECT_FALSE(dialog.Bars->grab().isNull());
            dialog.Measure->setCurrentIndex(1 - dialog.Measure->currentIndex());
        }
        return int(QDialog::Rejected);
    });
    window->mnuStatistics->trigger();
    EXPECT_TRUE(script.Finished());
}

} // namespace
} // namespace quillory
