// A player of our own for Windows metafiles (WMF), the form older entries and other word
// processors keep drawings in: the common drawing records are drawn with a QPainter.
#pragma once

#include <QImage>
#include <QSize>
#include <string_view>

namespace quillory {

// The metafile's records (with or without its 22-byte placeable header) drawn to fill an image
// of `size` pixels on white. A null image when the bytes are no metafile, hold a drawing record
// the player does not know, or draw under a window mapping that squashes the picture to a line:
// a picture drawn half would mislead, the caller shows a placeholder. Text that no font can be
// drawn at under the mapping (stretched far in one axis, too small or too large) is left out.
QImage PlayMetafile(std::string_view bytes, QSize size);

// The size a metafile with a placeable header names, in pixels of `dpi` per inch; an empty size
// without that header or with an empty box.
QSize MetafilePixelSize(std::string_view bytes, int dpi);

} // namespace quillory
