// The drawing surface the layout engine measures and paints through: fonts, widths, text, lines,
// rectangles and pictures. The screen, the printer and tests each provide one.
#pragma once

#include "richtext/model/TextHeader.h"
#include "richtext/model/TextObject.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quillory {

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const noexcept { return left + width; }
    int bottom() const noexcept { return top + height; }
    bool empty() const noexcept { return width <= 0 || height <= 0; }
    bool intersects(const Rect& o) const noexcept
    {
        return left < o.right() && o.left < right() && top < o.bottom() && o.top < bottom();
    }
    bool contains(int x, int y) const noexcept { return x >= left && x < right() && y >= top && y < bottom(); }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A font as the document names it. Underline and strike-out are drawn by the engine as lines.
struct FontRequest {
    std::string name;
    int pointSize = 10;
    bool bold = false;
    bool italic = false;
    bool symbol = false; // a symbol character set: bytes map to the font's own glyphs
    friend bool operator==(const FontRequest&, const FontRequest&) = default;
};

// Advance widths in pixels of the characters of the 256 cp1252 bytes in one font. The layout reads
// the ASCII half, which measures most text without asking the font; other characters are measured
// by textWidth.
using WidthTable = std::array<std::uint16_t, 256>;

enum class PenStyle : std::uint8_t { Solid, Dotted, Hairline };

struct Pen {
    RGBColor color;
    int width = 1;
    PenStyle style = PenStyle::Solid;
};

class Canvas {
public:
    virtual ~Canvas() = default;

    // Pixels per inch in which layout values are given to this canvas.
    virtual int resolutionX() const = 0;
    virtual int resolutionY() const = 0;

    // Selects the font that the metric queries and drawText use.
    virtual void selectFont(const FontRequest& font) = 0;
    virtual const WidthTable& widths() = 0;
    virtual int fontHeight() = 0;
    virtual int fontAscent() = 0;

    // The advance of UTF-8 text in the selected font, shaped as one string; a character the font
    // lacks is measured in the fallback font it is drawn in. In a symbol font a character stands
    // for its cp1252 byte.
    virtual int textWidth(std::string_view utf8) = 0;
    // The advances of the pieces (grapheme clusters) of a stretch shaped as one string, as
    // drawShapedText draws it: piece k ends at ends[k] (increasing, the last text.size()); their
    // sum is the stretch's textWidth. By default each piece is measured by itself.
    virtual void pieceWidths(std::string_view utf8, std::span<const int> ends, std::span<int> widths);

    // Draws UTF-8 text from the baseline at (x, baseline), each grapheme cluster by itself, placed
    // the sum of the advances before it after x (advances.size() == text.size(); a cluster's
    // advance is on its first byte, its other bytes have 0).
    virtual void drawText(int x, int baseline, std::string_view text, std::span<const int> advances,
                          RGBColor color) = 0;
    // Draws a stretch shaped as one string (joining letters, marks on their letters, the visual
    // order of its characters) with its left edge at x; `rightToLeft` is the direction it is
    // embedded in. It takes textWidth(text) pixels.
    virtual void drawShapedText(int x, int baseline, std::string_view text, bool rightToLeft, RGBColor color) = 0;
    virtual void drawLine(int x1, int y1, int x2, int y2, const Pen& pen) = 0;
    virtual void fillRect(const Rect& rect, RGBColor color) = 0;
    // Shading: the background colour with `percent` of the pattern colour laid over it.
    virtual void fillShading(const Rect& rect, RGBColor pattern, RGBColor background, int percent) = 0;
    virtual void frameRect(const Rect& rect, const Pen& pen) = 0;
    // Inverts the pixels (selection highlight).
    virtual void invertRect(const Rect& rect) = 0;
    // Draws a picture from the model's bytes, stretched to the rectangle.
    virtual void drawPicture(const TGraphic& graphic, const Rect& rect) = 0;

    // Printing: coordinates given after this call are multiplied by the factors (device pixels per
    // layout pixel) and moved by the offset (device pixels).
    virtual void setTransform(double scaleX, double scaleY, int offsetX, int offsetY) = 0;
    virtual void setClip(const Rect& rect) = 0; // in layout pixels, under the current transform
    virtual void clearClip() = 0;
};

inline void Canvas::pieceWidths(std::string_view utf8, std::span<const int> ends, std::span<int> widths)
{
    std::size_t from = 0;
    for (std::size_t k = 0; k < ends.size() && k < widths.size(); ++k) {
        const std::size_t to = std::min(std::size_t(ends[k]), utf8.size());
        widths[k] = to > from ? textWidth(utf8.substr(from, to - from)) : 0;
        from = std::max(from, to);
    }
}

} // namespace quillory
