// UTF-8 decoding and stepping, lenient where text must go on and strict where it is checked.
#include "platform/Utf8.h"

#include "platform/Cp1252.h"

namespace quillory {

char32_t DecodeUtf8At(std::string_view text, std::size_t at, int& length) noexcept
{
    length = 1;
    if (at >= text.size())
        return ReplacementCharacter;
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80)
        return lead;
    int count;
    char32_t value;
    char32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF)
        count = 2, value = lead & 0x1F, minimum = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF)
        count = 3, value = lead & 0x0F, minimum = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4)
        count = 4, value = lead & 0x07, minimum = 0x10000;
    else
        return ReplacementCharacter;
    if (text.size() - at < std::size_t(count))
        return ReplacementCharacter;
    for (int i = 1; i < count; ++i) {
        const auto next = static_cast<unsigned char>(text[at + std::size_t(i)]);
        if (!IsUtf8Continuation(next))
            return ReplacementCharacter;
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return ReplacementCharacter;
    length = count;
    return value;
}

std::size_t NextCharBoundary(std::string_view text, std::size_t at) noexcept
{
    if (at >= text.size())
        return text.size();
    int length = 1;
    DecodeUtf8At(text, at, length);
    return at + std::size_t(length);
}

std::size_t CharBoundaryAtOrBefore(std::string_view text, std::size_t at) noexcept
{
    if (at >= text.size())
        return text.size();
    // A well-formed character has at most three continuation bytes; a longer stretch of them
    // is malformed, and each of its bytes stands for a character of its own.
    for (std::size_t back = 0; back < 4 && back <= at; ++back) {
        const std::size_t start = at - back;
        if (!IsUtf8Continuation(static_cast<unsigned char>(text[start]))) {
            int length = 1;
            DecodeUtf8At(text, start, length);
            return start + std::size_t(length) > at ? start : at;
        }
    }
    return at;
}

std::size_t PrevCharBoundary(std::string_view text, std::size_t at) noexcept
{
    if (at == 0)
        return 0;
    return CharBoundaryAtOrBefore(text, std::min(at, text.size()) - 1);
}

std::size_t Utf8Length(char32_t c) noexcept
{
    return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = ReplacementCharacter;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool IsWellFormedUtf8(std::string_view text) noexcept
{
    for (std::size_t at = 0; at < text.size();) {
        if (static_cast<unsigned char>(text[at]) < 0x80) {
            ++at;
            continue;
        }
        int length = 1;
        if (DecodeUtf8At(text, at, length) == ReplacementCharacter && length == 1)
            return false;
        at += std::size_t(length);
    }
    return true;
}

std::string Utf8OrCp1252(std::string_view bytes)
{
    if (IsWellFormedUtf8(bytes))
        return std::string(bytes);
    return Cp1252ToUtf8(bytes);
}

std::string RepairUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        int length = 1;
        const char32_t c = DecodeUtf8At(bytes, at, length);
        if (c == ReplacementCharacter && length == 1)
            AppendUtf8(out, ReplacementCharacter);
        else
            out.append(bytes.substr(at, std::size_t(length)));
        at += std::size_t(length);
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            c = CombineSurrogates(c, text[i + 1]);
            ++i;
        }
        AppendUtf8(out, c); // an unpaired surrogate becomes U+FFFD there
    }
    return out;
}

} // namespace quillory
