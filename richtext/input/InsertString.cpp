// InsertString: the per-character rules of typing — backspace, delete and the joins they make,
// page breaks, paragraph splits, soft breaks in table cells, insert and overwrite modes, protected
// text, full table cells — and the layout of what changed.
#include "richtext/input/TextInput.h"

#include "richtext/edit/RangeEditing.h"
#include "richtext/layout/TextPaint.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace quillory {

namespace {

constexpr std::uint8_t LineRepaint = 0x01;
// Places a segment keeps free before a character goes in, and how much it grows by.
constexpr int MinFreePlaces = 4;
constexpr int GrowBy = 10;
// A table cell this full (as layout measures it) takes no more characters.
constexpr int FullCell = 240;
constexpr std::uint8_t CellBits = ParFlag::TableCell | ParFlag::CellNotFirst | ParFlag::MoreCellsFollow;

struct ParagraphShape {
    int lines = 0;
    int height = 0;
    friend bool operator==(const ParagraphShape&, const ParagraphShape&) = default;
};

ParagraphShape shapeOf(const TParagraph& paragraph)
{
    ParagraphShape shape;
    for (auto* line = paragraph.firstLine(); line; line = line->next()) {
        ++shape.lines;
        shape.height += line->height;
    }
    return shape;
}

void copyCharacters(TTextLine& to, int at, const TTextLine& from, int start, int count)
{
    std::memcpy(to.text() + at, from.text() + start, std::size_t(count));
    if (to.hasAttributes() && from.hasAttributes())
        std::copy_n(from.attrs() + start, count, to.attrs() + at);
}

} // namespace

Redraw TWPRTFTextInput::InsertString(std::string_view text)
{
    changed_ = structural_ = softBreak_ = false;
    touched_ = nullptr;
    laidOut_ = {};
    if (ReadOnly || !document_.firstParagraph() || !caretParagraph_)
        return Redraw::Nothing;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == 0)
            break;
        if (!AutomaticInsertion)
            document_.insertionAttr.flags &= std::uint8_t(~(AttrFlag::InsertPoint | AttrFlag::Object));
        switch (c) {
        case 8:
            backspace();
            break;
        case 127:
            deleteForward();
            break;
        case 12:
            pageBreak();
            break;
        case 13:
            newParagraph();
            break;
        default:
            if (HasSelection())
                deleteSelection();
            insertCharacter(c);
            break;
        }
    }
    if (changed_) {
        anchored_ = false;
        column_ = -1;
    }
    const Redraw redraw = layoutAfterEdit();
    syncSelection();
    return redraw;
}

bool TWPRTFTextInput::isProtected(const TAttr& attr) const noexcept
{
    const std::uint16_t props = document_.protectedProp;
    return ((props & ProtectProp::ppProtected) && attr.hasFlag(AttrFlag::Protected))
        || ((props & ProtectProp::ppHidden) && attr.hasFlag(AttrFlag::Hidden))
        || ((props & ProtectProp::ppIsInsertpoint) && attr.hasFlag(AttrFlag::InsertPoint))
        || ((props & ProtectProp::ppAutomatic) && attr.hasFlag(AttrFlag::Automatic));
}

void TWPRTFTextInput::touch(TParagraph& paragraph)
{
    // An edit elsewhere than in the caret's paragraph may move where that starts; the anchor's
    // is never kept over an edit.
    if (caretStartOf_ != &paragraph)
        caretStartOf_ = nullptr;
    anchorStartOf_ = nullptr;
    changed_ = true;
    paragraph.layoutFlags |= LayoutFlag::NeedsReformat;
    if (!touched_)
        touched_ = &paragraph;
    else if (touched_ != &paragraph)
        structural_ = true;
}

// Lays out what the edits changed: the one paragraph edited in place, or, when paragraphs or
// segments came or went, every paragraph marked for it and then all positions. The caret keeps
// its offset in its paragraph; a segment boundary becomes the start of the later segment.
Redraw TWPRTFTextInput::layoutAfterEdit()
{
    if (!changed_)
        return Redraw::Nothing;
    if (!paint_)
        return structural_ || softBreak_ ? Redraw::Everything : Redraw::Line;
    const int offset = offsetInParagraph(*caretParagraph_, caret_);
    Redraw redraw = Redraw::Everything;
    if (structural_ || !touched_) {
        // Lines moved from the first changed paragraph down.
        const Rect moved = paint_->reformatPending();
        const int y = touched_ && !moved.empty() ? moved.top : 0;
        laidOut_ = {0, y, std::max(1, paint_->layoutWidth()), std::numeric_limits<int>::max() / 4};
    } else {
        const ParagraphShape before = shapeOf(*touched_);
        if (touched_ == caretParagraph_)
            laidOut_ = paint_->reformatParagraph(*touched_, caret_.paragraph);
        else
            laidOut_ = paint_->reformatParagraph(*touched_);
        if (!softBreak_ && shapeOf(*touched_) == before)
            redraw = Redraw::Line;
    }
    caret_ = placeAtOffset(*caretParagraph_, caret_.paragraph, offset);
    return redraw;
}

