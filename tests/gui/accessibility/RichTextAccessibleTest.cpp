// The editor as assistive technology reads it through Qt's accessibility interfaces: text and
// offsets across scripts, paragraphs and pictures, lines, attributes, caret and selection both
// ways, editing, and how an edit is told.
#include "richtext/qt/AccessibleText.h"
#include "richtext/qt/RichText.h"

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillory {
namespace {

class RichTextAccessibility : public testing::Test {
protected:
    TWPRichText editor;

    void SetUp() override
    {
        editor.resize(400, 300);
        editor.show();
        QCoreApplication::processEvents();
    }
    QAccessibleInterface* face() { return QAccessible::queryAccessibleInterface(&editor); }
    QAccessibleTextInterface* text() { return face()->textInterface(); }
};

TEST_F(RichTextAccessibility, OffsetsCountUtf16UnitsAndParagraphEnds)
{
    // Each row: what is inserted (UTF-8, CR LF ends a paragraph), the text a reader gets, and
    // the offset of the caret at the end.
    struct Row {
        const char* name;
        std::string utf8;
        QString expected;
    } rows[] = {
        {"plain", "Hello", QStringLiteral("Hello")},
        {"paragraphs", "one\r\ntwo\r\n", QStringLiteral("one\ntwo\n")},
        {"accents and Cyrillic", "caf\xC3\xA9 \xD0\x96", QString::fromUtf8("caf\xC3\xA9 \xD0\x96")},
        {"emoji outside the BMP", "a\xF0\x9F\x98\x80z", QString::fromUtf8("a\xF0\x9F\x98\x80z")},
        {"tab", "a\tb", QStringLiteral("a\tb")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        editor.Clear();
        editor.InsertText(std::string_view(row.utf8));
        EXPECT_EQ(text()->text(0, -1), row.expected);
        EXPECT_EQ(text()->characterCount(), row.expected.size());
        EXPECT_EQ(text()->cursorPosition(), row.expected.size());
        EXPECT_EQ(face()->text(QAccessible::Value), row.expected);
        // Every offset maps to a position and back.
        const AccessibleTextMap map(editor.RtfText());
        for (int offset = 0; offset <= row.expected.size(); ++offset) {
            if (offset > 0 && row.expected[offset - 1].isHighSurrogate())
                continue; // inside a pair: no position of its own
            EXPECT_EQ(map.offsetOf(map.positionOf(offset)), offset) << offset;
        }
    }
}

TEST_F(RichTextAccessibility, PictureIsObjectReplacementCharacter)
{
    editor.InsertText(std::string_view("ab"));
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_NE(editor.InsertGraphic(picture), 0);
    editor.InsertText(std::string_view("c"));
    EXPECT_EQ(text()->text(0, -1), QStringLiteral("ab") + QChar(0xFFFC) + QStringLiteral("c"));
}

TEST_F(RichTextAccessibility, CaretAndSelectionBothWays)
{
    editor.InsertText(std::string_view("\xF0\x9F\x98\x80 smile\r\nnext"));
    editor.GoTo(4); // after the emoji's four bytes
    EXPECT_EQ(text()->cursorPosition(), 2);
    text()->setCursorPosition(3);
    EXPECT_EQ(editor.CaretPosition(), 5);

    text()->setSelection(0, 3, 8);
    ASSERT_EQ(text()->selectionCount(), 1);
    int start = -1;
    int end = -1;
    text()->selection(0, &start, &end);
    EXPECT_EQ(start, 3);
    EXPECT_EQ(end, 8);
    EXPECT_EQ(QString::fromStdString(editor.core().SelectedText()), QStringLiteral("smile"));
    text()->removeSelection(0);
    EXPECT_EQ(text()->selectionCount(), 0);
}

TEST_F(RichTextAccessibility, WordsLinesAndAttributes)
{
    editor.InsertText(std::string_view("first line\r\nsecond "));
    TAttr bold = editor.GetCurrentAttr();
    bold.style |= AttrStyle::Bold;
    editor.SetCurrentAttr(bold);
    editor.InsertText(std::string_view("BOLD"));
    int start = 0;
    int end = 0;
    EXPECT_EQ(text()->textAtOffset(2, QAccessible::WordBoundary, &start, &end).trimmed(), QStringLiteral("first"));
    EXPECT_EQ(text()->textAtOffset(13, QAccessible::LineBoundary, &start, &end), QStringLiteral("second BOLD"));
    EXPECT_EQ(start, 11);
    EXPECT_EQ(text()->textBeforeOffset(13, QAccessible::LineBoundary, &start, &end), QStringLiteral("first line\n"));
    EXPECT_EQ(text()->textAfterOffset(13, QAccessible::LineBoundary, &start, &end), QString());
    EXPECT_EQ(text()->textAtOffset(4, QAccessible::CharBoundary, &start, &end), QStringLiteral("t"));

    const QString plain = text()->attributes(12, &start, &end);
    EXPECT_TRUE(plain.contains(QStringLiteral("font-weight:400;"))) << plain.toStdString();
    EXPECT_EQ(start, 11);
    EXPECT_EQ(end, 18);
    const QString strong = text()->attributes(19, &start, &end);
    EXPECT_TRUE(strong.contains(QStringLiteral("font-weight:700;"))) << strong.toStdString();
    EXPECT_TRUE(strong.contains(QStringLiteral("font-size:"))) << strong.toStdString();
    EXPECT_EQ(start, 18);
    EXPECT_EQ(end, 22);
}

TEST_F(RichTextAccessibility, CharacterRectAndOffsetAtPointAgree)
{
    editor.InsertText(std::string_view("Hello world"));
    const QRect rect = text()->characterRect(6);
    ASSERT_TRUE(rect.isValid());
    EXPECT_GT(rect.left(), text()->characterRect(0).left());
    EXPECT_EQ(text()->offsetAtPoint(rect.center() - QPoint(rect.width() / 4, 0)), 6);
}

TEST_F(RichTextAccessibility, EditingThroughTheInterface)
{
    editor.InsertText(std::string_view("Hello world"));
    QAccessibleEditableTextInterface* edit = face()->editableTextInterface();
    ASSERT_NE(edit, nullptr);
    edit->insertText(5, QStringLiteral(","));
    edit->replaceText(7, 12, QString::fromUtf8("W\xC3\xB6rld"));
    edit->deleteText(0, 1);
    EXPECT_EQ(text()->text(0, -1), QString::fromUtf8("ello, W\xC3\xB6rld"));

    editor.SetReadOnly(true);
    edit->deleteText(0, 4);
    EXPECT_EQ(text()->text(0, -1), QString::fromUtf8("ello, W\xC3\xB6rld"));
    EXPECT_TRUE(face()->state().readOnly);
    EXPECT_FALSE(face()->state().editable);
}

// What an edit is told as: the one stretch that differs. (Live events need an accessibility
// bridge, which the offscreen platform has not: tests/e2e/screen_reader.sh hears them over AT-SPI.)
TEST(AccessibleTextChange, OneStretchThatDiffers)
{
    const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80");
    const QString laugh = QString::fromUtf8("\xF0\x9F\x98\x82");
    struct Row {
        const char* name;
        QString before;
        QString after;
        TextChange expected;
    } rows[] = {
        {"typed at the end", QStringLiteral("ab"), QStringLiteral("abc"), {2, {}, QStringLiteral("c")}},
        {"typed inside", QStringLiteral("ac"), QStringLiteral("abc"), {1, {}, QStringLiteral("b")}},
        {"backspace", QStringLiteral("abc"), QStringLiteral("ac"), {1, QStringLiteral("b"), {}}},
        {"doubled letter typed", QStringLiteral("al"), QStringLiteral("all"), {2, {}, QStringLiteral("l")}},
        {"replaced word", QStringLiteral("a cat b"), QStringLiteral("a dog b"), {2, QStringLiteral("cat"), QStringLiteral("dog")}},
        {"everything new", QStringLiteral("x"), QStringLiteral("y"), {0, QStringLiteral("x"), QStringLiteral("y")}},
        {"emptied", QStringLiteral("xyz"), QString(), {0, QStringLiteral("xyz"), {}}},
        {"emoji for emoji, same high half", QStringLiteral("a") + smile, QStringLiteral("a") + laugh, {1, smile, laugh}},
        {"emoji before emoji", smile, laugh + smile, {0, {}, laugh}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TextChange change = DiffTexts(row.before, row.after);
        EXPECT_EQ(change.position, row.expected.position);
        EXPECT_EQ(change.removed, row.expected.removed);
        EXPECT_EQ(change.inserted, row.expected.inserted);
    }
}

} // namespace
} // namespace quillory
