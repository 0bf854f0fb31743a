// Placing only what an edit changed gives the layout that placing everything gives: after keys
// typed through the typing engine, the settled lines, pages and boxes equal those of a fresh
// engine laying the same document out whole.
#include "LayoutFixture.h"

#include "richtext/input/TextInput.h"

#include <gtest/gtest.h>

#include <sstream>

namespace quillory {
namespace {

// Everything a laid line and a box hold, and the document's extent, as text to compare.
std::string placement(const TWPRTFTextPaint& engine)
{
    std::ostringstream out;
    out << "height " << engine.documentHeight() << " pages " << engine.pageCount() << "\n";
    for (const LaidLine& l : engine.lines())
        out << l.paragraphIndex << "." << l.segment << " [" << l.line->view() << "] top " << l.line->top << " band "
            << l.bandTop << "-" << l.bandBottom << " page " << l.page << " starts " << ((l.line->flags & 0x02) != 0)
            << " x " << l.left << "/" << l.textX << "/" << l.available << " last " << l.lastOfParagraph << "\n";
    for (const LaidBox& b : engine.boxes())
        out << "box " << b.rect.left << "," << b.rect.top << " " << b.rect.width << "x" << b.rect.height << " cell "
            << b.cell << "\n";
    return out.str();
}

std::string placedWhole(TWPRTFText& doc, Canvas& canvas)
{
    TWPRTFTextPaint fresh(doc);
    fresh.setCanvas(&canvas);
    fresh.reformatAll();
    return placement(fresh);
}

// Twelve paragraphs on 5-line pages: long ones that wrap, one kept with the next, one with a
// page break before it, a framed pair and a table row.
struct EditedDocument : LaidDocument {
    TWPRTFTextInput input{doc, &engine};

    EditedDocument()
    {
        add("one two three four five six seven eight nine ten");
        add("short");
        add("kept with the next one over two lines").flags |= ParFlag::KeepWithNext;
        add("the next one");
        add("framed paragraph").border.flags = BorderFlag::Present | BorderFlag::Box;
        add("framed too").border.flags = BorderFlag::Present | BorderFlag::Box;
        TParagraph& left = add("left cell");
        left.flags = ParFlag::TableCell | ParFlag::MoreCellsFollow;
        left.cellWidth = 127;
        TParagraph& right = add("right cell with more words in it");
        right.flags = ParFlag::TableCell | ParFlag::CellNotFirst;
        right.cellLeft = 128;
        right.cellWidth = 127;
        add("after the table");
        add("a page break before").flags |= ParFlag::PageBreakBefore;
        add("eleven eleven eleven eleven eleven");
        add("twelve");
        layout();
    }

    // Types at the start, the middle or the end of a paragraph.
    void typeAt(int paragraph, int where, std::string_view keys)
    {
        const TParagraph* p = doc.paragraphAt(paragraph);
        const int offset = where < 0 ? 0 : where > 0 ? p->length() : p->length() / 2;
        input.SetCaretOffset(doc.absolutePosition({paragraph, 0, 0}) + offset);
        input.InsertString(keys);
    }
};

TEST(IncrementalPlacement, EnterAndBackspaceGiveTheWholeLayout)
{
    struct Edit {
        int paragraph, where;
        const char* keys;
    };
    // Groups of edits, the layout compared after each group: the lines below an edit are still
    // to be moved when the next edit comes.
    const std::vector<std::vector<Edit>> groups = {
        {{0, 0, "\r"}},
        {{1, -1, "\b"}},
        {{1, -1, "\r"}, {3, 0, "\r"}, {11, 1, "\r"}},
        {{12, -1, "\b"}, {4, -1, "\b"}, {1, -1, "\b"}},
        {{2, 0, "\r\r"}, {3, -1, "\b"}},
        {{3, -1, "\b"}},
        {{0, 1, " and some more words to wrap"}, {10, 0, "\r"}},
        {{9, -1, "\b"}, {10, -1, "\b"}},
        {{5, 0, "\r"}, {7, 0, "\r"}},
        {{8, 1, "\r"}, {9, -1, "\b"}},
        {{11, 0, "\r"}, {12, 0, "\r"}, {13, -1, "\b"}},
    };
    EditedDocument d;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        for (const Edit& e : groups[g])
            d.typeAt(e.paragraph, e.where, e.keys);
        const std::string incremental = placement(d.engine);
        EXPECT_EQ(incremental, placedWhole(d.doc, d.canvas)) << "after group " << g;
    }
}

TEST(IncrementalPlacement, AParagraphKeptWithTheEditedOneGoesToItsNewPage)
{
    LaidDocument d;
    TWPRTFTextInput input{d.doc, &d.engine};
    d.add("a");
    d.add("b");
    d.add("c");
    d.add("kept").flags |= ParFlag::KeepWithNext;
    d.add("next"); // the page's last line
    d.layout();
    ASSERT_EQ(d.engine.pageCount(), 1);
    // A tall character makes the last paragraph's line pass the page's end.
    input.SetCaretOffset(d.doc.absolutePosition({4, 0, 0}));
    d.doc.insertionAttr.size = 20;
    input.InsertString("X");
    const std::string incremental = placement(d.engine);
    EXPECT_EQ(incremental, placedWhole(d.doc, d.canvas));
    EXPECT_EQ(d.engine.lines()[3].page, 1);
}

TEST(IncrementalPlacement, ATableRowAfterTheEditIsMeasuredAgain)
{
    LaidDocument d;
    TWPRTFTextInput input{d.doc, &d.engine};
    d.add("before");
    TParagraph& empty = d.add(""); // an empty cell stands as tall as the text before the row
    empty.flags = ParFlag::TableCell | ParFlag::MoreCellsFollow;
    empty.cellWidth = 127;
    TParagraph& right = d.add("right");
    right.flags = ParFlag::TableCell | ParFlag::CellNotFirst;
    right.cellLeft = 128;
    right.cellWidth = 127;
    d.layout();
    input.SetCaretOffset(6);
    d.doc.insertionAttr.size = 20;
    input.InsertString("X");
    const std::string incremental = placement(d.engine);
    EXPECT_EQ(incremental, placedWhole(d.doc, d.canvas));
}

TEST(IncrementalPlacement, LinesLookedAtBeforeTheRestAreAlreadyExact)
{
    EditedDocument d;
    d.typeAt(0, 0, "\r");
    d.typeAt(2, -1, "\b");
    d.typeAt(0, 0, "\r");
    // The last line, looked at alone, and the caret and hit test near the end.
    const int last = d.engine.lineCount() - 1;
    const LaidLine alone = d.engine.lineAt(last);
    const CaretBox caret = d.engine.caretAt({alone.paragraphIndex, alone.segment, 0});
    const TextPosition hit = d.engine.positionAt(0, alone.bandTop + 1);
    TWPRTFTextPaint fresh(d.doc);
    fresh.setCanvas(&d.canvas);
    fresh.reformatAll();
    const LaidLine& whole = fresh.lines()[std::size_t(last)];
    EXPECT_EQ(alone.paragraphIndex, whole.paragraphIndex);
    EXPECT_EQ(alone.bandTop, whole.bandTop);
    EXPECT_EQ(alone.page, whole.page);
    EXPECT_EQ(caret.y, fresh.caretAt({whole.paragraphIndex, whole.segment, 0}).y);
    EXPECT_EQ(hit, fresh.positionAt(0, whole.bandTop + 1));
}

} // namespace
} // namespace quillory
