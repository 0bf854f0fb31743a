// The pieces of HTML the importers build entries from, and the step that turns a day's HTML into
// the entry's RTF through the engine's own HTML reader and RTF writer.
#pragma once

#include "app/import/ImportedEntry.h"

#include <string>
#include <string_view>
#include <vector>

namespace quillory {

// The text with &, <, > and " escaped.
std::string EscapeHtml(std::string_view text);
// Plain text as paragraphs: each line one <p>, empty lines kept as empty paragraphs; CR LF, CR
// and U+2028 end lines as LF does.
std::string PlainTextToHtml(std::string_view text);
// "#tag" words for the tags that the text (as plain words) does not hold already: a paragraph,
// or nothing when every tag is in the text.
std::string TagsParagraph(const std::vector<std::string>& tags, std::string_view html);
// A tag as the diary writes it: spaces become '_', a leading '#' or '@' is dropped.
std::string TagWord(std::string_view tag);

// The pixel size a picture of `width` x `height` pixels is shown at in an entry: at most
// kImportedPictureWidth wide, its height in proportion. Empty when the bytes are no PNG or JPEG
// picture: only those are kept as they are.
inline constexpr int kImportedPictureWidth = 600;
std::string ImageTag(const std::string& source, std::string_view picture);

// The HTML of one day from its entries (oldest first): one entry's fragment as it is; several
// each under its time ("20:00") as a small heading.
std::string DayHtml(const std::vector<const ImportedEntry*>& entries);

// The separator between an entry that was there and what an import appends below it.
inline constexpr std::string_view kAppendSeparator = "<hr>";

// The entry's RTF: `existingRtf` (may be empty) followed by `html` read by the HTML reader.
// Pictures are asked of `pictures` and kept in the entry as the PNG or JPEG they are; a picture
// that cannot be had leaves its name in `missing`.
std::string EntryRtf(std::string_view existingRtf, std::string_view html, const PictureLoader& pictures,
                     std::vector<std::string>* missing = nullptr);

// The "HH:MM" of a minute of the day.
std::string ClockText(int minute);

} // namespace quillory
