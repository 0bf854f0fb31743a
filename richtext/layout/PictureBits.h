// Turning the model's picture bytes into something a canvas can show: a BMP file image for a DIB
// kept without its file header, and 32-bit pixels for a device-dependent bitmap.
#pragma once

#include "richtext/model/TextObject.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

// A BMP file image of a DIB: the bytes as they are when they start with "BM", else a file header
// put in front of the bitmap header, colour table and bits. Nothing for bytes too short or
// inconsistent to be a DIB.
std::optional<std::string> BmpFileFromDib(std::string_view bytes);

struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0xAARRGGBB, rows from the top
};

// The pixels of a device-dependent bitmap (1, 4, 8, 16, 24 or 32 bits per pixel, rows from the
// top, widthBytes bytes each). Nothing when the size is implausible or the bytes run short.
std::optional<PixelImage> DecodeDeviceBitmap(const TGraphic& graphic);

} // namespace quillory
