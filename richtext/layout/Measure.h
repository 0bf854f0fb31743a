// Measuring characters: which font a character is drawn in, its advance width, height and ascent,
// and which characters take no room. Text is UTF-8: an ASCII byte is measured from the font's
// width table; any other character with the grapheme cluster it belongs to, the cluster's width on
// its first byte and 0 on the others.
#pragma once

#include "richtext/layout/Canvas.h"
#include "richtext/model/Document.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillory {

struct CharMetric {
    int width = 0;
    int height = 0;
    int ascent = 0;
};

// Bits of the per-byte kinds that Measurer::measureText gives for text that is not all ASCII.
namespace ClusterKind {
inline constexpr std::uint8_t Start = 0x01;     // the first byte of a grapheme cluster
inline constexpr std::uint8_t Ideograph = 0x02; // ...of one that starts with an ideograph
} // namespace ClusterKind

// A piece of a run of text: one cluster measured and drawn by itself, or a stretch of clusters
// that is shaped as one string (joining letters, Indic clusters, marks, emoji sequences).
struct TextPiece {
    std::size_t end = 0;
    bool shaped = false;
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
    // Forgets the font metrics (the font table or the canvas changed). The widths of characters
    // past ASCII are kept by font name, size and style while the canvas stays.
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

    // Measures text into the width, height and ascent of each byte's attribute record (attrs
    // holds one per byte). When the text is not all ASCII, `kinds` receives ClusterKind bits for
    // each byte; otherwise it is left empty (every byte a cluster of its own).
    void measureText(std::string_view text, TAttr* attrs, std::vector<std::uint8_t>& kinds);
    // The piece that starts at `at` (a cluster boundary) in text whose run ends at `end`. The same
    // text gives the same pieces when measured and when painted. For a shaped stretch, `ends`
    // (when given) receives the end of each of its clusters, relative to `at`.
    TextPiece pieceAt(std::string_view text, std::size_t at, std::size_t end, std::vector<int>* ends = nullptr);

private:
    // Per code point, in pages of 256 filled as they are met.
    template <typename T>
    class CodePointPages {
    public:
        T& operator[](char32_t c)
        {
            if (pages_.empty())
                pages_.resize(0x1100);
            auto& page = pages_[std::min<std::size_t>(c >> 8, pages_.size() - 1)];
            if (!page)
                page = std::make_unique<std::array<T, 256>>();
            return (*page)[c & 0xFF];
        }

    private:
        std::vector<std::unique_ptr<std::array<T, 256>>> pages_;
    };
    struct FontMetrics {
        WidthTable widths{};
        int height = 0;
        int ascent = 0; // of the full-size font, also for super- and subscript
        // Width + 1 of characters past ASCII (0: not measured yet), in widthsByFont_.
        CodePointPages<std::uint16_t>* wide = nullptr;
    };
    FontMetrics& metricsFor(const TAttr& attr);
    // Whether a character may join a cluster or a shaped stretch with its neighbours, and
    // whether it is an ideograph (PropertyBits).
    std::uint8_t properties(char32_t c);
    bool joins(std::string_view text, std::size_t at, std::size_t end);
    int widthOf(char32_t c, FontMetrics& font, const TAttr& attr);
    std::size_t measureSingles(std::string_view text, TAttr* attrs, std::size_t from, std::vector<std::uint8_t>& kinds);
    CodePointPages<std::uint8_t> properties_;
    std::unordered_map<std::string, CodePointPages<std::uint16_t>> widthsByFont_;

    const TWPRTFText& document_;
    Canvas* canvas_ = nullptr;
    std::unordered_map<std::uint32_t, FontMetrics> fonts_;
    std::uint32_t lastKey_ = 0xFFFFFFFF;
    FontMetrics* last_ = nullptr;
};

} // namespace quillory
