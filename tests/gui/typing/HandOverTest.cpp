// Keys in a document of several paragraphs: the caret and selection the control takes from the
// typing engine after each key, the undo steps of keys (which record only the paragraphs near
// the caret), and a change made by other means between two keys.
#include "richtext/edit/TextFinder.h"
#include "richtext/model/DocumentDump.h"
#include "richtext/qt/RichText.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace quillory {
namespace {

class HandOver : public testing::Test {
protected:
    TWPRichText editor;
    std::vector<std::string> states; // the text after each key that changed it

    void SetUp() override
    {
        editor.resize(400, 300);
        editor.show();
        editor.InsertText(std::string_view("first one\r\nsecond two\r\nthird three\r\nfourth four"));
        QCoreApplication::processEvents();
        editor.core().ClearHistory();
    }

    std::string text() const { return DumpText(editor.RtfText()); }
    // One key as the user presses it: the event loop then closes its undo step.
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(&editor, k, modifiers);
        QCoreApplication::processEvents();
        record();
    }
    void record()
    {
        if (states.empty() || states.back() != text())
            states.push_back(text());
    }
    void type(const char* typed)
    {
        for (const char* c = typed; *c; ++c) {
            QTest::keyClick(&editor, *c);
            QCoreApplication::processEvents();
            record();
        }
    }
    // What the control holds must be what the document names at the caret's absolute position.
    void expectCaretInStep(long caret)
    {
        EXPECT_EQ(editor.CaretPosition(), caret);
        const TWPRTFText& document = editor.RtfText();
        EXPECT_EQ(document.selection.blockStart, document.positionAt(caret));
        EXPECT_EQ(document.selection.blockEnd, document.positionAt(caret));
        EXPECT_EQ(document.absolutePosition(editor.caretPlace()), caret);
    }
};

TEST_F(HandOver, CaretAfterTypingEnterAndBackspaceAtParagraphStarts)
{
    editor.GoTo(18); // "second t|wo"
    type("ee");
    EXPECT_EQ(text(), "first one\nsecond teewo\nthird three\nfourth four\n");
    expectCaretInStep(20);
    key(Qt::Key_Return);
    EXPECT_EQ(text(), "first one\nsecond tee\nwo\nthird three\nfourth four\n");
    expectCaretInStep(21);
    EXPECT_EQ(editor.CaretParagraph(), 2);
    key(Qt::Key_Backspace); // joins the two halves again
    expectCaretInStep(20);
    key(Qt::Key_Home);
    key(Qt::Key_Backspace); // at the paragraph's start: joins it to the first
    EXPECT_EQ(text(), "first onesecond teewo\nthird three\nfourth four\n");
    expectCaretInStep(9);
    key(Qt::Key_End);
    key(Qt::Key_Delete); // at its end: the next paragraph joins it
    EXPECT_EQ(text(), "first onesecond teewothird three\nfourth four\n");
    expectCaretInStep(21);
    key(Qt::Key_Down);
    key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(editor.SelLength(), 1);
    const TWPRTFText& document = editor.RtfText();
    EXPECT_EQ(document.selection.blockStart, document.positionAt(editor.CaretPosition()));
    EXPECT_EQ(document.selection.blockEnd, document.positionAt(editor.CaretPosition() + 1));
}

// The attributes typing goes on with are those of the character before the caret.
TEST_F(HandOver, TypingTakesTheAttributesBeforeTheCaret)
{
    TAttr bold = editor.GetCurrentAttr();
    bold.style = AttrStyle::Bold;
    editor.SelStart(10);
    editor.SelLength(6); // "second"
    editor.SetCurrentAttr(bold);
    editor.GoTo(0);
    QCoreApplication::processEvents();
    key(Qt::Key_Down);
    key(Qt::Key_Home);
    key(Qt::Key_Right);
    EXPECT_TRUE(editor.GetCurrentAttr().hasStyle(AttrStyle::Bold));
    key(Qt::Key_End);
    EXPECT_FALSE(editor.GetCurrentAttr().hasStyle(AttrStyle::Bold));
}

// Undo and redo of keys that split, join and change paragraphs, at the document's start too,
// walk back through states the keys made, in their order.
TEST_F(HandOver, UndoAndRedoOfKeysWalkTheirStates)
{
    record();
    editor.GoTo(13); // "sec|ond two"
    type("ret x");
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    type("new");
    key(Qt::Key_Home);
    for (int i = 0; i < 3; ++i)
        key(Qt::Key_Backspace);
    key(Qt::Key_End);
    key(Qt::Key_Delete);
    key(Qt::Key_Delete);
    key(Qt::Key_Home, Qt::ControlModifier);
    key(Qt::Key_Return);
    type("top");
    key(Qt::Key_Down);
    key(Qt::Key_Home);
    key(Qt::Key_Backspace);
    const std::string last = text();

    std::vector<std::string> undone{text()};
    while (editor.Undo())
        undone.push_back(text());
    EXPECT_EQ(text(), states.front());
    // Every state undo shows is one the keys made, in the order they made them.
    auto at = states.end();
    for (const std::string& shown : undone) {
        const auto found = std::find(states.begin(), at, shown);
        ASSERT_NE(found, at) << shown;
        at = found;
    }
    while (editor.Redo())
        ;
    EXPECT_EQ(text(), last);
    editor.Undo();
    editor.Undo();
    type("z");
    EXPECT_FALSE(editor.CanRedo());
    editor.Undo();
    EXPECT_EQ(text(), undone[2]);
}

// A change made by other means between two keys: the next key goes where the control's caret
// stands, not where the engine last left it.
TEST_F(HandOver, KeysAfterAChangeByOtherMeans)
{
    editor.GoTo(44); // the end
    type("s");
    editor.core().ReplaceAll("first", "1st", FindOptions{});
    QCoreApplication::processEvents();
    type("!");
    EXPECT_EQ(text(), "1st one\nsecond two\nthird three\nfourth fours!\n");
    editor.GoTo(0);
    editor.InsertText(std::string_view("A"));
    QCoreApplication::processEvents();
    type("B");
    EXPECT_EQ(text().substr(0, 4), "AB1s");
}

} // namespace
} // namespace quillory
