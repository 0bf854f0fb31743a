// Readers of our own for the two picture types Qt's image readers lack or misread: PCX (ZSoft
// Paintbrush) and TGA (Truevision). Both take the whole file and give 32-bit pixels.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quillory {

struct RasterImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0xAARRGGBB, rows from the top, width * height of them
};

// The largest picture either reader builds (pixels); larger headers are refused.
inline constexpr std::int64_t kMaxRasterPixels = 64LL * 1024 * 1024;
// A file cut short is read as far as it goes, the rest left black, but a header naming more than
// this many times the stored pixels (or more than the best compression could give) is refused.
inline constexpr std::uint64_t kShortDataSlack = 64;

// A PCX file: 1, 2, 4 or 8 bits in one plane, 1 bit in 2 to 4 planes (EGA colours), 8 bits in 3
// or 4 planes (RGB, RGBA); run-length encoded or plain. Nothing for a header that is not PCX or
// describes no picture the bytes could hold; data that ends early leaves the rest black.
std::optional<RasterImage> ReadPcx(std::span<const std::uint8_t> file);

// A TGA file: colour-mapped, true-colour (15, 16, 24, 32 bits) or grey (8, 16 bits), plain or
// run-length encoded, in any of the four row and column orders. Nothing for a header no TGA
// writer makes; data that ends early leaves the rest black.
std::optional<RasterImage> ReadTga(std::span<const std::uint8_t> file);

} // namespace quillory
