// Markdown as the HTML that imported entries are made of (md4c, GitHub's dialect without raw
// HTML), with a say over every picture it embeds; and the YAML front matter of a note.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

// Given a picture's source as the Markdown names it (percent escapes decoded), returns the
// HTML that stands in its place: an <img> tag, a few words, or nothing.
using MarkdownPicture = std::function<std::string(const std::string& source)>;

// The HTML of `markdown`. Obsidian's embeds "![[name]]" and "![[name|width]]" are pictures too.
std::string MarkdownToHtml(std::string_view markdown, const MarkdownPicture& picture);

// Takes YAML front matter (between "---" lines at the very top) off `markdown` and returns its
// tags ("tags" or the older "tag": a list or a text of words separated by commas or blanks).
// Front matter that is no YAML mapping is taken off all the same and gives no tags; `problem`
// then says why.
std::vector<std::string> TakeFrontMatter(std::string_view& markdown, std::string* problem = nullptr);

} // namespace quillory
