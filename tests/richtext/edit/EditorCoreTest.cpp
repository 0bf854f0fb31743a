// The editor's document operations without a window: insertion, deletion, selection requests,
// attributes, paragraphs, read-only refusal, appending and range copies.
#include "richtext/edit/EditorCore.h"
#include "richtext/edit/RangeEditing.h"
#include "richtext/model/DocumentDump.h"
#include "platform/Error.h"
#include "platform/Utf8.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

TAttr styled(std::uint8_t style, int font = 0, int size = 0)
{
    TAttr attr;
    attr.style = style;
    attr.font = std::uint8_t(font);
    attr.size = std::uint8_t(size);
    return attr;
}

TEST(EditorCore, InsertTextSplitsParagraphsAndFiresOnChange)
{
    EditorCore core;
    int changes = 0;
    core.OnChange = [&] { ++changes; };
    EXPECT_TRUE(core.IsEmpty());
    ASSERT_TRUE(core.InsertText("one\r\ntwo\rthree\nfour"));
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(core.IsEmpty());
    EXPECT_EQ(DumpText(core.document()), "one\ntwo\nthree\\nfour\n");
    EXPECT_EQ(core.CaretPosition(), core.document().characterCount());
    EXPECT_TRUE(core.modified);

    core.GoTo(3);
    core.InsertText("!");
    EXPECT_EQ(DumpText(core.document()), "one!\ntwo\nthree\\nfour\n");
}

// Positions from outside (a caret set by number, a found range) never fall inside a grapheme
// cluster: a caret goes to the cluster's start, a range's end to the cluster's end.
TEST(EditorCore, PositionsInsideAClusterGoToItsEdges)
{
    EditorCore core;
    const std::string text = "a\U0001F1F5\U0001F1F1e\u0301z"; // a, flag (8 bytes), e + mark (3 bytes), z
    ASSERT_TRUE(core.InsertText(text));
    EXPECT_EQ(core.document().firstParagraph()->text(), text);
    core.GoTo(5);
    EXPECT_EQ(core.CaretPosition(), 1);
    core.GoTo(10);
    EXPECT_EQ(core.CaretPosition(), 9);
    core.Select(3, 7); // from inside the flag to inside the e's cluster
    EXPECT_EQ(core.SelStartPosition(), 1);
    EXPECT_EQ(core.SelLength(), 11);
    EXPECT_EQ(core.SelectedText(), "\U0001F1F5\U0001F1F1e\u0301");
}

// Text from an older caller in cp1252 is read as such; nothing to insert changes nothing.
TEST(EditorCore, InsertTextTakesUtf8AndReadsOtherBytesAsCp1252)
{
    EditorCore core;
    int changes = 0;
    core.OnChange = [&] { ++changes; };
    ASSERT_TRUE(core.InsertText("\xe9t\xe9 "));
    ASSERT_TRUE(core.InsertText("\u0416\u0443\u043a"));
    EXPECT_EQ(core.document().firstParagraph()->text(), "\u00e9t\u00e9 \u0416\u0443\u043a");
    EXPECT_FALSE(core.InsertText(""));
    EXPECT_EQ(changes, 2);
}

// A paragraph longer than one segment takes is cut between clusters, never inside a character.
TEST(EditorCore, LongParagraphsAreCutIntoSegmentsBetweenCharacters)
{
    EditorCore core;
    std::string text = "a";
    for (int i = 0; i < 3000; ++i)
        text += "\u0416\u00e9"; // 4 bytes, so that a cut at every 4000th byte falls inside one
    ASSERT_TRUE(core.InsertText(text));
    const TParagraph& paragraph = *core.document().firstParagraph();
    ASSERT_GT(paragraph.lineCount(), 1);
    for (const TTextLine* line = paragraph.firstLine(); line; line = line->next())
        EXPECT_TRUE(IsWellFormedUtf8(line->view()));
    EXPECT_EQ(paragraph.text(), text);
}

TEST(EditorCore, InsertTextReplacesTheSelectionWithTheInsertionAttributes)
{
    EditorCore core;
    core.InsertText("hello world");
    core.Select(6, 5);
    core.SetCurrentAttr(styled(0)); // no visible change, only the insertion attributes
    TAttr bold = styled(AttrStyle::Bold);
    core.HideSelection();
    core.Select(6, 5);
    core.document().insertionAttr = bold;
    core.InsertText("diary");
    EXPECT_EQ(DumpDocument(core.document()), "- | \"hello diary\" | 6 f0, 5 f0 b\n");
}

