// TSpellEngine: lookups in every open section, user dictionaries, and the suggestion search
// (known words one slip away, alternative first letters, a tree walk pruned by sound-alike key,
// two-word splits, ranking).
#include "app/spell/SpellEngine.h"

#include "app/spell/SpellAlphabet.h"
#include "app/spell/SpellScoring.h"
#include "platform/AtomicWrite.h"
#include "platform/Cp1252.h"

#include <algorithm>
#include <array>

namespace quillory::spell {

namespace {

// A walk deeper than any word, or longer than a sound tree could need, meets a damaged file
// whose child indexes loop; both bounds end it.
constexpr int kMaxWalkDepth = 64;
constexpr long kWalkBudget = 60'000;  // a real dictionary needs under 10,000

} // namespace

struct TSpellEngine::SuggestionSearch {
    std::string word;  // capitals, at most 25 characters
    SoundKey key{};    // the target key with the current alternative first letter
    std::string prefix;
    std::vector<Candidate> table;
    std::size_t capacity = 0;
    long budget = kWalkBudget;
};

void TSpellEngine::SetMaxSuggestions(int count) noexcept
{
    maxSuggestions_ = std::clamp(count, 0, kMaxSuggestionsLimit);
}

bool TSpellEngine::HasMainDictionary() const noexcept
{
    return !sections_.empty() && sections_.front().section->Kind() != SectionKind::User;
}

bool TSpellEngine::OpenDictionary(const std::string& file)
{
    if (HasMainDictionary())
        return true;
    auto mains = OpenMainSections(file);
    if (mains.empty())
        return false;
    std::vector<OpenSection> opened;
    for (auto& section : mains)
        opened.push_back(OpenSection{std::move(section), -1});
    // Main sections are searched before the user dictionaries, whenever they were opened.
    sections_.insert(sections_.begin(), std::make_move_iterator(opened.begin()),
                     std::make_move_iterator(opened.end()));
    DictionaryName = file;
    return true;
}

bool TSpellEngine::ReplaceMainDictionary(const std::string& file)
{
    std::erase_if(sections_, [](const OpenSection& open) { return open.section->Kind() != SectionKind::User; });
    DictionaryName = file;  // so that a later lookup does not open the old one again
    return OpenDictionary(file);
}

int TSpellEngine::NextUserNumber() noexcept
{
    const int number = nextUserNumber_;
    ++nextUserNumber_;
    if (nextUserNumber_ == -1)
        nextUserNumber_ = 0;
    return number;
}

int TSpellEngine::OpenUserDictionary(const std::string& file)
{
    auto section = UserSection::Load(file);
    if (!section)
        return -1;
    const int number = NextUserNumber();
    sections_.push_back(OpenSection{std::make_unique<UserSection>(std::move(*section)), number});
    return number;
}

int TSpellEngine::CreateUserDictionary(const std::string& file, const std::vector<std::string>& words)
{
    if (!WriteFileAtomically(file, UserSection::NewFileBytes()))
        return -1;
    const int number = OpenUserDictionary(file);
    for (const std::string& word : words)
        AddWord(word, number);
    return number;
}

void TSpellEngine::CloseDictionaries()
{
    sections_.clear();
}

void TSpellEngine::EnsureMainDictionary()
{
    if (!HasMainDictionary())
        OpenDictionary(DictionaryName);
}

// `Section` is the concrete class, so that the node reads of the hot loop are not virtual.
template <typename Section>
bool TSpellEngine::SectionKnows(const Section& section, std::uint32_t rootList, std::string_view capitals)
{
    const std::uint32_t limit = section.Limit();
    std::uint32_t list = rootList;
    std::size_t pos = 0;
    const std::size_t last = capitals.size() - 1;
    while (true) {
        const std::uint8_t code = LetterCode(static_cast<unsigned char>(capitals[pos]));
        std::uint32_t next = 0;
        for (std::uint32_t i = list; i <= limit; ++i) {
            const Node node = section.At(i);
            if (node.Code() == code) {
                if (pos == last && node.EndsWord())
                    return true;
                if (pos != last && node.child != 0 && node.child <= limit) {
                    next = node.child;
                    break;
                }
            }
            if (node.LastSibling())
                return false;
        }
        if (next == 0)
            return false;
        list = next;
        ++pos;
    }
}

bool TSpellEngine::KnowsCapitals(std::string_view capitals) const
{
    if (capitals.size() <= 1)
        return true;
    const std::uint8_t first = LetterCode(static_cast<unsigned char>(capitals[0]));
    for (const OpenSection& open : sections_) {
        if (open.section->Kind() == SectionKind::User) {
            if (SectionKnows(static_cast<const UserSection&>(*open.section), 1, capitals))
                return true;
        } else {
            const auto& main = static_cast<const MainSection&>(*open.section);
            const std::uint32_t root = main.RootStart(first);
            if (root != 0 && SectionKnows(main, root, capitals))
                return true;
        }
    }
    if (capitals.size() >= 2 && capitals.substr(capitals.size() - 2) == "'S")
        return KnowsCapitals(capitals.substr(0, capitals.size() - 2));
    // An elided word before another (French l'homme, qu'il; Italian dell'anno): the part up to
    // the first apostrophe is known with its apostrophe ("L'", as the French list has it) and
    // the rest is known. English lists hold no word ending in an apostrophe: it never applies.
    const std::size_t apostrophe = capitals.find('\'');
    if (apostrophe != std::string_view::npos && apostrophe > 0 && apostrophe + 1 < capitals.size())
        return KnowsCapitals(capitals.substr(0, apostrophe + 1)) && KnowsCapitals(capitals.substr(apostrophe + 1));
    return false;
}

bool TSpellEngine::IsWordCorrect(std::string_view word)
{
    // Most words are ASCII: put in capitals as they are, with no conversion and no allocation.
    std::array<char, 64> buffer;
    std::size_t ascii = 0;
    for (; ascii < word.size() && ascii < buffer.size(); ++ascii) {
        const auto c = static_cast<unsigned char>(word[ascii]);
        if (c >= 0x80)
            break;
        if (!InAlphabet(c))
            return true;  // a digit or a sign: no word the dictionary could hold
        buffer[ascii] = static_cast<char>(Capital(c));
    }
    if (ascii == word.size()) {
        EnsureMainDictionary();
        return KnowsCapitals(std::string_view(buffer.data(), word.size()));
    }
    const auto spelling = DictionarySpelling(word);
    if (!spelling)
        return true;
    EnsureMainDictionary();
    return KnowsCapitals(Capitals(*spelling));
}

bool TSpellEngine::AddWord(std::string_view word, int userDictionaryNumber)
{
    const auto spelling = DictionarySpelling(word);
    if (!spelling)
        return false;
    for (OpenSection& open : sections_) {
        if (open.userNumber == userDictionaryNumber && open.section->Kind() == SectionKind::User)
            return static_cast<UserSection&>(*open.section).Add(Capitals(*spelling));
    }
    return false;
}

// Ranks one candidate: after every entry scoring as well or better; a full table loses its
// last entry, and a candidate that would come after it is dropped. A word already in the
// table is not listed twice.
void TSpellEngine::Score(std::string_view candidate, SuggestionSearch& search) const
{
    if (search.capacity == 0)
        return;
    candidate = candidate.substr(0, kMaxCandidateLength);
    auto& table = search.table;
    if (std::any_of(table.begin(), table.end(), [&](const Candidate& c) { return c.word == candidate; }))
        return;
    const int score = Similarity(candidate, search.word);
    const auto at = std::find_if(table.begin(), table.end(), [&](const Candidate& c) { return c.score < score; });
    if (at == table.end() && table.size() >= search.capacity)
        return;
    table.insert(at, Candidate{std::string(candidate), score});
    if (table.size() > search.capacity)
        table.pop_back();
}

void TSpellEngine::WalkForCandidates(const DictionarySection& section, SuggestionSearch& search) const
{
    // An explicit stack of sibling lists keeps a deep or damaged tree off the call stack.
    struct Level {
        std::uint32_t at;
    };
    std::vector<Level> stack{{1}};
    const std::uint32_t limit = section.Limit();
    search.prefix.clear();
    while (!stack.empty()) {
        Level& level = stack.back();
        if (level.at == 0 || level.at > limit || search.budget-- <= 0) {
            stack.pop_back();
            if (!search.prefix.empty())
                search.prefix.pop_back();
            continue;
        }
        const std::uint32_t index = level.at;
        const Node node = section.At(index);
        level.at = node.LastSibling() ? 0 : index + 1;
        const char letter = static_cast<char>(kAlphabet[node.Code()]);
        if (node.EndsWord()) {
            search.prefix.push_back(letter);
            Score(search.prefix, search);
            search.prefix.pop_back();
        }
        if (node.child != 0 && node.child <= limit && stack.size() < kMaxWalkDepth) {
            search.prefix.push_back(letter);
            if (SoundAlikeKey(search.prefix, search.key) == search.key)
                stack.push_back(Level{node.child});
            else
                search.prefix.pop_back();
        }
    }
}

std::vector<std::string> TSpellEngine::NearWords(const std::string& word) const
{
    // Kinds of slip, most likely first; within a kind the closer word by similarity first.
    enum Slip { Swapped, Doubled, Dropped, Struck, Added };
    struct Near {
        std::string word;
        int slip;
        int score;
    };
    std::vector<Near> found;
    const auto consider = [&](std::string candidate, Slip slip) {
        if (candidate.size() < 2 || candidate == word || !KnowsCapitals(candidate))
            return;
        const auto same = std::find_if(found.begin(), found.end(), [&](const Near& n) { return n.word == candidate; });
        if (same == found.end())
            found.push_back(Near{candidate, slip, Similarity(candidate, word)});
        else if (slip < same->slip)
            same->slip = slip;
    };
    const std::size_t n = word.size();
    for (std::size_t i = 0; i + 1 < n; ++i) {
        std::string swapped = word;
        std::swap(swapped[i], swapped[i + 1]);
        consider(std::move(swapped), Swapped);
    }
    for (std::size_t i = 0; i < n; ++i) {
        const bool doubled = (i > 0 && word[i] == word[i - 1]) || (i + 1 < n && word[i] == word[i + 1]);
        consider(word.substr(0, i) + word.substr(i + 1), doubled ? Doubled : Dropped);
    }
    // Letters only: the apostrophe, hyphen and grave accent are seldom the slip.
    for (const unsigned char letter : kAlphabet) {
        if (!IsLetter(letter))
            continue;
        const char c = static_cast<char>(letter);
        for (std::size_t i = 0; i <= n; ++i) {
            if (i < n && word[i] != c) {
                std::string struck = word;
                struck[i] = c;
                consider(std::move(struck), Struck);
            }
            std::string added = word;
            added.insert(i, 1, c);
            consider(std::move(added), Added);
        }
    }
    // A word of two letters for one of three or more is seldom meant ("ok" for "yok"): after
    // the longer ones.
    const auto stub = [&](const Near& near) { return near.word.size() <= 2 && n >= 3; };
    std::stable_sort(found.begin(), found.end(), [&](const Near& a, const Near& b) {
        if (stub(a) != stub(b))
            return stub(b);
        return a.slip != b.slip ? a.slip < b.slip : a.score > b.score;
    });
    std::vector<std::string> words;
    for (Near& near : found)
        words.push_back(std::move(near.word));
    return words;
}

const std::vector<std::string>& TSpellEngine::GetSuggestions(std::string_view word)
{
    suggestions_.clear();
    const auto spelling = DictionarySpelling(word);
    if (!spelling)
        return suggestions_;
    const std::string_view typed = *spelling;
    EnsureMainDictionary();
    SuggestionSearch search;
    search.word = Capitals(typed.substr(0, UserSection::kMaxWordLength));
    search.capacity = std::size_t(maxSuggestions_);
    if (search.word.empty())
        return suggestions_;

    const SoundKey target = SoundAlikeKey(search.word);
    for (const char first : AlternativeFirstLetters(static_cast<unsigned char>(search.word[0]))) {
        search.key = target;
        search.key[0] = first;
        for (const OpenSection& open : sections_)
            WalkForCandidates(*open.section, search);
    }

    // Two known words run together: a one-letter part only where it is "A" or "I".
    const std::string& w = search.word;
    const auto isAOrI = [](char c) { return c == 'A' || c == 'I'; };
    const std::size_t from = isAOrI(w.front()) ? 1 : 2;
    const std::size_t to = isAOrI(w.back()) ? w.size() - 1 : (w.size() >= 2 ? w.size() - 2 : 0);
    for (std::size_t d = from; d <= to; ++d) {
        const std::string_view head = std::string_view(w).substr(0, d);
        const std::string_view tail = std::string_view(w).substr(d);
        if (KnowsCapitals(head) && KnowsCapitals(tail))
            Score(std::string(head) + " " + std::string(tail), search);
    }

    // Known words one slip away come first: most typing slips are one (two letters swapped, a
    // letter doubled, dropped or struck for another), and the walk above, pruned by sound,
    // misses those that change the first letters or the sound ("teh", "PProgram", "ough").
    std::vector<std::string> ranked = NearWords(search.word);
    for (const Candidate& candidate : search.table) {
        if (std::find(ranked.begin(), ranked.end(), candidate.word) == ranked.end())
            ranked.push_back(candidate.word);
    }
    if (ranked.size() > search.capacity)
        ranked.resize(search.capacity);
    for (const std::string& candidate : ranked)
        suggestions_.push_back(Cp1252ToUtf8(ApplyCasePattern(candidate, typed)));
    return suggestions_;
}

} // namespace quillory::spell
