// PNG and JPEG pictures kept in their own encoded form: which of the two some bytes are, and the
// pixel size their headers give, read without decoding the picture.
#pragma once

#include "richtext/model/TextObject.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillory {

struct PixelSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// Png or Jpeg by the bytes' signature; nothing for anything else.
std::optional<GraphicKind> EncodedPictureKind(std::string_view bytes) noexcept;

// The pixel size in the header of a PNG (IHDR) or JPEG (the first frame header). Nothing when
// the header is missing, cut short or gives a zero side; reading stops at the end of the bytes.
std::optional<PixelSize> EncodedPictureSize(GraphicKind kind, std::string_view bytes) noexcept;

} // namespace quillory