TEST(EditorCore, ReadOnlyEditorRefusesEveryModification)
{
    EditorCore core;
    core.InsertText("keep\r\nthis");
    const std::string before = DumpDocument(core.document());
    int changes = 0;
    core.OnChange = [&] { ++changes; };
    core.modified = false;
    core.SetReadOnly(true);

    core.SelectAll();
    EXPECT_FALSE(core.CanModify());
    EXPECT_FALSE(core.InsertText("x"));
    core.DeleteSelection();
    EXPECT_FALSE(core.ReplaceSelection("y"));
    EXPECT_EQ(core.ReplaceAll("keep", "lose", {}), 0);
    core.SetParagraphSpacing(100, 100, 100);
    core.SetParagraphIndents(720, 720, 720);
    ParagraphDescriptor descriptor;
    descriptor.text = "new";
    core.InsertParagraph(descriptor);
    EXPECT_EQ(core.InsertGraphic(std::make_unique<TGraphic>(), 100, 100), 0);

    EXPECT_EQ(DumpDocument(core.document()), before);
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(core.modified);
}

TEST(EditorCore, SelStartThenSelLengthSetsTheBlock)
{
    EditorCore core;
    core.InsertText("0123456789");
    core.SelStart(5);
    core.SelLength(0);
    EXPECT_FALSE(core.HasSelection()) << "a length of 0 leaves no selection";
    EXPECT_EQ(core.CaretPosition(), 5);

    core.SelStart(2);
    core.SelLength(3);
    EXPECT_EQ(core.SelStartPosition(), 2);
    EXPECT_EQ(core.SelLength(), 3);
    EXPECT_EQ(core.SelectedText(), "234");

    core.SelStart(4);
    core.SelLength(-2);
    EXPECT_EQ(core.SelLength(), 0);
    core.SelectAll();
    EXPECT_EQ(core.SelLength(), 10);
    core.HideSelection();
    EXPECT_EQ(core.SelLength(), 0);
    EXPECT_EQ(DumpText(core.document()), "0123456789\n") << "HideSelection deletes nothing";
}

TEST(EditorCore, DeleteSelectionJoinsParagraphs)
{
    EditorCore core;
    core.InsertText("alpha\r\nbeta\r\ngamma");
    core.document().firstParagraph()->alignment = Alignment::Center;
    core.Select(3, 10); // "ha" + end + "beta" + end + "ga"
    core.DeleteSelection();
    EXPECT_EQ(DumpText(core.document()), "alpmma\n");
    EXPECT_EQ(core.document().firstParagraph()->alignment, Alignment::Center);
    EXPECT_EQ(core.CaretPosition(), 3);
}

TEST(EditorCore, ReplaceSelectionKeepsTheAttributesOfTheFirstCharacter)
{
    EditorCore core;
    core.document().insertionAttr = styled(AttrStyle::Italic, 0, 14);
    core.InsertText("I ");
    core.document().insertionAttr = styled(AttrStyle::Bold | AttrStyle::Underline, 0, 12);
    core.InsertText("realy");
    core.document().insertionAttr = styled(0);
    core.InsertText(" do");
    core.Select(2, 5);
    ASSERT_TRUE(core.ReplaceSelection("really"));
    EXPECT_EQ(DumpDocument(core.document()), "- | \"I really do\" | 2 f0 s14 i, 6 f0 s12 b u, 3 f0\n");
    EXPECT_EQ(core.SelStartPosition(), 2);
    EXPECT_EQ(core.SelLength(), 6) << "the new word is selected";
}

TEST(EditorCore, ReplaceAllReplacesEveryMatchOnce)
{
    EditorCore core;
    core.InsertText("a cat, a Cat\r\ncatalog");
    int changes = 0;
    core.OnChange = [&] { ++changes; };
    FindOptions whole;
    whole.wholeWord = true;
    EXPECT_EQ(core.ReplaceAll("cat", "cats", whole), 2);
    EXPECT_EQ(DumpText(core.document()), "a cats, a cats\ncatalog\n");
    EXPECT_EQ(changes, 1);
}

