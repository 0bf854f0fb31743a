// Decoding icons through Qt's own .ico reader, which knows every image kind an icon holds
// (palette and true-colour bitmaps with their masks, PNG).
#include "platform/qt/IconImages.h"

#include "platform/qt/KnownFormatImage.h"

#include <QBuffer>
#include <QByteArray>

namespace quillory {

QImage DecodeIconFile(std::span<const std::uint8_t> icoFile)
{
    QByteArray bytes(reinterpret_cast<const char*>(icoFile.data()), qsizetype(icoFile.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const QImage image = ReadImageAs(&buffer, "ico");
    if (image.isNull())
        return {};
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage IconImage(const IconLibrary& library, int index)
{
    const auto file = library.IconAt(index);
    return file ? DecodeIconFile(*file) : QImage();
}

} // namespace quillory
