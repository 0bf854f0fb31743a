// Typing into the real editor control with key, input-method and mouse events.
#include "richtext/model/DocumentDump.h"
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

class Typing : public testing::Test {
protected:
    TWPRichText editor;
    int changes = 0;

    void SetUp() override
    {
        editor.resize(400, 300);
        editor.show();
        editor.OnChange = [this](TWPRichText&) { ++changes; };
    }

    std::string text() const { return DumpText(editor.RtfText()); }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyClick(&editor, k, modifiers); }
    void type(const char* text) { QTest::keyClicks(&editor, text); }
    void sendText(const QString& typed)
    {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, typed);
        QApplication::sendEvent(&editor, &press);
    }
    void moveTo(const QPoint& at, Qt::MouseButtons buttons = Qt::NoButton)
    {
        QMouseEvent event(QEvent::MouseMove, at, editor.viewport()->mapToGlobal(at), Qt::NoButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(editor.viewport(), &event);
    }
    // The viewport point where the caret stands before an absolute position, or a pixel
    // further into the character there.
    QPoint pointAt(long position, int into = 0)
    {
        const CaretBox box = editor.engine().caretAt(editor.RtfText().positionAt(position));
        return {box.x + into - editor.horizontalScrollBar()->value(),
                box.y + box.height / 2 - editor.verticalScrollBar()->value()};
    }
};

TEST_F(Typing, TextEnterBackspaceAndDelete)
{
    type("hello");
    EXPECT_EQ(text(), "hello\n");
    EXPECT_EQ(changes, 5);
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    key(Qt::Key_Return);
    EXPECT_EQ(text(), "hel\nlo\n");
    key(Qt::Key_Backspace);
    EXPECT_EQ(text(), "hello\n");
    key(Qt::Key_Delete);
    EXPECT_EQ(text(), "helo\n");
    EXPECT_EQ(editor.CaretPosition(), 3);
    key(Qt::Key_Home, Qt::ControlModifier);
    key(Qt::Key_Backspace); // at the very start: nothing
    EXPECT_EQ(text(), "helo\n");
}

TEST_F(Typing, ArrowsHomeEndAndWordMoves)
{
    type("one two three");
    key(Qt::Key_Home);
    EXPECT_EQ(editor.CaretPosition(), 0);
    key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(editor.CaretPosition(), 3);
    key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(editor.CaretPosition(), 7);
    key(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(editor.CaretPosition(), 4);
    key(Qt::Key_End);
    EXPECT_EQ(editor.CaretPosition(), 13);
    key(Qt::Key_Return);
    type("x");
    key(Qt::Key_Up);
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(editor.CaretPosition(), 0);
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(editor.CaretPosition(), 15);
}

TEST_F(Typing, ShiftArrowsSelectAndTypingReplaces)
{
    type("one two three");
    key(Qt::Key_Home);
    key(Qt::Key_Right, Qt::ControlModifier);
    key(Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(editor.SelLength(), 4);
    key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(editor.SelLength(), 3);
    type("X");
    EXPECT_EQ(text(), "oneXo three\n");

    key(Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(editor.SelLength(), 7);
    key(Qt::Key_Escape); // only the highlight goes
    EXPECT_EQ(editor.SelLength(), 0);
    EXPECT_EQ(text(), "oneXo three\n");
}

TEST_F(Typing, CopyAndPasteRoundTrip)
{
    type("one two");
    key(Qt::Key_Left, Qt::ShiftModifier | Qt::ControlModifier);
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "two");
    key(Qt::Key_Home);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text(), "twoone two\n");
    key(Qt::Key_Left, Qt::ShiftModifier);
    key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(text(), "twone two\n");
    key(Qt::Key_End);
    key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(text(), "twone twoo\n");
}

// Characters outside cp1252 were refused with a beep; every one is kept now, as UTF-8.
TEST_F(Typing, CharactersOfEveryScriptAreKeptAsKeysAndCommitStrings)
{
    type("ab");
    const int before = changes;
    for (const QString& kept : {QStringLiteral("\u0142"), QStringLiteral("\u4e2d"), QStringLiteral("a\u0142")}) {
        sendText(kept);
        QInputMethodEvent composed;
        composed.setCommitString(kept);
        QApplication::sendEvent(&editor, &composed);
    }
    EXPECT_EQ(editor.RtfText().firstParagraph()->text(), "ab\u0142\u0142\u4e2d\u4e2da\u0142a\u0142");
    EXPECT_EQ(editor.beeps(), 0);
    EXPECT_GT(changes, before);

    sendText(QStringLiteral("\u00e9\u20ac"));
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("\u00fc"));
    QApplication::sendEvent(&editor, &composed);
    EXPECT_EQ(editor.RtfText().firstParagraph()->text().substr(18), "\u00e9\u20ac\u00fc");
}

