// The editor's keys: the key table (Tab, Enter, page and line keys, Insert, Delete, Esc and the
// clipboard keys), typed and composed characters of any script, input methods' commit strings,
// and the hand-over of caret and selection between the control and the typing engine.
#include "richtext/qt/KeyInput.h"

#include "platform/Utf8.h"
#include "platform/qt/QtText.h"
#include "richtext/layout/TextPaint.h"
#include "richtext/qt/RichText.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QScrollBar>

namespace quillory {

EditingInput* InputOf(TWPRichText& editor)
{
    return dynamic_cast<EditingInput*>(editor.editingController());
}

EditingInput::EditingInput(TWPRichText& editor)
    : editor_(editor), engine_(editor.RtfText(), &editor.engine()), ownCursor_(editor.viewport()->cursor())
{
    engine_.OnBeep = [this] { editor_.beep(); };
    engine_.OnNewParagraph = [this] {
        if (OnNewParCreatedEvent)
            OnNewParCreatedEvent(editor_);
    };
    editor.viewport()->setMouseTracking(true);
    watchViewport();
}

EditingInput::~EditingInput() = default;

// --- hand-over ----------------------------------------------------------------------------------

void EditingInput::load()
{
    engine_.ReadOnly = editor_.ReadOnly();
    engine_.Inserting = editor_.Inserting;
    const EditorCore& core = editor_.core();
    const long caret = core.CaretPosition();
    long anchor = caret;
    if (core.HasSelection())
        anchor = caret == core.SelStartPosition() ? caret + core.SelLength() : core.SelStartPosition();
    // The engine's own caret knows the end of a line from the start of the next; keep it while
    // nothing else moved the caret.
    if (!(caret == lastCaret_ && anchor == lastAnchor_ && inStep()))
        engine_.SetSelection(anchor, caret);
    caretBefore_ = caretRect();
    selectionBefore_ = engine_.HasSelection();
}

bool EditingInput::inStep() const
{
    const EditorCore& core = editor_.core();
    if (core.CaretPosition() != lastCaret_)
        return false;
    // Nothing told the control of a change since the hand-over: the engine's places stand.
    if (editor_.updates() == handedOverAt_)
        return true;
    if (!engine_.InSync())
        return false;
    // Another operation may have broken the lines anew: the place must still be the position.
    if (engine_.caretOffset() != lastCaret_)
        return false;
    return !engine_.HasSelection() || engine_.anchorOffset() == lastAnchor_;
}

std::optional<TextPosition> EditingInput::caretPlace(const TWPRichText&) const
{
    if (!inStep())
        return std::nullopt;
    return engine_.caret();
}

// The caret's box as painted, a pixel wider on each side, in document pixels.
Rect EditingInput::caretRect() const
{
    const CaretBox box = editor_.engine().caretAt(engine_.caret());
    return {box.x - 1, box.y, 3, std::max(box.height, 1)};
}

namespace {

Rect unite(const Rect& a, const Rect& b)
{
    if (a.empty())
        return b;
    if (b.empty())
        return a;
    const int left = std::min(a.left, b.left);
    const int top = std::min(a.top, b.top);
    const long right = std::max<long>(long(a.left) + a.width, long(b.left) + b.width);
    const long bottom = std::max<long>(long(a.top) + a.height, long(b.top) + b.height);
    return {left, top, int(std::min<long>(right - left, INT32_MAX / 2)), int(std::min<long>(bottom - top, INT32_MAX / 2))};
}

} // namespace

void EditingInput::store(bool textChanged, bool wholeView)
{
    EditorCore& core = editor_.core();
    // The engine knows its places: caret and selection go over without a look-up.
    const long caret = engine_.caretOffset();
    const bool selected = engine_.HasSelection();
    const long anchor = selected ? engine_.anchorOffset() : caret;
    const TextPosition caretAt = engine_.caretInDocument();
    const TextPosition anchorAt = selected ? engine_.anchorInDocument() : caretAt;
    Selection blocks;
    blocks.blockStart = anchor < caret ? anchorAt : caretAt;
    blocks.blockEnd = anchor < caret ? caretAt : anchorAt;
    core.TakeCaret(caret, anchor, blocks, engine_.attributesBeforeCaret());
    lastCaret_ = caret;
    lastAnchor_ = anchor;
    editor_.ensureCaretVisible();

    // What changed on the screen: the text laid out again and the caret's two places; a
    // selection shown or taken away, anywhere.
    if (wholeView || selected || selectionBefore_) {
        editor_.editedByController({0, 0, INT32_MAX / 2, INT32_MAX / 2}, textChanged);
    } else {
        Rect area = unite(caretBefore_, caretRect());
        if (textChanged)
            area = unite(area, engine_.laidOut());
        editor_.editedByController(area, textChanged);
    }
    caretBefore_ = caretRect();
    selectionBefore_ = selected;
    handedOverAt_ = editor_.updates();

    const TextPosition shown = engine_.caret();
    if (shown.index != lastShown_.index && OnXPosChanged)
        OnXPosChanged(editor_);
    if ((shown.paragraph != lastShown_.paragraph || shown.segment != lastShown_.segment) && OnYPosChanged)
        OnYPosChanged(editor_);
    lastShown_ = shown;
}

void EditingInput::type(std::string_view bytes)
{
    if (!editor_.core().CanModifyTyping(bytes, engine_.caretParagraph(), engine_.caret().paragraph))
        return;
    engine_.InsertString(bytes);
    const bool changed = engine_.changed();
    // A key changes the text at the caret; longer text is repainted whole.
    store(changed, bytes.size() > 1);
    if (changed)
        editor_.Changed();
}

namespace {

// What of a key's or an input method's text is typed: every character but the control
// characters, which would become placeholders and breaks in the text.
std::string typedCharacters(const QString& text)
{
    const std::string utf8 = QStringToText(text);
    std::string typed;
    typed.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        int length = 1;
        const char32_t c = DecodeUtf8At(utf8, at, length);
        if (c >= 32 && !(c >= 127 && c < 160))
            typed.append(utf8, at, std::size_t(length));
        at += std::size_t(length);
    }
    return typed;
}

} // namespace

