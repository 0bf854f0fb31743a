// The spell-check dialog driven as a person would: its buttons clicked on a real editor, the
// message boxes recorded, and the user dictionary checked on disk; and the main window's menu
// item and toolbar icon that start it.
#include "app/forms/Main.h"
#include "app/forms/Spellchk.h"

#include "TempFolder.h"
#include "app/spell/DictionaryBuilder.h"
#include "platform/Clock.h"
#include "platform/Cp1252.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/PrinterList.h"
#include "richtext/model/DocumentDump.h"
#include "richtext/qt/RichText.h"
#include "richtext/qt/ToolBar.h"

#include <QAction>
#include <QComboBox>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>
#include <span>

namespace quillory {
namespace {

const std::vector<std::string> kWords = {"the", "house", "is", "best", "a", "cat", "dog", "of", "thee", "tea"};

// The document's paragraphs as UTF-8, one a line.
std::string Paragraphs(const TWPRTFText& document)
{
    std::string text;
    for (const TParagraph* p = document.firstParagraph(); p; p = p->next())
        text += p->text() + "\n";
    return text;
}

class SpellCheckDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(folder.withSlash());
        folder.write("quillor.dct", spell::BuildMainDictionary(spell::PrepareWords(kWords).capitals).bytes);
        folder.write("QL.INI", "[Opening Screen]\nshow=0\n");
    }
    void TearDown() override { SetProgramFolder(previousFolder); }

    static void Load(TWPRichText& editor, std::string_view text)
    {
        const std::string rtf = "{\\rtf1\\ansi " + std::string(text) + "}";
        editor.LoadFromStream(std::span(reinterpret_cast<const std::uint8_t*>(rtf.data()), rtf.size()));
    }
    static void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    static std::vector<QString> Items(const QListWidget& list)
    {
        std::vector<QString> items;
        for (int i = 0; i < list.count(); ++i)
            items.push_back(list.item(i)->text());
        return items;
    }

    TempFolder folder;
    std::string previousFolder = DiaryFolder();
    ScopedFixedToday today{*Day::FromDate(2026, 12, 6)};
    ScopedPrinterNames printers{QStringList()};
    MessageBoxScript boxes;
};

TEST_F(SpellCheckDialogTest, ReplaceSkipAndAddWalkTheEntryToItsEnd)
{
    TWPRichText editor;
    Load(editor, "The hous is teh best hous. Catdog!");
    ModalScript script;
    bool closed = false;
    script.Then<TSpellCheckDialog>([&](TSpellCheckDialog& dialog) {
        dialog.show();
        QApplication::processEvents();  // the first activation starts the walk
        EXPECT_EQ(dialog.Word->text(), "hous");
        EXPECT_EQ(dialog.ReplaceAs->text(), "house");  // the best suggestion
        EXPECT_EQ(editor.SelLength(), 4);               // the word is selected in the entry
        Click(dialog.Replace);

        EXPECT_EQ(dialog.Word->text(), "teh");
        const auto items = Items(*dialog.WordList);
        const auto the = std::find(items.begin(), items.end(), QStringLiteral("the"));
        EXPECT_NE(the, items.end());
        dialog.WordList->setCurrentRow(int(the - items.begin()));
        QTest::mouseClick(dialog.WordList->viewport(), Qt::LeftButton, {},
                          dialog.WordList->visualItemRect(dialog.WordList->currentItem()).center());
        EXPECT_EQ(dialog.ReplaceAs->text(), "the");
        Click(dialog.Replace);

        EXPECT_EQ(dialog.Word->text(), "hous");  // each occurrence is asked about
        Click(dialog.GetNextWordButton);

        EXPECT_EQ(dialog.Word->text(), "Catdog");
        EXPECT_TRUE(Items(*dialog.WordList).size() > 0 && Items(*dialog.WordList).front() == "Cat dog");
        EXPECT_TRUE(dialog.Addbutton->isEnabled());
        Click(dialog.Addbutton);

        EXPECT_TRUE(dialog.Word->text().isEmpty());
        EXPECT_FALSE(dialog.isVisible());
        QApplication::processEvents();  // the dialog's own close request
        closed = editor.SelLength() == 0;  // closing removes the selection
        return ModalScript::kKeepResult;
    });
    RunSpellCheck(&editor, nullptr);

    EXPECT_TRUE(closed);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "Spell check complete");
    EXPECT_EQ(DumpText(editor.RtfText()), "The house is the best hous. Catdog!\n");

    // The added word is in the user dictionary file, for later checks.
    spell::TSpellEngine later;
    ASSERT_TRUE(later.OpenDictionary(folder.withSlash() + "quillor.dct"));
    ASSERT_NE(later.OpenUserDictionary(folder.withSlash() + "quilloru.dct"), -1);
    EXPECT_TRUE(later.IsWordCorrect("Catdog"));
    EXPECT_TRUE(later.IsWordCorrect("A"));
}

