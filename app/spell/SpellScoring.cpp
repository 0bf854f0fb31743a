// Sound-alike keys, the similarity score and the case pattern of suggestions.
#include "app/spell/SpellScoring.h"

#include "app/spell/SpellAlphabet.h"

#include <algorithm>

namespace quillory::spell {

namespace {

struct FirstLetterRow {
    std::string_view firsts;  // the first letters this row is for
    std::string_view tried;   // the letters tried, in order
};

// cp1252: \xC0-\xC6 À-Æ, \xC7 Ç, \xC8-\xCF È-Ï, \xCC-\xCF Ì-Ï, \xD0 Ð, \xD1 Ñ, \xD2-\xD6 Ò-Ö,
// \xD9-\xDC Ù-Ü, \xDD Ý, \xDE Þ, \xDF ß, \x8A Š, \x8C Œ, \x9F Ÿ.
constexpr FirstLetterRow kFirstLetters[] = {
    {"A\xC0\xC1\xC2\xC3\xC4\xC5\xC6", "EDA\xC0\xC1\xC2\xC3\xC4\xC5\xC6"},
    {"B\xDF", "PVNB\xDF"},
    {"C\x8C\xC7", "SXVC\xC7\x8C"},
    {"D\xD0", "FD\xD0"},
    {"E\xC8\xC9\xCA\xCB", "IWRE\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF"},
    {"F", "DGF"},
    {"G", "JG"},
    {"H", "JGH"},
    {"I\xCC\xCD\xCE\xCF", "EOUI\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF"},
    {"J", "GJ"},
    {"K", "CLJK"},
    {"L", "KL"},
    {"M", "NM\xD1"},
    {"N\xD1", "MBN\xD1"},
    {"O\xD2\xD3\xD4\xD5\xD6", "PIO\xD2\xD3\xD4\xD5\xD6\xCC\xCD\xCE\xCF"},
    {"P\xDE", "BOP\xDE"},
    {"Q", "WQ"},
    {"R", "ETR"},
    {"S", "ACDS\x8A\x8C"},
    {"T", "YRT"},
    {"U\xD9\xDA\xDB\xDC", "YIU\xD9\xDA\xDB\xDC"},
    {"V", "BCV\xC7\x8C"},
    {"W", "QEW"},
    {"X", "CZX"},
    {"Y\x9F\xDD", "TUY\x9F\xDD"},
    {"Z", "XZ"},
};

// Sound groups, stored as the bytes 1 to 7; 0 = the character stays (after the mapping below).
char SoundGroup(unsigned char c) noexcept
{
    switch (c) {
    case 'B': case 'F': case 'P': case 'V': case 0xDE: case 0xDF: case '6': case '8':
        return 1;
    case 'C': case 'G': case 'J': case 'K': case 'Q': case 'S': case 'X': case 'Z':
    case 0x8A: case 0x8C: case 0xC7: case '3': case '4': case '5': case '9':
        return 2;
    case 'D': case 'T': case 0xD0:
        return 3;
    case 'L': case '2':
        return 4;
    case 'M': case 'N': case 0xD1:
        return 5;
    case 'R':
        return 6;
    case '\'': case '-': case '`':
        return 7;
    default:
        return 0;
    }
}

bool IsSilent(unsigned char c) noexcept
{
    switch (c) {
    case 'A': case 'E': case 'H': case 'I': case 'O': case 'U': case 'W': case 'Y': case 0x9F: case 0xD8:
    case 0xF0:
        return true;
    default:
        return (c >= 0xC0 && c <= 0xC6) || (c >= 0xC8 && c <= 0xCF) || (c >= 0xD2 && c <= 0xD6) ||
               (c >= 0xD9 && c <= 0xDD);
    }
}

// Longest common run, the first found scanning the candidate then the word left to right;
// then the same on the parts to its right and to its left.
int MatchedCharacters(std::string_view a, std::string_view b)
{
    if (a.empty() || b.empty())
        return 0;
    std::size_t best = 0, atA = 0, atB = 0;
    for (std::size_t i = 0; i < a.size() && a.size() - i > best; ++i) {
        for (std::size_t j = 0; j < b.size() && b.size() - j > best; ++j) {
            std::size_t n = 0;
            while (i + n < a.size() && j + n < b.size() && a[i + n] == b[j + n])
                ++n;
            if (n > best) {
                best = n;
                atA = i;
                atB = j;
            }
        }
    }
    if (best == 0)
        return 0;
    return int(best) + MatchedCharacters(a.substr(atA + best), b.substr(atB + best)) +
           MatchedCharacters(a.substr(0, atA), b.substr(0, atB));
}

} // namespace

std::string_view AlternativeFirstLetters(unsigned char first) noexcept
{
    for (const FirstLetterRow& row : kFirstLetters) {
        if (row.firsts.find(static_cast<char>(first)) != std::string_view::npos)
            return row.tried;
    }
    // Any other first character is tried alone: a view of one byte of a static table.
    static const auto kSelf = [] {
        std::array<char, 256> all{};
        for (int c = 0; c < 256; ++c)
            all[c] = static_cast<char>(c);
        return all;
    }();
    return std::string_view(&kSelf[first], 1);
}

SoundKey SoundAlikeKey(std::string_view capitals, const SoundKey& padding)
{
    SoundKey key = padding;
    if (capitals.empty())
        return key;
    key[0] = capitals[0];
    std::size_t length = 1;
    // Later occurrences of a character already kept (from the second place on) are dropped,
    // adjacent or not; the first character is never compared.
    for (std::size_t i = 1; i < capitals.size() && length < key.size(); ++i) {
        const auto c = static_cast<unsigned char>(capitals[i]);
        if (IsSilent(c))
            continue;
        char mapped = SoundGroup(c);
        if (mapped == 0)
            mapped = c == '0' ? 'O' : (c == '1' || c == '7') ? 'I' : static_cast<char>(c);
        if (std::find(key.begin() + 1, key.begin() + length, mapped) != key.begin() + length)
            continue;
        key[length++] = mapped;
    }
    return key;
}

int Similarity(std::string_view candidate, std::string_view word)
{
    std::string bare;
    bare.reserve(candidate.size());
    for (const char c : candidate) {
        if (c != '\'')
            bare.push_back(c);
    }
    const std::size_t total = bare.size() + word.size();
    if (total == 0)
        return 0;
    return int(std::size_t(MatchedCharacters(bare, word)) * 2 * 100 / total);
}

std::string ApplyCasePattern(std::string_view suggestion, std::string_view typed)
{
    std::string out(suggestion);
    if (std::none_of(typed.begin(), typed.end(), [](char c) { return IsSmallLetter(static_cast<unsigned char>(c)); }))
        return out;
    for (char& c : out)
        c = static_cast<char>(Small(static_cast<unsigned char>(c)));
    const auto counts = [](char c) { return c == '\'' || IsLetter(static_cast<unsigned char>(c)); };
    std::size_t i = 0, j = 0;
    while (true) {
        while (i < typed.size() && !counts(typed[i]))
            ++i;
        while (j < out.size() && !counts(out[j]))
            ++j;
        if (i >= typed.size() || j >= out.size())
            break;
        const auto t = static_cast<unsigned char>(typed[i]);
        if (IsLetter(t) && Capital(t) == t && Small(t) != t)
            out[j] = static_cast<char>(Capital(static_cast<unsigned char>(out[j])));
        ++i;
        ++j;
    }
    return out;
}

} // namespace quillory::spell