// --- characters ------------------------------------------------------------------------------------

// Keeps MinFreePlaces free in the caret's segment, growing it by GrowBy up to the line limit. A
// segment at the limit is split in two, so that typing never fails for want of room.
bool TWPRTFTextInput::makeRoom(TTextLine*& line)
{
    if (line->capacity() - line->length() >= MinFreePlaces)
        return true;
    if (line->capacity() < MaxLineCapacity)
        line->resize(std::min(line->capacity() + GrowBy, MaxLineCapacity));
    if (line->room() > 0)
        return true;
    const int half = line->length() / 2;
    TTextLine* tail = document_.appendLine(*caretParagraph_, line, line->length() - half + MinFreePlaces);
    copyCharacters(*tail, 0, *line, half, line->length() - half);
    tail->setLength(line->length() - half);
    line->setLength(half);
    structural_ = true;
    if (caret_.index >= half && caret_.index > 0) {
        caret_ = {caret_.paragraph, caret_.segment + 1, caret_.index - half};
        line = tail;
    }
    return line->room() > 0;
}

void TWPRTFTextInput::insertCharacter(unsigned char c)
{
    TParagraph& paragraph = *caretParagraph_;
    TTextLine* line = caretLine();
    if (document_.insertionAttr.hasFlag(AttrFlag::Hidden) && !AutomaticInsertion)
        return;
    const int at = std::clamp(caret_.index, 0, line->length());
    if (line->hasAttributes() && at < line->length() && isProtected(line->attrAt(at)))
        return;
    if (paragraph.isTableCell() && paragraph.cellFill >= FullCell) {
        if (OnBeep)
            OnBeep();
        return;
    }
    caret_.index = at;
    if (!makeRoom(line))
        return;
    const int index = caret_.index;
    const int length = line->length();
    if (Inserting || index >= length) {
        std::memmove(line->text() + index + 1, line->text() + index, std::size_t(length - index));
        if (line->hasAttributes())
            std::copy_backward(line->attrs() + index, line->attrs() + length, line->attrs() + length + 1);
        line->setLength(length + 1);
    } else if (line->code(index) == CharCode::SoftBreak) {
        softBreak_ = true; // overwriting a line break joins two lines
    }
    line->text()[index] = char(c);
    if (line->hasAttributes())
        line->attrs()[index] = document_.insertionAttr;
    line->flags |= LineRepaint;
    ++caret_.index;
    if (c == CharCode::SoftBreak)
        softBreak_ = true;
    touch(paragraph);
}

// --- deleting and joining --------------------------------------------------------------------------

void TWPRTFTextInput::deleteSelection()
{
    const long anchor = anchorOffset();
    const long caret = caretOffset();
    const long start = std::min(anchor, caret);
    DeleteRange(document_, start, std::max(anchor, caret) - start);
    const ParagraphSpot spot = LocatePosition(document_, start);
    caretStartOf_ = spot.paragraph;
    caretStart_ = start - spot.offset;
    anchorStartOf_ = nullptr;
    placeCaret(spot.paragraph, placeAtOffset(*spot.paragraph, spot.number, spot.offset));
    anchored_ = false;
    structural_ = true;
    touched_ = nullptr; // it may have been deleted with the selection
    touch(*spot.paragraph);
}

void TWPRTFTextInput::backspace()
{
    if (HasSelection()) {
        deleteSelection();
        return;
    }
    if (caret_.index > 0) {
        --caret_.index;
        deleteForward();
        return;
    }
    const TTextLine* line = caretLine();
    if (line->prev()) {
        // The start of a wrapped line is the end of the line before: the character before it
        // is deleted there, so that no keystroke goes by without a visible change.
        caret_ = {caret_.paragraph, caret_.segment - 1, line->prev()->length()};
        backspace();
        return;
    }
    TParagraph* paragraph = caretParagraph_;
    TParagraph* previous = paragraph->prev();
    // Paragraphs never join across a table's edge: the table would lose or gain cells.
    if (!previous || paragraph->isTableCell() || previous->isTableCell())
        return;
    placeCaret(previous, {caret_.paragraph - 1, previous->lineCount() - 1, previous->lastLine()->length()});
    joinNextParagraph();
}

