// Placing laid lines from top to bottom: positions, table rows, frames, and page starts.
//
// After an edit only the lines of the paragraphs broken anew are placed again. The lines below
// them keep their entries and move lazily: the shift is applied to a line when someone looks at
// it (painting, the caret, hit tests), and pages are assigned from the edit down only as far as
// someone looks. Whatever is looked at is exactly what placing everything again would give.
#include "richtext/layout/TextPaint.h"

#include <algorithm>

namespace quillory {

namespace {

constexpr std::uint8_t LineStartsPage = 0x02;

bool decorated(const TParagraph& p) noexcept
{
    return p.border.present() || p.shadingPercent > 0 || p.backgroundColor() != 0;
}

// A line below an edit moves down by `dy` and past `paragraphs` more paragraphs.
void moveLine(LaidLine& line, int dy, int paragraphs) noexcept
{
    line.bandTop += dy;
    line.bandBottom += dy;
    line.paragraphIndex += paragraphs;
    line.line->top += dy;
}

} // namespace

const std::vector<LaidLine>& TWPRTFTextPaint::lines() const
{
    settleAll();
    return lines_;
}

const LaidLine& TWPRTFTextPaint::lineAt(int index) const
{
    paginate(std::size_t(index) + 1);
    return lines_[std::size_t(index)];
}

int TWPRTFTextPaint::pageCount() const
{
    settleAll();
    return int(pageFirstLine_.size());
}

void TWPRTFTextPaint::positionLines()
{
    previousHeight_ = documentHeight_;
    placeAll();
    pageFirstLine_.assign(1, 0);
    pagedTo_ = 0;
    paginate(lines_.size());
    collectBorderBoxes();
}

void TWPRTFTextPaint::placeAll()
{
    lines_.clear();
    boxes_.clear();
    shiftFrom_ = 0;
    shiftY_ = shiftParagraphs_ = 0;
    const int resY = std::max(1, document_.header().resolutionY);
    int y = 0, index = 0;
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
                for (TTextLine* line = cell->firstLine(); line; line = line->next())
                    content += line->height;
                contents.push_back(content);
                // How full the cell is, as part of a page: a row cannot break across pages, so
                // editing refuses to fill a cell much beyond one.
                cell->cellFill = std::uint8_t(std::min<std::int64_t>(255, std::int64_t(content) * 255 / pageHeight_));
                rowHeight = std::max(rowHeight, content);
                before = cell;
            }
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
                    laid.boxed = true;
                    lines_.push_back(laid);
                    top += line->height;
                }
                const Column col = column(*cell, true);
                boxes_.push_back({Rect{col.cellLeft, y, col.cellWidth, rowHeight}, cell, true});
                ++index;
            }
            y += rowHeight;
            p = row.back()->next();
            continue;
        }
        const bool boxed = decorated(*p);
        int segment = 0;
        for (TTextLine* line = p->firstLine(); line; line = line->next(), ++segment) {
            line->top = y;
            LaidLine laid = laidLine(*p, *line, index, segment, column(*p, segment == 0));
            laid.boxed = boxed;
            lines_.push_back(laid);
            y += line->height;
        }
        p = p->next();
        ++index;
    }
    shiftFrom_ = lines_.size();
    documentHeight_ = y;
    paragraphsPlaced_ = index;
}

