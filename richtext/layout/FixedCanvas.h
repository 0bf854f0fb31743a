// A canvas with simple fixed metrics that records what is drawn: layout and painting become exact
// and checkable without fonts or a screen.
#pragma once

#include "richtext/layout/Canvas.h"

#include <string>
#include <vector>

namespace quillory {

// Every character of a font of p points is p pixels wide (past ASCII: every grapheme cluster); the
// font is 2p pixels high with an ascent of 8p/5 (10 points: width 10, height 20, ascent 16).
class FixedCanvas : public Canvas {
public:
    explicit FixedCanvas(int resolution = 96) : resolution_(resolution) {}

    struct TextCall {
        int x = 0;
        int baseline = 0;
        std::string text;
        std::vector<int> advances;
        RGBColor color;
        FontRequest font;
        bool shaped = false;      // drawn by drawShapedText (advances empty)
        bool rightToLeft = false; // ...embedded in right-to-left text
    };

    int resolutionX() const override { return resolution_; }
    int resolutionY() const override { return resolution_; }
    void selectFont(const FontRequest& font) override;
    const WidthTable& widths() override { return widths_; }
    int fontHeight() override { return 2 * font_.pointSize; }
    int fontAscent() override { return 8 * font_.pointSize / 5; }

    int textWidth(std::string_view utf8) override;
    void drawText(int x, int baseline, std::string_view text, std::span<const int> advances,
                  RGBColor color) override;
    void drawShapedText(int x, int baseline, std::string_view text, bool rightToLeft, RGBColor color) override;
    void drawLine(int x1, int y1, int x2, int y2, const Pen& pen) override;
    void fillRect(const Rect& rect, RGBColor color) override;
    void fillShading(const Rect& rect, RGBColor pattern, RGBColor background, int percent) override;
    void frameRect(const Rect& rect, const Pen& pen) override;
    void invertRect(const Rect& rect) override;
    void drawPicture(const TGraphic& graphic, const Rect& rect) override;
    void setTransform(double scaleX, double scaleY, int offsetX, int offsetY) override;
    void setClip(const Rect& rect) override;
    void clearClip() override;

    // What was drawn, in order: text calls apart, everything else as one line of text each
    // ("line 0,10 100,10 w1", "fill 0,0 10x20 ffffff", "invert ...", "picture ...", ...).
    const std::vector<TextCall>& texts() const noexcept { return texts_; }
    const std::vector<std::string>& calls() const noexcept { return calls_; }
    // All drawn text, one string per text call joined with '|'; shaped stretches in brackets
    // ("[...]" left to right, "<...>" right to left).
    std::string drawnText() const;
    int fontSelections() const noexcept { return fontSelections_; }
    void reset();

private:
    int resolution_;
    FontRequest font_;
    WidthTable widths_{};
    std::vector<TextCall> texts_;
    std::vector<std::string> calls_;
    int fontSelections_ = 0;
};

} // namespace quillory
