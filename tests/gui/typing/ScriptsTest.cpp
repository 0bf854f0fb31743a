// Text of every script in the real editor control: typed keys, pastes through the clipboard, the
// caret stepping over grapheme clusters, Backspace and Delete, word moves and double-clicks, and
// input methods (preedit, commit, replacement, the control's answers to their questions).
#include "richtext/qt/KeyInput.h"
#include "richtext/qt/RichText.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace quillory {
namespace {

// The document's paragraphs as UTF-8, one per line.
std::string Utf8Text(const TWPRichText& editor)
{
    std::string out;
    for (auto* paragraph = editor.RtfText().firstParagraph(); paragraph; paragraph = paragraph->next())
        out += paragraph->text() + "\n";
    return out;
}

// An editor in a shown window; each test key goes through the control's event handling.
class Scripts : public testing::Test {
protected:
    TWPRichText editor;
    int changes = 0;

    void SetUp() override
    {
        editor.resize(500, 300);
        editor.show();
        editor.setFocus();
        editor.OnChange = [this](TWPRichText&) { ++changes; };
    }

    std::string text() const { return Utf8Text(editor); }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(&editor, k, modifiers);
        endStep();
    }
    // Types as keyboards and xdotool do: one key event per code point, its text in UTF-16.
    void typeCodePoints(const QString& text)
    {
        for (const char32_t c : text.toUcs4()) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUcs4(&c, 1));
            QApplication::sendEvent(&editor, &press);
            endStep();
        }
    }
    void inputMethod(const QString& preedit, const QString& commit = {}, int replaceFrom = 0, int replaceLength = 0)
    {
        QList<QInputMethodEvent::Attribute> attributes;
        attributes << QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, int(preedit.size()), 1);
        QInputMethodEvent event(preedit, attributes);
        if (!commit.isEmpty() || replaceLength > 0)
            event.setCommitString(commit, replaceFrom, replaceLength);
        QApplication::sendEvent(&editor, &event);
        endStep();
    }
    // The control closes an undo step when the event loop runs.
    static void endStep() { QCoreApplication::processEvents(); }
    void undoAll()
    {
        while (editor.CanUndo())
            editor.Undo();
    }
    QPoint pointAt(long position, int into = 0)
    {
        const CaretBox box = editor.engine().caretAt(editor.RtfText().positionAt(position));
        return {box.x + into - editor.horizontalScrollBar()->value(),
                box.y + box.height / 2 - editor.verticalScrollBar()->value()};
    }
};

// Typing "Zażółć" once kept "Zaó" of it: every character outside cp1252 was refused.
TEST_F(Scripts, TypedCharactersOfEveryScriptAreKeptAndUndone)
{
    const QString typed = QStringLiteral("Za\u017c\u00f3\u0142\u0107 \u0416\u0443\u043a \u0395\u03bb\u03bb\u03ac\u03b4\u03b1 "
                                         "\U0001F600 \U0001F44D\U0001F3FD \U0001F1F5\U0001F1F1");
    typeCodePoints(typed);
    EXPECT_EQ(text(), typed.toStdString() + "\n");
    EXPECT_EQ(editor.CaretPosition(), long(typed.toStdString().size()));
    EXPECT_EQ(editor.beeps(), 0);
    EXPECT_GT(changes, 0);

    // Undo goes back word by word (emoji and blanks go with the word before them) to the empty
    // page, redo forward to all of it.
    editor.Undo();
    EXPECT_EQ(text(), typed.left(typed.indexOf(QChar(0x0395))).toStdString() + "\n");
    undoAll();
    EXPECT_EQ(text(), "\n");
    while (editor.CanRedo())
        editor.Redo();
    EXPECT_EQ(text(), typed.toStdString() + "\n");
}

// A compose sequence or a dead key arrives as one key with its text, or as a commit string.
TEST_F(Scripts, ComposedCharactersComeAsKeysOrCommitStrings)
{
    typeCodePoints(QStringLiteral("\u00e9"));
    inputMethod({}, QStringLiteral("\u0151"));
    typeCodePoints(QStringLiteral("e\u0301"));
    EXPECT_EQ(text(), "\u00e9\u0151e\u0301\n");
    EXPECT_EQ(editor.preeditText(), QString());
}