TEST(EditorCore, SetCurrentAttrStylesTheSelectionButKeepsObjects)
{
    EditorCore core;
    core.InsertText("ab");
    const int tag = core.InsertGraphic(std::make_unique<TGraphic>(), 1440, 720);
    ASSERT_GT(tag, 0);
    core.SelectAll();
    int changes = 0;
    core.OnChange = [&] { ++changes; };
    core.SetCurrentAttr(styled(AttrStyle::Bold, 0, 20));
    EXPECT_EQ(changes, 1);
    const TTextLine* line = core.document().firstParagraph()->firstLine();
    EXPECT_EQ(line->attrs()[0].style, AttrStyle::Bold);
    EXPECT_TRUE(line->attrs()[2].hasFlag(AttrFlag::Object));
    EXPECT_EQ(line->attrs()[2].tag, tag);
    EXPECT_EQ(line->attrs()[2].size, 20);
    EXPECT_EQ(core.document().findObject(tag)->width, 1440);
}

TEST(EditorCore, GoToTakesTheInsertionAttributesFromTheTextBeforeTheCaret)
{
    EditorCore core;
    core.document().insertionAttr = styled(AttrStyle::Bold);
    core.InsertText("bold");
    core.document().insertionAttr = styled(0);
    core.InsertText("plain");
    core.GoTo(4);
    EXPECT_EQ(core.GetCurrentAttr().style, AttrStyle::Bold);
    core.GoTo(0);
    EXPECT_EQ(core.GetCurrentAttr().style, AttrStyle::Bold);
    core.GoTo(7);
    EXPECT_EQ(core.GetCurrentAttr().style, 0);
}

TEST(EditorCore, InsertParagraphFillsTheEmptyDocumentThenFollowsTheCaret)
{
    EditorCore core;
    ParagraphDescriptor heading;
    heading.alignment = Alignment::Center;
    heading.text = "Monday";
    heading.pageBreakBefore = true; // no predecessor: no page break
    heading.attr = styled(AttrStyle::Bold);
    core.InsertParagraph(heading);
    EXPECT_EQ(core.document().paragraphCount(), 1);

    core.InsertText(" text");
    ParagraphDescriptor next;
    next.leftIndent = 720;
    next.text = "Tuesday";
    next.pageBreakBefore = true;
    core.InsertParagraph(next);
    EXPECT_EQ(DumpDocument(core.document()),
              "qc | \"Monday text\" | 11 f0 b\n"
              "li720 page | \"Tuesday\" | 7 f0\n");
    EXPECT_EQ(core.CaretPosition(), core.document().characterCount());
}

TEST(EditorCore, ParagraphSpacingAndIndentsLeaveKeptFieldsAlone)
{
    EditorCore core;
    core.InsertText("one\r\ntwo\r\nthree");
    core.Select(1, 5); // first and second paragraph
    core.SetParagraphSpacing(120, KeepValue, 360);
    core.SetParagraphIndents(KeepValue, 720, 65000);
    const TParagraph* first = core.document().firstParagraph();
    EXPECT_EQ(first->spaceBefore, 120);
    EXPECT_EQ(first->spaceAfter, 0);
    EXPECT_EQ(first->lineSpacing, 360);
    EXPECT_EQ(first->leftIndent, 720);
    EXPECT_EQ(first->rightIndent, 0);
    EXPECT_EQ(first->next()->leftIndent, 720);
    EXPECT_EQ(first->next()->next()->leftIndent, 0) << "the third paragraph is not selected";
}

TEST(EditorCore, ParagraphSpacingInATableCellSetsTheWholeRow)
{
    EditorCore core;
    core.InsertText("a\r\nb\r\nc\r\nafter");
    TParagraph* a = core.document().firstParagraph();
    a->flags = ParFlag::TableCell | ParFlag::MoreCellsFollow;
    a->next()->flags = ParFlag::TableCell | ParFlag::CellNotFirst | ParFlag::MoreCellsFollow;
    a->next()->next()->flags = ParFlag::TableCell | ParFlag::CellNotFirst;
    core.GoTo(2); // in the second cell
    core.SetParagraphSpacing(KeepValue, 240, KeepValue);
    EXPECT_EQ(a->spaceAfter, 240);
    EXPECT_EQ(a->next()->spaceAfter, 240);
    EXPECT_EQ(a->next()->next()->spaceAfter, 240);
    EXPECT_EQ(a->next()->next()->next()->spaceAfter, 0);
}

