// The dictionaries' alphabet and capitals, as one table built once.
#include "app/spell/SpellAlphabet.h"

#include "platform/Cp1252.h"
#include "platform/Utf8.h"

namespace quillory::spell {

namespace {

constexpr std::array<unsigned char, 64> MakeAlphabet()
{
    std::array<unsigned char, 64> letters{};
    int at = 0;
    for (int c = 'A'; c <= 'Z'; ++c)
        letters[at++] = static_cast<unsigned char>(c);
    letters[at++] = '\'';
    letters[at++] = '-';
    letters[at++] = 0x8A;
    letters[at++] = 0x8C;
    letters[at++] = 0x9F;
    for (int c = 0xC0; c <= 0xD6; ++c)
        letters[at++] = static_cast<unsigned char>(c);
    for (int c = 0xD8; c <= 0xDF; ++c)
        letters[at++] = static_cast<unsigned char>(c);
    letters[at++] = 0xF0;
    letters[at++] = '`';
    return letters;
}

constexpr unsigned char kNoCode = 0xFF;

struct Tables {
    std::array<unsigned char, 256> capital{};
    std::array<unsigned char, 256> small{};
    std::array<unsigned char, 256> code{};  // of the capital; kNoCode when not in the alphabet
};

constexpr Tables MakeTables()
{
    Tables t{};
    for (int c = 0; c < 256; ++c) {
        int up = c;
        if (c >= 'a' && c <= 'z')
            up = c - 32;
        else if (c == 0x9A)
            up = 0x8A;
        else if (c == 0x9C)
            up = 0x8C;
        else if (c == 0xFF)
            up = 0x9F;
        else if (c >= 0xE0 && c <= 0xFE && c != 0xF0 && c != 0xF7)
            up = c - 0x20;
        t.capital[c] = static_cast<unsigned char>(up);
        t.small[c] = static_cast<unsigned char>(c);
        t.code[c] = kNoCode;
    }
    for (int c = 0; c < 256; ++c) {
        if (t.capital[c] != c)
            t.small[t.capital[c]] = static_cast<unsigned char>(c);
    }
    const auto letters = MakeAlphabet();
    for (int c = 0; c < 256; ++c) {
        for (int i = 0; i < 64; ++i) {
            if (letters[i] == t.capital[c])
                t.code[c] = static_cast<unsigned char>(i);
        }
    }
    return t;
}

constexpr Tables kTables = MakeTables();

} // namespace

const std::array<unsigned char, 64> kAlphabet = MakeAlphabet();

unsigned char Capital(unsigned char c) noexcept { return kTables.capital[c]; }
unsigned char Small(unsigned char c) noexcept { return kTables.small[c]; }

std::uint8_t LetterCode(unsigned char c) noexcept
{
    const unsigned char code = kTables.code[c];
    return code == kNoCode ? 0 : code;
}

bool InAlphabet(unsigned char c) noexcept { return kTables.code[c] != kNoCode; }

bool IsLetter(unsigned char c) noexcept
{
    const unsigned char code = kTables.code[c];
    return code != kNoCode && code != 26 && code != 27 && code != 63;
}

bool IsSmallLetter(unsigned char c) noexcept { return IsLetter(c) && Capital(c) != c; }

std::string Capitals(std::string_view word)
{
    std::string out(word);
    for (char& c : out)
        c = static_cast<char>(Capital(static_cast<unsigned char>(c)));
    return out;
}

std::optional<std::string> DictionarySpelling(std::string_view utf8)
{
    std::string spelling;
    spelling.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        int length = 1;
        const char32_t c = DecodeUtf8At(utf8, at, length);
        at += std::size_t(length);
        const auto byte = c == 0x2019 ? std::optional<unsigned char>('\'') : UnicodeToCp1252(c);
        if (!byte || !InAlphabet(*byte))
            return std::nullopt;
        spelling += char(*byte);
    }
    return spelling;
}

} // namespace quillory::spell