void EditingInput::typeText(const QString& text)
{
    const std::string typed = typedCharacters(text);
    if (typed.empty())
        return;
    load();
    typeLoaded(typed);
}

void EditingInput::typeLoaded(std::string_view typed)
{
    // Typed text never carries the hidden flag.
    editor_.RtfText().insertionAttr.flags &= std::uint8_t(~AttrFlag::Hidden);
    type(typed);
}

// A clipboard action marks the page changed only when it changed the text.
void EditingInput::clipboardAction(void (TWPRichText::*action)())
{
    const std::uint64_t before = editor_.core().revision();
    (editor_.*action)();
    if (editor_.core().revision() != before)
        editor_.Changed();
}

void EditingInput::move(MoveKind kind, bool extend)
{
    engine_.Move(kind, extend);
    store(false);
}

// Page keys move the caret a window height and scroll as far, so the caret keeps its place on
// the screen.
void EditingInput::scrollPage()
{
    QScrollBar* bar = editor_.verticalScrollBar();
    bar->setValue(bar->value() + engine_.pageScroll());
}

// --- keys ------------------------------------------------------------------------------------------

bool EditingInput::keyPress(TWPRichText& editor, QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool alt = modifiers & Qt::AltModifier;
    load();
    switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (shift || event.key() == Qt::Key_Backtab) {
            if (ShiftTabPressed)
                ShiftTabPressed(editor);
        } else if (ctrl) {
            if (CtrlTabPressed)
                CtrlTabPressed(editor);
        } else {
            type("\t");
        }
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        type(ctrl ? "\x0c" : "\r");
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        const int direction = event.key() == Qt::Key_PageUp ? -1 : 1;
        if (ctrl) {
            QScrollBar* bar = editor.verticalScrollBar();
            bar->setValue(bar->value() + direction * editor.viewport()->height());
            return true;
        }
        engine_.Move(direction < 0 ? MoveKind::PageUp : MoveKind::PageDown, shift);
        scrollPage();
        store(false);
        return true;
    }
    case Qt::Key_End:
        move(ctrl ? MoveKind::DocumentEnd : MoveKind::LineEnd, shift);
        return true;
    case Qt::Key_Home:
        move(ctrl ? MoveKind::DocumentStart : MoveKind::LineStart, shift);
        return true;
    case Qt::Key_Left:
        move(ctrl ? MoveKind::WordLeft : MoveKind::CharLeft, shift);
        return true;
    case Qt::Key_Right:
        move(ctrl ? MoveKind::WordRight : MoveKind::CharRight, shift);
        return true;
    case Qt::Key_Up:
        move(MoveKind::LineUp, shift);
        return true;
    case Qt::Key_Down:
        move(MoveKind::LineDown, shift);
        return true;
    case Qt::Key_Insert:
        if (shift) {
            clipboardAction(&TWPRichText::PasteFromClipboard);
        } else if (ctrl) {
            editor.CopyToClipboard();
        } else {
            editor.Inserting = !editor.Inserting;
        }
        return true;
    case Qt::Key_Delete:
        if (shift || ctrl) {
            clipboardAction(&TWPRichText::CutToClipboard);
        } else {
            type("\x7f");
        }
        return true;
    case Qt::Key_Backspace:
        type("\b");
        return true;
    case Qt::Key_Escape:
        engine_.HideSelection();
        store(false);
        return true;
    default:
        break;
    }
    if (ctrl && !alt) {
        switch (event.key()) {
        case Qt::Key_C:
            editor.CopyToClipboard();
            editor.Changed();
            return true;
        case Qt::Key_V:
            clipboardAction(&TWPRichText::PasteFromClipboard);
            return true;
        case Qt::Key_X:
            clipboardAction(&TWPRichText::CutToClipboard);
            return true;
        case Qt::Key_Z:
            if (shift)
                editor.Redo();
            else
                editor.Undo();
            return true;
        case Qt::Key_Y:
            editor.Redo();
            return true;
        default:
            // Other control characters would become placeholders and breaks in the text.
            return false;
        }
    }
    if (alt && !ctrl)
        return false;
    if (event.text().isEmpty())
        return false;
    typeText(event.text());
    return true;
}

