// TWPTextFinder: finds a pattern (with the `*` wildcard) in a document, paragraph by paragraph,
// and walks the words of a document for the spell checker.
#pragma once

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

private:
    bool matchesAt(std::string_view text, std::size_t at, std::string_view part, bool wildcards) const;
    std::optional<std::size_t> matchLength(std::string_view text, std::size_t at) const;
    bool isWholeWord(std::string_view text, std::size_t start, std::size_t length) const;

    std::string before_;
    std::string after_;
    bool split_ = false;
    FindOptions options_;
};

// Word characters of the spell checker: A-Z, a-z, the cp1252 letters 138, 140, 154, 156, 159
// and 192-255.
bool IsWordCharacter(unsigned char c) noexcept;
// Lower case of a cp1252 character, as the system's lower-casing of the code page gives it.
unsigned char LowerCp1252(unsigned char c) noexcept;

// The next word at or after `from`: a run of word characters, with an apostrophe between two
// word characters belonging to the word. Hidden characters and object placeholders are not part
// of words.
std::optional<FoundRange> FindNextWord(const TWPRTFText& document, long from);

} // namespace quillory
