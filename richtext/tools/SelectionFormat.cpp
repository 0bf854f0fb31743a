// Character and paragraph formatting of an editor's selection.
#include "richtext/tools/SelectionFormat.h"

#include "richtext/edit/RangeEditing.h"

namespace quillory {

namespace {

// The editor's document changed under it: lay it out again and let every view follow.
void documentChanged(EditorCore& editor, bool textChanged)
{
    editor.SyncSelection();
    if (editor.onUpdate)
        editor.onUpdate(textChanged);
}

void markReformat(TParagraph& paragraph)
{
    paragraph.layoutFlags |= LayoutFlag::NeedsReformat;
}

} // namespace

void ChangeAttributesOfRange(TWPRTFText& document, long start, long length, const AttrChange& change)
{
    if (length <= 0 || document.isPlainText())
        return;
    const long end = start + length;
    long paragraphStart = 0;
    for (TParagraph* paragraph = document.firstParagraph(); paragraph && paragraphStart < end;
         paragraph = paragraph->next()) {
        const long paragraphEnd = paragraphStart + paragraph->length();
        if (paragraphEnd >= start) {
            long at = paragraphStart;
            for (TTextLine* line = paragraph->firstLine(); line; line = line->next()) {
                for (int i = 0; i < line->length(); ++i, ++at)
                    if (at >= start && at < end)
                        change(line->attrs()[i]);
            }
            if (paragraph->length() == 0 && paragraphStart >= start)
                change(paragraph->firstLine()->attrs()[0]);
            markReformat(*paragraph);
        }
        paragraphStart = paragraphEnd + 1;
    }
    document.header().formatted = true;
}

bool ChangeCharacterAttributes(EditorCore& editor, const AttrChange& change)
{
    if (!editor.CanModify())
        return false;
    TWPRTFText& document = editor.document();
    change(document.insertionAttr);
    if (editor.HasSelection()) {
        ChangeAttributesOfRange(document, editor.SelStartPosition(), editor.SelLength(), change);
        documentChanged(editor, true);
    } else {
        documentChanged(editor, false);
    }
    return true;
}

std::vector<TParagraph*> CommandParagraphs(const EditorCore& editor)
{
    const TWPRTFText& document = editor.document();
    if (editor.HasSelection())
        return ParagraphsOfRange(document, editor.SelStartPosition(), editor.SelLength());
    return {LocatePosition(document, editor.CaretPosition()).paragraph};
}

bool SetAlignment(EditorCore& editor, Alignment alignment)
{
    if (!editor.CanModify())
        return false;
    for (TParagraph* paragraph : CommandParagraphs(editor)) {
        paragraph->alignment = alignment;
        markReformat(*paragraph);
    }
    editor.document().header().formatted = true;
    documentChanged(editor, true);
    return true;
}

bool AddTabStop(EditorCore& editor, int twips, TTabKind kind)
{
    if (!editor.CanModify())
        return false;
    const int index = editor.document().header().addTab(twips, kind);
    if (index < 0)
        return false;
    for (TParagraph* paragraph : CommandParagraphs(editor)) {
        paragraph->tabMask |= std::uint64_t(1) << index;
        markReformat(*paragraph);
    }
    editor.document().header().formatted = true;
    documentChanged(editor, true);
    return true;
}

bool RemoveTabStop(EditorCore& editor, int index)
{
    if (index < 0 || index >= TabCount || !editor.CanModify())
        return false;
    for (TParagraph* paragraph : CommandParagraphs(editor)) {
        paragraph->tabMask &= ~(std::uint64_t(1) << index);
        markReformat(*paragraph);
    }
    documentChanged(editor, true);
    return true;
}

bool ClearTabStops(EditorCore& editor)
{
    if (!editor.CanModify())
        return false;
    for (TParagraph* paragraph : CommandParagraphs(editor)) {
        paragraph->tabMask = 0;
        markReformat(*paragraph);
    }
    documentChanged(editor, true);
    return true;
}

std::vector<int> TabStopsOf(const TWPRTFText& document, const TParagraph& paragraph)
{
    std::vector<int> stops;
    for (int index : document.header().tabOrder())
        if ((paragraph.tabMask >> index) & 1)
            stops.push_back(index);
    return stops;
}

} // namespace quillory
