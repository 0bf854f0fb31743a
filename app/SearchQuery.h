// The query language of the search across entries, shared by the window's search panel and the
// command line: words (each must occur), "an exact phrase", -word (must not occur), #tag, and
// from:DAY / until:DAY. A query parses into terms already folded for matching.
#pragma once

#include "platform/Day.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

// A word or a phrase. A word may hold `*`: its parts must then occur in that order within one
// paragraph ("anything later in the same paragraph", as in the Find menu).
struct QueryTerm {
    std::vector<std::string> parts;  // case-folded, without accents
    // The same with their accents, for a term typed with accents, which finds only itself
    // (ignoring case); empty for a term without any, which also finds the accented forms
    // (cafe finds café).
    std::vector<std::string> accented;
    bool excluded = false;  // -word: the entry must not contain it

    bool plain() const noexcept { return accented.empty(); }
};

struct SearchQuery {
    std::vector<QueryTerm> terms;
    std::vector<std::string> tags;          // #tag, case-folded, without '#'
    std::vector<std::string> excludedTags;  // -#tag
    Day from = Day::First();
    Day until = Day::Last();
    // Parts of the text that mean nothing (a day that is none, "from:" without a day); the rest
    // of the query holds. The panel shows them, the command line refuses the query.
    std::vector<std::string> problems;

    // True when the query asks for something: a term, a tag or a day range. An empty query
    // lists nothing.
    bool AsksAnything() const noexcept;
    // True when every entry it finds must hold some text (a word, phrase or tag to find).
    bool HasPositive() const noexcept;
};

SearchQuery ParseQuery(std::string_view text);

// A day as the query and the command line take it: YYYY-MM-DD or YYYYMMDD; with `end` false a
// bare YYYY or YYYY-MM names its first day, with `end` true its last.
std::optional<Day> ParseQueryDay(std::string_view text, bool end = false);

// The folded text that terms are matched against: each character case-folded, and with `plain`
// its accents dropped as well. Offsets: `origin` (when not null) receives for every byte of the
// result the offset of the character it came from in `utf8`, and one more entry at the end.
std::string SearchKey(std::string_view utf8, bool plain, std::vector<int>* origin = nullptr);

} // namespace quillory
