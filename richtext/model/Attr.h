// The attributes of one character (TAttr), the special character codes and the flag bits.
#pragma once

#include <cstdint>

namespace quillory {

// Bits of TAttr::style.
namespace AttrStyle {
inline constexpr std::uint8_t Bold = 0x01;
inline constexpr std::uint8_t Italic = 0x02;
inline constexpr std::uint8_t Underline = 0x04;
inline constexpr std::uint8_t StrikeOut = 0x08;
inline constexpr std::uint8_t Hyperlink = 0x10;
inline constexpr std::uint8_t Superscript = 0x40;
inline constexpr std::uint8_t Subscript = 0x80;
} // namespace AttrStyle

// Bits of TAttr::flags.
namespace AttrFlag {
inline constexpr std::uint8_t Hidden = 0x01;
inline constexpr std::uint8_t Protected = 0x02;
inline constexpr std::uint8_t RtfCode = 0x04;        // the characters are RTF source, written unescaped
inline constexpr std::uint8_t FootnoteAnchor = 0x08; // tag = footnote number
inline constexpr std::uint8_t InsertPoint = 0x10;    // tag = insert-point number
inline constexpr std::uint8_t Automatic = 0x20;
inline constexpr std::uint8_t Object = 0x40;         // placeholder; tag = object tag
} // namespace AttrFlag

// Character codes with a meaning of their own. Paragraph ends are not characters, and CR never
// appears in the text.
namespace CharCode {
inline constexpr unsigned char Object = 1;       // object placeholder, found by the TAttr tag
inline constexpr unsigned char ObjectSecond = 2; // second kind of placeholder, same lookup
inline constexpr unsigned char Reserved = 3;
inline constexpr unsigned char Tab = 9;
inline constexpr unsigned char SoftBreak = 10; // line break inside a paragraph
} // namespace CharCode

inline constexpr int DefaultPointSize = 10; // what a size of 0 means

struct TAttr {
    // Set by layout; not part of a run's identity.
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint16_t ascent = 0;

    std::uint8_t font = 0;  // index into the header's font table
    std::uint8_t color = 0; // low nibble text colour, high nibble background colour (0-15)
    std::uint8_t style = 0; // AttrStyle bits
    std::uint8_t flags = 0; // AttrFlag bits
    std::uint8_t size = 0;  // whole points, 0 = DefaultPointSize
    std::uint16_t tag = 0;  // object tag, footnote number or insert-point number

    int textColor() const noexcept { return color & 0x0F; }
    int backColor() const noexcept { return color >> 4; }
    void setTextColor(int index) noexcept { color = std::uint8_t((color & 0xF0) | (index & 0x0F)); }
    void setBackColor(int index) noexcept { color = std::uint8_t((color & 0x0F) | ((index & 0x0F) << 4)); }
    int pointSize() const noexcept { return size ? size : DefaultPointSize; }
    bool hasStyle(std::uint8_t bit) const noexcept { return (style & bit) != 0; }
    bool hasFlag(std::uint8_t bit) const noexcept { return (flags & bit) != 0; }

    // Two characters belong to one run when font, size, colour, style and flags agree.
    bool sameRun(const TAttr& other) const noexcept
    {
        return font == other.font && size == other.size && color == other.color
            && style == other.style && flags == other.flags;
    }

    // Equal as stored: the run identity and the tag; the layout fields do not count.
    friend bool operator==(const TAttr& a, const TAttr& b) noexcept
    {
        return a.sameRun(b) && a.tag == b.tag;
    }
};

} // namespace quillory
