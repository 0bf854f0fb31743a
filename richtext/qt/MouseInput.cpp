// The editor's mouse: placing the caret, selecting by dragging, clicks on hyperlinks and objects,
// dragging the selection away and dropping it elsewhere in the text, resizing a selected picture
// by its corner, and the cursor shapes.
#include "richtext/qt/KeyInput.h"

#include "platform/UnicodeText.h"
#include "platform/Utf8.h"
#include "richtext/edit/RangeEditing.h"
#include "richtext/layout/TextPaint.h"
#include "richtext/qt/RichText.h"

#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>

#include <cstdlib>

namespace quillory {

namespace {

constexpr int kDragDistance = 6;  // pixels, horizontal plus vertical, before a drag starts
constexpr int kHandleSize = 10;   // the resize handle: this far left of and above the corner
constexpr int kMinObjectSize = 2; // pixels

bool isPlaceholder(unsigned char code) noexcept
{
    return code == CharCode::Object || code == CharCode::ObjectSecond;
}

struct Piece {
    std::size_t start = 0, end = 0;
};

// The piece between two Unicode word boundaries that holds the character at `at`.
Piece pieceAt(std::string_view text, std::size_t at)
{
    const std::size_t end = NextWordBoundary(text, at);
    return {PrevWordBoundary(text, end), end};
}

bool holdsWord(std::string_view text, const Piece& piece)
{
    for (std::size_t at = piece.start; at < piece.end;) {
        int length = 1;
        if (IsWordCharacter(DecodeUtf8At(text, at, length)))
            return true;
        at += std::size_t(length);
    }
    return false;
}

// Sees the viewport's events that the control itself does not pass on: double-clicks, and drops
// of the editor's own selection, whose text moves to where it is dropped.
class ViewportFilter : public QObject {
public:
    ViewportFilter(EditingInput& input, TWPRichText& editor)
        : QObject(editor.viewport()), input_(input), editor_(editor)
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonDblClick: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint at = mouse->position().toPoint();
            return input_.mousePress(editor_, *mouse, at.x() + editor_.horizontalScrollBar()->value(),
                                     at.y() + editor_.verticalScrollBar()->value());
        }
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            if (!input_.DragAndDropSupport() || drag->source() != editor_.viewport() || editor_.ReadOnly())
                return false;
            drag->setDropAction(Qt::MoveAction);
            drag->accept();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (!input_.DragAndDropSupport() || drop->source() != editor_.viewport())
                return false;
            const QPoint at = drop->position().toPoint();
            const int x = at.x() + editor_.horizontalScrollBar()->value();
            const int y = at.y() + editor_.verticalScrollBar()->value();
            const long position = editor_.RtfText().absolutePosition(editor_.engine().positionAt(x, y));
            input_.moveSelectionTo(position);
            // The move is done here: the drag's source must not delete anything.
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            return true;
        }
        default:
            return false;
        }
    }

private:
    EditingInput& input_;
    TWPRichText& editor_;
};

} // namespace

void EditingInput::SetDragAndDropSupport(bool on)
{
    dragAndDrop_ = on;
    editor_.viewport()->setAcceptDrops(on);
}

void EditingInput::watchViewport()
{
    viewportFilter_ = new ViewportFilter(*this, editor_); // owned by the viewport
    editor_.viewport()->installEventFilter(viewportFilter_);
}

// --- hit testing -------------------------------------------------------------------------------

std::optional<EditingInput::Hit> EditingInput::characterAt(int x, int y) const
{
    const TWPRTFTextPaint& paint = editor_.engine();
    if (paint.lineCount() == 0)
        return std::nullopt;
    const TextPosition near = paint.positionAt(x, y);
    const int index = paint.lineIndexOf(near);
    if (index < 0)
        return std::nullopt;
    const LaidLine& laid = paint.lineAt(index);
    const TTextLine& line = *laid.line;
    if (y < line.top || y >= line.top + line.height)
        return std::nullopt;
    // The cluster whose box holds x, its edges where painting put them (right to left too).
    const std::string_view text = line.view();
    for (int i = 0; i < line.length();) {
        const int next = int(NextGraphemeBoundary(text, std::size_t(i)));
        const int from = paint.caretX(laid, i);
        const int to = paint.caretX(laid, next);
        if (x >= std::min(from, to) && x < std::max(from, to)) {
            Hit hit;
            hit.paragraph = laid.paragraph;
            hit.paragraphIndex = laid.paragraphIndex;
            hit.offset = i;
            for (const TTextLine* before = laid.paragraph->firstLine(); before && before != &line; before = before->next())
                hit.offset += before->length();
            hit.attr = line.hasAttributes() ? line.attrs()[i] : TAttr{};
            hit.code = line.code(i);
            hit.line = index;
            return hit;
        }
        i = next;
    }
    return std::nullopt;
}

TTextObject* EditingInput::clickableObject(const Hit& hit) const
{
    if (!isPlaceholder(hit.code) || !hit.attr.hasFlag(AttrFlag::Object) || !OnObjectClick)
        return nullptr;
    TTextObject* object = editor_.RtfText().findObject(hit.attr.tag);
    return object && object->isApplicationObject ? object : nullptr;
}

