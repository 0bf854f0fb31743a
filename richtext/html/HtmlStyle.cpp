// Fonts, sizes, colours and CSS of HTML in the document's terms; see HtmlStyle.h.
#include "richtext/html/HtmlStyle.h"

#include <array>
#include <charconv>
#include <cstdlib>

namespace quillory::html {
namespace {

constexpr std::array<int, 7> kSizePoints = {8, 10, 12, 14, 18, 24, 36};

struct NamedColor {
    std::string_view name;
    RGBColor color;
};

constexpr NamedColor kNamedColors[] = {
    {"black", {0, 0, 0}},        {"silver", {192, 192, 192}}, {"gray", {128, 128, 128}},
    {"grey", {128, 128, 128}},   {"white", {255, 255, 255}},  {"maroon", {128, 0, 0}},
    {"red", {255, 0, 0}},        {"purple", {128, 0, 128}},   {"fuchsia", {255, 0, 255}},
    {"magenta", {255, 0, 255}},  {"green", {0, 128, 0}},      {"lime", {0, 255, 0}},
    {"olive", {128, 128, 0}},    {"yellow", {255, 255, 0}},   {"navy", {0, 0, 128}},
    {"blue", {0, 0, 255}},       {"teal", {0, 128, 128}},     {"aqua", {0, 255, 255}},
    {"cyan", {0, 255, 255}},
};

std::string_view Trim(std::string_view text) noexcept
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '"' || text.front() == '\''))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '"' || text.back() == '\''))
        text.remove_suffix(1);
    return text;
}

int HexValue(char c) noexcept
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<int> Integer(std::string_view text) noexcept
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data())
        return std::nullopt;
    return value;
}

// A CSS length in points: "12pt", "16px" (at 96 pixels per inch), or a bare number of points.
std::optional<int> CssPoints(std::string_view value) noexcept
{
    double number = 0;
    const char* end = value.data() + value.size();
    const auto [rest, error] = std::from_chars(value.data(), end, number);
    if (error != std::errc() || number <= 0 || number > 1000)
        return std::nullopt;
    const std::string_view unit(rest, std::size_t(end - rest));
    if (unit == "px")
        number = number * 72 / 96;
    else if (!unit.empty() && unit != "pt")
        return std::nullopt;
    return int(number + 0.5);
}

bool Contains(std::string_view text, std::string_view part) noexcept
{
    return text.find(part) != std::string_view::npos;
}

} // namespace

std::string LowerCase(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = char(c + 32);
    }
    return lower;
}

std::optional<int> FontSizePoints(std::string_view value) noexcept
{
    value = Trim(value);
    if (value.empty())
        return std::nullopt;
    const bool relative = value.front() == '+' || value.front() == '-';
    const auto number = Integer(value.front() == '+' ? value.substr(1) : value);
    if (!number || *number < -100 || *number > 100)
        return std::nullopt;
    int size = relative ? 3 + *number : *number;
    size = size < 1 ? 1 : size > 7 ? 7 : size;
    return kSizePoints[std::size_t(size - 1)];
}

int HtmlFontSize(int points) noexcept
{
    int best = 1;
    for (int size = 1; size <= 7; ++size) {
        if (std::abs(kSizePoints[std::size_t(size - 1)] - points) < std::abs(kSizePoints[std::size_t(best - 1)] - points))
            best = size;
    }
    return best;
}

std::optional<RGBColor> ParseColor(std::string_view value) noexcept
{
    value = Trim(value);
    const std::string lower = LowerCase(value);
    for (const NamedColor& named : kNamedColors) {
        if (named.name == lower)
            return named.color;
    }
    if (!value.empty() && value.front() == '#')
        value.remove_prefix(1);
    for (char c : value) {
        if (HexValue(c) < 0)
            return std::nullopt;
    }
    if (value.size() == 6) {
        return RGBColor{std::uint8_t(HexValue(value[0]) * 16 + HexValue(value[1])),
                        std::uint8_t(HexValue(value[2]) * 16 + HexValue(value[3])),
                        std::uint8_t(HexValue(value[4]) * 16 + HexValue(value[5]))};
    }
    if (value.size() == 3) {
        return RGBColor{std::uint8_t(HexValue(value[0]) * 17), std::uint8_t(HexValue(value[1]) * 17),
                        std::uint8_t(HexValue(value[2]) * 17)};
    }
    return std::nullopt;
}

