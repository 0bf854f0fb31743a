// The fixed-metrics recording canvas.
#include "richtext/layout/FixedCanvas.h"

#include "platform/UnicodeText.h"

#include <algorithm>
#include <cstdio>

namespace quillory {

namespace {

std::string hex(RGBColor c)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02x%02x%02x", c.red, c.green, c.blue);
    return buffer;
}

std::string rect(const Rect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.width) + "x"
        + std::to_string(r.height);
}

} // namespace

void FixedCanvas::selectFont(const FontRequest& font)
{
    ++fontSelections_;
    font_ = font;
    widths_.fill(std::uint16_t(font.pointSize > 0 ? font.pointSize : 1));
}

int FixedCanvas::textWidth(std::string_view utf8)
{
    int clusters = 0;
    for (std::size_t at = 0; at < utf8.size(); at = NextGraphemeBoundary(utf8, at))
        ++clusters;
    return clusters * std::max(1, font_.pointSize);
}

void FixedCanvas::drawShapedText(int x, int baseline, std::string_view text, bool rightToLeft, RGBColor color)
{
    texts_.push_back({x, baseline, std::string(text), {}, color, font_, true, rightToLeft});
}

void FixedCanvas::drawText(int x, int baseline, std::string_view text, std::span<const int> advances,
                           RGBColor color)
{
    texts_.push_back({x, baseline, std::string(text), {advances.begin(), advances.end()}, color, font_});
}

void FixedCanvas::drawLine(int x1, int y1, int x2, int y2, const Pen& pen)
{
    static constexpr const char* styles[] = {"", " dotted", " hairline"};
    calls_.push_back("line " + std::to_string(x1) + "," + std::to_string(y1) + " " + std::to_string(x2) + ","
                     + std::to_string(y2) + " w" + std::to_string(pen.width) + styles[int(pen.style)] + " "
                     + hex(pen.color));
}

void FixedCanvas::fillRect(const Rect& r, RGBColor color)
{
    calls_.push_back("fill " + rect(r) + " " + hex(color));
}

void FixedCanvas::fillShading(const Rect& r, RGBColor pattern, RGBColor background, int percent)
{
    calls_.push_back("shade " + rect(r) + " " + hex(pattern) + " " + hex(background) + " "
                     + std::to_string(percent) + "%");
}

void FixedCanvas::frameRect(const Rect& r, const Pen& pen)
{
    calls_.push_back("frame " + rect(r) + " w" + std::to_string(pen.width));
}

void FixedCanvas::invertRect(const Rect& r) { calls_.push_back("invert " + rect(r)); }

void FixedCanvas::drawPicture(const TGraphic& graphic, const Rect& r)
{
    calls_.push_back("picture " + rect(r) + " " + std::to_string(graphic.bytes.size()) + " bytes");
}

void FixedCanvas::setTransform(double scaleX, double scaleY, int offsetX, int offsetY)
{
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "transform %.3g %.3g %d,%d", scaleX, scaleY, offsetX, offsetY);
    calls_.push_back(buffer);
}

void FixedCanvas::setClip(const Rect& r) { calls_.push_back("clip " + rect(r)); }

void FixedCanvas::clearClip() { calls_.push_back("noclip"); }

std::string FixedCanvas::drawnText() const
{
    std::string out;
    for (const auto& call : texts_) {
        if (!out.empty())
            out += '|';
        if (call.shaped)
            out += (call.rightToLeft ? "<" : "[") + call.text + (call.rightToLeft ? ">" : "]");
        else
            out += call.text;
    }
    return out;
}

void FixedCanvas::reset()
{
    texts_.clear();
    calls_.clear();
    fontSelections_ = 0;
}

} // namespace quillory
