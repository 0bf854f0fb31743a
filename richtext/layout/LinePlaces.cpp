// Where the characters of a laid line stand: in a left-to-right line one after the other; in a
// line with right-to-left text by the bidi levels of its bytes, runs reordered and right-to-left
// runs laid from their right end. Caret places and hit tests read the same places as painting.
#include "richtext/layout/TextPaint.h"

#include "platform/Bidi.h"
#include "platform/UnicodeText.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <climits>

namespace quillory {

namespace {

// True when the line holds a character that runs right to left, or an explicit embedding of
// such text. Lead bytes of the ranges that hold none (CJK, Hangul, most symbols) are passed by.
bool holdsRightToLeft(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        if (lead < 0xD6 || (lead >= 0xE3 && lead <= 0xED)) {
            ++at;
            continue;
        }
        int length = 1;
        const char32_t c = DecodeUtf8At(text, at, length);
        if (IsRightToLeft(c) || c == 0x202B || c == 0x202E || c == 0x2067)
            return true;
        at += std::size_t(length);
    }
    return false;
}

int lineEnd(const TTextLine& line)
{
    const int n = line.length();
    return n > 0 && line.code(n - 1) == CharCode::SoftBreak ? n - 1 : n;
}

} // namespace

LinePlaces TWPRTFTextPaint::places(const LaidLine& laid) const
{
    const TTextLine& line = *laid.line;
    const int n = line.length();
    LinePlaces places;
    places.advances = advances(laid);
    places.left.resize(std::size_t(n));
    const std::vector<int>& adv = places.advances;
    if (!laid.rightToLeft && !holdsRightToLeft(line.view())) {
        int x = laid.textX;
        for (int i = 0; i < n; ++i) {
            places.left[std::size_t(i)] = x;
            x += adv[std::size_t(i)];
        }
        return places;
    }

    places.levels = BidiLevels(line.view(), laid.rightToLeft);
    struct Run {
        int from = 0;
        int to = 0;
        int width = 0;
    };
    std::vector<Run> runs;
    std::vector<std::uint8_t> runLevels;
    int total = 0;
    for (int i = 0; i < n;) {
        Run run{i, i, 0};
        const std::uint8_t level = places.levels[std::size_t(i)];
        while (run.to < n && places.levels[std::size_t(run.to)] == level)
            run.width += adv[std::size_t(run.to++)];
        total += run.width;
        runs.push_back(run);
        runLevels.push_back(level);
        i = run.to;
    }
    // A right-to-left paragraph keeps its text against the place alignment gave it; the blanks
    // that end the line stand at its left end, beyond that place.
    int x = laid.textX;
    if (laid.rightToLeft) {
        int trailing = 0;
        for (int i = n - 1; i >= 0 && (line.code(i) == ' ' || line.code(i) == CharCode::SoftBreak); --i)
            trailing += adv[std::size_t(i)];
        x = laid.justified ? laid.left + laid.available - total : laid.textX - trailing;
    }
    for (int r : VisualRunOrder(runLevels)) {
        const Run& run = runs[std::size_t(r)];
        const bool reversed = runLevels[std::size_t(r)] & 1;
        int before = 0;
        for (int i = run.from; i < run.to; ++i) {
            const int w = adv[std::size_t(i)];
            places.left[std::size_t(i)] = reversed ? x + run.width - before - w : x + before;
            before += w;
        }
        x += run.width;
    }
    return places;
}

int TWPRTFTextPaint::caretX(const LaidLine& laid, int index) const
{
    const TTextLine& line = *laid.line;
    const int n = line.length();
    index = std::clamp(index, 0, n);
    const LinePlaces places = this->places(laid);
    if (n == 0)
        return laid.textX;
    if (index < n) {
        const int left = places.left[std::size_t(index)];
        return places.rightToLeft(index) ? left + places.advances[std::size_t(index)] : left;
    }
    // After the last cluster: its trailing edge.
    const int last = int(PrevGraphemeBoundary(line.view(), std::size_t(n)));
    int width = 0;
    for (int i = last; i < n; ++i)
        width += places.advances[std::size_t(i)];
    const int left = places.left[std::size_t(last)];
    return places.rightToLeft(last) ? left : left + width;
}

int TWPRTFTextPaint::indexAtX(const LaidLine& laid, int x) const
{
    const TTextLine& line = *laid.line;
    const std::string_view text = line.view();
    // After a soft break the caret belongs to the next line.
    const int last = lineEnd(line);
    const LinePlaces places = this->places(laid);
    const std::vector<int>& adv = places.advances;
    if (places.levels.empty()) {
        int index = 0, cx = laid.textX;
        while (index < last) {
            const int next = std::min(last, int(NextGraphemeBoundary(text, std::size_t(index))));
            int w = 0;
            for (int i = index; i < next; ++i)
                w += adv[std::size_t(i)];
            if (x < cx + w / 2 + (w & 1))
                break;
            cx += w;
            index = next;
        }
        return index;
    }
    // The cluster nearest to x decides: its leading half gives its start, the other half its end.
    int best = last, bestDistance = INT_MAX;
    for (int index = 0; index < last;) {
        const int next = std::min(last, int(NextGraphemeBoundary(text, std::size_t(index))));
        int w = 0;
        for (int i = index; i < next; ++i)
            w += adv[std::size_t(i)];
        const int left = places.left[std::size_t(index)];
        const int distance = x < left ? left - x : x >= left + w ? x - (left + w) + 1 : 0;
        if (distance < bestDistance) {
            bestDistance = distance;
            const bool rightHalf = x >= left + w / 2 + (w & 1);
            best = rightHalf != places.rightToLeft(index) ? next : index;
        }
        index = next;
    }
    if (last == 0)
        return 0;
    return best;
}

} // namespace quillory
