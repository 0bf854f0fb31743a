// An entry as Markdown and the diary as jrnl's JSON: the open formats an export gives, which
// other programs read and Quillory's own import reads back.
#pragma once

#include "platform/Day.h"
#include "richtext/model/Document.h"

#include <string>
#include <string_view>
#include <vector>

namespace quillory {

// A picture of an entry, written beside its Markdown file.
struct MarkdownPicture {
    std::string fileName;  // "2026-12-06-1.png"
    std::string bytes;
};

struct MarkdownEntry {
    std::string markdown;  // front matter with the entry's tags, then the text
    std::vector<MarkdownPicture> pictures;
};

// The document as Markdown: bold, italic and struck-out text, links, list items, large bold
// paragraphs as headings, pictures as files named after `day`. Characters that Markdown reads
// as markup are escaped, so that the text reads back as it was. Underline, fonts and colours
// have no Markdown and are left out.
MarkdownEntry EntryAsMarkdown(const TWPRTFText& document, Day day);

// The "#tag" words of a text, in order, each once (without the '#').
std::vector<std::string> TagsOfText(std::string_view text);

// One entry of the JSON export: its day and its plain text (UTF-8, LF between paragraphs).
struct JsonEntry {
    Day day;
    std::string text;
};
// The entries in jrnl's JSON shape: {"tags": {"#tag": count}, "entries": [{"title", "body",
// "date", "time", "tags", "starred"}]}; the title is the text's first sentence or line, the
// time jrnl's default 09:00, "starred" when the entry has the tag #starred.
std::string EntriesAsJson(const std::vector<JsonEntry>& entries);

} // namespace quillory