bool EditingInput::clickLinkOrObject(int x, int y)
{
    const auto hit = characterAt(x, y);
    if (!hit)
        return false;
    if (TTextObject* object = clickableObject(*hit))
        return OnObjectClick(editor_, *object);
    if (!hit->attr.hasStyle(AttrStyle::Hyperlink) || !HyperLinkEvent)
        return false;
    // The link is the run of hyperlink characters around the one clicked.
    const ParagraphContent content = ReadParagraph(*hit->paragraph);
    if (content.attrs.size() != content.text.size())
        return false;
    auto linked = [&](int i) { return content.attrs[std::size_t(i)].hasStyle(AttrStyle::Hyperlink); };
    int from = hit->offset, to = hit->offset + 1;
    while (from > 0 && linked(from - 1))
        --from;
    while (to < int(content.text.size()) && linked(to))
        ++to;
    HyperLinkEvent(editor_, content.text.substr(std::size_t(from), std::size_t(to - from)), hit->attr.tag, hit->line);
    return true;
}

std::optional<EditingInput::SelectedObject> EditingInput::selectedObject() const
{
    const EditorCore& core = editor_.core();
    if (core.SelLength() != 1)
        return std::nullopt;
    const long start = core.SelStartPosition();
    const ParagraphSpot spot = LocatePosition(editor_.RtfText(), start);
    const ParagraphContent content = ReadParagraph(*spot.paragraph);
    if (spot.offset >= int(content.text.size()) || content.attrs.size() != content.text.size())
        return std::nullopt;
    const TAttr& attr = content.attrs[std::size_t(spot.offset)];
    if (!isPlaceholder(static_cast<unsigned char>(content.text[std::size_t(spot.offset)]))
        || !attr.hasFlag(AttrFlag::Object))
        return std::nullopt;
    TTextObject* object = editor_.RtfText().findObject(attr.tag);
    if (!object)
        return std::nullopt;
    const TWPRTFTextPaint& paint = editor_.engine();
    const TextPosition position = editor_.RtfText().positionAt(start);
    const int index = paint.lineIndexOf(position);
    if (index < 0)
        return std::nullopt;
    const TTextLine& line = *paint.lineAt(index).line;
    const int at = std::clamp(position.index, 0, line.length() - 1);
    const TAttr& laid = line.hasAttributes() ? line.attrs()[at] : attr;
    const CaretBox box = paint.caretAt(position);
    SelectedObject selected;
    selected.object = object;
    selected.left = box.x;
    selected.top = line.top + line.ascent - laid.ascent;
    selected.width = laid.width;
    selected.height = laid.height;
    selected.paragraph = spot.paragraph;
    return selected;
}

bool EditingInput::onResizeHandle(int x, int y) const
{
    if (editor_.ReadOnly())
        return false;
    const auto selected = selectedObject();
    if (!selected)
        return false;
    const int right = selected->left + selected->width;
    const int bottom = selected->top + selected->height;
    return x >= right - kHandleSize && x <= right && y >= bottom - kHandleSize && y <= bottom;
}

bool EditingInput::insideSelection(int x, int y) const
{
    const EditorCore& core = editor_.core();
    if (!core.HasSelection())
        return false;
    const auto hit = characterAt(x, y);
    if (!hit)
        return false;
    const long position = PositionOfParagraph(editor_.RtfText(), hit->paragraph) + hit->offset;
    return position >= core.SelStartPosition() && position < core.SelStartPosition() + core.SelLength();
}

void EditingInput::caretToPoint(int x, int y, bool extend)
{
    engine_.SetCaret(editor_.engine().positionAt(x, y), extend);
}

// A double-click selects the word at the point, as Unicode's word boundaries enclose it in any
// script; beside a word (its end, a blank after it) the word is taken.
void EditingInput::selectWordAt(int x, int y)
{
    caretToPoint(x, y, false);
    const TParagraph* paragraph = engine_.caretParagraph();
    const std::string text = paragraph ? paragraph->text() : std::string();
    const auto offset = std::size_t(engine_.caretOffsetInParagraph());
    if (text.empty())
        return;
    Piece piece = pieceAt(text, std::min(offset, PrevCharBoundary(text, text.size())));
    if (!holdsWord(text, piece) && offset > 0) {
        const Piece before = pieceAt(text, PrevCharBoundary(text, offset));
        if (holdsWord(text, before))
            piece = before;
    }
    const long paragraphStart = engine_.caretOffset() - long(offset);
    engine_.SetSelection(paragraphStart + long(piece.start), paragraphStart + long(piece.end));
}

void EditingInput::resizeObjectTo(int x, int y)
{
    const auto selected = selectedObject();
    if (!selected)
        return;
    const int dpiX = std::max(1, editor_.logicalDpiX());
    const int dpiY = std::max(1, editor_.logicalDpiY());
    const int width = std::max(kMinObjectSize, x - selected->left);
    const int height = std::max(kMinObjectSize, y - selected->top);
    selected->object->width = width * TwipsPerInch / dpiX;
    selected->object->height = height * TwipsPerInch / dpiY;
    selected->paragraph->layoutFlags |= LayoutFlag::NeedsReformat;
    if (editor_.core().onUpdate)
        editor_.core().onUpdate(true);
}

