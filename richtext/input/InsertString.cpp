// InsertString: the per-character rules of typing — backspace, delete and the joins they make,
// page breaks, paragraph splits, soft breaks in table cells, insert and overwrite modes, protected
// text, full table cells — and the layout of what changed. Text goes in and out by grapheme
// cluster: a character is never split, and Backspace or Delete removes what the user sees as one.
#include "richtext/input/TextInput.h"

#include "platform/UnicodeText.h"
#include "platform/Utf8.h"
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

// Removes the characters [from, to) of a segment.
void removeCharacters(TTextLine& line, int from, int to)
{
    const int length = line.length();
    std::memmove(line.text() + from, line.text() + to, std::size_t(length - to));
    if (line.hasAttributes())
        std::copy(line.attrs() + to, line.attrs() + length, line.attrs() + from);
    line.setLength(length - (to - from));
    line.flags |= LineRepaint;
}

// Whether a typed cluster joins the character before it (a combining mark, a skin tone, a
// joiner): then it adds to what stands there instead of taking a place of its own.
bool extendsCluster(std::string_view cluster)
{
    std::string probe = "a";
    probe.append(cluster);
    return NextGraphemeBoundary(probe, 0) > 1;
}

} // namespace

Redraw TWPRTFTextInput::InsertString(std::string_view text)
{
    changed_ = structural_ = softBreak_ = false;
    touched_ = nullptr;
    laidOut_ = {};
    if (ReadOnly || !document_.firstParagraph() || !caretParagraph_)
        return Redraw::Nothing;
    if (const auto zero = text.find('\0'); zero != std::string_view::npos)
        text = text.substr(0, zero);
    // The document holds UTF-8; bytes that are not (an older caller's cp1252) are read as cp1252,
    // so that nothing typed is lost or split.
    std::string repaired;
    if (!IsWellFormedUtf8(text)) {
        repaired = Utf8OrCp1252(text);
        text = repaired;
    }
    for (std::size_t at = 0; at < text.size();) {
        const auto c = static_cast<unsigned char>(text[at]);
        if (!AutomaticInsertion)
            document_.insertionAttr.flags &= std::uint8_t(~(AttrFlag::InsertPoint | AttrFlag::Object));
        std::size_t next = at + 1;
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
            // The control codes above always stand alone; anything else goes in a cluster at a
            // time.
            next = c == CharCode::SoftBreak ? at + 1 : NextGraphemeBoundary(text, at);
            if (HasSelection())
                deleteSelection();
            insertCluster(text.substr(at, next - at));
            break;
        }
        at = next;
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

// Makes room for `needed` more characters in the caret's segment and keeps MinFreePlaces free,
// growing it by GrowBy (or what the characters need) up to the line limit. A segment at the
// limit is split in two between clusters, so that typing never fails for want of room.
bool TWPRTFTextInput::makeRoom(TTextLine*& line, int needed)
{
    if (line->capacity() - line->length() >= MinFreePlaces && line->room() >= needed)
        return true;
    if (line->capacity() < MaxLineCapacity)
        line->resize(std::min(line->capacity() + std::max(GrowBy, needed + MinFreePlaces), MaxLineCapacity));
    if (line->room() >= needed)
        return true;
    const std::string_view text = line->view();
    int half = int(GraphemeBoundaryAtOrBefore(text, text.size() / 2));
    if (half == 0)
        half = int(NextGraphemeBoundary(text, 0));
    if (half <= 0 || half >= line->length())
        return false; // one cluster fills the segment
    TTextLine* tail = document_.appendLine(*caretParagraph_, line, line->length() - half + needed + MinFreePlaces);
    copyCharacters(*tail, 0, *line, half, line->length() - half);
    tail->setLength(line->length() - half);
    line->setLength(half);
    structural_ = true;
    if (caret_.index >= half && caret_.index > 0) {
        caret_ = {caret_.paragraph, caret_.segment + 1, caret_.index - half};
        line = tail;
    }
    return line->room() >= needed;
}

// Puts one typed cluster at the caret; in overwrite mode it takes the place of the cluster
// there.
void TWPRTFTextInput::insertCluster(std::string_view cluster)
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
    if (!Inserting && at < line->length() && !extendsCluster(cluster)) {
        if (line->code(at) == CharCode::SoftBreak)
            softBreak_ = true; // overwriting a line break joins two lines
        removeCharacters(*line, at, int(NextGraphemeBoundary(line->view(), std::size_t(at))));
    }
    const int count = int(cluster.size());
    if (!makeRoom(line, count))
        return;
    const int index = caret_.index;
    const int length = line->length();
    std::memmove(line->text() + index + count, line->text() + index, std::size_t(length - index));
    std::memcpy(line->text() + index, cluster.data(), cluster.size());
    if (line->hasAttributes()) {
        std::copy_backward(line->attrs() + index, line->attrs() + length, line->attrs() + length + count);
        std::fill_n(line->attrs() + index, count, document_.insertionAttr);
    }
    line->setLength(length + count);
    line->flags |= LineRepaint;
    caret_.index = index + count;
    // What went in may have joined the cluster after it (a flag's second half): the caret goes
    // past the whole of it.
    const std::string_view text = line->view();
    if (const auto start = GraphemeBoundaryAtOrBefore(text, std::size_t(caret_.index)); int(start) != caret_.index)
        caret_.index = int(NextGraphemeBoundary(text, start));
    if (cluster.find(char(CharCode::SoftBreak)) != std::string_view::npos)
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
        // The whole cluster before the caret goes (a letter with its marks, a flag, an emoji).
        const TTextLine* line = caretLine();
        caret_.index = int(PrevGraphemeBoundary(line->view(), std::size_t(std::min(caret_.index, line->length()))));
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
        // The whole cluster at the caret goes, unless a character of it is protected.
        const int end = int(NextGraphemeBoundary(line->view(), std::size_t(index)));
        for (int i = index; i < end; ++i)
            if (line->hasAttributes() && isProtected(line->attrAt(i)))
                return;
        if (line->code(index) == CharCode::SoftBreak)
            softBreak_ = true;
        removeCharacters(*line, index, end);
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
        const char softBreak = char(CharCode::SoftBreak);
        insertCluster(std::string_view(&softBreak, 1));
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
