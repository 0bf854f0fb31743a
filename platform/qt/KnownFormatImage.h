// Reading a picture whose format the program already knows. Qt's readers guess the format when
// they are not told it plainly, and guessing loads every image plug-in on the system (TIFF, WebP,
// SVG and more): a tenth of the start-up and several MiB for a window that draws two bitmaps.
#pragma once

#include <QImage>
#include <QSize>

class QIODevice;
class QString;

namespace quillory {

// The picture in `fileName` (a resource path too) decoded as `format` ("bmp", "png", "svg", ...),
// at `scaledTo` when given (for scalable formats); a null image when it is not one.
QImage ReadImageAs(const QString& fileName, const char* format, QSize scaledTo = {});
QImage ReadImageAs(QIODevice* device, const char* format);

} // namespace quillory
