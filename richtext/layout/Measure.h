// Measuring characters: which font a character is drawn in, its advance width, height and ascent,
// and which characters take no room.
#pragma once

#include "richtext/layout/Canvas.h"
#include "richtext/model/Document.h"

#include <cstdint>
#include <unordered_map>

namespace quillory {

struct CharMetric {
    int width = 0;
    int height = 0;
    int ascent = 0;
};

// Switches that decide which characters are visible.
struct Visibility {
    bool showHiddenText = false;
    bool omitInsertPoints = false;
    bool omitAutomaticText = false;
};

// The display attributes that apply to a character, or null for ordinary text. Insert points come
// first, then automatic text, hyperlinks and protected text.
const TCharacterAttr* DisplayAttrFor(const TWPRTFText& document, const TAttr& attr) noexcept;
// The style bits after the display attributes' three-states.
std::uint8_t EffectiveStyle(const TAttr& attr, const TCharacterAttr* display) noexcept;

class Measurer {
public:
    explicit Measurer(const TWPRTFText& document) : document_(document) {}

    void setCanvas(Canvas* canvas);
    // Forgets the font metrics (the font table or the canvas changed).
    void forgetFonts()
    {
        fonts_.clear();
        last_ = nullptr;
    }
    Visibility visibility;

    // True when the character takes no room and is not painted.
    bool invisible(const TAttr& attr) const noexcept;
    // The metrics of one character; a TAB measures as a blank (its place is found when breaking).
    CharMetric measure(unsigned char code, const TAttr& attr);
    // Height and ascent of the default font, for lines without visible characters.
    CharMetric defaults();
    // The font a character is drawn in, its size reduced for super- and subscript.
    FontRequest fontFor(const TAttr& attr) const;
    // What characters of a plain-text document carry.
    TAttr plainAttr() const noexcept;
    // Width table of the character's font (selecting it on the canvas).
    const WidthTable& widthsFor(const TAttr& attr);

private:
    struct FontMetrics {
        WidthTable widths{};
        int height = 0;
        int ascent = 0; // of the full-size font, also for super- and subscript
    };
    const FontMetrics& metricsFor(const TAttr& attr);

    const TWPRTFText& document_;
    Canvas* canvas_ = nullptr;
    std::unordered_map<std::uint32_t, FontMetrics> fonts_;
    std::uint32_t lastKey_ = 0xFFFFFFFF;
    const FontMetrics* last_ = nullptr;
};

} // namespace quillory
