// Undo and redo of the editor's changes without a window: whole-document states put back in
// place, one step per user action, typing grouped by word.
#include "richtext/edit/DocumentCopy.h"
#include "richtext/edit/EditorCore.h"
#include "richtext/edit/RangeEditing.h"
#include "richtext/model/DocumentDump.h"
#include "platform/Utf8.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

// One user action: everything `change` does is one step, as the control's event loop makes it.
template <typename Change>
void Act(EditorCore& core, Change change)
{
    change();
    core.EndEditStep();
}

// Typing key by key, each key an action of its own.
void Type(EditorCore& core, std::string_view text)
{
    for (const char c : text)
        Act(core, [&] {
            const std::string typed(1, c);
            if (core.CanModifyTyping(typed))
                core.InsertText(typed);
        });
}

std::string Dump(const EditorCore& core)
{
    return DumpDocument(core.document(), DumpSegments::Joined) + DumpSideLists(core.document());
}

TEST(DocumentCopy, CopyKeepsParagraphsAttributesObjectsAndFootnotes)
{
    EditorCore core;
    core.InsertText("first line\r\nsecond\r\ncell a\r\ncell b");
    TParagraph* first = core.document().firstParagraph();
    first->leftIndent = 720;
    first->alignment = Alignment::Center;
    TParagraph* cell = first->next()->next();
    cell->flags = ParFlag::TableCell | ParFlag::MoreCellsFollow;
    cell->next()->flags = ParFlag::TableCell | ParFlag::CellNotFirst;
    ApplyAttributes(core.document(), 0, 5, TAttr{.style = AttrStyle::Bold});
    core.GoTo(13);
    auto graphic = std::make_unique<TGraphic>();
    graphic->bytes = "BM...";
    core.InsertGraphic(std::move(graphic), 200, 100);
    TFootnote note;
    note.number = 3;
    note.mark = '*';
    note.text = "note";
    core.document().addFootnote(note);
    const std::string before = Dump(core);

    const auto copy = CopyDocument(core.document());
    EXPECT_EQ(DumpDocument(*copy, DumpSegments::Joined) + DumpSideLists(*copy), before);
    EXPECT_TRUE(SameContent(*copy, core.document()));

    // Put back into a changed document in place.
    core.SelectAll();
    core.InsertText("gone");
    EXPECT_FALSE(SameContent(*copy, core.document()));
    CopyDocumentInto(*copy, core.document());
    EXPECT_EQ(Dump(core), before);
}

TEST(EditHistory, TypingIsUndoneWordByWordAndRedoneAgain)
{
    EditorCore core;
    int changes = 0;
    core.OnChange = [&] { ++changes; };
    Type(core, "Dear diary, it rained");
    EXPECT_EQ(DumpText(core.document()), "Dear diary, it rained\n");

    const char* const steps[] = {"Dear diary, it \n", "Dear diary, \n", "Dear \n", "\n"};
    for (const char* expected : steps) {
        changes = 0;
        ASSERT_TRUE(core.Undo());
        EXPECT_EQ(DumpText(core.document()), expected);
        EXPECT_EQ(core.CaretPosition(), long(std::string_view(expected).size() - 1)) << "the caret where the word began";
        EXPECT_EQ(changes, 1) << "an undo is a change of the entry";
    }
    EXPECT_FALSE(core.Undo());
    EXPECT_FALSE(core.CanUndo());

    ASSERT_TRUE(core.Redo());
    ASSERT_TRUE(core.Redo());
    EXPECT_EQ(DumpText(core.document()), "Dear diary, \n");
    EXPECT_EQ(core.CaretPosition(), 12);
    // Typing after an undo starts a step of its own and forgets the redo.
    Type(core, "snow");
    EXPECT_FALSE(core.CanRedo());
    EXPECT_FALSE(core.Redo());
    ASSERT_TRUE(core.Undo());
    EXPECT_EQ(DumpText(core.document()), "Dear diary, \n");
}

// Typed a character at a time, words of other scripts group as English ones do; emoji and
// punctuation go with the word before them. Read byte by byte, a Cyrillic letter's second byte
// looked like punctuation and every letter became a step of its own.
TEST(EditHistory, TypingInAnyScriptIsUndoneWordByWord)
{
    EditorCore core;
    const std::string typed = "\u0416\u0443\u043a \u03ba\u03cc\u03c3\u03bc\u03b5 \U0001F600 \u4f60\u597d";
    for (std::size_t at = 0; at < typed.size();) {
        const std::size_t next = NextCharBoundary(typed, at);
        const std::string character = typed.substr(at, next - at);
        Act(core, [&] {
            if (core.CanModifyTyping(character))
                core.InsertText(character);
        });
        at = next;
    }
    EXPECT_EQ(core.document().firstParagraph()->text(), typed);
    const char* const steps[] = {"\u0416\u0443\u043a \u03ba\u03cc\u03c3\u03bc\u03b5 \U0001F600 ",
                                 "\u0416\u0443\u043a ", ""};
    for (const char* expected : steps) {
        ASSERT_TRUE(core.Undo());
        EXPECT_EQ(core.document().firstParagraph()->text(), expected);
    }
    EXPECT_FALSE(core.CanUndo());
}

