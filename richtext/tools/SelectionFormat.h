// The formatting that toolbar and ruler give an editor: character attributes of the selection
// (or of the insertion attributes), alignment and tab stops of the selected paragraphs (or of the
// caret's paragraph). Each asks CanModify first and changes nothing when it fails.
#pragma once

#include "richtext/edit/EditorCore.h"

#include <functional>
#include <vector>

namespace quillory {

using AttrChange = std::function<void(TAttr&)>;

// Applies `change` to each character of the range, leaving every other attribute as it is, and
// marks the paragraphs for reformatting. An empty paragraph inside the range changes its record.
void ChangeAttributesOfRange(TWPRTFText& document, long start, long length, const AttrChange& change);

// Applies `change` to the insertion attributes and to the selected characters. False when the
// editor may not be modified.
bool ChangeCharacterAttributes(EditorCore& editor, const AttrChange& change);

// The paragraphs a paragraph command works on: the selected ones, or the caret's.
std::vector<TParagraph*> CommandParagraphs(const EditorCore& editor);

bool SetAlignment(EditorCore& editor, Alignment alignment);

// Adds a stop at `twips` (from the left margin) of the kind to the command paragraphs. False when
// the editor may not be modified or the tab table is full.
bool AddTabStop(EditorCore& editor, int twips, TTabKind kind);
// Takes the document's stop `index` out of the command paragraphs.
bool RemoveTabStop(EditorCore& editor, int index);
// Takes every stop out of the command paragraphs.
bool ClearTabStops(EditorCore& editor);

// The stops that apply to a paragraph, ordered by position.
std::vector<int> TabStopsOf(const TWPRTFText& document, const TParagraph& paragraph);

} // namespace quillory
