// The shown and stored size of an inserted picture; see PicturePlacement.h.
#include "app/PicturePlacement.h"

#include <algorithm>
#include <cstdint>

namespace quillory {

PicturePlacement PlacePicture(int width, int height, int percent, int textWidthTwips, bool keepOriginal) noexcept
{
    PicturePlacement p;
    width = std::max(width, 1);
    height = std::max(height, 1);
    const std::int64_t shownWidth = std::max<std::int64_t>(std::int64_t(width) * percent / 100, 1);
    const std::int64_t shownHeight = std::max<std::int64_t>(std::int64_t(height) * percent / 100, 1);
    std::int64_t twipsWide = shownWidth * 1440 / kScreenPixelsPerInch;
    std::int64_t twipsHigh = shownHeight * 1440 / kScreenPixelsPerInch;
    if (textWidthTwips > 0 && twipsWide > textWidthTwips) {
        twipsHigh = twipsHigh * textWidthTwips / twipsWide;
        twipsWide = textWidthTwips;
    }
    p.widthTwips = int(std::max<std::int64_t>(twipsWide, 1));
    p.heightTwips = int(std::clamp<std::int64_t>(twipsHigh, 1, 1 << 24));

    p.storedWidth = width;
    p.storedHeight = height;
    const std::int64_t neededWidth = std::max<std::int64_t>(std::int64_t(p.widthTwips) * kStoredPixelsPerInch / 1440, 1);
    if (!keepOriginal && neededWidth < width) {
        p.storedWidth = int(neededWidth);
        p.storedHeight = int(std::max<std::int64_t>(std::int64_t(height) * neededWidth / width, 1));
        p.reduced = true;
    }
    return p;
}

} // namespace quillory
