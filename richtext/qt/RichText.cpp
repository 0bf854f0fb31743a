// The editor control: hosting, painting, scrolling, the caret, files and the default input.
#include "richtext/qt/RichText.h"

#include "platform/AtomicWrite.h"
#include "platform/Error.h"
#include "platform/Files.h"
#include "platform/qt/QtText.h"
#include "richtext/io/FileBytes.h"
#include "richtext/qt/KeyInput.h"
#include "richtext/qt/QtCanvas.h"
#include "richtext/qt/RichTextAccessible.h"
#include "richtext/qt/RichTextEditingController.h"
#include "richtext/qt/SteadyScrollBar.h"
#include "richtext/text/TextReader.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QInputMethod>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <cmath>
#include <optional>

namespace quillory {

namespace {

constexpr int kCaretBlinkMs = 530;
constexpr int kScrollStep = 16;

RGBColor toRgb(const QColor& color)
{
    return RGBColor{std::uint8_t(color.red()), std::uint8_t(color.green()), std::uint8_t(color.blue()), 0};
}

} // namespace

TWPRichText::TWPRichText(QWidget* parent)
    : QAbstractScrollArea(parent),
      core_(std::make_unique<EditorCore>())
{
    engine_ = std::make_unique<TWPRTFTextPaint>(core_->document());
    screenCanvas_ = std::make_unique<QtCanvas>(nullptr, logicalDpiX());
    engine_->setCanvas(screenCanvas_.get());

    font_ = QFont(QStringLiteral("Arial"));
    font_.setPixelSize(11);
    core_->OnChange = [this] {
        if (OnChange)
            OnChange(*this);
    };
    core_->onUpdate = [this](bool textChanged) { documentUpdated(textChanged); };
    // Everything one event handler changes is one undo step: it ends when the event loop runs.
    core_->onEditStepOpened = [this] {
        QMetaObject::invokeMethod(this, [this] { core_->EndEditStep(); }, Qt::QueuedConnection);
    };

    setVerticalScrollBar(new SteadyScrollBar(Qt::Vertical, this));
    setHorizontalScrollBar(new SteadyScrollBar(Qt::Horizontal, this));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setFrameShape(QFrame::NoFrame);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent); // the paint event fills what it paints
    Clear();
    controller_ = std::make_unique<EditingInput>(*this);
    InstallRichTextAccessibility();
}

TWPRichText::~TWPRichText()
{
    // The engine refers to the document and the canvas: it goes first, after the input that
    // refers to it.
    controller_.reset();
    engine_.reset();
}

// --- properties ---------------------------------------------------------------------------

void TWPRichText::SetLanguage(TWPToolLanguage language)
{
    language_ = language;
    RtfText().header().decimalSeparator = language == TWPToolLanguage::twpGerman ? ',' : '.';
}

void TWPRichText::SetColor(const QColor& color)
{
    color_ = color;
    viewport()->update();
}

void TWPRichText::SetDarkPage(bool on)
{
    screenCanvas_->setDarkPage(on);
    viewport()->update();
}

void TWPRichText::SetCaretDisabled(bool on)
{
    caretDisabled_ = on;
    viewport()->update();
}

void TWPRichText::SetShowPageBreak(bool on)
{
    engine_->showPageBreak = on;
    viewport()->update();
}

void TWPRichText::SetZooming(int percent)
{
    engine_->zoom = std::clamp(percent, 10, 500);
    engine_->zooming = percent != 100;
    relayout(true);
}

void TWPRichText::SetWordWrap(bool on)
{
    engine_->wordWrap = on;
    relayout(true);
}

void TWPRichText::SetPage(int paperWidth, int paperHeight, int marginLeft, int marginRight, int marginTop,
                          int marginBottom)
{
    core_->SetPage(paperWidth, paperHeight, marginLeft, marginRight, marginTop, marginBottom);
    relayout(true);
}

// --- layout, painting, scrolling ------------------------------------------------------------------

void TWPRichText::documentUpdated(bool textChanged)
{
    ++updates_;
    if (textChanged)
        relayout(false);
    else
        viewport()->update();
    caretShown_ = true;
    tellAccessibility(textChanged);
}