// Pasting three lines of which one held "Zażółć and Жук" inserted nothing, yet marked the page
// changed.
TEST_F(Scripts, AMultiScriptPasteKeepsItsLinesAndIsUndoneWhole)
{
    typeCodePoints(QStringLiteral("<>"));
    key(Qt::Key_Left);
    changes = 0;
    QGuiApplication::clipboard()->setText(QStringLiteral("first line\r\nZa\u017c\u00f3\u0142\u0107 and \u0416\u0443\u043a\nlast \U0001F600"));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text(), "<first line\nZa\u017c\u00f3\u0142\u0107 and \u0416\u0443\u043a\nlast \U0001F600>\n");
    EXPECT_EQ(editor.beeps(), 0);
    EXPECT_GT(changes, 0);
    editor.Undo();
    EXPECT_EQ(text(), "<>\n");

    // Nothing on the clipboard: nothing changes and the page stays as it was.
    QGuiApplication::clipboard()->clear();
    changes = 0;
    key(Qt::Key_V, Qt::ControlModifier);
    key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(text(), "<>\n");
}

struct CaretStep {
    const char* name;
    const char* text;
    long start;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    long caret;       // expected, as a byte offset
    long selected;    // expected selection length
};

const char* const kFamily = "\U0001F468\u200D\U0001F469\u200D\U0001F467\u200D\U0001F466"; // 25 bytes

TEST_F(Scripts, TheCaretStepsOverWholeClusters)
{
    const std::string family = kFamily;
    const CaretStep steps[] = {
        {"RightOverAFlag", "a\U0001F1F5\U0001F1F1b", 1, Qt::Key_Right, Qt::NoModifier, 9, 0},
        {"LeftOverAFlag", "a\U0001F1F5\U0001F1F1b", 9, Qt::Key_Left, Qt::NoModifier, 1, 0},
        {"RightOverASkinTone", "\U0001F44D\U0001F3FDx", 0, Qt::Key_Right, Qt::NoModifier, 8, 0},
        {"LeftOverASkinTone", "\U0001F44D\U0001F3FDx", 8, Qt::Key_Left, Qt::NoModifier, 0, 0},
        {"RightOverAFamily", kFamily, 0, Qt::Key_Right, Qt::NoModifier, 25, 0},
        {"LeftOverAFamily", kFamily, 25, Qt::Key_Left, Qt::NoModifier, 0, 0},
        {"RightOverACombiningMark", "e\u0301t", 0, Qt::Key_Right, Qt::NoModifier, 3, 0},
        {"LeftOverACombiningMark", "e\u0301t", 3, Qt::Key_Left, Qt::NoModifier, 0, 0},
        {"RightOverAnIdeograph", "\u4e2d\u6587", 0, Qt::Key_Right, Qt::NoModifier, 3, 0},
        {"LeftOverAnIdeograph", "\u4e2d\u6587", 6, Qt::Key_Left, Qt::NoModifier, 3, 0},
        {"ShiftRightSelectsAFlag", "\U0001F1F5\U0001F1F1", 0, Qt::Key_Right, Qt::ShiftModifier, 8, 8},
        {"ShiftLeftSelectsAFamily", kFamily, 25, Qt::Key_Left, Qt::ShiftModifier, 0, 25},
        {"CtrlRightOverACyrillicWord", "\u0416\u0443\u043a \u0435\u0441\u0442", 0, Qt::Key_Right,
         Qt::ControlModifier, 6, 0},
        {"CtrlRightToTheNextCyrillicWordsEnd", "\u0416\u0443\u043a \u0435\u0441\u0442", 6, Qt::Key_Right,
         Qt::ControlModifier, 13, 0},
        {"CtrlLeftToACyrillicWordsStart", "\u0416\u0443\u043a \u0435\u0441\u0442", 13, Qt::Key_Left,
         Qt::ControlModifier, 7, 0},
        {"CtrlShiftRightSelectsAGreekWord", "\u03ba\u03cc\u03c3\u03bc\u03b5 x", 0, Qt::Key_Right,
         Qt::ControlModifier | Qt::ShiftModifier, 10, 10},
        // A place inside a cluster given from outside goes to the cluster's start.
        {"GoToInsideAFlagSnapsBack", "a\U0001F1F5\U0001F1F1b", 5, Qt::Key_unknown, Qt::NoModifier, 1, 0},
    };
    for (const CaretStep& step : steps) {
        SCOPED_TRACE(step.name);
        editor.Clear();
        editor.InsertText(QString::fromUtf8(step.text));
        editor.GoTo(step.start);
        if (step.key != Qt::Key_unknown)
            key(step.key, step.modifiers);
        EXPECT_EQ(editor.CaretPosition(), step.caret);
        EXPECT_EQ(editor.SelLength(), step.selected);
    }
    EXPECT_EQ(family.size(), 25u);
}