TEST_F(SpellCheckDialogTest, AnEntryWithoutUnknownWordsEndsAtOnce)
{
    TWPRichText editor;
    Load(editor, "The cat's house is the best of a dog's.");
    ModalScript script;
    script.Then<TSpellCheckDialog>([&](TSpellCheckDialog& dialog) {
        dialog.show();
        QApplication::processEvents();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_TRUE(dialog.Word->text().isEmpty());
        return ModalScript::kKeepResult;
    });
    RunSpellCheck(&editor, nullptr);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "Spell check complete");
    EXPECT_EQ(boxes.Shown()[0].caption, "Information");
}

// The dictionary is English: Russian, Greek, Japanese and Thai words are passed by, never
// asked about; a misspelt English word among them is still found and selected by its bytes.
TEST_F(SpellCheckDialogTest, WordsOfOtherScriptsArePassedByAndMisspeltOnesStillFound)
{
    TWPRichText editor;
    editor.core().InsertText("Жук σοφός 東京都に行きました \U0001F600 the speling, ภาษาไทย; teh cat");
    ModalScript script;
    script.Then<TSpellCheckDialog>([&](TSpellCheckDialog& dialog) {
        dialog.show();
        QApplication::processEvents();
        EXPECT_EQ(dialog.Word->text(), "speling");
        EXPECT_EQ(editor.core().SelectedText(), "speling");
        Click(dialog.GetNextWordButton);
        EXPECT_EQ(dialog.Word->text(), "teh");
        dialog.ReplaceAs->setText("the");
        Click(dialog.Replace);
        EXPECT_FALSE(dialog.isVisible());
        QApplication::processEvents();
        return ModalScript::kKeepResult;
    });
    RunSpellCheck(&editor, nullptr);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "Spell check complete");
    EXPECT_EQ(Paragraphs(editor.RtfText()), "Жук σοφός 東京都に行きました \U0001F600 the speling, ภาษาไทย; the cat\n");
}

TEST_F(SpellCheckDialogTest, AFileThatIsNoUserDictionaryLeavesAddDisabledButChecks)
{
    folder.write("quilloru.dct", folder.read("quillor.dct"));  // a main dictionary in its place
    TWPRichText editor;
    Load(editor, "the hous");
    ModalScript script;
    script.Then<TSpellCheckDialog>([&](TSpellCheckDialog& dialog) {
        dialog.show();
        QApplication::processEvents();
        EXPECT_EQ(dialog.UserDictionaryNumber, -1);
        EXPECT_FALSE(dialog.Addbutton->isEnabled());
        EXPECT_EQ(dialog.Word->text(), "hous");
        Click(dialog.Cancel);
        return ModalScript::kKeepResult;
    });
    RunSpellCheck(&editor, nullptr);
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(folder.read("quilloru.dct"), folder.read("quillor.dct"));  // left as it was
}

