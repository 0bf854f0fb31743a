// The caret and the selection of TWPRTFTextInput, and its moves: characters, words, lines,
// pages, line ends and document ends.
#include "richtext/input/TextInput.h"

#include "platform/UnicodeText.h"
#include "platform/Utf8.h"
#include "richtext/edit/RangeEditing.h"
#include "richtext/layout/Measure.h"
#include "richtext/layout/TextPaint.h"

#include <algorithm>

namespace quillory {

namespace {

TTextLine* segmentAt(const TParagraph& paragraph, int segment) noexcept
{
    TTextLine* line = paragraph.firstLine();
    for (int i = 0; i < segment && line && line->next(); ++i)
        line = line->next();
    return line;
}

// The start of the grapheme cluster that a place in a segment falls in: a caret never stands
// inside a character or a cluster, wherever the place came from (a column, a hit, a number).
int clusterStart(const TTextLine& line, int index)
{
    return int(GraphemeBoundaryAtOrBefore(line.view(), std::size_t(std::clamp(index, 0, line.length()))));
}

int segmentCount(const TParagraph& paragraph) noexcept
{
    return paragraph.lineCount();
}

// The last place of a segment where the caret may stand: before a closing soft break.
int lineEndIndex(const TTextLine& line) noexcept
{
    const int n = line.length();
    return n > 0 && line.code(n - 1) == CharCode::SoftBreak ? n - 1 : n;
}

// Whether the text between two word boundaries holds a word: letters, marks or digits of any
// script (blanks, punctuation and symbols do not make one).
bool holdsWord(std::string_view text, std::size_t from, std::size_t to)
{
    for (std::size_t at = from; at < to;) {
        int length = 1;
        if (IsWordCharacter(DecodeUtf8At(text, at, length)))
            return true;
        at += std::size_t(length);
    }
    return false;
}

// The position in a laid line nearest to x (layout pixels), as painting placed the characters:
// a cluster boundary, right to left too; EndOfLineColumn gives the line's end.
int indexAtX(const TWPRTFTextPaint& paint, const LaidLine& laid, int x)
{
    if (x >= EndOfLineColumn)
        return lineEndIndex(*laid.line);
    return paint.indexAtX(laid, x);
}

} // namespace

TWPRTFTextInput::TWPRTFTextInput(TWPRTFText& document, TWPRTFTextPaint* paint)
    : document_(document), paint_(paint), caretParagraph_(document.firstParagraph()),
      anchorParagraph_(document.firstParagraph())
{
    // Layout breaks lines anew from outside too (a resize, new indents): caret and anchor move
    // with their text.
    if (paint_) {
        paint_->carriedPositions.push_back(&caret_);
        paint_->carriedPositions.push_back(&anchor_);
    }
}

TWPRTFTextInput::~TWPRTFTextInput()
{
    if (!paint_)
        return;
    auto& carried = paint_->carriedPositions;
    std::erase_if(carried, [this](const TextPosition* p) { return p == &caret_ || p == &anchor_; });
}

// --- positions ------------------------------------------------------------------------------

TTextLine* TWPRTFTextInput::caretLine() const noexcept
{
    return caretParagraph_ ? segmentAt(*caretParagraph_, caret_.segment) : nullptr;
}

int TWPRTFTextInput::offsetInParagraph(const TParagraph& paragraph, const TextPosition& position) const noexcept
{
    int offset = 0, segment = 0;
    for (auto* line = paragraph.firstLine(); line; line = line->next(), ++segment) {
        if (segment == position.segment || !line->next())
            return offset + std::clamp(position.index, 0, line->length());
        offset += line->length();
    }
    return offset;
}

TextPosition TWPRTFTextInput::placeAtOffset(const TParagraph& paragraph, int paragraphIndex, int offset) const noexcept
{
    int segment = 0;
    for (auto* line = paragraph.firstLine(); line; line = line->next(), ++segment) {
        if (offset < line->length() || !line->next())
            return {paragraphIndex, segment, std::clamp(offset, 0, line->length())};
        offset -= line->length();
    }
    return {paragraphIndex, 0, 0};
}

// The caret goes to another paragraph: its start follows from the one before when the two are
// near (a move, a split, a join); otherwise it is looked up when next needed.
void TWPRTFTextInput::placeCaret(TParagraph* paragraph, const TextPosition& position)
{
    constexpr int kNear = 64;
    if (caretStartOf_ && caretStartOf_ != paragraph) {
        const TParagraph* from = caretStartOf_;
        caretStartOf_ = nullptr;
        long forward = caretStart_, backward = caretStart_;
        const TParagraph* ahead = from;
        const TParagraph* behind = from;
        for (int i = 0; i < kNear && (ahead || behind); ++i) {
            if (ahead) {
                forward += ahead->length() + 1;
                ahead = ahead->next();
                if (ahead == paragraph) {
                    caretStartOf_ = paragraph;
                    caretStart_ = forward;
                    break;
                }
            }
            if (behind) {
                behind = behind->prev();
                if (behind) {
                    backward -= behind->length() + 1;
                    if (behind == paragraph) {
                        caretStartOf_ = paragraph;
                        caretStart_ = backward;
                        break;
                    }
                }
            }
        }
    }
    caretParagraph_ = paragraph;
    caret_ = position;
}

void TWPRTFTextInput::forgetStarts() noexcept
{
    caretStartOf_ = anchorStartOf_ = nullptr;
}

long TWPRTFTextInput::paragraphStart(const TParagraph* paragraph) const
{
    if (paragraph == caretStartOf_)
        return caretStart_;
    if (paragraph == anchorStartOf_)
        return anchorStart_;
    const long start = PositionOfParagraph(document_, paragraph);
    if (paragraph == caretParagraph_) {
        caretStartOf_ = paragraph;
        caretStart_ = start;
    } else if (paragraph == anchorParagraph_) {
        anchorStartOf_ = paragraph;
        anchorStart_ = start;
    }
    return start;
}

long TWPRTFTextInput::absoluteOf(const TParagraph* paragraph, int offset) const
{
    return paragraphStart(paragraph) + offset;
}

TextPosition TWPRTFTextInput::inDocument(const TParagraph* paragraph, const TextPosition& position) const
{
    if (!paragraph)
        return position;
    TextPosition at = position;
    const TTextLine* line = segmentAt(*paragraph, at.segment);
    at.segment = std::clamp(at.segment, 0, paragraph->lineCount() - 1);
    at.index = std::clamp(at.index, 0, line->length());
    while (at.index >= line->length() && line->next()) {
        at.index -= line->length();
        line = line->next();
        ++at.segment;
    }
    return at;
}

TextPosition TWPRTFTextInput::caretInDocument() const
{
    return inDocument(caretParagraph_, caret_);
}

TextPosition TWPRTFTextInput::anchorInDocument() const
{
    return anchored_ ? inDocument(anchorParagraph_, anchor_) : caretInDocument();
}

TAttr TWPRTFTextInput::attributesBeforeCaret() const
{
    if (!caretParagraph_)
        return document_.insertionAttr;
    const TParagraph& paragraph = *caretParagraph_;
    const TTextLine* first = paragraph.firstLine();
    if (!first->hasAttributes())
        return paragraph.length() == 0 ? TAttr{} : document_.insertionAttr;
    const int length = paragraph.length();
    if (length == 0)
        return first->attrAt(0);
    int index = std::min(std::max(offsetInParagraph(paragraph, caret_) - 1, 0), length - 1);
    for (const TTextLine* line = first; line; line = line->next()) {
        if (index < line->length())
            return line->attrAt(index);
        index -= line->length();
    }
    return paragraph.lastLine()->attrAt(0);
}

long TWPRTFTextInput::caretOffset() const
{
    return caretParagraph_ ? absoluteOf(caretParagraph_, offsetInParagraph(*caretParagraph_, caret_)) : 0;
}

int TWPRTFTextInput::caretOffsetInParagraph() const
{
    return caretParagraph_ ? offsetInParagraph(*caretParagraph_, caret_) : 0;
}

long TWPRTFTextInput::anchorOffset() const
{
    if (!anchored_ || !anchorParagraph_)
        return caretOffset();
    return absoluteOf(anchorParagraph_, offsetInParagraph(*anchorParagraph_, anchor_));
}

bool TWPRTFTextInput::HasSelection() const
{
    if (!anchored_ || !anchorParagraph_ || !caretParagraph_)
        return false;
    if (anchorParagraph_ != caretParagraph_)
        return true;
    return offsetInParagraph(*anchorParagraph_, anchor_) != offsetInParagraph(*caretParagraph_, caret_);
}

void TWPRTFTextInput::syncSelection()
{
    Selection& selection = document_.selection;
    selection.blockStart = HasSelection() ? anchor_ : caret_;
    selection.blockEnd = caret_;
    selection.endBeforeStart = selection.blockEnd < selection.blockStart;
}

void TWPRTFTextInput::SetCaret(const TextPosition& position, bool extend)
{
    forgetStarts();
    TParagraph* paragraph = document_.paragraphAt(std::max(0, position.paragraph));
    int index = std::max(0, position.paragraph);
    if (!paragraph) {
        paragraph = document_.lastParagraph();
        index = document_.paragraphCount() - 1;
    }
    if (!paragraph)
        return;
    const int segment = std::clamp(position.segment, 0, segmentCount(*paragraph) - 1);
    const TTextLine* line = segmentAt(*paragraph, segment);
    if (extend && !anchored_) {
        anchorParagraph_ = caretParagraph_;
        anchor_ = caret_;
        anchored_ = true;
    } else if (!extend) {
        anchored_ = false;
    }
    placeCaret(paragraph, {index, segment, clusterStart(*line, position.index)});
    column_ = -1;
    syncSelection();
}

void TWPRTFTextInput::SetCaretOffset(long absolute, bool extend)
{
    SetCaret(document_.positionAt(absolute), extend);
}

void TWPRTFTextInput::SetSelection(long anchor, long caret)
{
    SetCaretOffset(anchor);
    if (anchor != caret)
        SetCaretOffset(caret, true);
}

void TWPRTFTextInput::HideSelection()
{
    anchored_ = false;
    syncSelection();
}

bool TWPRTFTextInput::InSync() const
{
    auto valid = [this](const TParagraph* paragraph, const TextPosition& position) {
        if (!paragraph || document_.paragraphAt(position.paragraph) != paragraph)
            return false;
        const TTextLine* line = position.segment >= 0 && position.segment < paragraph->lineCount()
            ? segmentAt(*paragraph, position.segment)
            : nullptr;
        return line && position.index >= 0 && position.index <= line->length();
    };
    return valid(caretParagraph_, caret_) && (!anchored_ || valid(anchorParagraph_, anchor_));
}

void TWPRTFTextInput::AnchorAtCaret()
{
    anchorStartOf_ = caretStartOf_ == caretParagraph_ ? caretParagraph_ : nullptr;
    anchorStart_ = caretStart_;
    anchorParagraph_ = caretParagraph_;
    anchor_ = caret_;
    anchored_ = true;
    syncSelection();
}

bool TWPRTFTextInput::invisible(const TAttr& attr) const noexcept
{
    const bool showHidden = paint_ && paint_->showHiddenText;
    if (attr.hasFlag(AttrFlag::Hidden) && !showHidden)
        return true;
    if (paint_ && attr.hasFlag(AttrFlag::InsertPoint) && paint_->omitInsertPoints)
        return true;
    if (paint_ && attr.hasFlag(AttrFlag::Automatic) && paint_->omitAutomaticText)
        return true;
    const TCharacterAttr* display = DisplayAttrFor(document_, attr);
    return display && display->hidden;
}

bool TWPRTFTextInput::visibleAt(const TTextLine& line, int index) const noexcept
{
    return !line.hasAttributes() || !invisible(line.attrAt(index));
}

// --- moves --------------------------------------------------------------------------------------

Redraw TWPRTFTextInput::repeat(MoveKind kind, int count, bool extend)
{
    Redraw result = Redraw::Nothing;
    for (int i = 0; i < count; ++i)
        result = std::max(result, Move(kind, extend));
    return result;
}

Redraw TWPRTFTextInput::Move(MoveKind kind, bool extend)
{
    if (!document_.firstParagraph() || !caretParagraph_)
        return Redraw::Nothing;
    const bool hadSelection = HasSelection();
    pageScroll_ = 0;
    const TextPosition old = caret_;
    TParagraph* const oldParagraph = caretParagraph_;
    TextPosition target = moveTarget(kind); // sets caretParagraph_ to the target's
    TParagraph* const targetParagraph = caretParagraph_;
    target.index = clusterStart(*segmentAt(*targetParagraph, target.segment), target.index);
    caretParagraph_ = oldParagraph;
    caret_ = old;

    if (extend) {
        if (!anchored_) {
            anchorParagraph_ = caretParagraph_;
            anchor_ = caret_;
            anchored_ = true;
            anchorStartOf_ = caretStartOf_ == caretParagraph_ ? caretParagraph_ : nullptr;
            anchorStart_ = caretStart_;
        }
    } else {
        anchored_ = false;
    }
    placeCaret(targetParagraph, target);
    switch (kind) {
    case MoveKind::LineUp:
    case MoveKind::LineDown:
    case MoveKind::PageUp:
    case MoveKind::PageDown:
        break; // vertical moves keep the column
    case MoveKind::LineEnd:
        column_ = EndOfLineColumn;
        break;
    default:
        column_ = -1;
        break;
    }
    syncSelection();
    if (OnCaretMoved)
        OnCaretMoved();
    return hadSelection || HasSelection() ? Redraw::Everything : Redraw::Nothing;
}

TextPosition TWPRTFTextInput::moveTarget(MoveKind kind)
{
    const TTextLine* line = caretLine();
    switch (kind) {
    case MoveKind::LineStart:
        return {caret_.paragraph, caret_.segment, 0};
    case MoveKind::LineEnd:
        return {caret_.paragraph, caret_.segment, lineEndIndex(*line)};
    case MoveKind::DocumentStart:
        caretParagraph_ = document_.firstParagraph();
        return {};
    case MoveKind::DocumentEnd: {
        int index = 0;
        TParagraph* last = document_.firstParagraph();
        for (; last->next(); last = last->next())
            ++index;
        caretParagraph_ = last;
        const int segment = segmentCount(*last) - 1;
        return {index, segment, last->lastLine()->length()};
    }
    case MoveKind::CharLeft:
        return charLeft(caret_);
    case MoveKind::CharRight:
        return charRight(caret_);
    case MoveKind::WordLeft:
        return wordLeft(caret_);
    case MoveKind::WordRight:
        return wordRight(caret_);
    case MoveKind::LineUp:
        return lineStep(caret_, -1);
    case MoveKind::LineDown:
        return lineStep(caret_, 1);
    case MoveKind::PageUp:
        return pageStep(caret_, -1);
    case MoveKind::PageDown:
        return pageStep(caret_, 1);
    }
    return caret_;
}

// The caret steps over whole grapheme clusters (a letter with its marks, a flag, an emoji with
// its skin tone or joined family). Characters that take no room are passed over as if they were
// not there.
TextPosition TWPRTFTextInput::charLeft(const TextPosition& from)
{
    TParagraph& paragraph = *caretParagraph_;
    int offset = offsetInParagraph(paragraph, from);
    if (offset == 0) {
        TParagraph* previous = paragraph.prev();
        if (!previous)
            return from;
        caretParagraph_ = previous;
        return {from.paragraph - 1, segmentCount(*previous) - 1, previous->lastLine()->length()};
    }
    const ParagraphContent content = ReadParagraph(paragraph);
    auto hidden = [&](int i) {
        return !content.attrs.empty() && invisible(content.attrs[std::size_t(i)]);
    };
    do
        offset = int(PrevGraphemeBoundary(content.text, std::size_t(offset)));
    while (offset > 0 && hidden(offset));
    return placeAtOffset(paragraph, from.paragraph, offset);
}

TextPosition TWPRTFTextInput::charRight(const TextPosition& from)
{
    TParagraph& paragraph = *caretParagraph_;
    int offset = offsetInParagraph(paragraph, from);
    const int length = paragraph.length();
    if (offset >= length) {
        TParagraph* next = paragraph.next();
        if (!next)
            return from;
        caretParagraph_ = next;
        return {from.paragraph + 1, 0, 0};
    }
    const ParagraphContent content = ReadParagraph(paragraph);
    auto hidden = [&](int i) {
        return !content.attrs.empty() && invisible(content.attrs[std::size_t(i)]);
    };
    int passed = offset;
    do {
        passed = offset;
        offset = int(NextGraphemeBoundary(content.text, std::size_t(offset)));
    } while (offset < length && hidden(passed));
    return placeAtOffset(paragraph, from.paragraph, offset);
}

// Words are what Unicode's word boundaries enclose when the piece holds a letter, mark or digit
// of any script; the moves stay within the caret's segment (line).
//
// Word left: at a segment's start, to the end of the line before. Otherwise back over pieces
// that hold no word, then over the word, stopping on its first character.
TextPosition TWPRTFTextInput::wordLeft(const TextPosition& from)
{
    TParagraph& paragraph = *caretParagraph_;
    const TTextLine* line = segmentAt(paragraph, from.segment);
    if (from.index == 0 || line->length() == 0) {
        if (line->prev())
            return {from.paragraph, from.segment - 1, line->prev()->length()};
        if (TParagraph* previous = paragraph.prev()) {
            caretParagraph_ = previous;
            return {from.paragraph - 1, segmentCount(*previous) - 1, previous->lastLine()->length()};
        }
        return from;
    }
    const std::string text = paragraph.text();
    const std::size_t start = std::size_t(offsetInParagraph(paragraph, {from.paragraph, from.segment, 0}));
    std::size_t at = start + std::size_t(std::min(from.index, line->length()));
    while (at > start) {
        const std::size_t before = PrevWordBoundary(text, at);
        if (before >= at)
            break;
        const bool word = holdsWord(text, before, at);
        at = before;
        if (word)
            break;
    }
    return {from.paragraph, from.segment, int(std::max(at, start) - start)};
}

// Word right: at a segment's end, to the start of the next line. Otherwise over pieces that hold
// no word, then over the word, stopping just after its end.
TextPosition TWPRTFTextInput::wordRight(const TextPosition& from)
{
    TParagraph& paragraph = *caretParagraph_;
    const TTextLine* line = segmentAt(paragraph, from.segment);
    const int length = line->length();
    if (from.index >= length) {
        if (line->next())
            return {from.paragraph, from.segment + 1, 0};
        if (TParagraph* next = paragraph.next()) {
            caretParagraph_ = next;
            return {from.paragraph + 1, 0, 0};
        }
        return from;
    }
    const std::string text = paragraph.text();
    const std::size_t start = std::size_t(offsetInParagraph(paragraph, {from.paragraph, from.segment, 0}));
    const std::size_t end = start + std::size_t(length);
    std::size_t at = start + std::size_t(from.index);
    while (at < end) {
        const std::size_t after = NextWordBoundary(text, at);
        if (after <= at)
            break;
        const bool word = holdsWord(text, at, after);
        at = after;
        if (word)
            break;
    }
    return {from.paragraph, from.segment, int(std::min(at, end) - start)};
}

// Up or down by laid lines to the character nearest the remembered column; without a layout,
// by segments with the character index as the column.
TextPosition TWPRTFTextInput::lineStep(const TextPosition& from, int lines)
{
    if (paint_ && paint_->lineCount() > 0) {
        if (column_ < 0)
            column_ = paint_->caretAt(from).x;
        const int current = paint_->lineIndexOf(from);
        const int target = std::clamp(current + lines, 0, paint_->lineCount() - 1);
        if (target == current)
            return from;
        const LaidLine& line = paint_->lineAt(target);
        caretParagraph_ = line.paragraph;
        return {line.paragraphIndex, line.segment, indexAtX(*paint_, line, column_)};
    }
    if (column_ < 0)
        column_ = from.index;
    TParagraph* paragraph = caretParagraph_;
    TextPosition at = from;
    const TTextLine* line = segmentAt(*paragraph, from.segment);
    if (lines < 0) {
        if (line->prev()) {
            line = line->prev();
            --at.segment;
        } else if (paragraph->prev()) {
            paragraph = paragraph->prev();
            line = paragraph->lastLine();
            at = {at.paragraph - 1, segmentCount(*paragraph) - 1, 0};
        } else {
            return from;
        }
    } else {
        if (line->next()) {
            line = line->next();
            ++at.segment;
        } else if (paragraph->next()) {
            paragraph = paragraph->next();
            line = paragraph->firstLine();
            at = {at.paragraph + 1, 0, 0};
        } else {
            return from;
        }
    }
    caretParagraph_ = paragraph;
    at.index = column_ >= EndOfLineColumn ? lineEndIndex(*line) : std::min(column_, lineEndIndex(*line));
    return at;
}

// A window height up or down; the view scrolls by as much, so the caret keeps its place on the
// screen.
TextPosition TWPRTFTextInput::pageStep(const TextPosition& from, int direction)
{
    if (!paint_ || paint_->lineCount() == 0)
        return lineStep(from, direction * 20);
    const CaretBox box = paint_->caretAt(from);
    if (column_ < 0)
        column_ = box.x;
    const int height = paint_->clientHeight > 0 ? paint_->clientHeight : 400;
    const int y = std::clamp(box.y + box.height / 2 + direction * height, 0, std::max(0, paint_->documentHeight() - 1));
    const int target = paint_->lineIndexOf(paint_->positionAt(std::min(column_, EndOfLineColumn - 1), y));
    if (target < 0)
        return from;
    const LaidLine& line = paint_->lineAt(target);
    caretParagraph_ = line.paragraph;
    const TextPosition to{line.paragraphIndex, line.segment, indexAtX(*paint_, line, column_)};
    pageScroll_ = paint_->caretAt(to).y - box.y;
    return to;
}

} // namespace quillory