struct Removal {
    const char* name;
    const char* text;
    long caret;
    Qt::Key key;
    const char* left;
};

TEST_F(Scripts, BackspaceAndDeleteRemoveWholeClustersAndUndoPutsThemBack)
{
    const std::string familyThen = std::string(kFamily) + "!";
    const Removal removals[] = {
        {"BackspaceAFlag", "a\U0001F1F5\U0001F1F1b", 9, Qt::Key_Backspace, "ab"},
        {"DeleteAFlag", "a\U0001F1F5\U0001F1F1b", 1, Qt::Key_Delete, "ab"},
        {"BackspaceASkinTonedEmoji", "x\U0001F44D\U0001F3FD", 9, Qt::Key_Backspace, "x"},
        {"DeleteASkinTonedEmoji", "x\U0001F44D\U0001F3FD", 1, Qt::Key_Delete, "x"},
        {"BackspaceAFamily", familyThen.c_str(), 25, Qt::Key_Backspace, "!"},
        {"DeleteAFamily", familyThen.c_str(), 0, Qt::Key_Delete, "!"},
        {"BackspaceALetterWithItsMark", "ae\u0301", 4, Qt::Key_Backspace, "a"},
        {"DeleteALetterWithItsMark", "e\u0301a", 0, Qt::Key_Delete, "a"},
        {"BackspaceAnIdeograph", "\u4e2d\u6587", 6, Qt::Key_Backspace, "\u4e2d"},
        {"DeleteAnIdeograph", "\u4e2d\u6587", 0, Qt::Key_Delete, "\u6587"},
        {"BackspaceACyrillicLetter", "\u0416\u0443\u043a", 6, Qt::Key_Backspace, "\u0416\u0443"},
    };
    for (const Removal& removal : removals) {
        SCOPED_TRACE(removal.name);
        editor.Clear();
        editor.InsertText(QString::fromUtf8(removal.text));
        endStep();
        editor.GoTo(removal.caret);
        key(removal.key);
        EXPECT_EQ(text(), std::string(removal.left) + "\n");
        editor.Undo();
        EXPECT_EQ(text(), std::string(removal.text) + "\n");
        EXPECT_EQ(editor.CaretPosition(), removal.caret);
    }
}

TEST_F(Scripts, DoubleClickSelectsAWordOfAnyScript)
{
    editor.InsertText(QStringLiteral("\u0416\u0443\u043a \u0435\u0441\u0442 \u4e2d"));
    const long est = 7; // "ест" starts after "Жук "
    QTest::mouseDClick(editor.viewport(), Qt::LeftButton, Qt::NoModifier, pointAt(est + 2, 1));
    EXPECT_EQ(editor.core().SelectedText(), "\u0435\u0441\u0442");
    EXPECT_EQ(editor.core().SelStartPosition(), est);
    typeCodePoints(QStringLiteral("\u03c3"));
    EXPECT_EQ(text(), "\u0416\u0443\u043a \u03c3 \u4e2d\n");
}