void TWPRichText::relayout(bool everything)
{
    ++updates_;
    engine_->windowWidth = viewport()->width();
    engine_->clientHeight = viewport()->height();
    if (everything)
        engine_->reformatAll();
    else
        engine_->reformatPending();
    core_->SyncSelection();
    updateScrollBars();
    viewport()->update();
}

void TWPRichText::editedByController(const Rect& area, bool textChanged)
{
    if (textChanged)
        updateScrollBars();
    caretShown_ = true;
    updateInputMethod();
    tellAccessibility(textChanged);
    if (area.empty())
        return;
    const QRect view = viewport()->rect();
    const int x = area.left - horizontalScrollBar()->value();
    const int y = area.top - verticalScrollBar()->value();
    // Clipped to the view first, so that an area reaching far down cannot overflow.
    const int top = std::max(y, view.top());
    const int bottom = int(std::min<long>(long(y) + area.height, long(view.bottom()) + 1));
    const int left = std::max(x, view.left());
    const int right = int(std::min<long>(long(x) + area.width, long(view.right()) + 1));
    if (bottom > top && right > left)
        viewport()->update(QRect(left, top, right - left, bottom - top));
}

void TWPRichText::ReformatAndRepaint()
{
    relayout(true);
}

int TWPRichText::documentWidth() const
{
    return engine_->layoutWidth();
}

void TWPRichText::updateScrollBars()
{
    const QSize view = viewport()->size();
    verticalScrollBar()->setRange(0, std::max(0, engine_->documentHeight() - view.height()));
    verticalScrollBar()->setPageStep(view.height());
    verticalScrollBar()->setSingleStep(kScrollStep);
    horizontalScrollBar()->setRange(0, std::max(0, documentWidth() - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    horizontalScrollBar()->setSingleStep(kScrollStep);
}

void TWPRichText::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    relayout(engine_->wordWrap);
}

void TWPRichText::scrollContentsBy(int dx, int dy)
{
    // What stays in view is moved on the screen; only what comes into view is painted.
    viewport()->scroll(dx, dy);
}

void TWPRichText::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), screenCanvas_->ink(toRgb(color_)));
    const int scrollX = horizontalScrollBar()->value();
    const int scrollY = verticalScrollBar()->value();
    const QRect r = event->rect();
    screenCanvas_->setPainter(&painter);
    engine_->paint(*screenCanvas_, Rect{r.x(), r.y(), r.width(), r.height()}, scrollX, scrollY);
    screenCanvas_->setPainter(nullptr);

    const CaretBox caret = engine_->caretAt(caretPlace());
    const int intoPreedit = paintPreedit(painter, caret, scrollX, scrollY);
    if (hasFocus() && caretShown_ && !caretDisabled_ && !core_->HasSelection())
        painter.fillRect(QRect(caret.x + intoPreedit - scrollX, caret.y - scrollY, 1, std::max(caret.height, 1)),
                         screenCanvas_->ink(RGBColor{}));
}

void TWPRichText::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != caretTimer_)
        return QAbstractScrollArea::timerEvent(event);
    caretShown_ = !caretShown_;
    if (!preedit_.isEmpty())
        return viewport()->update(); // the caret stands inside the composed text
    // Only the caret comes or goes: its box, a pixel wider on each side.
    const CaretBox caret = engine_->caretAt(caretPlace());
    viewport()->update(QRect(caret.x - horizontalScrollBar()->value() - 1, caret.y - verticalScrollBar()->value(), 3,
                             std::max(caret.height, 1)));
}

void TWPRichText::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    if (!caretTimer_)
        caretTimer_ = startTimer(kCaretBlinkMs);
    caretShown_ = true;
    viewport()->update();
}

void TWPRichText::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    if (caretTimer_)
        killTimer(caretTimer_);
    caretTimer_ = 0;
    viewport()->update();
}

bool TWPRichText::focusNextPrevChild(bool next)
{
    // With WantTabs the Tab key belongs to the text.
    return WantTabs ? false : QAbstractScrollArea::focusNextPrevChild(next);
}

TextPosition TWPRichText::caretPlace() const
{
    if (controller_)
        if (const auto place = controller_->caretPlace(*this))
            return *place;
    return RtfText().positionAt(core_->CaretPosition());
}

