// A picture chosen in the image browser in the form an entry keeps it: a photo stays a JPEG, a
// PNG stays a PNG, a metafile stays a metafile, bitmaps and icons become a DIB; one wider than
// the text is shown at the text width with only the pixels that size needs.
#pragma once

#include "app/PicturePlacement.h"
#include "controls/Imager.h"
#include "richtext/model/TextObject.h"

#include <QByteArray>
#include <QImage>
#include <memory>

namespace quillory {

struct PictureForEntry {
    std::unique_ptr<TGraphic> graphic; // null when the picture could not be encoded
    int widthTwips = 0;
    int heightTwips = 0;
};

// `unscaled` is the picture as read (turned upright), `fileBytes` the file it came from, `type`
// its file type, `percent` the browser's scale.
PictureForEntry MakePictureForEntry(const QImage& unscaled, const QByteArray& fileBytes, SmartImageType type,
                                    int percent, int textWidthTwips, bool keepOriginal);

} // namespace quillory
