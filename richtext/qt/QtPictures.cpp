// Pictures of the model as QImages: DIBs, PNG and JPEG through Qt's readers, device bitmaps from
// their bits.
#include "richtext/layout/PictureBits.h"
#include "richtext/qt/QtCanvas.h"

namespace quillory {

QImage GraphicToImage(const TGraphic& graphic)
{
    switch (graphic.kind) {
    case GraphicKind::Dib:
        if (const auto bmp = BmpFileFromDib(graphic.bytes))
            return QImage::fromData(reinterpret_cast<const uchar*>(bmp->data()), int(bmp->size()), "BMP");
        return {};
    case GraphicKind::DeviceBitmap:
        if (const auto pixels = DecodeDeviceBitmap(graphic)) {
            QImage image(pixels->width, pixels->height, QImage::Format_ARGB32);
            for (int y = 0; y < pixels->height; ++y)
                std::copy_n(pixels->pixels.data() + std::size_t(y) * std::size_t(pixels->width), pixels->width,
                            reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
            return image;
        }
        return {};
    case GraphicKind::Png:
    case GraphicKind::Jpeg:
        return QImage::fromData(reinterpret_cast<const uchar*>(graphic.bytes.data()), int(graphic.bytes.size()),
                                graphic.kind == GraphicKind::Png ? "PNG" : "JPEG");
    case GraphicKind::Metafile:
        return {};
    }
    return {};
}

} // namespace quillory
