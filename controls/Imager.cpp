// TSmartImage and the picture-file reading behind it; see Imager.h.
#include "controls/Imager.h"

#include "platform/RasterReaders.h"
#include "platform/qt/MessageBoxes.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <span>

namespace quillory {
namespace {

// Picture files larger than this are not read: no diary picture comes near it.
constexpr qint64 kMaxPictureFile = 256LL << 20;

QImage FromRaster(const std::optional<RasterImage>& raster)
{
    if (!raster)
        return {};
    QImage image(raster->width, raster->height, QImage::Format_ARGB32);
    for (int y = 0; y < raster->height; ++y)
        std::copy_n(raster->pixels.data() + std::size_t(y) * std::size_t(raster->width), raster->width,
                    reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
    return image;
}

} // namespace

SmartImageType SmartImageTypeOf(const QString& fileName)
{
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString type = dot < 0 ? QString() : fileName.mid(dot + 1).toUpper();
    static const struct { const char* name; SmartImageType type; } kTypes[] = {
        {"JPG", SmartImageType::Jpg}, {"GIF", SmartImageType::Gif}, {"JIF", SmartImageType::Jif},
        {"BMP", SmartImageType::Bmp}, {"DIB", SmartImageType::Dib}, {"RLE", SmartImageType::Rle},
        {"TGA", SmartImageType::Tga}, {"PCX", SmartImageType::Pcx}, {"PNG", SmartImageType::Png},
        {"WEBP", SmartImageType::WebP}, {"JPEG", SmartImageType::Jpeg},
    };
    for (const auto& entry : kTypes)
        if (type == QLatin1String(entry.name))
            return entry.type;
    return SmartImageType::Other;
}

QByteArray ImagePluginFormat(SmartImageType type)
{
    switch (type) {
    case SmartImageType::Jpg: case SmartImageType::Jif: case SmartImageType::Jpeg: return "jpeg";
    case SmartImageType::Gif: return "gif";
    case SmartImageType::WebP: return "webp";
    case SmartImageType::Png: return "png";
    default: return {};
    }
}

bool MissingImagePlugin(SmartImageType type, const QList<QByteArray>& supported)
{
    const QByteArray format = ImagePluginFormat(type);
    return !format.isEmpty() && !supported.contains(format);
}

QImage ReadPictureFile(const QString& fileName, const QByteArray& bytes)
{
    const auto data = std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
    switch (SmartImageTypeOf(fileName)) {
    case SmartImageType::Pcx: return FromRaster(ReadPcx(data));
    case SmartImageType::Tga: return FromRaster(ReadTga(data));
    default: break;
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // RLE and DIB files are bitmaps under other names; the rest say what they are.
    const SmartImageType type = SmartImageTypeOf(fileName);
    if (type == SmartImageType::Rle || type == SmartImageType::Dib)
        reader.setFormat("bmp");
    reader.setAutoTransform(true);
    return reader.read();
}

TSmartImage::TSmartImage(QWidget* parent) : QWidget(parent)
{
    resize(105, 105);
}

bool TSmartImage::LoadFromFile(const QString& fileName)
{
    Picture = QImage();
    FileBytes.clear();
    if (MissingImagePlugin(SmartImageTypeOf(fileName), QImageReader::supportedImageFormats())) {
        ShowMessageBox(QString::fromLatin1(kImageLibraryMissing), QString::fromLatin1(kImageLibraryCaption),
                       MessageButtons::Ok, MessageIcon::Warning);
        update();
        return false;
    }
    QFile file(fileName);
    if (file.size() > kMaxPictureFile || !file.open(QIODevice::ReadOnly))
        return false;
    FileBytes = file.readAll();
    Picture = ReadPictureFile(fileName, FileBytes);
    if (Picture.isNull())
        FileBytes.clear();
    if (AutoSize && !Picture.isNull())
        resize(Picture.size());
    update();
    return !Picture.isNull();
}

void TSmartImage::paintEvent(QPaintEvent*)
{
    if (Picture.isNull())
        return;
    QPainter painter(this);
    QSize size = Picture.size();
    if (Stretch)
        size = MaintainAspect ? Picture.size().scaled(this->size(), Qt::KeepAspectRatio) : this->size();
    const QPoint at = Center ? QPoint((width() - size.width()) / 2, (height() - size.height()) / 2) : QPoint();
    painter.drawImage(QRect(at, size), Picture);
}

} // namespace quillory
