// Document-wide tables: fonts, colours, tab stops, page values and document information.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

enum class TTabKind : std::uint8_t { tkLeft = 0, tkRight = 1, tkCenter = 2, tkDecimal = 3, tkAll = 4 };

// The format a document was last loaded from.
enum class TWPLoadFormat : std::uint8_t { Unknown, Rtf, PlainText, Html };

struct RGBColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t spare = 0;
    friend bool operator==(const RGBColor&, const RGBColor&) = default;
};

struct FontEntry {
    std::string name;             // at most MaxFontName characters
    std::uint8_t pitchFamily = 0; // high nibble: family (0x20 swiss, 0x30 modern, ...)
    std::uint8_t charset = 0;
    friend bool operator==(const FontEntry&, const FontEntry&) = default;
};

struct TabStop {
    std::int32_t position = 0; // twips
    std::int32_t pixels = 0;
    TTabKind kind = TTabKind::tkLeft;
    friend bool operator==(const TabStop&, const TabStop&) = default;
};

inline constexpr int ColorCount = 16;
inline constexpr int MaxFonts = 99;
inline constexpr int MaxFontName = 31;
inline constexpr int TabCount = 64;
inline constexpr int TwipsPerInch = 1440;

class TTextHeader {
public:
    TTextHeader();

    // Screen resolution in pixels per inch; 0 until layout knows it.
    int resolutionX = 0;
    int resolutionY = 0;
    int layoutWidthTwips = 0;
    int layoutWidthPixels = 0;

    std::array<RGBColor, ColorCount> colors;
    bool formatted = false; // the document carries formatting
    char decimalSeparator = '.';
    bool metricRuler = false;
    TWPLoadFormat lastLoadFormat = TWPLoadFormat::Unknown;

    std::int32_t paperWidth = 12240;
    std::int32_t paperHeight = 15840;
    std::int32_t marginLeft = 1880;
    std::int32_t marginRight = 1880;
    std::int32_t marginTop = 1440;
    std::int32_t marginBottom = 1440;

    std::string title;
    std::string subject;
    std::string comment;

    static std::array<RGBColor, ColorCount> defaultColors();

    // Fonts. Entry 0 is the default font; a new header holds Arial alone.
    const std::vector<FontEntry>& fonts() const noexcept { return fonts_; }
    int fontCount() const noexcept { return int(fonts_.size()); }
    const FontEntry* font(int index) const noexcept;
    // Index of the name (any letter case), or -1.
    int findFont(std::string_view name) const noexcept;
    // Index of the name, added when missing (cut to MaxFontName characters). A full table returns
    // MaxFonts without adding; an empty name is not stored and maps to the default font.
    int addFont(std::string_view name, std::uint8_t pitchFamily = 0, std::uint8_t charset = 0);
    void clearFonts() { fonts_.clear(); }

    // Tab stops.
    const TabStop& tab(int index) const { return tabs_.at(std::size_t(index)); }
    bool tabUsed(int index) const noexcept { return index >= 0 && index < TabCount && (tabsDefined_ >> index) & 1; }
    std::uint64_t tabsDefined() const noexcept { return tabsDefined_; }
    // The used stops' indexes ordered by position.
    std::vector<int> tabOrder() const;
    // Index of the stop (an equal one is reused), or -1 when all 64 are taken even after the
    // compaction handler ran.
    int addTab(std::int32_t position, TTabKind kind);
    void removeTab(int index) noexcept;
    void clearTabs() noexcept { tabsDefined_ = 0; }
    // Called when the table is full; removes stops no paragraph uses.
    std::function<void(TTextHeader&)> compactTabs;

    int usableWidthTwips() const noexcept { return paperWidth - marginLeft - marginRight; }
    int usableHeightTwips() const noexcept { return paperHeight - marginTop - marginBottom; }
    int usableWidthPixels() const noexcept { return usableWidthTwips() * resolutionX / TwipsPerInch; }
    int usableHeightPixels() const noexcept { return usableHeightTwips() * resolutionY / TwipsPerInch; }

private:
    std::vector<FontEntry> fonts_;
    std::array<TabStop, TabCount> tabs_{};
    std::uint64_t tabsDefined_ = 0;
};

} // namespace quillory
