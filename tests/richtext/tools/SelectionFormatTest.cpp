// Formatting a range: only the range's characters change, across paragraph ends and empty
// paragraphs, and only the attribute that was asked for.
#include "richtext/edit/RangeEditing.h"
#include "richtext/tools/SelectionFormat.h"

#include <gtest/gtest.h>

using namespace quillory;

namespace {

const AttrChange kBold = [](TAttr& a) { a.style |= AttrStyle::Bold; };

// "ab" | "" | "cd": positions a0 b1, end 2, the empty paragraph at 3, c4 d5.
std::unique_ptr<EditorCore> threeParagraphs()
{
    auto editor = std::make_unique<EditorCore>();
    editor->InsertText("ab\r\rcd");
    return editor;
}

TEST(SelectionFormat, RangeChangesExactlyItsCharactersAcrossParagraphs)
{
    struct Case {
        long start, length;
        std::vector<long> bold; // positions of characters
        bool emptyParagraph;
    };
    const Case cases[] = {
        {1, 1, {1}, false},
        {1, 3, {1}, true},       // b, the end of "ab", the empty paragraph
        {1, 4, {1, 4}, true},
        {4, 2, {4, 5}, false},
        {0, 6, {0, 1, 4, 5}, true},
    };
    for (const Case& c : cases) {
        auto editor = threeParagraphs();
        TWPRTFText& document = editor->document();
        ChangeAttributesOfRange(document, c.start, c.length, kBold);
        for (long position : {0L, 1L, 4L, 5L}) {
            const bool expected = std::find(c.bold.begin(), c.bold.end(), position) != c.bold.end();
            EXPECT_EQ(AttributesAt(document, position).hasStyle(AttrStyle::Bold), expected)
                << "range " << c.start << '+' << c.length << " at " << position;
        }
        const TParagraph* empty = document.firstParagraph()->next();
        EXPECT_EQ(empty->firstLine()->attrs()[0].hasStyle(AttrStyle::Bold), c.emptyParagraph)
            << "range " << c.start << '+' << c.length;
    }
}

TEST(SelectionFormat, CharacterChangeKeepsOtherAttributesAndRefusesReadOnly)
{
    auto editor = threeParagraphs();
    TAttr big = editor->GetCurrentAttr();
    big.size = 30;
    editor->Select(4, 1);
    editor->SetCurrentAttr(big); // "c" large
    editor->Select(0, 6);
    editor->modified = false;

    ASSERT_TRUE(ChangeCharacterAttributes(*editor, kBold));
    EXPECT_EQ(AttributesAt(editor->document(), 4).size, 30);
    EXPECT_NE(AttributesAt(editor->document(), 5).size, 30);
    EXPECT_TRUE(editor->modified);

    editor->SetReadOnly(true);
    const AttrChange italic = [](TAttr& a) { a.style |= AttrStyle::Italic; };
    EXPECT_FALSE(ChangeCharacterAttributes(*editor, italic));
    EXPECT_FALSE(SetAlignment(*editor, Alignment::Center));
    EXPECT_FALSE(AddTabStop(*editor, 1440, TTabKind::tkLeft));
    EXPECT_FALSE(AttributesAt(editor->document(), 0).hasStyle(AttrStyle::Italic));
    EXPECT_FALSE(editor->GetCurrentAttr().hasStyle(AttrStyle::Italic));
    EXPECT_EQ(editor->document().firstParagraph()->alignment, Alignment::Left);
    EXPECT_EQ(editor->document().firstParagraph()->tabMask, 0u);
}

TEST(SelectionFormat, TabStopsGoToTheCommandParagraphsOnly)
{
    auto editor = threeParagraphs();
    editor->GoTo(5);
    ASSERT_TRUE(AddTabStop(*editor, 2880, TTabKind::tkRight));
    ASSERT_TRUE(AddTabStop(*editor, 1440, TTabKind::tkLeft));
    const TWPRTFText& document = editor->document();
    const TParagraph* last = document.lastParagraph();
    const std::vector<int> stops = TabStopsOf(document, *last);
    ASSERT_EQ(stops.size(), 2u);
    EXPECT_EQ(document.header().tab(stops[0]).position, 1440);
    EXPECT_EQ(document.header().tab(stops[1]).kind, TTabKind::tkRight);
    EXPECT_TRUE(TabStopsOf(document, *document.firstParagraph()).empty());

    ASSERT_TRUE(RemoveTabStop(*editor, stops[0]));
    EXPECT_EQ(TabStopsOf(document, *last), std::vector<int>{stops[1]});
    ASSERT_TRUE(ClearTabStops(*editor));
    EXPECT_EQ(last->tabMask, 0u);
}

} // namespace
