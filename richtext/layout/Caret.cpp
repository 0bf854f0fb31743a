// The caret's place for a text position, and the text position under a point.
#include "richtext/layout/TextPaint.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace quillory {

int TWPRTFTextPaint::lineIndexOf(const TextPosition& position) const
{
    if (lines_.empty())
        return -1;
    // The first line not before the position, by the numbers the lines have once settled.
    std::size_t low = 0, high = lines_.size();
    while (low < high) {
        const std::size_t mid = (low + high) / 2;
        const int paragraph = paragraphOf(mid);
        if (paragraph < position.paragraph || (paragraph == position.paragraph && lines_[mid].segment < position.segment))
            low = mid + 1;
        else
            high = mid;
    }
    if (low < lines_.size() && paragraphOf(low) == position.paragraph && lines_[low].segment == position.segment)
        return int(low);
    // A segment past the paragraph's last, or a position past the end: the line before.
    if (low == 0)
        return 0;
    return int(low) - 1;
}

CaretBox TWPRTFTextPaint::caretAt(const TextPosition& position) const
{
    const int index = lineIndexOf(position);
    if (index < 0)
        return {};
    const LaidLine& laid = lineAt(index);
    const TTextLine& line = *laid.line;
    const int at = std::clamp(position.index, 0, line.length());
    const int x = caretX(laid, at);

    // The caret is as tall as the character it stands before (or after, at the end of a line).
    int height = 0, ascent = 0;
    if (line.hasAttributes()) {
        for (int i : {at, at - 1})
            if (i >= 0 && i < line.length() && line.attrs()[i].height > 0) {
                height = line.attrs()[i].height;
                ascent = line.attrs()[i].ascent;
                break;
            }
    }
    if (height == 0) {
        const CharMetric m = measurer_.defaults();
        height = std::min<int>(m.height, line.height);
        ascent = std::min<int>(m.ascent, line.ascent);
    }
    const int baseline = line.top + line.ascent;
    return {x, baseline - ascent, height, index};
}

TextPosition TWPRTFTextPaint::positionAt(int x, int y) const
{
    if (lines_.empty())
        return {};
    // The line whose band holds y; in a table row the cell nearest to x.
    std::size_t best = lines_.size();
    int bestDistance = INT_MAX;
    auto first = std::partition_point(lines_.begin(), lines_.end(),
                                      [&](const LaidLine& l) { return bottomOf(std::size_t(&l - lines_.data())) <= y; });
    for (auto it = first; it != lines_.end() && topOf(std::size_t(it - lines_.begin())) <= y; ++it) {
        settle(std::size_t(it - lines_.begin()) + 1);
        const TTextLine& line = *it->line;
        if (y < line.top || y >= line.top + line.height)
            continue;
        const int distance = x < it->left ? it->left - x : x >= it->left + it->available ? x - (it->left + it->available) + 1 : 0;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = std::size_t(it - lines_.begin());
        }
    }
    if (best == lines_.size()) {
        if (y < topOf(0))
            best = 0;
        else if (first == lines_.end())
            best = lines_.size() - 1;
        else
            best = std::size_t(first - lines_.begin()); // a gap below a short cell
    }
    const LaidLine& laid = lineAt(int(best));
    const int index = indexAtX(laid, x);
    return {laid.paragraphIndex, laid.segment, index};
}

} // namespace quillory