// An input method's event: what it commits is typed, after the text it asks to replace around
// the caret has gone; what it is still composing (the preedit) is only shown by the control and
// enters neither the document nor the undo history.
bool EditingInput::inputMethod(TWPRichText& editor, QInputMethodEvent& event)
{
    const std::string commit = typedCharacters(event.commitString());
    const bool replacing = event.replacementLength() > 0 || event.replacementStart() != 0;
    if (!editor.ReadOnly() && (!commit.empty() || replacing)) {
        load();
        if (replacing)
            selectAroundCaret(event.replacementStart(), event.replacementLength());
        if (!commit.empty())
            typeLoaded(commit);
        else if (engine_.HasSelection())
            type("\x7f");
        else
            store(false);
    }
    int cursor = int(event.preeditString().size());
    for (const QInputMethodEvent::Attribute& attribute : event.attributes())
        if (attribute.type == QInputMethodEvent::Cursor)
            cursor = attribute.start;
    editor.setPreedit(editor.ReadOnly() ? QString() : event.preeditString(), cursor);
    event.accept();
    return true;
}

// Selects `length` UTF-16 units from `start` units after the caret (before it when negative),
// within the caret's paragraph, as an input method counts them in the surrounding text.
void EditingInput::selectAroundCaret(int start, int length)
{
    const TParagraph* paragraph = engine_.caretParagraph();
    if (!paragraph)
        return;
    const std::string text = paragraph->text();
    const int offset = engine_.caretOffsetInParagraph();
    const long paragraphStart = engine_.caretOffset() - offset;
    const QString surrounding = TextToQString(text);
    const int caret = int(TextToQString(std::string_view(text).substr(0, std::size_t(offset))).size());
    const int from = std::clamp(caret + start, 0, int(surrounding.size()));
    const int to = std::clamp(from + std::max(length, 0), from, int(surrounding.size()));
    engine_.SetSelection(paragraphStart + long(QStringToText(surrounding.left(from)).size()),
                         paragraphStart + long(QStringToText(surrounding.left(to)).size()));
    store(false); // the control, and so the undo history, know what is replaced
}

} // namespace quillory