bool TWPRTFTextPaint::placeAgain(TParagraph& first, int firstIndex, TParagraph& last, int paragraphDelta,
                                 int unchangedLines)
{
    if (lines_.empty())
        return false;
    // The lines the region had: between those of the paragraph before it and those of the one
    // after it, which are both as they were.
    const int lastIndex = [&] {
        int i = firstIndex;
        for (const TParagraph* p = &first; p != &last; p = p->next())
            ++i;
        return i;
    }();
    const auto at = [&](int paragraph) {
        std::size_t low = 0, high = lines_.size();
        while (low < high) {
            const std::size_t mid = (low + high) / 2;
            if (paragraphOf(mid) < paragraph)
                low = mid + 1;
            else
                high = mid;
        }
        return low;
    };
    const std::size_t start = at(firstIndex);
    if (const TParagraph* before = first.prev()) {
        if (start == 0 || lines_[start - 1].paragraph != before || paragraphOf(start - 1) != firstIndex - 1)
            return false;
    } else if (start != 0) {
        return false;
    }
    std::size_t end = lines_.size();
    if (const TParagraph* after = last.next()) {
        const int oldIndex = lastIndex + 1 - paragraphDelta;
        end = at(oldIndex);
        if (end == lines_.size() || lines_[end].paragraph != after || paragraphOf(end) != oldIndex)
            return false;
    } else if (paragraphsPlaced_ != lastIndex + 1 - paragraphDelta) {
        return false;
    }
    if (end < start)
        return false;
    // Table rows and runs of frames are placed whole.
    for (std::size_t i = start; i < end; ++i)
        if (lines_[i].boxed)
            return false;
    for (const TParagraph* p = &first;; p = p->next()) {
        if (p->isTableCell() || decorated(*p))
            return false;
        if (p == &last)
            break;
    }
    // A row's heights are measured as it is placed, its first cell's against the paragraph
    // before the row.
    if (last.next() && last.next()->isTableCell())
        return false;

    // The region's old lines may be gone with their segments: they are replaced unread.
    settle(start);
    previousHeight_ = documentHeight_;
    const int top = start > 0 ? lines_[start - 1].bandBottom : 0;
    const int oldBottom = end < lines_.size() ? topOf(end) : documentHeight_;
    std::vector<LaidLine> placed;
    int y = top, index = firstIndex;
    for (TParagraph* p = &first;; p = p->next(), ++index) {
        int segment = 0;
        for (TTextLine* line = p->firstLine(); line; line = line->next(), ++segment) {
            line->flags &= ~LineStartsPage;
            line->top = y;
            placed.push_back(laidLine(*p, *line, index, segment, column(*p, segment == 0)));
            y += line->height;
        }
        if (p == &last)
            break;
    }
    const int dy = y - oldBottom;

    // The new lines take the old ones' place.
    const bool pending = shiftY_ != 0 || shiftParagraphs_ != 0;
    const std::size_t settledBelow = std::max(shiftFrom_, end); // lines end.. before it are settled
    const std::ptrdiff_t grow = std::ptrdiff_t(placed.size()) - std::ptrdiff_t(end - start);
    const auto endAt = lines_.begin() + std::ptrdiff_t(end);
    if (grow > 0)
        lines_.insert(endAt, std::size_t(grow), LaidLine{});
    else if (grow < 0)
        lines_.erase(endAt + grow, endAt);
    std::copy(placed.begin(), placed.end(), lines_.begin() + std::ptrdiff_t(start));
    const std::size_t below = start + placed.size();

    // The lines below move: those already settled now, the others with what they still await.
    if (!pending) {
        shiftFrom_ = below;
    } else {
        shiftFrom_ = std::size_t(std::ptrdiff_t(settledBelow) + grow);
        for (std::size_t i = below; i < shiftFrom_; ++i)
            moveLine(lines_[i], dy, paragraphDelta);
    }
    shiftY_ += dy;
    shiftParagraphs_ += paragraphDelta;
    if (shiftFrom_ >= lines_.size() || (shiftY_ == 0 && shiftParagraphs_ == 0)) {
        shiftFrom_ = lines_.size();
        shiftY_ = shiftParagraphs_ = 0;
    }
    for (LaidBox& box : boxes_)
        if (box.rect.top >= oldBottom)
            box.rect.top += dy;
    documentHeight_ += dy;
    paragraphsPlaced_ += paragraphDelta;

    // Pages are assigned again from the start of the first paragraph that no page break before
    // the region can depend on: the one after a paragraph not kept with its next.
    std::size_t from = start;
    while (from > 0) {
        const TParagraph* before = lines_[from - 1].paragraph;
        if (before->isTableCell() || !before->hasFlag(ParFlag::KeepWithNext))
            break;
        while (from > 0 && lines_[from - 1].paragraph == before)
            --from;
    }
    pagedTo_ = std::min(pagedTo_, from);
    // A paragraph kept with the next may see its page break move to its first line.
    const bool keeps = from < start || first.hasFlag(ParFlag::KeepWithNext);
    repaintFrom_ = lines_[keeps ? from : start + std::size_t(std::clamp<int>(unchangedLines, 0, int(placed.size()) - 1))].bandTop;
    while (pageFirstLine_.size() > 1 && pageFirstLine_.back() >= int(pagedTo_))
        pageFirstLine_.pop_back();
    return true;
}

void TWPRTFTextPaint::settle(std::size_t upTo) const
{
    upTo = std::min(upTo, lines_.size());
    if (upTo <= shiftFrom_)
        return;
    if (shiftY_ != 0 || shiftParagraphs_ != 0)
        for (std::size_t i = shiftFrom_; i < upTo; ++i)
            moveLine(lines_[i], shiftY_, shiftParagraphs_);
    shiftFrom_ = upTo;
    if (shiftFrom_ == lines_.size())
        shiftY_ = shiftParagraphs_ = 0;
}

