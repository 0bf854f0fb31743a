// The Qt edge of the icon extraction: the icon of a library as an image to draw.
#pragma once

#include "platform/IconExtraction.h"

#include <QImage>

#include <cstdint>
#include <span>

namespace quillory {

// The image of a single-image .ico file; a null image when it cannot be decoded.
QImage DecodeIconFile(std::span<const std::uint8_t> icoFile);
// The icon at `index` of `library`; a null image when there is none or it is damaged.
QImage IconImage(const IconLibrary& library, int index);

} // namespace quillory
