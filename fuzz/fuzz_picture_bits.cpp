// Picture bytes from entries and the clipboard: a DIB gets its file header only when its own
// headers fit the bytes, and device bitmaps are decoded only from as many bytes as they claim.
#include "richtext/layout/PictureBits.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (const auto bmp = quillory::BmpFileFromDib(input)) {
        if (bmp->size() < input.size())
            std::abort();
    }
    // The first eight bytes describe a device bitmap, the rest are its bits.
    if (size >= 8) {
        quillory::TGraphic g;
        g.kind = quillory::GraphicKind::DeviceBitmap;
        g.width = data[0] | data[1] << 8;
        g.height = data[2] | data[3] << 8;
        g.bitsPerPixel = data[4];
        g.planes = data[5] % 4;
        g.widthBytes = data[6] | data[7] << 8;
        g.bytes.assign(input.substr(8));
        if (const auto image = quillory::DecodeDeviceBitmap(g))
            if (image->pixels.size() != std::size_t(image->width) * std::size_t(image->height))
                std::abort();
    }
    return 0;
}
