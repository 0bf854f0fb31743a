// TWPTextFinder: finds a pattern (with the `*` wildcard) in a document, paragraph by paragraph,
// and walks the words of a document for the spell checker.
#pragma once

#include "platform/UnicodeText.h"
#include "richtext/edit/RangeEditing.h"
#include "richtext/model/Document.h"

#include <optional>
#include <string>
#include <string_view>

namespace quillory {

struct FindOptions {
    bool backwards = false;
    bool matchCase = false;
    bool wholeWord = false;
};

struct FoundRange {
    long start = 0;
    long length = 0;
    friend bool operator==(const FoundRange&, const FoundRange&) = default;
};

// The pattern rules: without `*`, the first 255 characters are looked for. The first `*`, when
// it stands within the first 255 characters, splits the pattern into a part before and a part
// after (cut to 255); a match is the part before followed later in the same paragraph by the
// part after, in which each further `*` stands for exactly one character.
//
// Pattern and text are UTF-8. Without "match case" both are compared case-folded (Unicode's
// simple folding: Ж = ж, Σ = σ = ς, É = é). A match begins and ends on the boundaries of
// grapheme clusters, so that it never takes a letter without its accents or half an emoji; a
// further `*` stands for one such cluster. Offsets are bytes of the original text.
class TWPTextFinder {
public:
    static constexpr std::size_t kMaxPart = 255;

    TWPTextFinder(std::string_view pattern, FindOptions options);

    // The first match that starts at or after `from` (searching forwards), or the last match that
    // ends at or before `from` (backwards). Positions are absolute (Document.h).
    std::optional<FoundRange> Find(const TWPRTFText& document, long from) const;
    // Searching the whole document: from its start, or back from its end.
    std::optional<FoundRange> FindInDocument(const TWPRTFText& document) const;

    // The match inside one paragraph's text starting the search at `from` (forwards) or the
    // last one ending at or before `from` (backwards). Exposed for tests.
    std::optional<FoundRange> FindInText(std::string_view text, long from) const;

    // Text that every match holds, folded as the comparison folds it (empty when no part of
    // the pattern is certain): a search over many texts passes over those without it.
    std::string_view Literal() const noexcept;

private:
    std::optional<std::size_t> partEnd(std::string_view text, std::size_t at, std::string_view part) const;

    std::string before_;  // folded unless case is matched; holds no wildcard
    std::string after_;
    bool split_ = false;
    FindOptions options_;
};

// The next word at or after `from`, for the spell checker: a run of letters (of any script, with
// their marks), with an apostrophe (' or ’) between two letters belonging to the word, and no
// longer than Unicode's word boundaries allow (which split runs of Thai or Chinese). Digits end
// words. Hidden characters and object placeholders are not part of words.
std::optional<FoundRange> FindNextWord(const TWPRTFText& document, long from);
// The same within one paragraph's content, from `offset`: for a walk over a whole document
// that takes each paragraph once.
std::optional<FoundRange> FindNextWordIn(const ParagraphContent& content, std::size_t offset);

} // namespace quillory
