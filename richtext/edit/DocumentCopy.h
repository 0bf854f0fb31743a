// Whole-document copies for the editor's undo history: a snapshot of everything editing can
// change, put back into the live document in place (the layout and the typing engine keep
// referring to that one document object).
#pragma once

#include "richtext/model/Document.h"

#include <memory>

namespace quillory {

// Makes `into` hold what `from` holds: paragraphs with their properties, characters and
// attributes, objects (same tags), footnotes, the header's tables, the memory format and the
// insertion attributes. The header values that describe the screen stay those of `into`.
void CopyDocumentInto(const TWPRTFText& from, TWPRTFText& into);

// A new document holding a copy of `from`.
std::unique_ptr<TWPRTFText> CopyDocument(const TWPRTFText& from);

// Whether the two hold the same paragraphs (properties, characters, attributes), objects and
// insertion attributes: what an edit can change.
bool SameContent(const TWPRTFText& a, const TWPRTFText& b);

} // namespace quillory
