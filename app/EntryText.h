// The text of an entry, paragraph by paragraph, as the editor would hold it after loading the
// entry, but without building a document: what a search across many entries needs.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

namespace quillory {

// Receives one paragraph's characters (UTF-8, as TParagraph::text() holds them); returns true
// to stop the walk.
using ParagraphVisitor = std::function<bool(std::string_view text)>;

// Calls `visit` for every paragraph of the entry `content`, in order. RTF goes through a text
// pass that applies the RTF reader's rules for text: groups, skipped destinations (font and
// colour tables, pictures, footnotes, \* groups ...), \'hh and raw bytes in the code page of the
// document or font, \uN with its fallback, \upr, field results, \line, \tab, \par and \cell. Plain text and HTML are read by the engine's own
// readers. Total on any input. Returns true when `visit` stopped the walk.
bool ForEachEntryParagraph(std::span<const std::uint8_t> content, const ParagraphVisitor& visit);
inline bool ForEachEntryParagraph(std::string_view content, const ParagraphVisitor& visit)
{
    return ForEachEntryParagraph(
        std::span(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()), visit);
}

// The same pass for RTF alone, whatever the bytes begin with. Exposed for tests and fuzzing.
bool ForEachRtfParagraph(std::span<const std::uint8_t> rtf, const ParagraphVisitor& visit);

} // namespace quillory
