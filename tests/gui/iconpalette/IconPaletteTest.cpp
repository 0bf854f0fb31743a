// The icon palette driven as a person would: its menu, the open dialog and notices answered by
// script, the grid, the toggle button of the main window, icons dropped onto the entry, and
// the palette's settings across a restart.
#include "app/forms/Floater.h"
#include "app/forms/Main.h"

#include "TempFolder.h"
#include "controls/IconCtls.h"
#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/PrinterList.h"
#include "richtext/model/DocumentDump.h"
#include "richtext/qt/RichText.h"

#include <QFileDialog>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace quillory {
namespace {

namespace fs = std::filesystem;

fs::path Fixture(const char* name)
{
    return fs::path(QUILLORY_TEST_DATA) / "icons" / name;
}

class IconPaletteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(folder.withSlash());
        folder.write("QL.INI", "[Opening Screen]\nshow=0\n");
        fs::create_directories(folder.path() / "icons");
        fs::copy_file(Fixture("groups32.icl"), folder.path() / "icons/activity.icl");
        fs::copy_file(Fixture("groups16.icl"), folder.path() / "icons/holiday.icl");
        fs::copy_file(Fixture("three.ico"), folder.path() / "icons/misc1.icl");
        fs::copy_file(Fixture("loop.icl"), folder.path() / "icons/events.icl");  // no icons in it
    }
    void TearDown() override { SetProgramFolder(previousFolder); }

    void AddBonusSets()
    {
        fs::create_directories(folder.path() / "BonusIcons");
        fs::copy_file(Fixture("three.ico"), folder.path() / "BonusIcons/Sea.old.icl");
        fs::copy_file(Fixture("groups16.icl"), folder.path() / "BonusIcons/animals.icl");
    }
    QString InFolder(const char* name) const { return QString::fromStdString(folder.withSlash() + name); }
    static QStringList Checked(const QMenu& menu)
    {
        QStringList out;
        for (const QAction* item : menu.actions()) {
            if (item->isChecked())
                out << item->text();
            if (item->menu())
                out << Checked(*item->menu());
        }
        return out;
    }
    // Creates the main window with its palette and runs the first activation, as the start does.
    std::unique_ptr<TMainScreen> Open()
    {
        auto window = std::make_unique<TMainScreen>();
        window->SetIconPalette(new TFloatingPalette(window.get()));
        window->FormActivate();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }

    TempFolder folder;
    std::string previousFolder = DiaryFolder();
    ScopedFixedToday today{*Day::FromDate(2026, 12, 6)};
    ScopedPrinterNames printers{QStringList()};
    MessageBoxScript boxes;
};

TEST_F(IconPaletteTest, CreationShowsActivitiesAndListsTheBonusSets)
{
    AddBonusSets();
    TFloatingPalette palette;
    EXPECT_EQ(palette.windowTitle(), QStringLiteral("Icons"));
    EXPECT_TRUE(palette.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(palette.IconListBox->FileName(), InFolder("icons/activity.icl"));
    EXPECT_EQ(palette.IconListBox->NumberOfIcons(), 3);
    EXPECT_EQ(palette.IconListBox->count(), 3);
    EXPECT_EQ(palette.IconListBox->item(2)->text(), QStringLiteral("2"));
    EXPECT_EQ(palette.IconListBox->currentRow(), 0);
    EXPECT_TRUE(palette.IconListBox->isEnabled());
    EXPECT_EQ(Checked(*palette.File), QStringList{QStringLiteral("Activities")});

    // Cut at the first dot, sorted without regard to case.
    QMenu* sets = palette.mnuBonusIconSets->menu();
    ASSERT_TRUE(sets);
    ASSERT_EQ(sets->actions().size(), 2);
    EXPECT_EQ(sets->actions()[0]->text(), QStringLiteral("animals"));
    EXPECT_EQ(sets->actions()[1]->text(), QStringLiteral("Sea"));
    sets->actions()[1]->trigger();
    // Listed by the part before the first dot, opened by its whole name: "Sea.icl" does not exist.
    EXPECT_EQ(palette.IconListBox->FileName(), InFolder("BonusIcons/Sea.old.icl"));
    EXPECT_EQ(palette.IconListBox->NumberOfIcons(), 3);
    EXPECT_EQ(Checked(*palette.File), QStringList{QStringLiteral("Sea")});
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(IconPaletteTest, MenuChoosesALibraryAndALibraryWithoutIconsGivesWayToTheFallback)
{
    TFloatingPalette palette;
    palette.mnuHolidaysICL->trigger();
    EXPECT_EQ(palette.IconListBox->FileName(), InFolder("icons/holiday.icl"));
    EXPECT_EQ(palette.IconListBox->NumberOfIcons(), 3);
    EXPECT_EQ(Checked(*palette.File), QStringList{QStringLiteral("Holidays")});

    palette.mnuEventsICL->trigger();
    EXPECT_EQ(palette.IconListBox->FileName(), InFolder("icons/Misc1.icl"));
    EXPECT_EQ(palette.IconListBox->NumberOfIcons(), 3);
    // The menu names what was asked for; the grid shows the fallback.
    EXPECT_EQ(Checked(*palette.File), QStringList{QStringLiteral("Events")});

    // A missing library: an empty, disabled grid, and no fallback.
    palette.mnuMisc2ICL->trigger();
    EXPECT_EQ(palette.IconListBox->NumberOfIcons(), -1);
    EXPECT_EQ(palette.IconListBox->count(), 0);
    EXPECT_FALSE(palette.IconListBox->isEnabled());

    // No bonus folder: the item says so.
    palette.mnuBonusIconSets->trigger();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].caption, QStringLiteral("Information"));
}

