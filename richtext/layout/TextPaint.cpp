// The layout engine's passes: preparing widths and resolution, breaking paragraphs (all, one, or
// those flagged), and placing lines, table rows and page starts from top to bottom.
#include "richtext/layout/TextPaint.h"

#include "platform/UnicodeText.h"
#include "platform/Utf8.h"

#include <algorithm>

namespace quillory {

namespace {

constexpr std::uint8_t LineRepaint = 0x01;
constexpr std::uint8_t LineStartsPage = 0x02;

// The paragraph's direction, after its first strong character (letters of any script; the first
// line that holds one decides).
bool RunsRightToLeft(const TParagraph& p)
{
    for (const TTextLine* line = p.firstLine(); line; line = line->next()) {
        const std::string_view text = line->view();
        for (std::size_t at = 0; at < text.size();) {
            const auto byte = static_cast<unsigned char>(text[at]);
            if (byte < 0x80) {
                if (IsLetter(byte))
                    return false;
                ++at;
                continue;
            }
            int length = 1;
            const char32_t c = DecodeUtf8At(text, at, length);
            if (IsRightToLeft(c))
                return true;
            if (IsLetter(c))
                return false;
            at += std::size_t(length);
        }
    }
    return false;
}

} // namespace

TWPRTFTextPaint::TWPRTFTextPaint(TWPRTFText& document) : document_(document), measurer_(document) {}

void TWPRTFTextPaint::setCanvas(Canvas* canvas)
{
    canvas_ = canvas;
    measurer_.setCanvas(canvas);
}

int TWPRTFTextPaint::computeLayoutWidth() const
{
    if (wordWrap && windowWidth > 0)
        return windowWidth;
    const int width = document_.header().usableWidthPixels();
    return width > 0 ? width : 16;
}

void TWPRTFTextPaint::prepare()
{
    TTextHeader& header = document_.header();
    header.resolutionX = canvas_ ? canvas_->resolutionX() : 96;
    header.resolutionY = canvas_ ? canvas_->resolutionY() : 96;
    measurer_.visibility = {showHiddenText, omitInsertPoints, omitAutomaticText};
    measurer_.forgetFonts();
    layoutWidth_ = computeLayoutWidth();
    header.layoutWidthPixels = layoutWidth_;
    header.layoutWidthTwips = layoutWidth_ * TwipsPerInch / std::max(1, header.resolutionX);
    pageHeight_ = header.usableHeightPixels();
    if (zooming)
        pageHeight_ = pageHeight_ * zoom / 100;
    if (pageHeight_ <= 0)
        pageHeight_ = 1 << 30;
    document_.defaultLineHeight = measurer_.defaults().height;
}

void TWPRTFTextPaint::reformatAll()
{
    prepare();
    const long total = document_.paragraphCount();
    if (progress.start)
        progress.start(total);
    int index = 0;
    const TParagraph* previous = nullptr;
    for (TParagraph* p = document_.firstParagraph(); p; previous = p, p = p->next(), ++index) {
        breakParagraph(*p, index, previous);
        if (progress.advance && index % 64 == 63)
            progress.advance(64);
    }
    if (progress.advance && index % 64)
        progress.advance(index % 64);
    positionLines();
    if (progress.finish)
        progress.finish();
}

Rect TWPRTFTextPaint::reformatParagraph(TParagraph& paragraph)
{
    if (layoutWidth_ == 0) {
        reformatAll();
        return {0, 0, layoutWidth_, documentHeight_};
    }
    measurer_.visibility = {showHiddenText, omitInsertPoints, omitAutomaticText};
    int index = 0, count = 1;
    for (const TParagraph* q = paragraph.prev(); q; q = q->prev())
        ++index;
    for (const TParagraph* q = paragraph.next(); q; q = q->next())
        ++count;
    // Paragraphs added or removed since the last positioning leave stale lines: place all again.
    if (index + count != paragraphsPlaced_) {
        breakParagraph(paragraph, index, paragraph.prev());
        positionLines();
        const int i = lineIndexOf({index, 0, 0});
        const int top = i < 0 ? 0 : lineAt(i).bandTop;
        return {0, top, layoutWidth_, std::max(documentHeight_, previousHeight_) - top};
    }
    return reformatParagraph(paragraph, index);
}

Rect TWPRTFTextPaint::reformatParagraph(TParagraph& paragraph, int index)
{
    if (layoutWidth_ == 0) {
        reformatAll();
        return {0, 0, layoutWidth_, documentHeight_};
    }
    measurer_.visibility = {showHiddenText, omitInsertPoints, omitAutomaticText};
    const BreakResult result = breakParagraph(paragraph, index, paragraph.prev());
    const bool moved = result == BreakResult::HeightChanged || paragraph.isTableCell();
    if (!moved)
        refreshLaidLines(paragraph, index);
    else if (!placeAgain(paragraph, index, paragraph, 0))
        positionLines();

    const int i = lineIndexOf({index, 0, 0});
    if (i < 0)
        return {0, 0, layoutWidth_, documentHeight_};
    const int top = lineAt(i).bandTop;
    if (moved)
        return {0, top, layoutWidth_, std::max(documentHeight_, previousHeight_) - top};
    const TTextLine* last = paragraph.lastLine();
    return {0, top, layoutWidth_, last->top + last->height - top};
}

Rect TWPRTFTextPaint::reformatPending()
{
    if (layoutWidth_ == 0) {
        reformatAll();
        return {0, 0, layoutWidth_, documentHeight_};
    }
    measurer_.visibility = {showHiddenText, omitInsertPoints, omitAutomaticText};
    TParagraph* first = nullptr;
    int firstIndex = 0, unchanged = 0;
    TParagraph* last = nullptr;
    int index = 0;
    const TParagraph* previous = nullptr;
    for (TParagraph* p = document_.firstParagraph(); p; previous = p, p = p->next(), ++index)
        if (p->layoutFlags & LayoutFlag::NeedsReformat) {
            breakParagraph(*p, index, previous);
            if (!first) {
                first = p;
                firstIndex = index;
                unchanged = unchangedLines_;
            }
            last = p;
        }
    if (!first)
        return {};
    int top = 0;
    if (placeAgain(*first, firstIndex, *last, index - paragraphsPlaced_, unchanged)) {
        top = repaintFrom_;
    } else {
        positionLines();
        // The paragraph before is taken along for what joins a paragraph to it (a frame, a page
        // kept with the next).
        const int i = firstIndex > 0 ? lineIndexOf({firstIndex - 1, 0, 0}) : -1;
        top = i < 0 ? 0 : lineAt(i).bandTop;
    }
    return {0, top, layoutWidth_, std::max(documentHeight_, previousHeight_) - top};
}

void TWPRTFTextPaint::recomputePositions()
{
    if (layoutWidth_ == 0) {
        reformatAll();
        return;
    }
    const TParagraph* previous = nullptr;
    for (TParagraph* p = document_.firstParagraph(); p; previous = p, p = p->next())
        computeLineHeights(*p, previous, !p->isTableCell());
    positionLines();
}

LaidLine TWPRTFTextPaint::laidLine(TParagraph& p, TTextLine& line, int paragraphIndex, int segment,
                                   const Column& col) const
{
    LaidLine laid;
    laid.paragraph = &p;
    laid.line = &line;
    laid.paragraphIndex = paragraphIndex;
    laid.segment = segment;
    laid.left = col.left;
    laid.available = col.available;
    laid.lastOfParagraph = !line.next();
    laid.justified = p.alignment == Alignment::Justified && (line.justifyExtra || line.justifyBlanks);
    laid.rightToLeft = RunsRightToLeft(p);
    laid.textX = col.left;
    if (!laid.justified) {
        const int free = std::max(0, col.available - int(line.lineWidth));
        // A right-to-left paragraph flows from the right: aligned left, as by default, it stands
        // against the right edge.
        const bool toTheRight = p.alignment == Alignment::Right
            || (laid.rightToLeft && (p.alignment == Alignment::Left || p.alignment == Alignment::Justified));
        if (toTheRight)
            laid.textX += free;
        else if (p.alignment == Alignment::Center)
            laid.textX += free / 2;
    }
    laid.bandTop = line.top;
    laid.bandBottom = line.top + line.height;
    return laid;
}

void TWPRTFTextPaint::refreshLaidLines(TParagraph& paragraph, int paragraphIndex)
{
    // Lines not yet settled or paged are placed again with those below them instead.
    const int first = lineIndexOf({paragraphIndex, 0, 0});
    if (first < 0 || lines_[std::size_t(first)].paragraph != &paragraph || lines_[std::size_t(first)].segment != 0
        || std::size_t(first) + std::size_t(paragraph.lineCount()) > pagedTo_) {
        if (!placeAgain(paragraph, paragraphIndex, paragraph, 0))
            positionLines();
        return;
    }
    auto found = lines_.begin() + first;
    int segment = 0;
    for (TTextLine* line = paragraph.firstLine(); line; line = line->next(), ++segment, ++found) {
        if (found == lines_.end() || found->paragraph != &paragraph) {
            positionLines();
            return;
        }
        const std::size_t k = std::size_t(found - lines_.begin());
        line->top = found->bandTop;
        line->flags = std::uint8_t((line->flags & ~LineStartsPage) | LineRepaint
                                   | (pageFirstLine_[std::size_t(found->page)] == int(k) && k > 0 ? LineStartsPage : 0));
        const int page = found->page;
        const bool boxed = found->boxed;
        *found = laidLine(paragraph, *line, paragraphIndex, segment, column(paragraph, segment == 0));
        found->page = page;
        found->boxed = boxed;
    }
}

} // namespace quillory