void TWPRichText::ensureCaretVisible()
{
    const CaretBox caret = engine_->caretAt(caretPlace());
    QScrollBar* vertical = verticalScrollBar();
    const int height = viewport()->height();
    if (caret.y < vertical->value())
        vertical->setValue(caret.y);
    else if (caret.y + caret.height > vertical->value() + height)
        vertical->setValue(caret.y + caret.height - height);
    QScrollBar* horizontal = horizontalScrollBar();
    const int width = viewport()->width();
    if (caret.x < horizontal->value())
        horizontal->setValue(caret.x);
    else if (caret.x + 1 > horizontal->value() + width)
        horizontal->setValue(caret.x + 1 - width);
}

// --- the default input; the editing controller gets every event first ------------------------------

void TWPRichText::setEditingController(std::unique_ptr<RichTextEditingController> controller)
{
    controller_ = std::move(controller);
}

void TWPRichText::beep()
{
    ++beeps_;
    QApplication::beep();
}

void TWPRichText::keyPressEvent(QKeyEvent* event)
{
    if (controller_ && controller_->keyPress(*this, *event))
        return;
    if (event->matches(QKeySequence::Copy))
        return CopyToClipboard();
    if (event->matches(QKeySequence::Cut)) {
        CutToClipboard();
        return Changed();
    }
    if (event->matches(QKeySequence::Paste)) {
        PasteFromClipboard();
        return Changed();
    }
    const QString text = event->text();
    if (!text.isEmpty() && QChar::isPrint(text.toUcs4().value(0))
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        // Typed text never carries the hidden flag.
        TAttr attr = core_->GetCurrentAttr();
        attr.flags &= std::uint8_t(~(AttrFlag::Hidden | AttrFlag::InsertPoint | AttrFlag::Object));
        RtfText().insertionAttr = attr;
        InsertText(text);
        ensureCaretVisible();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void TWPRichText::mousePressEvent(QMouseEvent* event)
{
    // A click ends the composition: the input method commits it where it stands.
    if (!preedit_.isEmpty()) {
        QGuiApplication::inputMethod()->commit();
        setPreedit({}, 0);
    }
    const int x = event->position().toPoint().x() + horizontalScrollBar()->value();
    const int y = event->position().toPoint().y() + verticalScrollBar()->value();
    if (controller_ && controller_->mousePress(*this, *event, x, y))
        return;
    if (event->button() == Qt::LeftButton)
        GoTo(RtfText().absolutePosition(engine_->positionAt(x, y)));
}

void TWPRichText::mouseMoveEvent(QMouseEvent* event)
{
    const int x = event->position().toPoint().x() + horizontalScrollBar()->value();
    const int y = event->position().toPoint().y() + verticalScrollBar()->value();
    if (controller_ && controller_->mouseMove(*this, *event, x, y))
        return;
    if ((event->buttons() & Qt::LeftButton) && !NoBlockMarking) {
        const long anchor = core_->HasSelection()
            ? (core_->CaretPosition() == core_->SelStartPosition() ? core_->SelStartPosition() + core_->SelLength()
                                                                  : core_->SelStartPosition())
            : core_->CaretPosition();
        const long to = RtfText().absolutePosition(engine_->positionAt(x, y));
        core_->Select(std::min(anchor, to), std::abs(to - anchor), to < anchor);
    }
}

void TWPRichText::mouseReleaseEvent(QMouseEvent* event)
{
    const int x = event->position().toPoint().x() + horizontalScrollBar()->value();
    const int y = event->position().toPoint().y() + verticalScrollBar()->value();
    if (controller_ && controller_->mouseRelease(*this, *event, x, y))
        return;
}

// --- operations ---------------------------------------------------------------------------------------

ClearDefaults TWPRichText::clearDefaults() const
{
    ClearDefaults defaults;
    defaults.fontName = QStringToText(font_.family());
    if (font_.pointSize() > 0)
        defaults.pointSize = font_.pointSize();
    else
        defaults.pointSize = int(std::lround(font_.pixelSize() * 72.0 / std::max(1, logicalDpiY())));
    defaults.style = std::uint8_t((font_.bold() ? AttrStyle::Bold : 0) | (font_.italic() ? AttrStyle::Italic : 0)
                                  | (font_.underline() ? AttrStyle::Underline : 0));
    defaults.textColor = toRgb(palette().color(QPalette::Text));
    defaults.backColor = toRgb(color_);
    return defaults;
}

void TWPRichText::Clear()
{
    dropComposition();
    core_->Clear(clearDefaults());
    fileName_.clear();
    relayout(true);
}

void TWPRichText::GoTo(long position)
{
    core_->GoTo(position);
    ensureCaretVisible();
}

int TWPRichText::CaretParagraph() const
{
    return RtfText().positionAt(core_->CaretPosition()).paragraph;
}

int TWPRichText::CaretLine() const
{
    return engine_->lineIndexOf(RtfText().positionAt(core_->CaretPosition()));
}

bool TWPRichText::Undo()
{
    if (!core_->Undo())
        return false;
    relayout(true);
    ensureCaretVisible();
    return true;
}

bool TWPRichText::Redo()
{
    if (!core_->Redo())
        return false;
    relayout(true);
    ensureCaretVisible();
    return true;
}

void TWPRichText::Changed()
{
    core_->Changed();
}

bool TWPRichText::InsertText(const QString& text)
{
    return core_->InsertText(QStringToText(text));
}

bool TWPRichText::FindText(const QString& text, bool backwards)
{
    if (!core_->FindText(QStringToText(text), backwards))
        return false;
    ensureCaretVisible();
    return true;
}

bool TWPRichText::ReplaceSelection(const QString& text)
{
    return core_->ReplaceSelection(QStringToText(text));
}

QString TWPRichText::NextWord(bool restart, const EditorCore::WordFilter& stopAt)
{
    const auto word = core_->NextWord(restart, stopAt);
    if (!word)
        return {};
    ensureCaretVisible();
    return TextToQString(*word);
}

// --- files and streams ------------------------------------------------------------------------------------

bool TWPRichText::readDocument(std::span<const std::uint8_t> bytes)
{
    dropComposition();
    core_->Clear(clearDefaults());
    // A long plain text switched the memory format for itself only; the next file may be rich.
    RtfText().setMemoryFormat(MemoryFormat::fmRichText);
    LoadHooks hooks;
    LoadOutcome outcome;
    try {
        outcome = LoadDocument(RtfText(), bytes, LoadFormat, hooks);
    } catch (...) {
        lastResult_ = ReadResult::Failed;
        relayout(true);
        throw;
    }
    lastResult_ = outcome.result;
    core_->GoTo(0);
    relayout(true);
    return outcome.result == ReadResult::Ok;
}

bool TWPRichText::writeDocument(std::string& bytes, TWPLoadFormat format)
{
    TWPStringStream stream;
    SaveSettings settings;
    settings.options.writeBitmapAsDib = WriteBitmapAsDib;
    settings.options.documentIsEmpty = IsEmpty();
    lastResult_ = SaveDocument(RtfText(), stream, format, settings);
    bytes = stream.take();
    return lastResult_ == WriteResult::Ok;
}

bool TWPRichText::LoadFromStream(std::span<const std::uint8_t> bytes)
{
    return readDocument(bytes);
}

bool TWPRichText::SaveToStream(std::string& bytes)
{
    return writeDocument(bytes, ChooseSaveFormat(RtfText(), SaveFormat));
}

bool TWPRichText::LoadFromFile(const std::string& name)
{
    const std::filesystem::path path = FindNoCase(name).value_or(std::filesystem::path(name));
    const std::optional<std::string> bytes = ReadFileBytes(path.string());
    if (!bytes)
        throw Error(FormatMessage("Cannot open file %s", name));
    const bool ok = readDocument(std::span(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()));
    if (ok)
        fileName_ = name;
    return ok;
}

bool TWPRichText::SaveToFile(const std::string& name)
{
    std::string bytes;
    if (!writeDocument(bytes, ChooseSaveFormat(RtfText(), SaveFormat, name)))
        return false;
    if (!WriteFileAtomically(PathForWriting(name), bytes))
        throw Error(FormatMessage("Cannot create file %s", name));
    fileName_ = name;
    return true;
}

} // namespace quillory
