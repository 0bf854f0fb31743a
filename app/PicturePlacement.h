// How a picture chosen in the image browser goes into an entry: the size it is shown at, and how
// many pixels are worth storing for that size.
#pragma once

namespace quillory {

struct PicturePlacement {
    int widthTwips = 0; // shown size in the entry
    int heightTwips = 0;
    int storedWidth = 0; // pixels kept in the entry
    int storedHeight = 0;
    bool reduced = false; // fewer pixels stored than the picture has
    friend bool operator==(const PicturePlacement&, const PicturePlacement&) = default;
};

// Pixels per inch of the screen the browser's percentages refer to, and the pixels per inch a
// stored picture keeps for printing.
inline constexpr int kScreenPixelsPerInch = 96;
inline constexpr int kStoredPixelsPerInch = 200;

// The picture of `width` x `height` pixels, scaled by `percent` (the preview's pixels, fractions
// dropped), at most `textWidthTwips` wide: a larger one is narrowed to the text width, its
// height in proportion. Unless `keepOriginal`, a picture with more pixels than its shown size
// needs at kStoredPixelsPerInch is stored with only those. Sides are at least one pixel or twip.
PicturePlacement PlacePicture(int width, int height, int percent, int textWidthTwips, bool keepOriginal) noexcept;

} // namespace quillory