TEST(EditorCore, ClearResetsTheHeaderAndTakesTheControlFont)
{
    EditorCore core;
    core.FontIndex("Courier New");
    core.document().header().colors[1] = {1, 2, 3, 0};
    core.InsertText("text");
    ClearDefaults defaults;
    defaults.fontName = "Times New Roman";
    defaults.pointSize = 12;
    defaults.style = AttrStyle::Italic;
    defaults.textColor = {0, 0, 255, 0};     // blue: index 3
    defaults.backColor = {255, 255, 255, 0}; // white: index 12
    core.Clear(defaults);
    EXPECT_TRUE(core.IsEmpty());
    EXPECT_EQ(core.document().header().fontCount(), 1);
    EXPECT_EQ(core.document().header().font(0)->name, "Times New Roman");
    EXPECT_EQ(core.document().header().colors, TTextHeader::defaultColors());
    const TAttr attr = core.GetCurrentAttr();
    EXPECT_EQ(attr.size, 12);
    EXPECT_EQ(attr.style, AttrStyle::Italic);
    EXPECT_EQ(attr.textColor(), 3);
    EXPECT_EQ(attr.backColor(), 12);

    defaults.textColor = {1, 2, 3, 0}; // not in the table: the text colour stays 0
    defaults.fontName.clear();
    core.Clear(defaults);
    EXPECT_EQ(core.GetCurrentAttr().textColor(), 0);
    EXPECT_EQ(core.document().header().font(0)->name, "Arial");
}

TEST(EditorCore, FontIndexAndColorLookups)
{
    EditorCore core;
    EXPECT_EQ(core.FontIndex("arial"), 0);
    const int added = core.FontIndex(std::string(40, 'F'));
    EXPECT_EQ(core.document().header().font(added)->name, std::string(31, 'F'));
    EXPECT_EQ(core.GetColor(3), (RGBColor{0, 0, 255, 0}));
    EXPECT_EQ(core.GetColor(128 + 3), core.GetColor(3)) << "the index is taken modulo 128";
}

TEST(EditorCore, FastAppendTextAppendsParagraphsAndRefusesItself)
{
    EditorCore target, source;
    source.FontIndex("Courier New");
    source.document().insertionAttr = styled(AttrStyle::Bold, 1);
    source.InsertText("entry one\r\nline two");
    EXPECT_THROW(target.FastAppendText(target), Error);
    try {
        target.FastAppendText(target);
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Cannot perform FastAppendText(self)");
    }
    target.FastAppendText(source);
    target.FastAppendText(source);
    EXPECT_EQ(DumpText(target.document()), "entry one\nline two\nentry one\nline two\n");
    const TAttr first = target.document().firstParagraph()->firstLine()->attrs()[0];
    EXPECT_EQ(target.document().header().font(first.font)->name, "Courier New") << "fonts are mapped";
    EXPECT_EQ(first.style, AttrStyle::Bold);
}

TEST(RangeEditing, CopyRangeTakesPropertiesAndObjects)
{
    EditorCore core;
    core.InsertText("before ");
    const int tag = core.InsertGraphic(std::make_unique<TGraphic>(TGraphic{GraphicKind::Dib, "BM..", 2, 2}), 30, 30);
    core.InsertText(" after\r\nsecond line");
    core.document().firstParagraph()->next()->alignment = Alignment::Right;
    const auto copy = CopyRange(core.document(), 7, 11); // from the placeholder to "sec"
    EXPECT_EQ(DumpText(*copy), "\\x01 after\nsec\n");
    ASSERT_NE(copy->findObject(tag), nullptr);
    EXPECT_EQ(copy->findObject(tag)->graphic->bytes, "BM..");
    EXPECT_EQ(copy->firstParagraph()->next()->alignment, Alignment::Right);

    // And back in: the object is copied under a new tag.
    core.GoTo(0);
    core.InsertDocument(*copy);
    EXPECT_EQ(DumpText(core.document()), "\\x01 after\nsecbefore \\x01 after\nsecond line\n");
    EXPECT_EQ(core.document().objects().size(), 2u);
}

} // namespace
} // namespace quillory
