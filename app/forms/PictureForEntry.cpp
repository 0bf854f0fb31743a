// Encoding an inserted picture for the entry; see PictureForEntry.h.
#include "app/forms/PictureForEntry.h"

#include "richtext/model/EncodedPicture.h"
#include "richtext/qt/MetafilePlayer.h"

#include <QBuffer>
#include <QPainter>
#include <optional>

namespace quillory {
namespace {

// Entries have no transparency: a transparent picture is laid on white paper.
QImage OnWhite(const QImage& image)
{
    if (!image.hasAlphaChannel())
        return image;
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    return flat;
}

std::unique_ptr<TGraphic> Encode(const QImage& image, GraphicKind kind)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const char* format = kind == GraphicKind::Jpeg ? "JPEG" : kind == GraphicKind::Png ? "PNG" : "BMP";
    if (!image.save(&buffer, format, kind == GraphicKind::Jpeg ? 90 : -1))
        return nullptr;
    auto graphic = std::make_unique<TGraphic>();
    graphic->kind = kind;
    graphic->bytes.assign(bytes.constData(), std::size_t(bytes.size()));
    graphic->width = image.width();
    graphic->height = image.height();
    if (kind == GraphicKind::Dib)
        graphic->bitsPerPixel = image.depth();
    return graphic;
}

// What a picture of this type is kept as when it has to be encoded anew.
GraphicKind KindFor(SmartImageType type, std::optional<GraphicKind> encoded, bool transparent)
{
    if (encoded)
        return *encoded;
    switch (type) {
    case SmartImageType::WebP: return transparent ? GraphicKind::Png : GraphicKind::Jpeg;
    case SmartImageType::Gif: case SmartImageType::Pcx: case SmartImageType::Tga: case SmartImageType::Png:
        return GraphicKind::Png;
    default: return GraphicKind::Dib;
    }
}

} // namespace

PictureForEntry MakePictureForEntry(const QImage& unscaled, const QByteArray& fileBytes, SmartImageType type,
                                    int percent, int textWidthTwips, bool keepOriginal)
{
    PictureForEntry result;
    if (unscaled.isNull())
        return result;
    const PicturePlacement placement =
        PlacePicture(unscaled.width(), unscaled.height(), percent, textWidthTwips, keepOriginal);
    result.widthTwips = placement.widthTwips;
    result.heightTwips = placement.heightTwips;

    const std::string_view bytes(fileBytes.constData(), std::size_t(fileBytes.size()));
    // A metafile stays one, whatever its size: its drawing is sharp at any size. The model
    // keeps its box in hundredths of a millimetre, as RTF's \picw does.
    if (const QSize box = MetafilePixelSize(bytes, 2540); !box.isEmpty()) {
        result.graphic = std::make_unique<TGraphic>();
        result.graphic->kind = GraphicKind::Metafile;
        result.graphic->bytes.assign(bytes);
        result.graphic->width = box.width();
        result.graphic->height = box.height();
        return result;
    }
    const auto encoded = EncodedPictureKind(bytes);
    const auto size = encoded ? EncodedPictureSize(*encoded, bytes) : std::nullopt;
    // The file's own bytes serve when all their pixels are kept and they stand the way the
    // picture is shown (a camera's photo turned by its orientation tag is encoded anew).
    if (size && !placement.reduced && size->width == unscaled.width() && size->height == unscaled.height()) {
        result.graphic = std::make_unique<TGraphic>();
        result.graphic->kind = *encoded;
        result.graphic->bytes.assign(bytes);
        result.graphic->width = size->width;
        result.graphic->height = size->height;
        return result;
    }
    const GraphicKind kind = KindFor(type, encoded, unscaled.hasAlphaChannel());
    QImage stored = unscaled;
    if (placement.reduced)
        stored = unscaled.scaled(placement.storedWidth, placement.storedHeight, Qt::IgnoreAspectRatio,
                                 Qt::SmoothTransformation);
    result.graphic = Encode(kind == GraphicKind::Png ? stored : OnWhite(stored), kind);
    return result;
}

} // namespace quillory