TEST_F(IconPaletteTest, OtherAsksAgainWhileTheFileHasNoIconsAndFallsBackWhenCancelled)
{
    TFloatingPalette palette;
    const QString empty = QString::fromStdString(Fixture("loop.icl").string());
    const QString good = QString::fromStdString(Fixture("three.ico").string());
    ModalScript dialogs;
    const auto pick = [](const QString& file) {
        return std::function<int(QFileDialog&)>([file](QFileDialog& dialog) {
            EXPECT_EQ(dialog.nameFilters().size(), 7);
            EXPECT_EQ(dialog.selectedNameFilter(), dialog.nameFilters().last());
            dialog.selectFile(file);
            return int(QDialog::Accepted);
        });
    };
    dialogs.Then<QFileDialog>(pick(empty))
        .Then<QFileDialog>(pick(empty))
        .Then<QFileDialog>([](QFileDialog&) { return int(QDialog::Rejected); });
    palette.mnuOtherIconFile->trigger();
    EXPECT_TRUE(dialogs.Finished());
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0].text, QStringLiteral("No icons found in ") + empty);
    EXPECT_EQ(palette.IconListBox->FileName(), InFolder("icons/Misc1.icl"));
    EXPECT_EQ(Checked(*palette.File), QStringList{QStringLiteral("Miscellaneous #1")});

    dialogs.Then<QFileDialog>(pick(good));
    palette.mnuOtherIconFile->trigger();
    EXPECT_EQ(palette.IconListBox->FileName(), good);
    EXPECT_EQ(palette.IconListBox->NumberOfIcons(), 3);
    EXPECT_EQ(Checked(*palette.File), QStringList{QStringLiteral("Other...")});
    EXPECT_EQ(boxes.Shown().size(), 2u);
}

TEST_F(IconPaletteTest, CachingExtractsIconsAsTheyAreDrawn)
{
    // A shipped library of some fifty icons in a grid of 3 x 3: every item at once, the icons
    // only as they come into view.
    TIconListBox list;
    list.SetXIcons(3);
    list.SetYIcons(3);
    list.SetFileName(QString::fromStdString((fs::path(QUILLORY_DIST_DATA) / "icons/misc2.icl").string()));
    ASSERT_GE(list.count(), 40);
    EXPECT_EQ(list.CachedIcons(), 0);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    list.grab();
    const int firstView = list.CachedIcons();
    EXPECT_GE(firstView, 9);
    EXPECT_LT(firstView, list.count() / 2);
    list.scrollToItem(list.item(list.count() - 1));
    list.grab();
    EXPECT_GT(list.CachedIcons(), firstView);
    EXPECT_FALSE(list.Icon(list.count() - 1).isNull());
    EXPECT_TRUE(list.Icon(list.count()).isNull());

    TIconListBox eager;
    eager.SetEnableCaching(false);
    eager.SetFileName(QString::fromStdString(Fixture("groups16.icl").string()));
    EXPECT_EQ(eager.CachedIcons(), 3);

    // Sized by columns and rows of the system's icon cells; values below 1 are ignored.
    eager.SetXIcons(0);
    EXPECT_EQ(eager.XIcons(), 4);
    eager.SetXIcons(2);
    eager.SetYIcons(3);
    const int frame = 2 * eager.frameWidth();
    EXPECT_EQ(eager.width(), 2 * TIconListBox::ColumnWidth() + frame);
    EXPECT_EQ(eager.height(), 3 * TIconListBox::ItemHeight() + frame + 1 + eager.horizontalScrollBar()->sizeHint().height());
    EXPECT_EQ(eager.Version(), QStringLiteral("TIconListBox v1.10"));
}

