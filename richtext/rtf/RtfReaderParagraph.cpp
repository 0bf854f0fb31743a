// The RTF reader's paragraphs: indents, spacing, alignment, tabs, borders, shading, and the
// simple tables of \trowd, \cellx, \intbl, \cell and \row.
#include "richtext/rtf/RtfReaderBuilder.h"

#include <algorithm>
#include <cstdint>

namespace quillory::rtf {
namespace {

void ApplyBorderCode(BorderWord& border, int code)
{
    border.flags |= BorderFlag::Present;
    switch (code) {
    case 0: border.flags |= BorderFlag::Box; break;
    case 1: border.flags |= BorderFlag::Top; break;
    case 2: border.flags |= BorderFlag::Left; break;
    case 3: border.flags |= BorderFlag::Bottom; break;
    case 4: border.flags |= BorderFlag::Right; break;
    case 5: border.flags |= BorderFlag::Double; break;
    case 6: border.extra |= BorderExtra::Dotted; break;
    case 7: border.extra |= BorderExtra::Hairline; break;
    case 8: border.extra |= BorderExtra::Bar; break;
    case 9: border.extra |= BorderExtra::TabLine; break;
    default: break;
    }
}

uint8_t Nibble(int32_t n) { return uint8_t(std::clamp(n, 0, 15)); }

// Twips of spacing or padding to the model's steps of 56 twips.
uint8_t SpacingSteps(int32_t twips) { return uint8_t(std::clamp(twips / 56, 0, 15)); }

} // namespace

void RtfBuilder::OnParagraphProperty(RtfKeywordId id, int32_t n)
{
    using I = RtfKeywordId;
    ParagraphState& p = g_.paragraph;
    switch (id) {
    case I::LeftIndent: p.left = std::max(n, 0); break;
    case I::RightIndent: p.right = n; break;
    case I::FirstIndent: p.first = n; break;
    case I::SpaceBefore: p.spaceBefore = n; break;
    case I::SpaceAfter: p.spaceAfter = n; break;
    case I::LineSpacing: p.lineSpacing = n; break;
    case I::Align: p.alignment = Alignment(n & 3); break;
    case I::Pard: {
        const ParagraphState kept = p;
        p = ParagraphState{};
        p.spaceBefore = kept.spaceBefore;
        p.spaceAfter = kept.spaceAfter;
        p.lineSpacing = kept.lineSpacing;
        g_.tableMode = false;
        break;
    }
    case I::Par:
        if (!InBody())
            break;
        if (g_.tableMode)
            InsertChar(kLineCode); // a paragraph inside a cell is a line break
        else
            EndParagraph();
        break;
    case I::PageBreak:
        if (InBody())
            parFlags_ |= ParFlag::PageBreakBefore;
        break;
    case I::Keep:
        if (InBody() && !g_.tableMode)
            parFlags_ |= ParFlag::KeepWithNext;
        break;
    case I::TabStop: {
        if (!tabsStarted_) {
            p.tabMask = 0;
            tabsStarted_ = true;
        }
        const int index = header_.addTab(std::clamp(n, 0, 31680 * 4), p.pendingTab);
        if (index >= 0 && index < 64)
            p.tabMask |= uint64_t{1} << index;
        p.pendingTab = TTabKind::tkLeft;
        break;
    }
    case I::TabKind: p.pendingTab = TTabKind(n & 3); break;
    default: break;
    }
}

void RtfBuilder::OnBorderProperty(RtfKeywordId id, int32_t n)
{
    using I = RtfKeywordId;
    // Inside a row definition the words describe the cell whose \cellx comes next.
    const bool cell = table_.defining;
    BorderWord& border = cell ? table_.pending.border : g_.paragraph.border;
    uint8_t& shadingColors = cell ? table_.pending.shadingColors : g_.paragraph.shadingColors;
    uint8_t& shadingPercent = cell ? table_.pending.shadingPercent : g_.paragraph.shadingPercent;
    switch (id) {
    case I::Border:
    case I::CellBorder:
        ApplyBorderCode(border, n);
        break;
    case I::BorderWidth: border.width = uint8_t(std::clamp(n / 20, 0, 255)); break;
    case I::BorderSpacing:
        border.spacingColor = uint8_t((SpacingSteps(n) << 4) | (border.spacingColor & 0x0F));
        break;
    case I::BorderColour: border.spacingColor = uint8_t((border.spacingColor & 0xF0) | Nibble(n)); break;
    case I::Shading:
        shadingPercent = uint8_t(std::clamp(n / 100, 0, 100));
        shadingColors = 0;
        break;
    case I::PatternColour: shadingColors = uint8_t((shadingColors & 0xF0) | Nibble(n)); break;
    case I::PatternBackColour: shadingColors = uint8_t((shadingColors & 0x0F) | (Nibble(n) << 4)); break;
    default: break;
    }
}

void RtfBuilder::OnTableProperty(RtfKeywordId id, int32_t n)
{
    using I = RtfKeywordId;
    switch (id) {
    case I::RowDefinition:
        if (table_.cellNumber > 0)
            EndRow();
        table_.count = 0;
        table_.largest = 0;
        table_.rowLeft = 0;
        table_.padding = 0;
        table_.pending = CellDefinition{};
        table_.mergeNext = false;
        table_.defining = true;
        g_.tableMode = true;
        break;
    case I::RowGap:
        if (g_.tableMode) {
            table_.padding = n < 1 ? 0 : SpacingSteps(std::max(n, 56));
            for (int i = 0; i < table_.count; ++i)
                table_.cells[size_t(i)].border.spacingColor =
                    uint8_t((table_.padding << 4) | (table_.cells[size_t(i)].border.spacingColor & 0x0F));
        }
        break;
    case I::RowLeft: table_.rowLeft = n; break;
    case I::CellEdge: {
        CellDefinition cell = table_.pending;
        table_.pending = CellDefinition{};
        cell.edge = std::max(0, n - table_.rowLeft);
        cell.border.spacingColor = uint8_t((table_.padding << 4) | (cell.border.spacingColor & 0x0F));
        table_.largest = std::max(table_.largest, cell.edge);
        if (table_.mergeNext && table_.count > 0) {
            table_.cells[size_t(table_.count - 1)].edge = cell.edge; // merged into the cell before
        } else if (table_.count < kMaxCells) {
            table_.cells[size_t(table_.count++)] = cell;
        }
        table_.mergeNext = false;
        break;
    }
    case I::CellMerge: table_.mergeNext = true; break;
    case I::InTable:
        g_.tableMode = true;
        table_.defining = false;
        break;
    case I::Cell:
        if (InBody())
            EndCell();
        break;
    case I::Row:
        if (InBody())
            EndRow();
        break;
    default: break;
    }
}

// Copies the reader's paragraph state into the current paragraph.
void RtfBuilder::FinishParagraph(bool asCell)
{
    TParagraph& p = out_.paragraph();
    const ParagraphState& s = g_.paragraph;
    p.alignment = s.alignment;
    p.leftIndent = s.left;
    p.rightIndent = s.right;
    p.firstIndent = s.first; // made absolute when reading ends
    p.spaceBefore = s.spaceBefore;
    p.spaceAfter = s.spaceAfter;
    p.lineSpacing = s.lineSpacing;
    // A width or colour without a side draws nothing, and the writer writes no border for it.
    p.border = s.border.present() ? s.border : BorderWord{};
    p.shadingColors = s.shadingColors;
    p.shadingPercent = s.shadingPercent;
    p.tabMask = s.tabMask;
    p.flags = parFlags_;
    p.cellLeft = 0;
    p.cellWidth = 0;
    if (asCell) {
        ApplyCell(p);
    } else if (table_.lastCell && table_.lastCell == p.prev()) {
        EndLastCellRow(); // the row before this paragraph has no more cells
        table_.cellNumber = 0;
        table_.fractionSum = 0;
    }

    if (borderRunEnd_ && borderRunEnd_ == p.prev()) {
        BorderWord before = borderRunEnd_->border;
        BorderWord now = p.border;
        before.flags &= ~BorderFlag::RunEnds;
        now.flags &= ~BorderFlag::RunEnds;
        if (before == now)
            borderRunEnd_->border.flags |= BorderFlag::RunEnds;
    }
    borderRunEnd_ = nullptr;
    lastFinished_ = &p;
}

void RtfBuilder::EndParagraph()
{
    FinishParagraph(false);
    StartNextParagraph();
}

void RtfBuilder::EndCell()
{
    table_.defining = false;
    FinishParagraph(true);
    StartNextParagraph();
    afterCell_ = &out_.paragraph();
}

void RtfBuilder::StartNextParagraph()
{
    out_.NextParagraph();
    parFlags_ = 0;
    tabsStarted_ = false;
    endState_.reset();
    paragraphBegun_ = false;
    afterCell_ = nullptr;
    if (!out_.streaming())
        return;
    // The paragraph just finished may still change (its border run, its row's last cell); the
    // ones before it are final and go to the stream.
    TParagraph* const keep = out_.HandOffLimit(out_.paragraph().prev());
    for (TParagraph* p = out_.firstTouched(); p != keep; p = p->next())
        FinishIndents(*p);
    out_.HandOffBefore(keep);
}

// Indents become absolute (RTF's first-line indent is relative to the left one), and snap to
// the ruler's grid when asked.
void RtfBuilder::FinishIndents(TParagraph& p) const
{
    // Summed wide: hostile indents near the int limits must not overflow.
    p.firstIndent = int32_t(std::clamp<int64_t>(int64_t(p.firstIndent) + p.leftIndent, INT32_MIN, INT32_MAX));
    if (snapIndents_) {
        p.firstIndent = doc_.snapIndent(p.firstIndent);
        p.leftIndent = doc_.snapIndent(p.leftIndent);
    }
}

// A cell takes its width from its right edge in the row definition, its border and shading
// from the cell's definition, and its indents from the row.
void RtfBuilder::ApplyCell(TParagraph& p)
{
    TableState& t = table_;
    if (t.count > 0 && t.cellNumber >= t.count) {
        // The row's cells are used up: the writer left out \row after a row of one cell.
        EndLastCellRow();
        t.cellNumber = 0;
        t.fractionSum = 0;
    }
    const CellDefinition* cell = t.cellNumber < t.count ? &t.cells[size_t(t.cellNumber)] : nullptr;
    int fraction = 10;
    if (cell && t.largest > 0) {
        // Rounded up, so that edges the writer computed from fractions give those fractions back.
        const int64_t total = (int64_t{255} * cell->edge + t.largest - 1) / t.largest;
        fraction = std::max<int>(1, int(total) - t.fractionSum);
    }
    p.cellLeft = uint8_t(std::clamp(t.fractionSum, 0, 255));
    p.cellWidth = uint8_t(std::clamp(fraction, 0, 255));
    t.fractionSum += fraction;
    p.flags |= ParFlag::TableCell | ParFlag::MoreCellsFollow;
    if (t.cellNumber > 0)
        p.flags |= ParFlag::CellNotFirst;
    p.flags &= ~ParFlag::KeepWithNext;
    p.leftIndent = t.rowLeft;
    p.firstIndent = 0;
    p.rightIndent = std::max(0, header_.usableWidthTwips() - t.largest);
    if (cell) {
        p.border = cell->border;
        p.shadingColors = cell->shadingColors;
        p.shadingPercent = cell->shadingPercent;
    }
    ++t.cellNumber;
    t.lastCell = &p;
}

void RtfBuilder::EndRow()
{
    EndLastCellRow();
    table_.cellNumber = 0;
    table_.fractionSum = 0;
    table_.defining = false;
}

void RtfBuilder::EndLastCellRow()
{
    if (table_.lastCell)
        table_.lastCell->flags &= ~ParFlag::MoreCellsFollow;
    table_.lastCell = nullptr;
}

// Finishes the last paragraph and every paragraph read and not yet handed off.
void RtfBuilder::FinishAll()
{
    // The writer ends a table cell with \cell even when it is the last paragraph.
    if (afterCell_ == &out_.paragraph() && out_.paragraph().length() == 0)
        out_.DropEmptyCurrent();
    else {
        if (endState_)
            g_.paragraph = *endState_;
        FinishParagraph(false);
    }
    if (table_.lastCell)
        EndLastCellRow();
    const TParagraph* last = &out_.paragraph();
    for (TParagraph* p = out_.firstTouched(); p; p = p->next()) {
        FinishIndents(*p);
        if (p == last)
            break;
    }
}

} // namespace quillory::rtf