// Page starts, from top to bottom: a line that does not fit or a paragraph with a page break
// before it starts a page; a table row is never split; a paragraph kept with the next moves its
// page break to its first line, and the page break of the paragraph after it moves there too.
// It resumes at pagedTo_, which is always the start of a paragraph or row that the pages before
// it cannot depend on.
void TWPRTFTextPaint::paginate(std::size_t upTo) const
{
    upTo = std::min(upTo, lines_.size());
    if (pagedTo_ >= upTo)
        return;
    std::size_t i = pagedTo_;
    int page = i > 0 ? lines_[i - 1].page : 0;
    pageFirstLine_.resize(std::size_t(page) + 1);
    pageFirstLine_[0] = 0;
    settle(i + 1);
    int pageStart = lines_[std::size_t(pageFirstLine_[std::size_t(page)])].bandTop;
    if (page == 0)
        pageStart = 0;

    struct Mark {
        std::size_t line = 0;
        std::size_t pages = 0;
        int y = 0;
        int pageStart = 0;
        int page = 0;
    };
    auto restore = [&](const Mark& m) {
        i = m.line;
        pageFirstLine_.resize(m.pages);
        pageStart = m.pageStart;
        page = m.page;
    };
    auto startPage = [&](int top, std::size_t line) {
        pageStart = top;
        ++page;
        pageFirstLine_.push_back(int(line));
        lines_[line].line->flags |= LineStartsPage;
    };

    Mark previousMark;
    const TParagraph* previousKeeps = nullptr; // the paragraph before, when it keeps with this one
    const TParagraph* forced = nullptr;        // its page break was moved to its first line
    while (i < lines_.size()) {
        TParagraph* p = lines_[i].paragraph;
        if (p->isTableCell()) {
            // A row: the cells chained to the first one.
            std::size_t end = i;
            for (const TParagraph* cell = p;; cell = cell->next()) {
                while (end < lines_.size() && lines_[end].paragraph == cell)
                    ++end;
                if (!(cell->hasFlag(ParFlag::MoreCellsFollow) && cell->next() && cell->next()->isTableCell()
                      && cell->next()->hasFlag(ParFlag::CellNotFirst)))
                    break;
            }
            settle(end);
            for (std::size_t k = i; k < end; ++k)
                lines_[k].line->flags &= ~LineStartsPage;
            const int y = lines_[i].bandTop;
            const int rowHeight = lines_[i].bandBottom - y;
            if (y > pageStart && (p->hasFlag(ParFlag::PageBreakBefore) || y + rowHeight > pageStart + pageHeight_))
                startPage(y, i);
            for (std::size_t k = i; k < end; ++k)
                lines_[k].page = page;
            previousKeeps = nullptr;
            i = end;
            pagedTo_ = i;
            if (pagedTo_ >= upTo)
                break;
            continue;
        }

        std::size_t end = i;
        while (end < lines_.size() && lines_[end].paragraph == p)
            ++end;
        settle(end);
        const Mark before{i, pageFirstLine_.size(), lines_[i].bandTop, pageStart, page};
        bool brokeInside = false;
        for (std::size_t k = i; k < end; ++k) {
            TTextLine& line = *lines_[k].line;
            line.flags &= ~LineStartsPage;
            const int y = lines_[k].bandTop;
            if (y > pageStart
                && ((k == i && (p == forced || p->hasFlag(ParFlag::PageBreakBefore)))
                    || y + line.height > pageStart + pageHeight_)) {
                startPage(y, k);
                brokeInside |= k > i;
            }
            lines_[k].page = page;
        }

        // Keep with next: a page break inside the paragraph, or on the first line of the one after
        // it, moves to the paragraph's first line.
        const bool firstStartsPage = lines_[i].line->flags & LineStartsPage;
        if (p->hasFlag(ParFlag::KeepWithNext) && p != forced && brokeInside && !firstStartsPage
            && before.y > before.pageStart) {
            restore(before);
            forced = p;
            continue;
        }
        if (previousKeeps && previousKeeps != forced && firstStartsPage && !p->hasFlag(ParFlag::PageBreakBefore)
            && !(lines_[previousMark.line].line->flags & LineStartsPage) && previousMark.y > previousMark.pageStart) {
            restore(previousMark);
            forced = previousKeeps;
            previousKeeps = nullptr;
            continue;
        }
        previousMark = before;
        previousKeeps = p->hasFlag(ParFlag::KeepWithNext) ? p : nullptr;
        i = end;
        if (!previousKeeps || i == lines_.size()) {
            pagedTo_ = i;
            if (pagedTo_ >= upTo)
                break;
        }
    }
    if (i >= lines_.size())
        pagedTo_ = lines_.size();
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