TEST_F(IconPaletteTest, ToggleButtonShowsAndHidesThePaletteWithoutTouchingUnsavedText)
{
    auto window = Open();
    TFloatingPalette& palette = *window->FloatingPalette;
    EXPECT_FALSE(palette.isVisible());  // hidden at the first start
    EXPECT_TRUE(window->ShowHideIconTool->isEnabled());
    EXPECT_EQ(window->ShowHideIconTool->text(), QStringLiteral("Show Icon Tool"));

    QTest::keyClicks(window->WPRichText1, "Unsaved");
    QTest::mouseClick(window->ShowHideIconTool, Qt::LeftButton);
    EXPECT_TRUE(palette.isVisible());
    EXPECT_EQ(window->ShowHideIconTool->text(), QStringLiteral("Hide Icon Tool"));
    QTest::mouseClick(window->ShowHideIconTool, Qt::LeftButton);
    EXPECT_FALSE(palette.isVisible());
    EXPECT_EQ(window->ShowHideIconTool->text(), QStringLiteral("Show Icon Tool"));
    // Hiding the palette once hid Save as well, and the typed text was then never saved.
    EXPECT_TRUE(window->SaveButton->isVisible());
}

TEST_F(IconPaletteTest, DroppedIconBecomesAPictureWhereItWasDroppedAndTheEntryChanged)
{
    auto window = Open();
    TFloatingPalette& palette = *window->FloatingPalette;
    QTest::keyClicks(window->WPRichText1, "Sunny day");
    window->SaveButtonClick();
    ASSERT_FALSE(window->SaveButton->isVisible());

    EXPECT_TRUE(window->WPRichText1DragOver(palette.IconListBox));
    EXPECT_FALSE(window->WPRichText1DragOver(window->WPRichText1));
    EXPECT_FALSE(window->WPRichText1DragOver(nullptr));

    palette.IconListBox->setCurrentRow(1);
    // The top-left corner of the page is the start of the text; the caret is at its end.
    window->WPRichText1DragDrop(palette.IconListBox, QPoint(1, 1));
    const std::string text = DumpText(window->WPRichText1->RtfText());
    EXPECT_EQ(text.substr(text.size() - 10), "Sunny day\n") << text;
    EXPECT_NE(text.rfind("Sunny day"), 0u) << text;
    const std::string objects = DumpSideLists(window->WPRichText1->RtfText());
    EXPECT_NE(objects.find("obj "), std::string::npos) << objects;
    EXPECT_TRUE(window->SaveButton->isVisible());

    // A page that could not be read whole takes no icons.
    window->WPRichText1->SetReadOnly(true);
    EXPECT_FALSE(window->WPRichText1DragOver(palette.IconListBox));
}

// A drag that did not come from the palette (here: one with no source in this program) is
// left to the editor, which refuses it.
TEST_F(IconPaletteTest, DragOfAnythingElseIsRefused)
{
    auto window = Open();
    QMimeData data;
    data.setImageData(QImage(8, 8, QImage::Format_RGB32));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window->WPRichText1->viewport(), &enter);
    EXPECT_FALSE(enter.isAccepted());
}

TEST_F(IconPaletteTest, PalettePlaceLibraryAndVisibilityOutliveARestart)
{
    {
        auto window = Open();
        TFloatingPalette& palette = *window->FloatingPalette;
        palette.mnuHolidaysICL->trigger();
        QTest::mouseClick(window->ShowHideIconTool, Qt::LeftButton);
        palette.move(123, 45);
        window->close();
        EXPECT_FALSE(palette.isVisible());
    }
    const IniFile ini(SettingsFileName());
    EXPECT_EQ(ini.ReadString("Icons", "File", ""), "icons/holiday.icl");
    EXPECT_TRUE(ini.ReadBool("Icons", "Visible", false));
    EXPECT_EQ(ini.ReadInteger("Icons", "Left", 0), 123);
    EXPECT_EQ(ini.ReadInteger("Icons", "Top", 0), 45);

    auto window = Open();
    TFloatingPalette& palette = *window->FloatingPalette;
    EXPECT_TRUE(palette.isVisible());
    EXPECT_EQ(palette.pos(), QPoint(123, 45));
    EXPECT_EQ(palette.IconListBox->FileName(), InFolder("icons/holiday.icl"));
    EXPECT_EQ(Checked(*palette.File), QStringList{QStringLiteral("Holidays")});
    EXPECT_EQ(window->ShowHideIconTool->text(), QStringLiteral("Hide Icon Tool"));
}

} // namespace
} // namespace quillory
