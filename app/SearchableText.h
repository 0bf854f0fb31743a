// What the search keeps of one entry: its text folded for matching (with and without accents),
// its tags and its number of words; and the matching of a parsed query against it. Built once
// per entry by the index, or on the fly by the command line, so that both find the same days.
#pragma once

#include "app/SearchQuery.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

// A letter of the entry that has accents, where the text without them holds its base letter.
struct AccentedLetter {
    std::uint32_t at = 0;    // byte offset in SearchableText::text
    char32_t folded = 0;     // the letter case-folded with its accents
};

struct SearchableText {
    // The entry's paragraphs case-folded and without accents, each ended by '\n' (a phrase
    // never spans two). Every term is looked for here first.
    std::string text;
    // The letters of `text` that had accents, by offset: a term typed with accents is checked
    // against them where its letters were found. Kept apart, so that the index holds the text
    // about once rather than twice.
    std::vector<AccentedLetter> accents;
    std::vector<std::string> tags;  // case-folded, sorted, each once
    std::uint32_t words = 0;

    // The heap and object bytes it holds.
    std::size_t Bytes() const noexcept;
};

// From an entry's content (RTF, plain text or HTML).
SearchableText MakeSearchableText(std::string_view content);

// The tags of one paragraph's text, case-folded, in order: '#' at the start of a word (not after
// a letter, digit, '_', '#', '&' or '/'), a letter, then letters, digits, '-' and '_' of any
// script; a '-' or '_' at the end is not part of it.
std::vector<std::string> TagsIn(std::string_view paragraph);
// Words of a paragraph: runs of letters and digits (an apostrophe inside one joins it), each
// ideograph a word of its own.
std::uint32_t CountWords(std::string_view paragraph);

// Whether the entry answers the query's terms and tags (its days are the caller's to check).
bool Matches(const SearchQuery& query, const SearchableText& entry);

// Where the query's wanted terms and tags occur in one paragraph's text (byte offsets), in order.
struct TextSpan {
    std::size_t start = 0;
    std::size_t length = 0;
};
std::vector<TextSpan> HitsInParagraph(const SearchQuery& query, std::string_view paragraph);

// A result line: up to about 80 characters of a paragraph around its first hit (as the Find
// menu's list shows them), with the hits inside it to be marked (byte offsets in `text`).
struct MarkedLine {
    std::string text;
    std::vector<TextSpan> marks;
};
MarkedLine MarkLine(std::string_view paragraph, const std::vector<TextSpan>& hits);

// A found paragraph of an entry: its number and its marked line.
struct ParagraphHit {
    std::size_t paragraph = 0;
    TextSpan first;  // the first hit in it, in the paragraph's bytes
    MarkedLine line;
};
// The paragraphs of the entry `content` where the query's wanted terms and tags occur, at most
// `limit`. A query that wants nothing (only exclusions or days) gives the first paragraph with
// text, unmarked.
std::vector<ParagraphHit> FindParagraphHits(const SearchQuery& query, std::string_view content, std::size_t limit);

} // namespace quillory
