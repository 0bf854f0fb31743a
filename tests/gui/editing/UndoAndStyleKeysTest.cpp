// Undo and redo in the main window, the style keys, and the commands that insert the date, the
// time and a page break, driven by keys as a person types.
#include "EditingTestFixture.h"

#include "app/forms/DefaultFont.h"
#include "platform/qt/ModalRunner.h"
#include "richtext/qt/ToolBar.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLocale>
#include <QTime>
#include <QToolButton>

namespace quillory {
namespace {

TEST_F(EditingTest, UndoAndRedoTypingAPasteABoldToggleAndADeletion)
{
    auto window = Open();
    Type(*window, "Dear diary");
    const std::string typed = Dump(*window);

    QApplication::clipboard()->setText(QStringLiteral(", sunny"));
    Key(*window, Qt::Key_V, Qt::ControlModifier);
    const std::string pasted = Dump(*window);
    EXPECT_EQ(Text(*window), "Dear diary, sunny\n");

    window->WPRichText1->core().Select(0, 4);
    Key(*window, Qt::Key_B, Qt::ControlModifier);
    const std::string bolded = Dump(*window);
    EXPECT_NE(bolded.find(" b"), std::string::npos) << bolded;

    Key(*window, Qt::Key_End, Qt::ControlModifier);
    for (int i = 0; i < 7; ++i)
        Key(*window, Qt::Key_Backspace);
    const std::string deleted = Dump(*window);
    EXPECT_EQ(Text(*window), "Dear diary\n");

    window->SaveButtonClick();
    ASSERT_FALSE(Changed(*window));
    for (const std::string* expected : {&bolded, &pasted, &typed}) {
        Key(*window, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(Dump(*window), *expected);
        EXPECT_TRUE(Changed(*window)) << "an undo changes the entry";
    }
    Key(*window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text(*window), "Dear \n") << "typing goes back a word at a time";
    Key(*window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(window->WPRichText1->IsEmpty());

    Key(*window, Qt::Key_Y, Qt::ControlModifier);
    Key(*window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Dump(*window), typed);
    window->Redo1->trigger();
    window->Redo1->trigger();
    window->Redo1->trigger();
    EXPECT_EQ(Dump(*window), deleted);
    window->Undo1->trigger();
    EXPECT_EQ(Dump(*window), bolded);

    // Another day has a history of its own.
    Key(*window, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_FALSE(window->WPRichText1->CanUndo());
    Key(*window, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_FALSE(window->WPRichText1->CanUndo());
    EXPECT_EQ(Text(*window), "Dear diary, sunny\n") << "the day was saved before it was left";
    Key(*window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text(*window), "Dear diary, sunny\n");
}

TEST_F(EditingTest, StyleKeysToggleLikeTheToolbarIconsAndMarkTheEntryChanged)
{
    auto window = Open();
    struct Case { Qt::Key key; ToolIconId icon; std::uint8_t style; };
    const Case cases[] = {
        {Qt::Key_B, ToolIconId::SelBold, AttrStyle::Bold},
        {Qt::Key_I, ToolIconId::SelItalic, AttrStyle::Italic},
        {Qt::Key_U, ToolIconId::SelUnder, AttrStyle::Underline},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        window->CancelButtonClick();
        ASSERT_FALSE(Changed(*window));
        // Without a selection: what is typed next.
        Key(*window, c.key, Qt::ControlModifier);
        EXPECT_TRUE(window->WPRichText1->GetCurrentAttr().hasStyle(c.style));
        EXPECT_TRUE(window->WPToolBar2->IsIconDown(c.icon));
        EXPECT_TRUE(Changed(*window));
        Type(*window, "on");
        Key(*window, c.key, Qt::ControlModifier);
        EXPECT_FALSE(window->WPRichText1->GetCurrentAttr().hasStyle(c.style));
        Type(*window, "off");
        const TTextLine* line = window->WPRichText1->RtfText().firstParagraph()->firstLine();
        EXPECT_TRUE(line->attrs()[0].hasStyle(c.style));
        EXPECT_FALSE(line->attrs()[2].hasStyle(c.style));

        // On a selection: the selected text, and again off.
        window->WPRichText1->SelectAll();
        Key(*window, c.key, Qt::ControlModifier);
        EXPECT_TRUE(line->attrs()[4].hasStyle(c.style));
        Key(*window, c.key, Qt::ControlModifier);
        EXPECT_FALSE(line->attrs()[0].hasStyle(c.style));
    }
}

TEST_F(EditingTest, DateAndTimeFollowTheLocaleAndAPageBreakStartsAParagraph)
{
    const ScopedFixedToday evening(LocalTime{kToday, 21, 5});
    struct Case { QLocale locale; const char* date; const char* time; };
    const Case cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), "12/06/2026 ", "9:05 PM "},
        {QLocale(QLocale::German, QLocale::Germany), "12.06.2026 ", "21:05 "},
        // A short date with a month name has no separator to offer; the time no seconds.
        {QLocale::c(), "12/06/2026 ", "21:05 "},
    };
    const QLocale previous;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString());
        QLocale::setDefault(c.locale);
        auto window = Open();
        Key(*window, Qt::Key_D, Qt::ControlModifier);
        EXPECT_EQ(Text(*window), std::string(c.date) + "\n");
        EXPECT_TRUE(Changed(*window));
        window->WPRichText1->SelectAll();
        Key(*window, Qt::Key_T, Qt::ControlModifier);
        EXPECT_EQ(Text(*window), std::string(c.time) + "\n") << "the time replaces the selection";
        window->CancelButtonClick();
    }
    QLocale::setDefault(previous);

