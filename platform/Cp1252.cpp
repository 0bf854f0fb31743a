// The cp1252 table and UTF-8 coding. Bytes below 0x80 and from 0xA0 are the Unicode
// characters of the same number; only 0x80..0x9F need the table.
#include "platform/Cp1252.h"

#include "platform/Utf8.h"

#include <array>

namespace quillory {

namespace {

constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

// Decodes one UTF-8 sequence at `at`; advances `at`; nothing when malformed. A U+FFFD of the
// text itself is three bytes long, a malformed byte reads as one of length 1.
std::optional<char32_t> DecodeOne(std::string_view utf8, std::size_t& at)
{
    int length = 1;
    const char32_t c = DecodeUtf8At(utf8, at, length);
    if (c == ReplacementCharacter && length == 1)
        return std::nullopt;
    at += std::size_t(length);
    return c;
}

} // namespace

char32_t Cp1252ToUnicode(unsigned char byte) noexcept
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControls[byte - 0x80];
    return byte;
}

std::optional<unsigned char> UnicodeToCp1252(char32_t c) noexcept
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<unsigned char>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

std::u32string Cp1252ToU32(std::string_view bytes)
{
    std::u32string text;
    text.reserve(bytes.size());
    for (const char byte : bytes)
        text += Cp1252ToUnicode(static_cast<unsigned char>(byte));
    return text;
}

std::string Cp1252ToUtf8(std::string_view bytes)
{
    std::string utf8;
    utf8.reserve(bytes.size());
    for (const char byte : bytes)
        AppendUtf8(utf8, Cp1252ToUnicode(static_cast<unsigned char>(byte)));
    return utf8;
}

std::optional<std::string> U32ToCp1252(std::u32string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (const char32_t c : text) {
        const auto byte = UnicodeToCp1252(c);
        if (!byte)
            return std::nullopt;
        bytes += static_cast<char>(*byte);
    }
    return bytes;
}

std::optional<std::string> Utf8ToCp1252(std::string_view utf8)
{
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const auto c = DecodeOne(utf8, at);
        if (!c)
            return std::nullopt;
        const auto byte = UnicodeToCp1252(*c);
        if (!byte)
            return std::nullopt;
        bytes += static_cast<char>(*byte);
    }
    return bytes;
}

std::string Utf8ToCp1252Lossy(std::string_view utf8, char replacement)
{
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const auto c = DecodeOne(utf8, at);
        if (!c) {
            ++at;  // skip one byte of the broken sequence and go on
            bytes += replacement;
            continue;
        }
        const auto byte = UnicodeToCp1252(*c);
        bytes += byte ? static_cast<char>(*byte) : replacement;
    }
    return bytes;
}

std::optional<std::u32string> DecodeUtf8(std::string_view utf8)
{
    std::u32string text;
    text.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const auto c = DecodeOne(utf8, at);
        if (!c)
            return std::nullopt;
        text += *c;
    }
    return text;
}

std::string EncodeUtf8(std::u32string_view text)
{
    std::string utf8;
    utf8.reserve(text.size());
    for (const char32_t c : text)
        AppendUtf8(utf8, c); // a value that is no character (a surrogate, past U+10FFFF) becomes U+FFFD
    return utf8;
}

} // namespace quillory
