// The txt2tags markup of RedNotebook's entries as HTML: **bold**, //italic//, __underline__,
// --strike--, "= title =" headings, "- " and "+ " lists, [label ""target""] links and
// [""/path/name"".png] pictures. Each line of the text is a line of the entry.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace quillory {

// Given a picture's file name as the text names it, returns the HTML that stands in its place.
using Txt2TagsPicture = std::function<std::string(const std::string& file)>;

std::string Txt2TagsToHtml(std::string_view text, const Txt2TagsPicture& picture);

} // namespace quillory