void TWPRTFTextInput::deleteForward()
{
    if (HasSelection()) {
        deleteSelection();
        return;
    }
    TParagraph& paragraph = *caretParagraph_;
    TTextLine* line = caretLine();
    const int index = caret_.index;
    const int length = line->length();
    if (index < length) {
        if (line->hasAttributes() && isProtected(line->attrAt(index)))
            return;
        if (line->code(index) == CharCode::SoftBreak)
            softBreak_ = true;
        std::memmove(line->text() + index, line->text() + index + 1, std::size_t(length - index - 1));
        if (line->hasAttributes())
            std::copy(line->attrs() + index + 1, line->attrs() + length, line->attrs() + index);
        line->setLength(length - 1);
        line->flags |= LineRepaint;
        touch(paragraph);
        return;
    }
    if (TTextLine* next = line->next()) {
        // The end of a wrapped line is the start of the next: the next segment joins this one
        // and its first character is deleted, as the user sees one line of text run on.
        const int joined = length + next->length();
        if (joined + MinFreePlaces > MaxLineCapacity) {
            caret_ = {caret_.paragraph, caret_.segment + 1, 0};
            deleteForward();
            return;
        }
        if (line->capacity() < joined + MinFreePlaces)
            line->resize(joined + MinFreePlaces);
        copyCharacters(*line, length, *next, 0, next->length());
        line->setLength(joined);
        document_.deleteLine(paragraph, next);
        structural_ = true;
        touch(paragraph);
        deleteForward();
        return;
    }
    if (!paragraph.next()) {
        // At the very end: the last paragraph loses its frame, shading and flags; a table cell
        // stays a cell.
        const std::uint8_t flags = paragraph.flags & CellBits;
        if (paragraph.border == BorderWord{} && paragraph.shadingColors == 0 && paragraph.shadingPercent == 0
            && paragraph.flags == flags)
            return;
        paragraph.border = {};
        paragraph.shadingColors = 0;
        paragraph.shadingPercent = 0;
        paragraph.flags = flags;
        structural_ = true;
        touch(paragraph);
        return;
    }
    if (paragraph.isTableCell() || paragraph.next()->isTableCell())
        return;
    joinNextParagraph();
}

// Appends the next paragraph's segments to the caret's paragraph, which keeps its properties.
void TWPRTFTextInput::joinNextParagraph()
{
    TParagraph& paragraph = *caretParagraph_;
    TParagraph* next = paragraph.next();
    if (!next)
        return;
    const bool wasEmpty = paragraph.length() == 0;
    TTextLine* after = paragraph.lastLine();
    for (const TTextLine* from = next->firstLine(); from; from = from->next()) {
        if (from->length() == 0)
            continue;
        TTextLine* line = document_.appendLine(paragraph, after, from->length() + MinFreePlaces);
        copyCharacters(*line, 0, *from, 0, from->length());
        line->setLength(from->length());
        after = line;
    }
    if (wasEmpty && paragraph.firstLine()->next()) {
        document_.deleteLine(paragraph, paragraph.firstLine());
        caret_ = {caret_.paragraph, 0, 0};
    }
    if (touched_ == next)
        touched_ = &paragraph; // the joined paragraph goes; what it held is here now
    document_.deleteParagraph(next);
    structural_ = true;
    touch(paragraph);
}

// --- paragraphs ------------------------------------------------------------------------------------

void TWPRTFTextInput::splitAtCaret()
{
    TParagraph* paragraph = caretParagraph_;
    const bool runEnds = paragraph->border.flags & BorderFlag::RunEnds;
    TParagraph* created = document_.splitParagraph(caret_);
    created->flags &= std::uint8_t(~ParFlag::PageBreakBefore);
    // A frame around the paragraph goes around both halves.
    if (runEnds)
        paragraph->border.flags &= std::uint8_t(~BorderFlag::RunEnds);
    touch(*paragraph);
    structural_ = true;
    placeCaret(created, {caret_.paragraph + 1, 0, 0});
    touch(*created);
}

void TWPRTFTextInput::newParagraph()
{
    if (OnNewParagraph)
        OnNewParagraph();
    if (HasSelection())
        deleteSelection();
    TParagraph* paragraph = caretParagraph_;
    if (!paragraph->prev() && offsetInParagraph(*paragraph, caret_) == 0) {
        TParagraph* created = document_.appendParagraph(nullptr);
        created->copyPropertiesFrom(*paragraph);
        created->flags &= std::uint8_t(~(CellBits | ParFlag::PageBreakBefore));
        created->cellLeft = created->cellWidth = created->cellFill = 0;
        ++caret_.paragraph;
        structural_ = true;
        touch(*created);
        touch(*paragraph);
        return;
    }
    if (paragraph->isTableCell()) {
        insertCharacter(CharCode::SoftBreak);
        return;
    }
    splitAtCaret();
}

void TWPRTFTextInput::pageBreak()
{
    if (HasSelection())
        deleteSelection();
    TParagraph* paragraph = caretParagraph_;
    if (paragraph->isTableCell())
        return;
    if (offsetInParagraph(*paragraph, caret_) == 0) {
        paragraph->flags ^= ParFlag::PageBreakBefore;
        structural_ = true; // pages move without any line changing its height
        touch(*paragraph);
        return;
    }
    if (OnNewParagraph)
        OnNewParagraph();
    splitAtCaret();
    caretParagraph_->flags |= ParFlag::PageBreakBefore;
}

} // namespace quillory
