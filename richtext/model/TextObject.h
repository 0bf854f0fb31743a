// Pictures, application objects and footnotes: the side lists that placeholder characters refer to.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace quillory {

enum class GraphicKind : std::uint8_t {
    Metafile,     // bytes: the metafile file image, starting with its 22-byte placeable header
    DeviceBitmap, // bytes: the bitmap bits as the device returns them (widthBytes per scan line)
    Dib,          // bytes: a BMP file image, starting with its 14-byte file header
    Png,          // bytes: the PNG file image as it came (photos and screenshots keep their form)
    Jpeg,         // bytes: the JPEG file image as it came
};

// A picture kept as its bytes; turning it into pixels belongs to the painting layer.
struct TGraphic {
    GraphicKind kind = GraphicKind::Dib;
    std::string bytes;
    std::int32_t width = 0;  // pixels (metafiles: the \picw value; PNG, JPEG: from the image's header)
    std::int32_t height = 0; // pixels (metafiles: the \pich value)
    std::int32_t bitsPerPixel = 0;
    std::int32_t planes = 1;
    std::int32_t widthBytes = 0; // bytes per scan line of a device bitmap
    friend bool operator==(const TGraphic&, const TGraphic&) = default;
};

// One picture or application object, referenced from the text by its tag.
struct TTextObject {
    std::unique_ptr<TGraphic> graphic; // none for an application object or an unresolved file
    std::uint16_t tag = 0;             // unique in the document
    std::uint16_t tag2 = 0;
    std::int32_t width = 0;  // display size, twips
    std::int32_t height = 0;
    bool isApplicationObject = false;
    bool insertedFromFile = false;
    std::string fileName; // pictures referenced by name
};

struct TFootnote {
    int number = 0;         // what anchors carry in their TAttr tag
    char mark = '?';        // the one-character mark
    int explicitNumber = 0; // 0 = numbered automatically
    std::string text;       // plain text
    std::string rtfText;    // RTF source, preferred when present
    bool ownMark = false;
};

} // namespace quillory
