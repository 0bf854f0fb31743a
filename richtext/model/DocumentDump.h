// A compact text form of a document for tests and diagnostics.
//
// One line per paragraph:   properties | "segment" "segment" | runs
//   properties  only those that differ from a new paragraph, e.g. "qc li720 fi360 page", or "-"
//   segments    each segment's text in quotes; \t TAB, \n soft break, \xNN other control bytes
//   runs        "count attributes" per run of equal attributes across segments, e.g. "5 f0 b, 3 f1 s12"
//               (font always; size, colours, styles, flags and tag only when set); "plain" when
//               the document holds no attributes
#pragma once

#include "richtext/model/Document.h"

#include <string>

namespace quillory {

// Segments: shown one by one, or joined into one quoted text where only the paragraph's content
// matters (segment boundaries are where a reader or layout happened to break).
enum class DumpSegments { Separate, Joined };

std::string DumpParagraph(const TParagraph& paragraph, DumpSegments segments = DumpSegments::Separate);
std::string DumpAttr(const TAttr& attr);
// Every paragraph, one per line, each ending with a newline.
std::string DumpDocument(const TWPRTFText& document, DumpSegments segments = DumpSegments::Separate);
// Only the texts of the paragraphs, one per line (segments joined, control bytes escaped).
std::string DumpText(const TWPRTFText& document);
// Fonts, colours that differ from the defaults, tab stops, page values that differ, info.
std::string DumpHeader(const TTextHeader& header);
// Objects ("obj tag kind bytes size") and footnotes ("fn number mark text").
std::string DumpSideLists(const TWPRTFText& document);

} // namespace quillory