void EditingInput::updateCursor(int x, int y)
{
    QWidget* viewport = editor_.viewport();
    if (onResizeHandle(x, y)) {
        viewport->setCursor(Qt::SizeFDiagCursor);
        return;
    }
    if (dragAndDrop_ && insideSelection(x, y)) {
        viewport->setCursor(Qt::ArrowCursor);
        return;
    }
    if (const auto hit = characterAt(x, y); hit && (hit->attr.hasStyle(AttrStyle::Hyperlink) || clickableObject(*hit))) {
        viewport->setCursor(HyperLinkCursor);
        return;
    }
    viewport->setCursor(ownCursor_);
}

// --- events ----------------------------------------------------------------------------------

bool EditingInput::mousePress(TWPRichText& editor, QMouseEvent& event, int x, int y)
{
    if (event.button() == Qt::RightButton) {
        if (OnMouseDownRight)
            OnMouseDownRight(editor);
        return true;
    }
    if (event.button() != Qt::LeftButton)
        return false;
    load();
    wordSelected_ = false;
    pressPoint_ = event.position().toPoint();
    pressX_ = x;
    pressY_ = y;
    if (dragAndDrop_ && insideSelection(x, y)) {
        dragPending_ = true;
        return true;
    }
    const bool doubleClick = event.type() == QEvent::MouseButtonDblClick;
    if ((doubleClick || OneClickHyperlink) && clickLinkOrObject(x, y))
        return true;
    if (doubleClick) {
        selectWordAt(x, y);
        wordSelected_ = true;
        selecting_ = false;
        store(false);
        return true;
    }
    if (onResizeHandle(x, y)) {
        resizing_ = true;
        return true;
    }
    caretToPoint(x, y, false);
    engine_.AnchorAtCaret();
    selecting_ = true;
    store(false);
    return true;
}

bool EditingInput::mouseMove(TWPRichText& editor, QMouseEvent& event, int x, int y)
{
    const bool leftHeld = event.buttons() & Qt::LeftButton;
    if (dragPending_ && leftHeld) {
        const QPoint moved = event.position().toPoint() - pressPoint_;
        if (std::abs(moved.x()) + std::abs(moved.y()) > kDragDistance) {
            dragPending_ = false;
            startDrag();
        }
        return true;
    }
    if (resizing_ && leftHeld) {
        resizeObjectTo(x, y);
        return true;
    }
    if (leftHeld) {
        if (selecting_ && !editor.NoBlockMarking) {
            load();
            caretToPoint(x, y, true);
            store(false);
        }
        return true;
    }
    if (!event.buttons())
        updateCursor(x, y);
    return true;
}

bool EditingInput::mouseRelease(TWPRichText& editor, QMouseEvent& event, int x, int y)
{
    if (event.button() != Qt::LeftButton)
        return false;
    if (wordSelected_) {
        wordSelected_ = false; // the release of a double-click keeps the word selected
        return true;
    }
    load();
    if (resizing_) {
        resizing_ = false;
        editor.Changed();
        return true;
    }
    if (dragPending_) {
        // A drag that never started is a plain click at the press point.
        dragPending_ = false;
        caretToPoint(pressX_, pressY_, false);
        engine_.AnchorAtCaret();
    }
    selecting_ = false;
    const bool still = x == pressX_ && y == pressY_;
    if (still || editor.NoBlockMarking)
        engine_.HideSelection();
    if (!(event.modifiers() & Qt::ShiftModifier))
        caretToPoint(x, y, !still && !editor.NoBlockMarking);
    store(false);
    return true;
}

// --- drag and drop of the selection ------------------------------------------------------------

void EditingInput::startDrag()
{
    auto data = editor_.SelectionMimeData();
    if (!data)
        return;
    auto* drag = new QDrag(editor_.viewport()); // owned by the viewport until the drag is over
    drag->setMimeData(data.release());
    const Qt::DropAction action = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    drag->deleteLater();
    // Dropped into another program as a move: the text leaves this one.
    if (action == Qt::MoveAction && !editor_.ReadOnly() && editor_.core().HasSelection()) {
        editor_.core().DeleteSelection();
        editor_.Changed();
    }
}

bool EditingInput::moveSelectionTo(long position)
{
    EditorCore& core = editor_.core();
    if (!core.HasSelection() || editor_.ReadOnly())
        return false;
    const long start = core.SelStartPosition();
    const long length = core.SelLength();
    if (position >= start && position <= start + length)
        return false; // dropped onto itself
    const auto moved = CopyRange(editor_.RtfText(), start, length);
    core.DeleteSelection();
    core.GoTo(position > start ? position - length : position);
    core.InsertDocument(*moved);
    editor_.ensureCaretVisible();
    editor_.Changed();
    return true;
}

} // namespace quillory
