// The search across entries: the days that have entry files in a range, from one listing of
// the Entries folder, and the walk that reads each of them (deciphered in memory) and looks for
// a pattern in its text with the editor's finder, so that it matches as FindText does.
#pragma once

#include "platform/Day.h"
#include "richtext/edit/TextFinder.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

// Where a pattern was found in an entry.
struct TextMatch {
    std::size_t paragraph = 0;  // 0-based
    long start = 0;             // offset within the paragraph
    long length = 0;
    std::string context;        // a line of the paragraph around the match (UTF-8)
};

// What is looked for: a pattern (UTF-8) under the rules of the editor's finder, without regard
// to case, with the literal that every match must contain, so that most paragraphs are passed
// over by a plain substring search and only the rest go through the finder itself.
class EntryQuery {
public:
    explicit EntryQuery(std::string_view pattern);

    // The first match in one paragraph's text, exactly as TWPTextFinder finds it.
    std::optional<FoundRange> FindInParagraph(std::string_view text) const;

private:
    bool mayHold(std::string_view text) const;

    TWPTextFinder finder_;
    std::string needle_;  // case-folded; empty when nothing is certain
    bool asciiNeedle_ = true;
};

// The first match of `query` in the entry `content` (RTF, plain text or HTML), searched
// forwards from the start as the editor's FindText does: a match lies within one paragraph.
std::optional<TextMatch> FindInEntry(std::string_view content, const EntryQuery& query);

// A line of at most about 80 characters of `paragraph` around the match at `start` (byte
// offsets), cut at blanks where it can and never inside a character or a cluster, with "…" where
// it was cut; tabs, line breaks and object placeholders become blanks.
std::string MatchContext(std::string_view paragraph, long start, long length);
// The part of `paragraph` (byte offsets) that MatchContext shows, without its ellipses.
struct ContextSpan {
    std::size_t from = 0;
    std::size_t to = 0;
};
ContextSpan MatchContextSpan(std::string_view paragraph, long start, long length);

struct SearchHooks {
    // Asked before each entry: true ends the walk there (a window whose list was closed).
    std::function<bool()> cancelled;
    // Before an entry is read; a window shows its progress here.
    std::function<void(Day day)> visiting;
    // A match in the entry of `day`. Return true to go on to the next entry, false to stop.
    std::function<bool(Day day, const TextMatch& match)> found;
    // An entry that could not be read (the error's message); the walk goes on without it.
    std::function<void(Day day, const std::string& message)> unreadable;
};

// Walks the entries from `from` to `until` in ascending order, reading each through ReadEntry
// (deciphered in memory with `password` when it is not empty), and reports the matches of
// `query`. A query with nothing to look for matches nothing.
void SearchEntries(Day from, Day until, const EntryQuery& query, std::string_view password, const SearchHooks& hooks);

} // namespace quillory
