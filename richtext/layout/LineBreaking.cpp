// Breaking a paragraph into lines: measuring its characters, tab stops, blanks and overflowing
// words, justification, and the line heights with paragraph spacing.
#include "richtext/layout/TextPaint.h"

#include "platform/Utf8.h"

#include <algorithm>
#include <cstring>

namespace quillory {

namespace {

constexpr int DefaultTabTwips = 720;
// A segment must stay below the model's capacity limit even when hidden text makes a long line.
constexpr int MaxCharsInSegment = MaxLineCapacity - 8;

struct Flat {
    std::string text;
    std::vector<TAttr> attrs;
};

Flat flatten(const TParagraph& paragraph, const TAttr& plain)
{
    Flat flat;
    flat.text.reserve(std::size_t(paragraph.length()));
    for (auto* line = paragraph.firstLine(); line; line = line->next()) {
        flat.text.append(line->view());
        if (line->hasAttributes())
            flat.attrs.insert(flat.attrs.end(), line->attrs(), line->attrs() + line->length());
        else
            flat.attrs.insert(flat.attrs.end(), std::size_t(line->length()), plain);
    }
    return flat;
}

bool isBlank(unsigned char c) noexcept { return c == ' '; }

} // namespace

int TWPRTFTextPaint::toPixelsX(int twips) const noexcept
{
    return int(std::int64_t(twips) * document_.header().resolutionX / TwipsPerInch);
}

int TWPRTFTextPaint::toPixelsY(int twips) const noexcept
{
    return int(std::int64_t(twips) * document_.header().resolutionY / TwipsPerInch);
}

TWPRTFTextPaint::Column TWPRTFTextPaint::column(const TParagraph& p, bool firstLine) const
{
    Column c;
    const int rowLeft = toPixelsX(p.leftIndent);
    if (p.isTableCell()) {
        const int rowWidth = std::max(16, layoutWidth_ - rowLeft - toPixelsX(p.rightIndent));
        const int padding = std::max(2, p.border.spacingSteps() * document_.header().resolutionX * 10 / 254);
        c.cellLeft = rowLeft + p.cellLeft * rowWidth / 255;
        c.cellWidth = std::max(1, p.cellWidth * rowWidth / 255);
        c.left = c.cellLeft + padding;
        c.available = c.cellWidth - 2 * padding;
    } else {
        c.left = firstLine ? toPixelsX(p.firstIndent) : rowLeft;
        c.available = layoutWidth_ - c.left - toPixelsX(p.rightIndent);
    }
    if (c.available <= 0)
        c.available = 16;
    return c;
}

// The advance of a TAB at `x` (pixels from the left margin) to the paragraph's next tab stop;
// without one, to the next multiple of half an inch. Right, centred and decimal stops put the text
// that follows (up to the next TAB or line end: `following` pixels, `beforePoint` of them before
// the decimal separator) against, around or at the stop, when there is room for it.
int TWPRTFTextPaint::tabAdvance(const TParagraph& p, int x, int origin, int following, int beforePoint) const
{
    const TTextHeader& header = document_.header();
    int best = -1;
    TTabKind kind = TTabKind::tkLeft;
    for (int i = 0; i < TabCount; ++i) {
        if (!((p.tabMask >> i) & 1) || !header.tabUsed(i))
            continue;
        const int stop = origin + toPixelsX(header.tab(i).position);
        if (stop > x && (best < 0 || stop < best)) {
            best = stop;
            kind = header.tab(i).kind;
        }
    }
    if (best < 0) {
        const int step = std::max(1, toPixelsX(DefaultTabTwips));
        return origin + ((x - origin) / step + 1) * step - x;
    }
    int target = best;
    if (kind == TTabKind::tkRight)
        target = best - following;
    else if (kind == TTabKind::tkCenter)
        target = best - following / 2;
    else if (kind == TTabKind::tkDecimal)
        target = best - beforePoint;
    return std::max(0, target - x);
}

TWPRTFTextPaint::BreakResult TWPRTFTextPaint::breakParagraph(TParagraph& p, int paragraphIndex,
                                                             const TParagraph* previous)
{
    ++paragraphsBroken_;
    const TAttr plain = measurer_.plainAttr();
    Flat flat = flatten(p, plain);
    const int n = int(flat.text.size());

    // Carried positions as offsets into the paragraph.
    std::vector<TextPosition*> carried = carriedPositions;
    carried.push_back(&document_.selection.blockStart);
    carried.push_back(&document_.selection.blockEnd);
    std::vector<std::pair<TextPosition*, int>> offsets;
    for (TextPosition* position : carried) {
        if (!position || position->paragraph != paragraphIndex)
            continue;
        int offset = 0, segment = 0;
        for (auto* line = p.firstLine(); line; line = line->next(), ++segment) {
            if (segment == position->segment || !line->next()) {
                offset += std::clamp(position->index, 0, line->length());
                break;
            }
            offset += line->length();
        }
        offsets.emplace_back(position, offset);
    }

    std::vector<std::uint8_t> kinds; // empty: every byte is a cluster of its own
    measurer_.measureText(flat.text, flat.attrs.data(), kinds);
    const bool ascii = kinds.empty();
    const auto startsCluster = [&](int i) { return ascii || i >= n || (kinds[std::size_t(i)] & ClusterKind::Start); };

    // Line ends (exclusive), always between two clusters.
    const bool tabsToStops = p.alignment == Alignment::Left || p.alignment == Alignment::Justified;
    std::vector<int> ends;
    int start = 0;
    while (start < n) {
        const Column col = column(p, ends.empty());
        const int origin = p.isTableCell() ? col.left : 0;
        int x = 0, lastBreak = -1, end = n, clusters = 0;
        enum class Before { Other, Ideograph, Alphanumeric } before = Before::Other;
        for (int i = start; i < n; ++i) {
            const auto c = static_cast<unsigned char>(flat.text[std::size_t(i)]);
            TAttr& a = flat.attrs[std::size_t(i)];
            if (!ascii && !(kinds[std::size_t(i)] & ClusterKind::Start)) {
                x += a.width; // the rest of a cluster: its width is on its first byte
            } else if (c == CharCode::SoftBreak) {
                end = i + 1;
                break;
            } else if (c == CharCode::Tab) {
                if (tabsToStops && !measurer_.invisible(a)) {
                    int following = 0, beforePoint = -1;
                    for (int k = i + 1; k < n; ++k) {
                        const auto f = static_cast<unsigned char>(flat.text[std::size_t(k)]);
                        if (f == CharCode::Tab || f == CharCode::SoftBreak)
                            break;
                        if (f == static_cast<unsigned char>(document_.header().decimalSeparator) && beforePoint < 0)
                            beforePoint = following;
                        following += flat.attrs[std::size_t(k)].width;
                    }
                    const int at = col.left + x;
                    a.width = std::uint16_t(std::min(0xFFFF, tabAdvance(p, at, origin, following,
                                                                        beforePoint < 0 ? following : beforePoint)));
                }
                x += a.width;
                lastBreak = i;
                before = Before::Other;
            } else if (isBlank(c)) {
                x += a.width;
                lastBreak = i;
                before = Before::Other;
            } else {
                // A line may break between two ideographs, and between an ideograph and a
                // letter or digit of the Latin alphabet.
                if (!ascii) {
                    const bool ideograph = kinds[std::size_t(i)] & ClusterKind::Ideograph;
                    const bool alphanumeric = (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
                    if (i > start
                        && ((ideograph && before != Before::Other) || (alphanumeric && before == Before::Ideograph)))
                        lastBreak = i - 1;
                    before = ideograph ? Before::Ideograph : alphanumeric ? Before::Alphanumeric : Before::Other;
                }
                if (x + a.width > col.available && i > start) {
                    end = lastBreak >= start ? lastBreak + 1 : i;
                    break;
                }
                x += a.width;
            }
            const bool fullLine = maxCharsPerLine > 0 && (startsCluster(i) ? ++clusters : clusters) >= maxCharsPerLine
                && startsCluster(i + 1);
            if (fullLine || i - start + 1 >= MaxCharsInSegment) {
                end = i + 1;
                // A segment that reaches the model's limit ends before the cluster it would cut.
                int back = end;
                while (back > start && !startsCluster(back))
                    --back;
                if (back > start)
                    end = back;
                else
                    end = int(CharBoundaryAtOrBefore(flat.text, std::size_t(end)));
                if (end <= start)
                    end = i + 1;
                break;
            }
        }
        ends.push_back(end);
        start = end;
    }
    // After a closing soft break the caret needs a line of its own.
    if (ends.empty() || flat.text.back() == char(CharCode::SoftBreak))
        ends.push_back(n);

    // Keep the segments when they already hold exactly these lines.
    bool same = true;
    {
        auto* line = p.firstLine();
        int from = 0;
        for (int end : ends) {
            if (!line || line->length() != end - from) {
                same = false;
                break;
            }
            from = end;
            line = line->next();
        }
        same = same && !line;
    }

    std::vector<std::uint16_t> oldHeights;
    std::vector<int> oldLengths;
    for (auto* line = p.firstLine(); line; line = line->next()) {
        oldHeights.push_back(line->height);
        oldLengths.push_back(line->length());
    }

    if (same) {
        int from = 0;
        for (auto* line = p.firstLine(); line; line = line->next()) {
            if (line->hasAttributes())
                std::copy_n(flat.attrs.begin() + from, line->length(), line->attrs());
            from += line->length();
        }
    } else {
        const TAttr typing = p.firstLine()->hasAttributes()
            ? (n > 0 ? flat.attrs.back() : p.firstLine()->attrs()[0])
            : plain;
        // The new segments go in front of the old ones, which are then dropped.
        TTextLine* previousNew = nullptr;
        int from = 0;
        for (int end : ends) {
            const int count = end - from;
            TTextLine* line = document_.appendLine(p, previousNew, count + 4);
            std::memcpy(line->text(), flat.text.data() + from, std::size_t(count));
            if (line->hasAttributes()) {
                std::copy_n(flat.attrs.begin() + from, count, line->attrs());
                if (count == 0)
                    line->attrs()[0] = typing;
            }
            line->setLength(count);
            previousNew = line;
            from = end;
        }
        while (previousNew->next())
            document_.deleteLine(p, previousNew->next());
    }

    // Carry positions over to the new segments.
    for (auto& [position, offset] : offsets) {
        int segment = 0, rest = offset;
        for (auto* line = p.firstLine(); line; line = line->next(), ++segment) {
            if (rest < line->length() || !line->next()) {
                *position = {paragraphIndex, segment, std::min(rest, line->length())};
                break;
            }
            rest -= line->length();
        }
    }

    justifyLines(p);
    computeLineHeights(p, previous, !p.isTableCell());
    p.layoutFlags &= ~LayoutFlag::NeedsReformat;

    std::vector<std::uint16_t> newHeights;
    for (auto* line = p.firstLine(); line; line = line->next()) {
        newHeights.push_back(line->height);
        line->flags |= 0x01;
        line->repaintState = 3;
    }
    // The leading lines that hold the characters they held, at the height they had, and are not
    // the last one (which justification and spacing treat apart) look as they looked.
    std::size_t kept = 0;
    for (int from = 0; kept + 1 < ends.size() && kept + 1 < oldLengths.size(); from = ends[kept], ++kept)
        if (oldLengths[kept] != ends[kept] - from || oldHeights[kept] != newHeights[kept])
            break;
    unchangedLines_ = int(kept);
    if (newHeights != oldHeights)
        return BreakResult::HeightChanged;
    return same ? BreakResult::SameLines : BreakResult::NewSegments;
}

// Line widths for alignment, and the extra pixels of justified lines.
void TWPRTFTextPaint::justifyLines(TParagraph& p)
{
    bool first = true;
    for (auto* line = p.firstLine(); line; line = line->next(), first = false) {
        const Column col = column(p, first);
        int used = 0, trailing = 0, blanks = 0, lastBlank = -1;
        const std::vector<int> plain = line->hasAttributes() ? std::vector<int>() : plainWidths(*line);
        for (int i = 0; i < line->length(); ++i) {
            const unsigned char c = line->code(i);
            const int w = line->hasAttributes() ? line->attrs()[i].width : plain[std::size_t(i)];
            used += w;
            if (c == ' ') {
                ++blanks;
                lastBlank = i;
                trailing += w;
            } else if (c != CharCode::SoftBreak) {
                trailing = 0;
            }
        }
        line->justifyExtra = 0;
        line->justifyBlanks = 0;
        const bool endsParagraph = !line->next();
        const bool endsWithSoftBreak = line->length() > 0 && line->code(line->length() - 1) == CharCode::SoftBreak;
        const int free = col.available - used - 6;
        if (p.alignment == Alignment::Justified && !endsParagraph && !endsWithSoftBreak && blanks >= 2
            && free > 0 && line->hasAttributes()) {
            line->lineWidth = std::uint16_t(lastBlank);
            line->justifyExtra = std::uint16_t(free / (blanks - 1));
            line->justifyBlanks = std::uint16_t(free % (blanks - 1));
        } else {
            line->lineWidth = std::uint16_t(std::clamp(used - trailing, 0, 0xFFFF));
        }
    }
}

void TWPRTFTextPaint::computeLineHeights(TParagraph& p, const TParagraph* previous, bool withSpaceAfter)
{
    const CharMetric defaults = measurer_.defaults();
    const int spacing = toPixelsY(p.lineSpacing);
    for (auto* line = p.firstLine(); line; line = line->next()) {
        int height = -1, ascent = 0;
        if (line->hasAttributes()) {
            for (int i = 0; i < line->length(); ++i) {
                const unsigned char c = line->code(i);
                const TAttr& a = line->attrs()[i];
                if (c == ' ' || c == CharCode::Tab || c == CharCode::SoftBreak || (a.width == 0 && a.height == 0))
                    continue;
                if (a.height > height) {
                    height = a.height;
                    ascent = a.ascent;
                }
            }
        } else if (line->length() > 0) {
            height = defaults.height;
            ascent = defaults.ascent;
        }
        if (height < 0) {
            height = defaults.height;
            ascent = defaults.ascent;
            // An empty closing line stands as tall as the text before it.
            const TTextLine* before = previous ? previous->lastLine() : nullptr;
            if (line->length() == 0 && !line->next() && before && before->length() > 0 && before->hasAttributes()
                && before->attrs()[before->length() - 1].height > 0) {
                height = before->attrs()[before->length() - 1].height;
                ascent = before->attrs()[before->length() - 1].ascent;
            }
        }
        if (spacing > 0 && spacing > height) {
            ascent += (spacing - height) / 2;
            height = spacing;
        } else if (spacing < 0) {
            ascent = std::max(0, ascent + (-spacing - height) / 2);
            height = -spacing;
        }
        if (line == p.firstLine()) {
            const int before = toPixelsY(p.spaceBefore);
            height += before;
            ascent += before;
        }
        if (!line->next() && withSpaceAfter)
            height += toPixelsY(p.spaceAfter);
        line->height = std::uint16_t(std::clamp(height, 0, 0xFFFF));
        line->ascent = std::uint16_t(std::clamp(ascent, 0, 0xFFFF));
    }
}

// Lines of a plain-text document keep no attribute records: their widths are measured again.
std::vector<int> TWPRTFTextPaint::plainWidths(const TTextLine& line) const
{
    const int n = line.length();
    std::vector<int> widths(static_cast<std::size_t>(n));
    const std::string_view text = line.view();
    const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
        const WidthTable& table = measurer_.widthsFor(measurer_.plainAttr());
        for (int i = 0; i < n; ++i) {
            const unsigned char c = line.code(i);
            widths[std::size_t(i)] = c == CharCode::SoftBreak ? 0 : std::max<int>(1, table[c == CharCode::Tab ? ' ' : c]);
        }
        return widths;
    }
    std::vector<TAttr> attrs(std::size_t(n), measurer_.plainAttr());
    std::vector<std::uint8_t> kinds;
    measurer_.measureText(text, attrs.data(), kinds);
    for (int i = 0; i < n; ++i)
        widths[std::size_t(i)] = attrs[std::size_t(i)].width;
    return widths;
}

std::vector<int> TWPRTFTextPaint::advances(const LaidLine& laid) const
{
    const TTextLine& line = *laid.line;
    std::vector<int> result(std::size_t(line.length()));
    if (line.hasAttributes()) {
        for (int i = 0; i < line.length(); ++i)
            result[std::size_t(i)] = line.attrs()[i].width;
    } else {
        const std::vector<int> widths = plainWidths(line);
        const bool tabsToStops = laid.paragraph->alignment == Alignment::Left
            || laid.paragraph->alignment == Alignment::Justified;
        const int origin = laid.paragraph->isTableCell() ? laid.left : 0;
        int x = laid.left;
        for (int i = 0; i < line.length(); ++i) {
            const unsigned char c = line.code(i);
            int w = widths[std::size_t(i)];
            if (c == CharCode::Tab && tabsToStops) {
                int following = 0, beforePoint = -1;
                for (int k = i + 1; k < line.length(); ++k) {
                    const unsigned char f = line.code(k);
                    if (f == CharCode::Tab || f == CharCode::SoftBreak)
                        break;
                    if (f == static_cast<unsigned char>(document_.header().decimalSeparator) && beforePoint < 0)
                        beforePoint = following;
                    following += widths[std::size_t(k)];
                }
                w = tabAdvance(*laid.paragraph, x, origin, following, beforePoint < 0 ? following : beforePoint);
            }
            result[std::size_t(i)] = w;
            x += w;
        }
    }
    if (laid.justified) {
        int blank = 0;
        for (int i = 0; i < line.lineWidth && i < line.length(); ++i)
            if (line.code(i) == ' ') {
                result[std::size_t(i)] += line.justifyExtra + (blank < line.justifyBlanks ? 1 : 0);
                ++blank;
            }
    }
    return result;
}

} // namespace quillory
