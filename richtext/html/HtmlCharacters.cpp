// Entity names and the cp1252 mapping used by the HTML reader and writer.
#include "richtext/html/HtmlCharacters.h"

#include <array>
#include <cstdint>

namespace quillory::html {
namespace {

// Unicode characters of cp1252 bytes 0x80 to 0x9F; undefined bytes stand for themselves.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

struct Entity {
    std::string_view name;
    char32_t code;
};

// The entities whose characters cp1252 holds: the markup characters, the Latin-1 set and the
// typographic ones of the 0x80-0x9F range.
constexpr Entity kEntities[] = {
    {"quot", 0x22}, {"amp", 0x26}, {"apos", 0x27}, {"lt", 0x3C}, {"gt", 0x3E},
    {"nbsp", 0xA0}, {"iexcl", 0xA1}, {"cent", 0xA2}, {"pound", 0xA3}, {"curren", 0xA4},
    {"yen", 0xA5}, {"brvbar", 0xA6}, {"sect", 0xA7}, {"uml", 0xA8}, {"copy", 0xA9},
    {"ordf", 0xAA}, {"laquo", 0xAB}, {"not", 0xAC}, {"shy", 0xAD}, {"reg", 0xAE},
    {"macr", 0xAF}, {"deg", 0xB0}, {"plusmn", 0xB1}, {"sup2", 0xB2}, {"sup3", 0xB3},
    {"acute", 0xB4}, {"micro", 0xB5}, {"para", 0xB6}, {"middot", 0xB7}, {"cedil", 0xB8},
    {"sup1", 0xB9}, {"ordm", 0xBA}, {"raquo", 0xBB}, {"frac14", 0xBC}, {"frac12", 0xBD},
    {"frac34", 0xBE}, {"iquest", 0xBF}, {"Agrave", 0xC0}, {"Aacute", 0xC1}, {"Acirc", 0xC2},
    {"Atilde", 0xC3}, {"Auml", 0xC4}, {"Aring", 0xC5}, {"AElig", 0xC6}, {"Ccedil", 0xC7},
    {"Egrave", 0xC8}, {"Eacute", 0xC9}, {"Ecirc", 0xCA}, {"Euml", 0xCB}, {"Igrave", 0xCC},
    {"Iacute", 0xCD}, {"Icirc", 0xCE}, {"Iuml", 0xCF}, {"ETH", 0xD0}, {"Ntilde", 0xD1},
    {"Ograve", 0xD2}, {"Oacute", 0xD3}, {"Ocirc", 0xD4}, {"Otilde", 0xD5}, {"Ouml", 0xD6},
    {"times", 0xD7}, {"Oslash", 0xD8}, {"Ugrave", 0xD9}, {"Uacute", 0xDA}, {"Ucirc", 0xDB},
    {"Uuml", 0xDC}, {"Yacute", 0xDD}, {"THORN", 0xDE}, {"szlig", 0xDF}, {"agrave", 0xE0},
    {"aacute", 0xE1}, {"acirc", 0xE2}, {"atilde", 0xE3}, {"auml", 0xE4}, {"aring", 0xE5},
    {"aelig", 0xE6}, {"ccedil", 0xE7}, {"egrave", 0xE8}, {"eacute", 0xE9}, {"ecirc", 0xEA},
    {"euml", 0xEB}, {"igrave", 0xEC}, {"iacute", 0xED}, {"icirc", 0xEE}, {"iuml", 0xEF},
    {"eth", 0xF0}, {"ntilde", 0xF1}, {"ograve", 0xF2}, {"oacute", 0xF3}, {"ocirc", 0xF4},
    {"otilde", 0xF5}, {"ouml", 0xF6}, {"divide", 0xF7}, {"oslash", 0xF8}, {"ugrave", 0xF9},
    {"uacute", 0xFA}, {"ucirc", 0xFB}, {"uuml", 0xFC}, {"yacute", 0xFD}, {"thorn", 0xFE},
    {"yuml", 0xFF}, {"euro", 0x20AC}, {"sbquo", 0x201A}, {"fnof", 0x0192}, {"bdquo", 0x201E},
    {"hellip", 0x2026}, {"dagger", 0x2020}, {"Dagger", 0x2021}, {"circ", 0x02C6},
    {"permil", 0x2030}, {"Scaron", 0x0160}, {"lsaquo", 0x2039}, {"OElig", 0x0152},
    {"lsquo", 0x2018}, {"rsquo", 0x2019}, {"ldquo", 0x201C}, {"rdquo", 0x201D},
    {"bull", 0x2022}, {"ndash", 0x2013}, {"mdash", 0x2014}, {"tilde", 0x02DC},
    {"trade", 0x2122}, {"scaron", 0x0161}, {"rsaquo", 0x203A}, {"oelig", 0x0153},
    {"Yuml", 0x0178},
};

} // namespace

std::optional<unsigned char> UnicodeToCp1252(char32_t code) noexcept
{
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return static_cast<unsigned char>(code);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == code)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

char32_t Cp1252ToUnicode(unsigned char byte) noexcept
{
    if (byte >= 0x80 && byte < 0xA0)
        return kHighControls[byte - 0x80];
    return byte;
}

std::optional<char32_t> EntityCharacter(std::string_view name) noexcept
{
    for (const Entity& entity : kEntities) {
        if (entity.name == name)
            return entity.code;
    }
    return std::nullopt;
}

std::string_view EntityName(unsigned char byte) noexcept
{
    switch (byte) {
    case '"': return "quot";
    case '&': return "amp";
    case '<': return "lt";
    case '>': return "gt";
    default: break;
    }
    if (byte < 0x80)
        return {};
    const char32_t code = Cp1252ToUnicode(byte);
    for (const Entity& entity : kEntities) {
        if (entity.code == code)
            return entity.name;
    }
    return {};
}

} // namespace quillory::html
