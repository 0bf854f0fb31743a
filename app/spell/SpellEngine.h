// TSpellEngine: the spelling dictionaries of the program. It tells whether a word is correct,
// adds words to user dictionaries and ranks suggestions for an unknown word. Words come and go
// as UTF-8; the dictionaries store and compare them in capitals of Windows-1252, their stored
// format, and pass by a word whose characters their alphabet cannot spell.
#pragma once

#include "app/spell/DictionarySection.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillory::spell {

class TSpellEngine {
public:
    static constexpr int kDefaultMaxSuggestions = 10;
    static constexpr int kMaxSuggestionsLimit = 220;
    static constexpr std::size_t kMaxCandidateLength = 30;

    TSpellEngine() = default;
    TSpellEngine(const TSpellEngine&) = delete;
    TSpellEngine& operator=(const TSpellEngine&) = delete;

    // Bare file names by default, looked for in the current folder.
    std::string DictionaryName = "quillor.dct";
    std::string DictionaryUser = "quilloru.dct";

    int MaxSuggestions() const noexcept { return maxSuggestions_; }
    // Values above 220 become 220.
    void SetMaxSuggestions(int count) noexcept;

    // Opens a main dictionary unless one is open; false when the file cannot be read or its
    // first section is not a main section. On success DictionaryName becomes `file`.
    bool OpenDictionary(const std::string& file);
    // Closes the main dictionary (the user dictionaries stay open) and opens `file` instead, as
    // when the diary's language changes. False, with no main dictionary open, when `file` cannot
    // be read or is no main dictionary.
    bool ReplaceMainDictionary(const std::string& file);
    // The number of the opened user dictionary, or -1 when the file cannot be read or is not a
    // user dictionary.
    int OpenUserDictionary(const std::string& file);
    // Writes a new user dictionary that knows "A", adds `words` and returns its number; -1 when
    // the file cannot be written.
    int CreateUserDictionary(const std::string& file, const std::vector<std::string>& words);
    void CloseDictionaries();

    // True for a known word, and for a word the alphabet cannot spell (a Russian or Greek word,
    // one with a digit): that is passed by, never reported as misspelt.
    bool IsWordCorrect(std::string_view word);
    // Adds a word to the user dictionary with that number and rewrites its file whole. False
    // (and nothing changed) for a word over 25 characters or that the alphabet cannot spell, a
    // full tree, an unknown number or a file that cannot be written.
    bool AddWord(std::string_view word, int userDictionaryNumber);
    // At most MaxSuggestions() words, best first, in the case pattern of `word`; none for a word
    // the alphabet cannot spell.
    const std::vector<std::string>& GetSuggestions(std::string_view word);
    const std::vector<std::string>& Suggestions() const noexcept { return suggestions_; }

    bool HasMainDictionary() const noexcept;

private:
    struct OpenSection {
        std::unique_ptr<DictionarySection> section;
        int userNumber = -1;  // -1 for main sections
    };
    struct Candidate {
        std::string word;
        int score = 0;
    };
    struct SuggestionSearch;

    void EnsureMainDictionary();
    int NextUserNumber() noexcept;
    bool KnowsCapitals(std::string_view capitals) const;
    template <typename Section>
    static bool SectionKnows(const Section& section, std::uint32_t rootList, std::string_view capitals);
    void WalkForCandidates(const DictionarySection& section, SuggestionSearch& search) const;
    void Score(std::string_view candidate, SuggestionSearch& search) const;
    // The known words (capitals) one slip from `word` (capitals), most likely first.
    std::vector<std::string> NearWords(const std::string& word) const;

    std::vector<OpenSection> sections_;  // main sections first, then user dictionaries
    std::vector<std::string> suggestions_;
    int maxSuggestions_ = kDefaultMaxSuggestions;
    std::int16_t nextUserNumber_ = 0;
};

} // namespace quillory::spell