TEST(EditHistory, MovingTheCaretEndsTheTypingStep)
{
    EditorCore core;
    Type(core, "abc");
    core.GoTo(1);
    Type(core, "X");
    EXPECT_EQ(DumpText(core.document()), "aXbc\n");
    ASSERT_TRUE(core.Undo());
    EXPECT_EQ(DumpText(core.document()), "abc\n");
}

TEST(EditHistory, DeletionsPastesAndFormattingAreStepsOfTheirOwn)
{
    EditorCore core;
    Type(core, "one two");
    const std::string typed = Dump(core);

    // Backspaces in a row are one step.
    Act(core, [&] { core.GoTo(7); });
    for (int i = 0; i < 3; ++i)
        Act(core, [&] {
            if (!core.CanModifyTyping("\b"))
                return;
            const long at = core.CaretPosition() - 1;
            DeleteRange(core.document(), at, 1);
            core.GoTo(at);
        });
    EXPECT_EQ(DumpText(core.document()), "one \n");
    const std::string deleted = Dump(core);

    // A paste: a document inserted at the caret.
    EditorCore clip;
    clip.InsertText("pasted");
    Act(core, [&] { core.InsertDocument(clip.document()); });
    const std::string pasted = Dump(core);

    // Bold on a selection.
    Act(core, [&] {
        core.Select(0, 3);
        TAttr bold = core.GetCurrentAttr();
        bold.style |= AttrStyle::Bold;
        core.SetCurrentAttr(bold);
    });
    const std::string bolded = Dump(core);
    EXPECT_NE(bolded, pasted);

    const std::string* const back[] = {&pasted, &deleted, &typed};
    for (const std::string* expected : back) {
        ASSERT_TRUE(core.Undo());
        EXPECT_EQ(Dump(core), *expected);
    }
    for (const std::string* expected : {&deleted, &pasted, &bolded}) {
        ASSERT_TRUE(core.Redo());
        EXPECT_EQ(Dump(core), *expected);
    }
}

TEST(EditHistory, AStepThatChangedNothingIsNotKept)
{
    EditorCore core;
    Type(core, "end");
    core.GoTo(3);
    // Delete at the end of the text: asked to modify, nothing changed.
    Act(core, [&] { core.CanModifyTyping("\x7f"); });
    ASSERT_TRUE(core.Undo());
    EXPECT_EQ(DumpText(core.document()), "\n") << "the undo took back the typing, not the empty step";
}

TEST(EditHistory, ClearAndReadOnlyAndTheLimit)
{
    EditorCore core;
    Type(core, "text");
    core.Clear(ClearDefaults{});
    EXPECT_FALSE(core.CanUndo()) << "a new document has nothing to undo";

    Type(core, "kept");
    core.SetReadOnly(true);
    EXPECT_FALSE(core.Undo());
    EXPECT_EQ(DumpText(core.document()), "kept\n");
    core.SetReadOnly(false);

    EditHistory history(2);
    TWPRTFText document;
    for (long i = 0; i < 4; ++i) {
        history.BeforeChange(document, EditCaret{i, i}, EditKind::Other);
        InsertTextAt(document, i, "x", document.insertionAttr);
        history.EndStep(document, i + 1);
    }
    EXPECT_TRUE(history.Undo(document, EditCaret{4, 4}));
    EXPECT_TRUE(history.Undo(document, EditCaret{3, 3}));
    EXPECT_FALSE(history.Undo(document, EditCaret{2, 2})) << "only the last two steps are kept";
    EXPECT_EQ(DumpText(document), "xx\n");

    // A budget that one state fills keeps only the newest step.
    EditHistory small(100, 1);
    for (long i = 0; i < 3; ++i) {
        small.BeforeChange(document, EditCaret{i, i}, EditKind::Other);
        InsertTextAt(document, i, "y", document.insertionAttr);
        small.EndStep(document, i + 1);
    }
    EXPECT_TRUE(small.Undo(document, EditCaret{3, 3}));
    EXPECT_FALSE(small.CanUndo());
    EXPECT_EQ(DumpText(document), "yyxx\n");
}

} // namespace
} // namespace quillory
