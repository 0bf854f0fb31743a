// A device-independent bitmap as the RTF reader takes it from \dibitmap data.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace quillory::rtf {

// A BMP file image from a DIB (info header, palette, bits); nothing when the info header does
// not fit the data. The search's text pass asks it too, since a picture in \shppict leaves a
// placeholder only when it can be built.
std::optional<std::string> BmpFromDib(std::span<const uint8_t> dib);

} // namespace quillory::rtf