int ColorIndex(const TTextHeader& header, RGBColor color) noexcept
{
    color.spare = 0;
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < ColorCount; ++i) {
        const RGBColor& entry = header.colors[std::size_t(i)];
        const long dr = long(entry.red) - color.red;
        const long dg = long(entry.green) - color.green;
        const long db = long(entry.blue) - color.blue;
        const long distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

std::string ColorText(RGBColor color)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "#";
    for (std::uint8_t part : {color.red, color.green, color.blue}) {
        text += kDigits[part >> 4];
        text += kDigits[part & 15];
    }
    return text;
}

std::string FontFaceName(std::string_view value)
{
    const std::size_t comma = value.find(',');
    const std::string_view first = Trim(value.substr(0, comma));
    const std::string lower = LowerCase(first);
    if (lower == "courier" || lower == "monospace")
        return "Courier New";
    if (lower == "serif")
        return "Times New Roman";
    if (lower == "sans-serif")
        return "Arial";
    return std::string(first);
}

std::optional<Alignment> ParseAlignment(std::string_view value) noexcept
{
    const std::string lower = LowerCase(Trim(value));
    if (lower == "left")
        return Alignment::Left;
    if (lower == "right")
        return Alignment::Right;
    if (lower == "center" || lower == "centre" || lower == "middle")
        return Alignment::Center;
    if (lower == "justify" || lower == "justified")
        return Alignment::Justified;
    return std::nullopt;
}

CssStyle ParseCss(std::string_view declarations)
{
    CssStyle style;
    while (!declarations.empty()) {
        const std::size_t end = declarations.find(';');
        const std::string_view declaration = declarations.substr(0, end);
        declarations = end == std::string_view::npos ? std::string_view() : declarations.substr(end + 1);
        const std::size_t colon = declaration.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string property = LowerCase(Trim(declaration.substr(0, colon)));
        const std::string_view rawValue = Trim(declaration.substr(colon + 1));
        const std::string value = LowerCase(rawValue);
        if (property == "font-weight") {
            const auto weight = Integer(value);
            style.bold = Contains(value, "bold") || (weight && *weight >= 600);
        } else if (property == "font-style") {
            style.italic = value == "italic" || value == "oblique";
        } else if (property == "text-decoration" || property == "text-decoration-line") {
            style.underline = Contains(value, "underline");
            style.strikeOut = Contains(value, "line-through");
        } else if (property == "font-family") {
            style.fontFace = FontFaceName(rawValue);
        } else if (property == "font-size") {
            style.points = CssPoints(value);
        } else if (property == "color") {
            style.color = ParseColor(value);
        } else if (property == "background-color" || property == "background") {
            style.background = ParseColor(value);
        } else if (property == "text-align") {
            style.alignment = ParseAlignment(value);
        } else if (property == "vertical-align") {
            style.superscript = value == "super";
            style.subscript = value == "sub";
        }
    }
    return style;
}

void ApplyCss(const CssStyle& style, TAttr& attr, TTextHeader& header)
{
    auto set = [&attr](const std::optional<bool>& on, std::uint8_t bit) {
        if (on)
            attr.style = *on ? std::uint8_t(attr.style | bit) : std::uint8_t(attr.style & ~bit);
    };
    set(style.bold, AttrStyle::Bold);
    set(style.italic, AttrStyle::Italic);
    set(style.underline, AttrStyle::Underline);
    set(style.strikeOut, AttrStyle::StrikeOut);
    set(style.superscript, AttrStyle::Superscript);
    set(style.subscript, AttrStyle::Subscript);
    if (style.fontFace && !style.fontFace->empty()) {
        const int index = header.addFont(*style.fontFace);
        if (index >= 0 && index < MaxFonts)
            attr.font = std::uint8_t(index);
    }
    if (style.points)
        attr.size = std::uint8_t(*style.points > 255 ? 255 : *style.points);
    if (style.color)
        attr.setTextColor(ColorIndex(header, *style.color));
    if (style.background)
        attr.setBackColor(ColorIndex(header, *style.background));
}

} // namespace quillory::html
