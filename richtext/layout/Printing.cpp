// Printing the layout: whole pages with header and footer bands, and the lines that fit into a
// rectangle of a device canvas.
#include "richtext/layout/TextPaint.h"

#include <algorithm>

namespace quillory {

void TWPRTFTextPaint::print(Canvas& device, int fromPage, int toPage, const PrintJob& job)
{
    settleAll();
    if (lines_.empty())
        return;
    const int pages = pageCount();
    const TTextHeader& header = document_.header();
    const double scaleX = double(device.resolutionX()) / std::max(1, header.resolutionX);
    const double scaleY = double(device.resolutionY()) / std::max(1, header.resolutionY);
    const int bandWidth = int(layoutWidth_ * scaleX);
    const int topBand = int(std::int64_t(header.marginTop) * device.resolutionY() / TwipsPerInch);
    const int bottomBand = int(std::int64_t(header.marginBottom) * device.resolutionY() / TwipsPerInch);
    const int last = std::min(toPage, pages - 1);
    for (int page = std::max(0, fromPage); page <= last; ++page) {
        if (page > std::max(0, fromPage) && job.newPage)
            job.newPage();
        const int from = pageFirstLine_[std::size_t(page)];
        const int to = page + 1 < pages ? pageFirstLine_[std::size_t(page) + 1] : int(lines_.size());
        const int pageTop = lines_[std::size_t(from)].bandTop;
        const int pageBottom = to < int(lines_.size()) ? lines_[std::size_t(to)].bandTop : documentHeight_;
        const int textHeight = std::max(pageBottom - pageTop, std::min(pageHeight_, documentHeight_));

        device.setTransform(1, 1, 0, 0);
        if (job.header)
            job.header(device, job.offsetX, job.offsetY - topBand, bandWidth, topBand, page + 1, from + 1);

        device.setTransform(scaleX, scaleY, job.offsetX, job.offsetY);
        const Rect area{0, pageTop, layoutWidth_, pageBottom - pageTop};
        device.setClip({area.left - layoutWidth_, 0, 3 * layoutWidth_, area.height});
        paintArea(device, area, from, to, 0, -pageTop, false);
        device.clearClip();

        device.setTransform(1, 1, 0, 0);
        if (job.footer)
            job.footer(device, job.offsetX, job.offsetY + int(textHeight * scaleY), bandWidth, bottomBand, page + 1,
                       from + 1);
    }
}

int TWPRTFTextPaint::printRectangle(Canvas& device, int left, int top, int width, int height, int firstLine,
                                    bool print)
{
    settleAll();
    const int start = std::max(firstLine, 1) - 1;
    if (start >= int(lines_.size()))
        return 0;
    const TTextHeader& header = document_.header();
    const double scaleX = double(device.resolutionX()) / std::max(1, header.resolutionX);
    const double scaleY = double(device.resolutionY()) / std::max(1, header.resolutionY);
    const int room = int(height / scaleY);
    const int origin = lines_[std::size_t(start)].bandTop;

    int stop = start;
    while (stop < int(lines_.size()) && lines_[std::size_t(stop)].bandBottom - origin <= room)
        ++stop;
    // Lines of one table row go together.
    while (stop > start && stop < int(lines_.size())
           && lines_[std::size_t(stop)].bandTop == lines_[std::size_t(stop) - 1].bandTop
           && lines_[std::size_t(stop)].paragraph->isTableCell())
        --stop;
    if (stop == start && print) {
        // A line taller than the rectangle is printed cut rather than never.
        const int band = lines_[std::size_t(start)].bandTop;
        while (stop < int(lines_.size()) && lines_[std::size_t(stop)].bandTop == band)
            ++stop;
    }
    if (print && stop > start) {
        const int bottom = lines_[std::size_t(stop) - 1].bandBottom;
        device.setTransform(scaleX, scaleY, left, top);
        device.setClip({0, 0, int(width / scaleX), room});
        paintArea(device, Rect{0, origin, std::max(layoutWidth_, int(width / scaleX)), bottom - origin}, start, stop,
                  0, -origin, false);
        device.clearClip();
        device.setTransform(1, 1, 0, 0);
    }
    return stop < int(lines_.size()) ? stop + 1 : 0;
}

} // namespace quillory
