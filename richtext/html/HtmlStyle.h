// How HTML names fonts, sizes and colours, and the little CSS the reader understands, turned
// into the document's terms (font table names, whole points, colour table indexes).
#pragma once

#include "richtext/model/Attr.h"
#include "richtext/model/Paragraph.h"
#include "richtext/model/TextHeader.h"

#include <optional>
#include <string>
#include <string_view>

namespace quillory::html {

// The points of an HTML font size: "1" to "7", or "+N"/"-N" relative to the base size 3.
std::optional<int> FontSizePoints(std::string_view value) noexcept;
// The HTML font size (1 to 7) nearest to a point size, for the writer.
int HtmlFontSize(int points) noexcept;

// A colour given as "#rrggbb", "rrggbb", "#rgb" or by one of the sixteen HTML colour names.
std::optional<RGBColor> ParseColor(std::string_view value) noexcept;
// The colour table index of a colour: an equal entry (0 to 14 first), else the nearest one.
int ColorIndex(const TTextHeader& header, RGBColor color) noexcept;
// "#rrggbb" in upper case, as the writer gives colours.
std::string ColorText(RGBColor color);

// The font a FACE list or CSS font-family names: its first family, with "courier" and the
// generic families mapped to fonts a diary has.
std::string FontFaceName(std::string_view value);

// Alignment from an ALIGN value or a CSS text-align (left, right, center, justify/justified).
std::optional<Alignment> ParseAlignment(std::string_view value) noexcept;

// The character and paragraph properties of a CSS declaration list; each is set only when the
// style names it.
struct CssStyle {
    std::optional<bool> bold, italic, underline, strikeOut, superscript, subscript;
    std::optional<std::string> fontFace;
    std::optional<int> points;
    std::optional<RGBColor> color, background;
    std::optional<Alignment> alignment;
};
CssStyle ParseCss(std::string_view declarations);

// Applies the character properties of a style to an attribute record.
void ApplyCss(const CssStyle& style, TAttr& attr, TTextHeader& header);

// Letter case folded to lower case, for comparing names.
std::string LowerCase(std::string_view text);

} // namespace quillory::html