// An input method composes "nihao" and commits "你好": only the commit enters the document and
// its undo history; the preedit is shown by the control meanwhile.
TEST_F(Scripts, InputMethodPreeditThenCommitInsertsExactlyTheCommittedText)
{
    typeCodePoints(QStringLiteral("> "));
    const std::size_t stepsBefore = editor.core().UndoSteps();
    inputMethod(QStringLiteral("n"));
    inputMethod(QStringLiteral("nihao"));
    EXPECT_EQ(editor.preeditText(), QStringLiteral("nihao"));
    EXPECT_EQ(text(), "> \n") << "the preedit never enters the document";
    EXPECT_EQ(editor.core().UndoSteps(), stepsBefore);
    const QRect caretRect = editor.inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_GT(caretRect.height(), 0);

    inputMethod({}, QStringLiteral("\u4f60\u597d"));
    EXPECT_EQ(text(), "> \u4f60\u597d\n");
    EXPECT_EQ(editor.preeditText(), QString());
    EXPECT_EQ(editor.CaretPosition(), 8);

    EXPECT_EQ(editor.inputMethodQuery(Qt::ImSurroundingText).toString(), QStringLiteral("> \u4f60\u597d"));
    EXPECT_EQ(editor.inputMethodQuery(Qt::ImCursorPosition).toInt(), 4);
    EXPECT_EQ(editor.inputMethodQuery(Qt::ImAnchorPosition).toInt(), 4);
    EXPECT_TRUE(editor.inputMethodQuery(Qt::ImEnabled).toBool());

    editor.Undo();
    EXPECT_EQ(text(), "> \n");
    editor.Redo();
    EXPECT_EQ(text(), "> \u4f60\u597d\n");

    // A new page ends a composition.
    inputMethod(QStringLiteral("zai"));
    editor.Clear();
    EXPECT_EQ(editor.preeditText(), QString());
}

// Surrogate pairs count two UTF-16 units, as input methods count them; the document counts bytes.
TEST_F(Scripts, InputMethodQueriesAndReplacementsCountUtf16Units)
{
    editor.InsertText(QStringLiteral("first\r\U0001F600 \u0416\u0443\u043a"));
    endStep();
    editor.SelStart(6 + 5); // after "😀 "
    editor.SelLength(4);    // "Жу"
    EXPECT_EQ(editor.inputMethodQuery(Qt::ImSurroundingText).toString(), QStringLiteral("\U0001F600 \u0416\u0443\u043a"));
    EXPECT_EQ(editor.inputMethodQuery(Qt::ImCurrentSelection).toString(), QStringLiteral("\u0416\u0443"));
    EXPECT_EQ(editor.inputMethodQuery(Qt::ImCursorPosition).toInt(), 5);
    EXPECT_EQ(editor.inputMethodQuery(Qt::ImAnchorPosition).toInt(), 3);

    // A commit that replaces the two characters before the caret (a correction).
    editor.GoTo(6 + 11);
    inputMethod({}, QStringLiteral("\u0435\u043d"), -2, 2);
    EXPECT_EQ(text(), "first\n\U0001F600 \u0416\u0435\u043d\n");
    EXPECT_EQ(editor.CaretPosition(), 6 + 11);
    editor.Undo();
    EXPECT_EQ(text(), "first\n\U0001F600 \u0416\u0443\u043a\n");

    // One that replaces the emoji and the blank after it with nothing.
    editor.GoTo(6 + 5);
    inputMethod({}, {}, -3, 3);
    EXPECT_EQ(text(), "first\n\u0416\u0443\u043a\n");
}

TEST_F(Scripts, AReadOnlyEditorTakesNothingFromAnInputMethod)
{
    editor.InsertText(QStringLiteral("fixed"));
    editor.SetReadOnly(true);
    changes = 0;
    inputMethod(QStringLiteral("ni"));
    EXPECT_EQ(editor.preeditText(), QString());
    inputMethod({}, QStringLiteral("\u4f60"));
    EXPECT_EQ(text(), "fixed\n");
    EXPECT_FALSE(editor.inputMethodQuery(Qt::ImEnabled).toBool());
    EXPECT_EQ(changes, 0);
}

} // namespace
} // namespace quillory