TEST_F(Typing, ControlLettersInsertNothing)
{
    type("ab");
    key(Qt::Key_A, Qt::ControlModifier);
    key(Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(text(), "ab\n");
}

TEST_F(Typing, TabCtrlEnterAndInsertMode)
{
    int ctrlTabs = 0;
    InputOf(editor)->CtrlTabPressed = [&](TWPRichText&) { ++ctrlTabs; };
    type("ab");
    key(Qt::Key_Tab);
    key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(ctrlTabs, 1);
    EXPECT_EQ(text(), "ab\\t\n");

    key(Qt::Key_Left);
    key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(text(), "ab\n\\t\n");
    EXPECT_TRUE(editor.RtfText().paragraphAt(1)->hasFlag(ParFlag::PageBreakBefore));
    key(Qt::Key_Return, Qt::ControlModifier); // at the start: toggles off
    EXPECT_FALSE(editor.RtfText().paragraphAt(1)->hasFlag(ParFlag::PageBreakBefore));

    key(Qt::Key_Home, Qt::ControlModifier);
    key(Qt::Key_Insert);
    EXPECT_FALSE(editor.Inserting);
    type("XYZW");
    EXPECT_EQ(text(), "XYZW\n\\t\n"); // "ab" overwritten, then appended at the line's end
}

TEST_F(Typing, ReadOnlyTakesNoTyping)
{
    type("ab");
    editor.SetReadOnly(true);
    type("cd");
    key(Qt::Key_Backspace);
    key(Qt::Key_Return);
    EXPECT_EQ(text(), "ab\n");
}

TEST_F(Typing, MouseClickPlacesTheCaretAndDragSelects)
{
    type("hello world");
    QTest::mouseClick(editor.viewport(), Qt::LeftButton, Qt::NoModifier, pointAt(6));
    EXPECT_EQ(editor.CaretPosition(), 6);
    EXPECT_EQ(editor.SelLength(), 0);

    QTest::mousePress(editor.viewport(), Qt::LeftButton, Qt::NoModifier, pointAt(0));
    moveTo(pointAt(5), Qt::LeftButton);
    EXPECT_EQ(editor.SelLength(), 5);
    QTest::mouseRelease(editor.viewport(), Qt::LeftButton, Qt::NoModifier, pointAt(5));
    EXPECT_EQ(editor.SelLength(), 5);
    EXPECT_EQ(editor.core().SelectedText(), "hello");

    key(Qt::Key_Delete);
    EXPECT_EQ(text(), " world\n");
}

// The end of a wrapped line and the start of the next are one position; End stays on its line.
TEST_F(Typing, EndOfAWrappedLineIsDrawnOnThatLine)
{
    editor.resize(120, 300);
    type("aaaa bbbb cccc dddd eeee ffff gggg");
    ASSERT_GE(editor.RtfText().firstParagraph()->lineCount(), 2);
    key(Qt::Key_Home, Qt::ControlModifier);
    key(Qt::Key_End);
    const TTextLine* first = editor.RtfText().firstParagraph()->firstLine();
    EXPECT_EQ(editor.caretPlace(), (TextPosition{0, 0, first->length()}));
    EXPECT_EQ(editor.CaretPosition(), first->length());
    key(Qt::Key_Right);
    EXPECT_EQ(editor.caretPlace(), (TextPosition{0, 1, 1}));
}

TEST_F(Typing, DoubleClickOnAHyperlinkTellsItsText)
{
    TAttr link = editor.GetCurrentAttr();
    type("see ");
    link.style = AttrStyle::Hyperlink;
    editor.RtfText().insertionAttr = link;
    editor.InsertText(std::string_view("home"));
    std::string clicked;
    InputOf(editor)->HyperLinkEvent = [&](TWPRichText&, const std::string& text, int, int) { clicked = text; };

    QTest::mouseClick(editor.viewport(), Qt::LeftButton, Qt::NoModifier, pointAt(5, 1));
    EXPECT_TRUE(clicked.empty());
    QTest::mouseDClick(editor.viewport(), Qt::LeftButton, Qt::NoModifier, pointAt(5, 1));
    EXPECT_EQ(clicked, "home");
}

TEST_F(Typing, PageKeysMoveAWindowHeightAndCtrlOnlyScrolls)
{
    for (int i = 0; i < 60; ++i) {
        type("line");
        key(Qt::Key_Return);
    }
    key(Qt::Key_Home, Qt::ControlModifier);
    QScrollBar* bar = editor.verticalScrollBar();
    ASSERT_EQ(bar->value(), 0);
    const int top = editor.engine().caretAt(editor.caretPlace()).y;
    key(Qt::Key_PageDown);
    const int moved = editor.engine().caretAt(editor.caretPlace()).y - top;
    EXPECT_NEAR(moved, editor.viewport()->height(), 30);
    EXPECT_EQ(bar->value(), moved); // the caret keeps its place on the screen

    const long caret = editor.CaretPosition();
    key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(editor.CaretPosition(), caret);
    EXPECT_EQ(bar->value(), std::min(bar->maximum(), moved + editor.viewport()->height()));
    EXPECT_GT(bar->value(), moved);

    key(Qt::Key_PageUp, Qt::ShiftModifier);
    EXPECT_GT(editor.SelLength(), 0);
}

TEST_F(Typing, ADroppedSelectionMovesToTheDropPoint)
{
    EditingInput& input = *InputOf(editor);
    input.SetDragAndDropSupport(true);
    type("one two three");
    editor.SelStart(0);
    editor.SelLength(4);
    moveTo(pointAt(1, 1));
    EXPECT_EQ(editor.viewport()->cursor().shape(), Qt::ArrowCursor); // over a draggable selection
    EXPECT_FALSE(input.moveSelectionTo(2)); // onto itself
    EXPECT_TRUE(input.moveSelectionTo(13));
    EXPECT_EQ(text(), "two threeone \n");
    EXPECT_GT(changes, 0);

    // A press inside the selection that never becomes a drag is a plain click.
    editor.SelStart(0);
    editor.SelLength(3);
    QTest::mouseClick(editor.viewport(), Qt::LeftButton, Qt::NoModifier, pointAt(1));
    EXPECT_EQ(editor.SelLength(), 0);
    EXPECT_EQ(editor.CaretPosition(), 1);
}

TEST_F(Typing, ASelectedPictureIsResizedByItsCorner)
{
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const int tag = editor.InsertGraphic(picture);
    ASSERT_NE(tag, 0);
    TTextObject* object = editor.RtfText().findObject(tag);
    const int widthTwips = object->width;
    const QPoint corner = pointAt(0) + QPoint(40, 0);
    const int bottom = editor.engine().caretAt({0, 0, 0}).y + 30 - editor.verticalScrollBar()->value();
    const QPoint handle(corner.x() - 3, bottom - 3);

    moveTo(handle);
    EXPECT_EQ(editor.viewport()->cursor().shape(), Qt::IBeamCursor); // not selected yet
    editor.SelStart(0);
    editor.SelLength(1);
    moveTo(handle);
    EXPECT_EQ(editor.viewport()->cursor().shape(), Qt::SizeFDiagCursor);

    QTest::mousePress(editor.viewport(), Qt::LeftButton, Qt::NoModifier, handle);
    moveTo(handle + QPoint(37, 27), Qt::LeftButton);
    QTest::mouseRelease(editor.viewport(), Qt::LeftButton, Qt::NoModifier, handle + QPoint(37, 27));
    EXPECT_EQ(object->width, widthTwips * 74 / 40); // the corner follows the pointer
    EXPECT_GT(changes, 0);

    editor.SetReadOnly(true); // a read-only editor offers no handle
    moveTo(handle + QPoint(37, 27));
    EXPECT_NE(editor.viewport()->cursor().shape(), Qt::SizeFDiagCursor);
}

TEST_F(Typing, HyperlinkTextShowsTheLinkCursor)
{
    InputOf(editor)->HyperLinkCursor = QCursor(Qt::PointingHandCursor);
    type("see ");
    TAttr link = editor.GetCurrentAttr();
    link.style = AttrStyle::Hyperlink;
    editor.RtfText().insertionAttr = link;
    editor.InsertText(std::string_view("home"));
    moveTo(pointAt(5, 1));
    EXPECT_EQ(editor.viewport()->cursor().shape(), Qt::PointingHandCursor);
    moveTo(pointAt(1, 1));
    EXPECT_EQ(editor.viewport()->cursor().shape(), Qt::IBeamCursor);
}

} // namespace
} // namespace quillory