// The language is the diary's: chosen in the dialog, kept in QL.INI beside the other settings,
// and the choice of the next time the dialog opens; the user dictionary stays the diary's one.
TEST_F(SpellCheckDialogTest, TheChosenLanguageChecksTheEntryAndIsKeptForTheDiary)
{
    const std::vector<std::string> german = {"der", "hund", "ist", "gut", "und", *Utf8ToCp1252("schön")};
    folder.write("quillor-de.dct", spell::BuildMainDictionary(spell::PrepareWords(german).capitals).bytes);
    folder.write("QL.INI", "[Opening Screen]\nshow=0\n[Spelling]\nLanguage=en-US\n");
    TWPRichText editor;
    editor.core().InsertText("Der Hund ist schön und gut, teh.");

    const auto select = [](QComboBox& box, const char* code) {
        const int at = box.findData(QString::fromLatin1(code));
        ASSERT_GE(at, 0) << code;
        box.setFocus();
        // As a person picks it from the closed box: keys move the choice one item at a time.
        while (box.currentIndex() != at)
            QTest::keyClick(&box, box.currentIndex() < at ? Qt::Key_Down : Qt::Key_Up);
    };
    ModalScript script;
    script.Then<TSpellCheckDialog>([&](TSpellCheckDialog& dialog) {
        dialog.show();
        QApplication::processEvents();
        EXPECT_EQ(dialog.Language->count(), 2);  // the installed ones only
        EXPECT_EQ(dialog.Language->currentData().toString(), "en-US");
        EXPECT_EQ(dialog.Word->text(), "Der");
        select(*dialog.Language, "de");
        EXPECT_EQ(dialog.Word->text(), "teh");  // German now: the walk began again
        Click(dialog.Addbutton);                 // into the diary's one user dictionary
        EXPECT_FALSE(dialog.isVisible());
        QApplication::processEvents();
        return ModalScript::kKeepResult;
    });
    RunSpellCheck(&editor, nullptr);
    const std::string ini = folder.read("QL.INI");
    EXPECT_NE(ini.find("[Spelling]"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Language=de"), std::string::npos) << ini;
    EXPECT_NE(ini.find("show=0"), std::string::npos) << ini;  // the other settings kept

    TWPRichText later;
    later.core().InsertText("Der Teh hous");
    script.Then<TSpellCheckDialog>([&](TSpellCheckDialog& dialog) {
        dialog.show();
        QApplication::processEvents();
        EXPECT_EQ(dialog.Language->currentData().toString(), "de");
        EXPECT_EQ(dialog.Word->text(), "hous");  // "teh" was added, whatever the language
        Click(dialog.Cancel);
        return ModalScript::kKeepResult;
    });
    RunSpellCheck(&later, nullptr);
    EXPECT_TRUE(script.Finished());
}

TEST_F(SpellCheckDialogTest, MenuItemAndToolbarIconStartItOnTheEntryAndReplacingMarksItChanged)
{
    auto window = std::make_unique<TMainScreen>();
    window->FormActivate();
    QTest::keyClicks(window->WPRichText1, "teh cat");
    window->SaveButtonClick();
    ASSERT_TRUE(window->SaveButton->isHidden());

    ModalScript script;
    const auto replace = [](TSpellCheckDialog& dialog) {
        dialog.show();
        QApplication::processEvents();
        EXPECT_EQ(dialog.Word->text(), "teh");
        dialog.ReplaceAs->setText("the");
        Click(dialog.Replace);
        QApplication::processEvents();
        return ModalScript::kKeepResult;
    };
    script.Then<TSpellCheckDialog>(replace);
    EXPECT_TRUE(window->SpellCheck1->isEnabled());
    window->SpellCheck1->trigger();
    EXPECT_EQ(DumpText(window->WPRichText1->RtfText()), "the cat\n");
    EXPECT_FALSE(window->SaveButton->isHidden());

    script.Then<TSpellCheckDialog>([](TSpellCheckDialog& dialog) {
        dialog.show();
        QApplication::processEvents();  // nothing unknown: complete at once
        return ModalScript::kKeepResult;
    });
    QToolButton* icon = window->WPToolBar2->IconButton(ToolIconId::SelSpellCheck);
    ASSERT_NE(icon, nullptr);
    EXPECT_TRUE(icon->isEnabled());
    Click(icon);
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(script.Unexpected().empty());
    EXPECT_EQ(script.Ran().size(), 2u);
}

} // namespace
} // namespace quillory
