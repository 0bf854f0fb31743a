// The layout engine's passes: preparing widths and resolution, breaking paragraphs (all, one, or
// those flagged), and placing lines, table rows and page starts from top to bottom.
#include "richtext/layout/TextPaint.h"

#include <algorithm>

namespace quillory {

namespace {

constexpr std::uint8_t LineRepaint = 0x01;
constexpr std::uint8_t LineStartsPage = 0x02;

bool decorated(const TParagraph& p) noexcept
{
    return p.border.present() || p.shadingPercent > 0 || p.backgroundColor() != 0;
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
        const int top = i < 0 ? 0 : lines_[std::size_t(i)].bandTop;
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
    if (moved)
        positionLines();
    else
        refreshLaidLines(paragraph, index);

    const int i = lineIndexOf({index, 0, 0});
    if (i < 0)
        return {0, 0, layoutWidth_, documentHeight_};
    const int top = lines_[std::size_t(i)].bandTop;
    if (moved)
        return {0, top, layoutWidth_, std::max(documentHeight_, previousHeight_) - top};
    const TTextLine* last = paragraph.lastLine();
    return {0, top, layoutWidth_, last->top + last->height - top};
}

void TWPRTFTextPaint::reformatPending()
{
    if (layoutWidth_ == 0) {
        reformatAll();
        return;
    }
    measurer_.visibility = {showHiddenText, omitInsertPoints, omitAutomaticText};
    bool any = false;
    int index = 0;
    const TParagraph* previous = nullptr;
    for (TParagraph* p = document_.firstParagraph(); p; previous = p, p = p->next(), ++index)
        if (p->layoutFlags & LayoutFlag::NeedsReformat) {
            breakParagraph(*p, index, previous);
            any = true;
        }
    if (any)
        positionLines();
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
    laid.textX = col.left;
    if (!laid.justified) {
        const int free = std::max(0, col.available - int(line.lineWidth));
        if (p.alignment == Alignment::Right)
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
    auto found = std::lower_bound(lines_.begin(), lines_.end(), paragraphIndex,
                                  [](const LaidLine& l, int index) { return l.paragraphIndex < index; });
    if (found == lines_.end() || found->paragraph != &paragraph) {
        positionLines();
        return;
    }
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
        *found = laidLine(paragraph, *line, paragraphIndex, segment, column(paragraph, segment == 0));
        found->page = page;
    }
}

void TWPRTFTextPaint::positionLines()
{
    previousHeight_ = documentHeight_;
    lines_.clear();
    boxes_.clear();
    pageFirstLine_.assign(1, 0);
    int y = 0, pageStart = 0, page = 0;
    const int resY = std::max(1, document_.header().resolutionY);

    struct Mark {
        std::size_t lines = 0;
        std::size_t pages = 0;
        int y = 0;
        int pageStart = 0;
        int page = 0;
    };
    auto mark = [&] { return Mark{lines_.size(), pageFirstLine_.size(), y, pageStart, page}; };
    auto restore = [&](const Mark& m) {
        lines_.resize(m.lines);
        pageFirstLine_.resize(m.pages);
        y = m.y;
        pageStart = m.pageStart;
        page = m.page;
    };
    auto startPage = [&](int top, TTextLine& line) {
        pageStart = top;
        ++page;
        pageFirstLine_.push_back(int(lines_.size()));
        line.flags |= LineStartsPage;
    };

    Mark previousMark;
    const TParagraph* previousKeeps = nullptr; // the paragraph before, when it keeps with this one
    const TParagraph* forced = nullptr;        // its page break was moved to its first line
    int index = 0;
    for (TParagraph* p = document_.firstParagraph(); p;) {
        if (p->isTableCell()) {
            std::vector<TParagraph*> row{p};
            while (row.back()->hasFlag(ParFlag::MoreCellsFollow) && row.back()->next()
                   && row.back()->next()->isTableCell() && row.back()->next()->hasFlag(ParFlag::CellNotFirst))
                row.push_back(row.back()->next());
            int rowHeight = 0;
            std::vector<int> contents;
            const TParagraph* before = p->prev();
            for (TParagraph* cell : row) {
                computeLineHeights(*cell, before, false);
                int content = 0;
                for (TTextLine* line = cell->firstLine(); line; line = line->next()) {
                    content += line->height;
                    line->flags &= ~LineStartsPage;
                }
                contents.push_back(content);
                // How full the cell is, as part of a page: a row cannot break across pages, so
                // editing refuses to fill a cell much beyond one.
                cell->cellFill = std::uint8_t(std::min<std::int64_t>(255, std::int64_t(content) * 255 / pageHeight_));
                rowHeight = std::max(rowHeight, content);
                before = cell;
            }
            if (y > pageStart && (p->hasFlag(ParFlag::PageBreakBefore) || y + rowHeight > pageStart + pageHeight_))
                startPage(y, *p->firstLine());
            for (std::size_t c = 0; c < row.size(); ++c) {
                TParagraph* cell = row[c];
                // The cells of a row end together: each keeps what it lacks as its space after.
                const int filler = rowHeight - contents[c];
                cell->spaceAfter = filler * TwipsPerInch / resY;
                cell->lastLine()->height = std::uint16_t(cell->lastLine()->height + filler);
                int top = y, segment = 0;
                for (TTextLine* line = cell->firstLine(); line; line = line->next(), ++segment) {
                    line->top = top;
                    LaidLine laid = laidLine(*cell, *line, index, segment, column(*cell, segment == 0));
                    laid.bandTop = y;
                    laid.bandBottom = y + rowHeight;
                    laid.page = page;
                    lines_.push_back(laid);
                    top += line->height;
                }
                const Column col = column(*cell, true);
                boxes_.push_back({Rect{col.cellLeft, y, col.cellWidth, rowHeight}, cell, true});
                ++index;
            }
            y += rowHeight;
            previousKeeps = nullptr;
            p = row.back()->next();
            continue;
        }

        const Mark before = mark();
        int segment = 0;
        for (TTextLine* line = p->firstLine(); line; line = line->next(), ++segment) {
            line->flags &= ~LineStartsPage;
            const bool first = segment == 0;
            if (y > pageStart
                && ((first && (p == forced || p->hasFlag(ParFlag::PageBreakBefore)))
                    || y + line->height > pageStart + pageHeight_))
                startPage(y, *line);
            line->top = y;
            LaidLine laid = laidLine(*p, *line, index, segment, column(*p, first));
            laid.page = page;
            lines_.push_back(laid);
            y += line->height;
        }

        // Keep with next: a page break inside the paragraph, or on the first line of the one after
        // it, moves to the paragraph's first line.
        const bool firstStartsPage = p->firstLine()->flags & LineStartsPage;
        bool brokeInside = false;
        for (TTextLine* line = p->firstLine()->next(); line; line = line->next())
            brokeInside |= (line->flags & LineStartsPage) != 0;
        if (p->hasFlag(ParFlag::KeepWithNext) && p != forced && brokeInside && !firstStartsPage
            && before.y > before.pageStart) {
            restore(before);
            forced = p;
            continue;
        }
        if (previousKeeps && previousKeeps != forced && firstStartsPage && !p->hasFlag(ParFlag::PageBreakBefore)
            && !(previousKeeps->firstLine()->flags & LineStartsPage) && previousMark.y > previousMark.pageStart) {
            restore(previousMark);
            forced = previousKeeps;
            p = const_cast<TParagraph*>(previousKeeps);
            --index;
            previousKeeps = nullptr;
            continue;
        }
        previousMark = before;
        previousKeeps = p->hasFlag(ParFlag::KeepWithNext) ? p : nullptr;
        p = p->next();
        ++index;
    }
    documentHeight_ = y;
    pageCount_ = int(pageFirstLine_.size());
    paragraphsPlaced_ = index;
    collectBorderBoxes();
}

void TWPRTFTextPaint::collectBorderBoxes()
{
    const TParagraph* open = nullptr; // the paragraph whose run is being extended
    std::size_t i = 0;
    while (i < lines_.size()) {
        TParagraph* p = lines_[i].paragraph;
        std::size_t j = i;
        while (j < lines_.size() && lines_[j].paragraph == p)
            ++j;
        if (p->isTableCell() || !decorated(*p)) {
            open = nullptr;
            i = j;
            continue;
        }
        const int top = lines_[i].line->top;
        const int bottom = lines_[j - 1].line->top + lines_[j - 1].line->height;
        // The frame keeps its spacing, and a little more, off the text.
        const int spacing = p->border.spacingSteps() * document_.header().resolutionX * 10 / 254 + 2;
        const int left = toPixelsX(std::min(p->firstIndent, p->leftIndent)) - spacing;
        const int right = layoutWidth_ - toPixelsX(p->rightIndent) + spacing;
        const bool continues = open && open == p->prev() && open->border.present() == p->border.present()
            && !(open->border.flags & BorderFlag::RunEnds);
        if (continues) {
            LaidBox& box = boxes_.back();
            const int boxLeft = std::min(box.rect.left, left);
            const int boxRight = std::max(box.rect.right(), right);
            box.rect = Rect{boxLeft, box.rect.top, boxRight - boxLeft, bottom - box.rect.top};
        } else {
            boxes_.push_back({Rect{left, top, right - left, bottom - top}, p, false});
        }
        open = p;
        i = j;
    }
}

} // namespace quillory