    auto window = Open();
    Type(*window, "Page one");
    window->DocPageBreakButton->click();
    EXPECT_EQ(window->WPRichText1->RtfText().paragraphCount(), 2);
    EXPECT_TRUE(window->WPRichText1->RtfText().lastParagraph()->hasFlag(ParFlag::PageBreakBefore));
    EXPECT_TRUE(Changed(*window));
}

TEST_F(EditingTest, CommandsMarkTheEntryChangedByTheirRules)
{
    auto window = Open();
    Type(*window, "Some text");
    struct Case { const char* name; bool select; std::function<void()> run; bool changed; };
    const Case cases[] = {
        {"copy with a selection", true, [&] { window->Copy1->trigger(); }, true},
        {"copy without", false, [&] { window->Copy1->trigger(); }, false},
        {"cut without", false, [&] { window->Cut1->trigger(); }, false},
        {"delete selection without", false, [&] { window->DeleteSelection1->trigger(); }, false},
        {"select all", false, [&] { window->SelectAll1->trigger(); }, false},
        {"paste", false, [&] { window->Paste1->trigger(); }, true},
        {"word wrap", false, [&] { window->mnuWrapTexttofitScreen->trigger(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window->SaveButtonClick();
        window->WPRichText1->GoTo(0);
        if (c.select)
            window->WPRichText1->core().Select(0, 4);
        c.run();
        EXPECT_EQ(Changed(*window), c.changed);
    }
    // Opening the replace dialog counts as a change, even when nothing is replaced.
    window->SaveButtonClick();
    window->Replace1->trigger();
    EXPECT_TRUE(Changed(*window));
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top != window.get() && top->isVisible())
            top->close();

    // Select All and Delete Selection empty the entry; saving then removes its file.
    window->SaveButtonClick();
    ASSERT_TRUE(std::filesystem::exists(GetCurrentDateFileName(kToday)));
    window->SelectAll1->trigger();
    window->DeleteSelection1->trigger();
    EXPECT_TRUE(window->WPRichText1->IsEmpty());
    window->SaveButtonClick();
    EXPECT_FALSE(std::filesystem::exists(GetCurrentDateFileName(kToday)));
}

TEST_F(EditingTest, WordWrapButtonSaysWhatItWillDo)
{
    auto window = Open();
    EXPECT_EQ(window->DocWordWrapButton->toolTip(), QStringLiteral("Toggle word wrap off"));
    window->DocWordWrapButton->click();
    EXPECT_FALSE(window->WPRichText1->WordWrap());
    EXPECT_EQ(window->DocWordWrapButton->toolTip(), QStringLiteral("Toggle word wrap on"));
    window->DocWordWrapButton->click();
    EXPECT_TRUE(window->WPRichText1->WordWrap());
    EXPECT_EQ(window->DocWordWrapButton->toolTip(), QStringLiteral("Toggle word wrap off"));
}

} // namespace
} // namespace quillory

namespace quillory {
namespace {

TEST_F(EditingTest, DefaultFontWithItsColourIsStoredAndTakenByTheNextEmptyDay)
{
    auto window = Open();
    const TAttr before = window->WPRichText1->GetCurrentAttr();
    ModalScript script;
    // A family the font dialog lists (its list holds the families that are installed).
    const QString family = QFontDatabase::families().contains(QStringLiteral("Liberation Serif"))
        ? QStringLiteral("Liberation Serif")
        : QFontDatabase::families().value(0);
    script.Then<TDefaultFontDialog>([&](TDefaultFontDialog& dialog) {
        QFont font(family, 14);
        font.setItalic(true);
        dialog.DefaultFontdialog->setCurrentFont(font);
        dialog.ColorBox->setCurrentIndex(3); // blue
        return int(QDialog::Accepted);
    });
    window->mnuDefaultFont->trigger();
    ASSERT_TRUE(script.Finished());
    EXPECT_EQ(window->Settings.DefaultFontSize, 14);
    EXPECT_TRUE(window->Settings.DefaultFontItalic);
    EXPECT_EQ(window->Settings.DefaultFontColor, 0xFF0000) << "blue, red in the low byte";
    EXPECT_EQ(window->WPRichText1->GetCurrentAttr(), before) << "the page on screen keeps its font";

    window->NextButtonClick();
    const TAttr next = window->WPRichText1->GetCurrentAttr();
    EXPECT_EQ(next.size, 14);
    EXPECT_TRUE(next.hasStyle(AttrStyle::Italic));
    EXPECT_EQ(next.textColor(), 3);
    EXPECT_EQ(window->WPRichText1->RtfText().header().font(next.font)->name, family.toStdString());

    // A new window reads it back from QL.INI; Cancel there changes nothing.
    window.reset();
    auto again = Open();
    ModalScript cancel;
    cancel.Then<TDefaultFontDialog>([](TDefaultFontDialog& dialog) {
        EXPECT_EQ(dialog.selectedFont().pointSize(), 14);
        EXPECT_EQ(dialog.selectedColor(), QColor(0, 0, 255));
        dialog.ColorBox->setCurrentIndex(1);
        return int(QDialog::Rejected);
    });
    again->mnuDefaultFont->trigger();
    EXPECT_EQ(again->Settings.DefaultFontColor, 0xFF0000);
}

} // namespace
} // namespace quillory
