// Pictures in HTML: the data: URIs in which the writer embeds a document's pictures, and BMP
// files that an <IMG> names.
#pragma once

#include "richtext/model/TextObject.h"

#include <memory>
#include <string>
#include <string_view>

namespace quillory::html {

// A data: URI holding the graphic's bytes and sizes, which GraphicFromDataUri reads back as an
// equal graphic: image/bmp for a DIB, image/wmf for a metafile, image/x-device-bitmap for
// device bitmap bits.
std::string DataUri(const TGraphic& graphic);

// The graphic of a data: URI of one of those three types, or null for any other source.
std::unique_ptr<TGraphic> GraphicFromDataUri(std::string_view uri);

// A BMP file image as a graphic (sizes read from its header), or null when the bytes are not one.
std::unique_ptr<TGraphic> GraphicFromBmp(std::string bytes);

// The graphic of a BMP file on disk (a name ending ".bmp"), or null.
std::unique_ptr<TGraphic> LoadBmpFile(const std::string& path);

std::string Base64Encode(std::string_view bytes);
// Decodes base64, passing over characters outside the alphabet (line breaks, blanks).
std::string Base64Decode(std::string_view text);

} // namespace quillory::html
