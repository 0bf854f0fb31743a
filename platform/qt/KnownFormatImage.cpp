// Reading a picture as the format it is, without Qt's guessing.
#include "platform/qt/KnownFormatImage.h"

#include <QImageReader>

namespace quillory {

namespace {

QImage Read(QImageReader& reader, QSize scaledTo)
{
    reader.setAutoDetectImageFormat(false);
    if (scaledTo.isValid())
        reader.setScaledSize(scaledTo);
    return reader.read();
}

} // namespace

QImage ReadImageAs(const QString& fileName, const char* format, QSize scaledTo)
{
    QImageReader reader(fileName, format);
    return Read(reader, scaledTo);
}

QImage ReadImageAs(QIODevice* device, const char* format)
{
    QImageReader reader(device, format);
    return Read(reader, {});
}

} // namespace quillory
