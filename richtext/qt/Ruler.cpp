// The ruler: scale, indent markers and tab stops, and the mouse that moves them.
#include "richtext/qt/Ruler.h"

#include "platform/qt/MessageBoxes.h"
#include "richtext/qt/RichText.h"
#include "richtext/qt/ToolBridge.h"
#include "richtext/tools/SelectionFormat.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace quillory {

namespace {

constexpr int kTwipsPerCm = 567;
constexpr int kGrab = 4;          // pixels around a marker that still grab it
constexpr int kPullOff = 8;       // pixels above or below the ruler that remove a dragged tab
constexpr int kKindBoxSize = 12;
const QColor kMarker(0x40, 0x40, 0x40);
const QColor kPage(0xff, 0xff, 0xff);
const QColor kMarginShade(0xc8, 0xc8, 0xc8);

// Kinds offered in the kind box, in the order a click walks through them.
constexpr TTabKind kKindCycle[] = {TTabKind::tkLeft, TTabKind::tkCenter, TTabKind::tkRight, TTabKind::tkDecimal};

void paintTabGlyph(QPainter& p, int x, int bottom, TTabKind kind)
{
    p.setPen(QPen(kMarker, 1.5));
    const int top = bottom - 5;
    switch (kind) {
    case TTabKind::tkRight:
        p.drawLine(x, top, x, bottom);
        p.drawLine(x - 4, bottom, x, bottom);
        break;
    case TTabKind::tkCenter:
        p.drawLine(x, top, x, bottom);
        p.drawLine(x - 3, bottom, x + 3, bottom);
        break;
    case TTabKind::tkDecimal:
        p.drawLine(x, top, x, bottom);
        p.drawLine(x - 3, bottom, x + 3, bottom);
        p.drawPoint(x + 3, top + 1);
        break;
    default:
        p.drawLine(x, top, x, bottom);
        p.drawLine(x, bottom, x + 4, bottom);
        break;
    }
}

} // namespace

TWPRuler::TWPRuler(QWidget* parent) : QFrame(parent)
{
    setMouseTracking(false);
    updateBevel();
}

QSize TWPRuler::sizeHint() const
{
    return QSize(400, 18);
}

void TWPRuler::SetUnits(TWPRulerUnits units)
{
    units_ = units;
    if (editor_)
        editor_->RtfText().header().metricRuler = units == TWPRulerUnits::wCentimeter;
    update();
}

void TWPRuler::SetShowNumbers(bool on)
{
    showNumbers_ = on;
    update();
}

void TWPRuler::SetNewTabKind(TTabKind kind)
{
    newTabKind_ = kind;
    update();
}

TTabKind TWPRuler::ClickTabKind() const noexcept
{
    return newTabKind_ == TTabKind::tkAll ? pickedKind_ : newTabKind_;
}

void TWPRuler::SetXOffset(int pixels)
{
    xOffset_ = pixels;
    update();
}

void TWPRuler::SetBevelInner(TBevelCut bevel)
{
    bevelInner_ = bevel;
    updateBevel();
}

void TWPRuler::SetBevelOuter(TBevelCut bevel)
{
    bevelOuter_ = bevel;
    updateBevel();
}

void TWPRuler::updateBevel()
{
    const TBevelCut bevel = bevelOuter_ != TBevelCut::bvNone ? bevelOuter_ : bevelInner_;
    setFrameShape(bevel == TBevelCut::bvNone ? QFrame::NoFrame : QFrame::Panel);
    setFrameShadow(bevel == TBevelCut::bvLowered ? QFrame::Sunken : QFrame::Raised);
    setLineWidth(1);
    update();
}

void TWPRuler::SetEditor(TWPRichText* editor)
{
    if (editor_ == editor)
        return;
    if (editor_) {
        disconnect(editor_->horizontalScrollBar(), nullptr, this, nullptr);
        if (TWPRichTextSetMode::Of(*editor_).WPRuler() == this)
            TWPRichTextSetMode::Of(*editor_).SetWPRuler(nullptr);
    }
    editor_ = editor;
    if (editor) {
        // The scale moves with the text when the editor scrolls sideways.
        connect(editor->horizontalScrollBar(), &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
        TWPRichTextSetMode::Of(*editor).SetWPRuler(this);
    }
}

void TWPRuler::SetParagraph(const RulerParagraph& paragraph)
{
    if (drag_)
        return; // the marker under the mouse stays where the mouse holds it
    if (paragraph == shown_)
        return update();
    shown_ = paragraph;
    update();
}

// --- scale -------------------------------------------------------------------------------------

int TWPRuler::originX() const
{
    int origin = xOffset_;
    if (editor_) {
        const QWidget* viewport = editor_->viewport();
        origin += mapFromGlobal(viewport->mapToGlobal(QPoint(0, 0))).x() - editor_->horizontalScrollBar()->value();
    }
    return origin;
}

int TWPRuler::XOfTwips(int twips) const noexcept
{
    return originX() + int(std::lround(double(twips) * shown_.pixelsPerInch / TwipsPerInch));
}

int TWPRuler::TwipsOfX(int x) const noexcept
{
    return int(std::lround(double(x - originX()) * TwipsPerInch / std::max(1, shown_.pixelsPerInch)));
}

int TWPRuler::snap(int twips) const
{
    // The document's grid: 144 twips in inches, 141 in centimetres.
    const int grid = units_ == TWPRulerUnits::wCentimeter ? 141 : 144;
    return std::max(0, (twips + grid / 2 + 1) / grid * grid);
}

QRect TWPRuler::MarkerRect(RulerMarker marker) const
{
    const int h = height();
    switch (marker) {
    case RulerMarker::FirstIndent:
        return QRect(XOfTwips(shown_.firstIndent) - kGrab, 0, 2 * kGrab + 1, h / 2);
    case RulerMarker::LeftIndent:
        return QRect(XOfTwips(shown_.leftIndent) - kGrab, h / 2, 2 * kGrab + 1, h - h / 2);
    case RulerMarker::RightIndent:
        return QRect(XOfTwips(shown_.widthTwips - shown_.rightIndent) - kGrab, h / 2, 2 * kGrab + 1, h - h / 2);
    }
    return {};
}

QRect TWPRuler::TabRect(const RulerParagraph::Tab& tab) const
{
    return QRect(XOfTwips(tab.position) - kGrab, height() / 2, 2 * kGrab + 1, height() - height() / 2);
}

QRect TWPRuler::TabKindBox() const
{
    if (newTabKind_ != TTabKind::tkAll)
        return {};
    return QRect(1, (height() - kKindBoxSize) / 2, kKindBoxSize, kKindBoxSize);
}

// --- painting ---------------------------------------------------------------------------------------

void TWPRuler::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    paintScale(painter);
    paintMarkers(painter);
    if (const QRect box = TabKindBox(); !box.isNull()) {
        painter.setPen(QColor(0x80, 0x80, 0x80));
        painter.setBrush(palette().color(QPalette::Button));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        painter.setRenderHint(QPainter::Antialiasing);
        paintTabGlyph(painter, box.center().x() - 1, box.bottom() - 2, pickedKind_);
    }
}

void TWPRuler::paintScale(QPainter& p)
{
    const QRect inner = contentsRect();
    const int left = XOfTwips(0), right = XOfTwips(shown_.widthTwips);
    p.fillRect(inner, kMarginShade);
    p.fillRect(QRect(QPoint(left, inner.top() + 2), QPoint(right, inner.bottom() - 2)), kPage);

    // Ticks every eighth of an inch or every half centimetre, longer at the halves and wholes.
    const bool metric = units_ == TWPRulerUnits::wCentimeter;
    const int stepTwips = metric ? kTwipsPerCm / 2 : TwipsPerInch / 8;
    const int perUnit = metric ? 2 : 8;
    QFont small = font();
    small.setPixelSize(std::max(7, inner.height() - 6));
    p.setFont(small);
    const int middle = inner.center().y();
    for (int step = 0;; ++step) {
        const int x = XOfTwips(step * stepTwips);
        if (x > right || x > inner.right())
            break;
        if (x < inner.left())
            continue;
        const bool whole = step % perUnit == 0;
        const bool half = !metric && step % (perUnit / 2) == 0;
        p.setPen(QColor(0x50, 0x50, 0x50));
        if (whole && step > 0 && showNumbers_) {
            p.drawText(QRect(x - 10, inner.top(), 20, inner.height()), Qt::AlignCenter, QString::number(step / perUnit));
        } else {
            const int len = whole ? 3 : half ? 2 : 1;
            p.drawLine(x, middle - len, x, middle + len);
        }
    }
}

void TWPRuler::paintMarkers(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QRect inner = contentsRect();
    const int top = inner.top(), bottom = inner.bottom();
    p.setPen(QPen(kMarker, 1));
    p.setBrush(QColor(0xe8, 0xe8, 0xe8));
    auto downTriangle = [&](int x) {
        p.drawPolygon(QPolygon{QPoint(x - 4, top), QPoint(x + 4, top), QPoint(x, top + 5)});
    };
    auto upTriangle = [&](int x) {
        p.drawPolygon(QPolygon{QPoint(x - 4, bottom), QPoint(x + 4, bottom), QPoint(x, bottom - 5)});
    };
    downTriangle(XOfTwips(shown_.firstIndent));
    upTriangle(XOfTwips(shown_.leftIndent));
    upTriangle(XOfTwips(shown_.widthTwips - shown_.rightIndent));
    p.setBrush(Qt::NoBrush);
    for (const RulerParagraph::Tab& tab : shown_.tabs)
        if (!(drag_ && drag_->off && drag_->tab && drag_->tab->index == tab.index))
            paintTabGlyph(p, XOfTwips(tab.position), bottom - 1, tab.kind);
}

// --- mouse -------------------------------------------------------------------------------------------

void TWPRuler::mousePressEvent(QMouseEvent* event)
{
    if (OnMouseDown)
        OnMouseDown(*this);
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    if (TabKindBox().contains(at)) {
        const auto* found = std::find(std::begin(kKindCycle), std::end(kKindCycle), pickedKind_);
        pickedKind_ = found + 1 < std::end(kKindCycle) ? found[1] : kKindCycle[0];
        update();
        return;
    }
    drag_ = Drag{};
    // Markers first: they sit on the paragraph's edges where a click means "move this".
    for (RulerMarker marker : {RulerMarker::FirstIndent, RulerMarker::LeftIndent, RulerMarker::RightIndent})
        if (MarkerRect(marker).contains(at)) {
            drag_->marker = marker;
            return;
        }
    for (const RulerParagraph::Tab& tab : shown_.tabs)
        if (TabRect(tab).contains(at)) {
            drag_->tab = tab;
            return;
        }
}

void TWPRuler::mouseMoveEvent(QMouseEvent* event)
{
    if (!drag_ || (!drag_->marker && !drag_->tab))
        return;
    const QPoint at = event->position().toPoint();
    drag_->moved = true;
    drag_->off = drag_->tab && (at.y() < -kPullOff || at.y() > height() + kPullOff);
    applyDrag(at.x());
    if (WhileSelection)
        WhileSelection(*this);
    update();
}

void TWPRuler::applyDrag(int x)
{
    const int width = std::max(0, shown_.widthTwips);
    const int twips = std::clamp(snap(TwipsOfX(x)), 0, width);
    if (drag_->marker == RulerMarker::FirstIndent)
        shown_.firstIndent = twips;
    else if (drag_->marker == RulerMarker::LeftIndent)
        shown_.leftIndent = twips;
    else if (drag_->marker == RulerMarker::RightIndent)
        shown_.rightIndent = std::clamp(snap(width - TwipsOfX(x)), 0, width); // on the grid from the right margin
    else if (drag_->tab) {
        for (RulerParagraph::Tab& tab : shown_.tabs)
            if (tab.index == drag_->tab->index)
                tab.position = twips;
    }
}

void TWPRuler::mouseReleaseEvent(QMouseEvent* event)
{
    if (!drag_ || event->button() != Qt::LeftButton)
        return;
    const Drag drag = *drag_;
    const QPoint at = event->position().toPoint();
    if (drag.marker || drag.tab) {
        drag_->off = drag.tab && (at.y() < -kPullOff || at.y() > height() + kPullOff);
        applyDrag(at.x());
    }
    const RulerParagraph wanted = shown_;
    drag_.reset();
    if (!editor_)
        return;
    EditorCore& core = editor_->core();
    bool done = false;
    if (drag.marker) {
        const int first = drag.marker == RulerMarker::FirstIndent ? wanted.firstIndent : KeepValue;
        const int left = drag.marker == RulerMarker::LeftIndent ? wanted.leftIndent : KeepValue;
        const int right = drag.marker == RulerMarker::RightIndent ? wanted.rightIndent : KeepValue;
        if (!editor_->ReadOnly()) {
            editor_->SetParagraphIndents(first, left, right);
            done = true;
        }
    } else if (drag.tab) {
        const bool off = at.y() < -kPullOff || at.y() > height() + kPullOff;
        if (off) {
            done = RemoveTabStop(core, drag.tab->index);
        } else if (drag.moved) {
            int position = drag.tab->position;
            for (const RulerParagraph::Tab& tab : wanted.tabs)
                if (tab.index == drag.tab->index)
                    position = tab.position;
            done = RemoveTabStop(core, drag.tab->index) && AddTabStop(core, position, drag.tab->kind);
        }
    } else if (contentsRect().contains(at) && at.y() >= height() / 2) {
        const int twips = snap(TwipsOfX(at.x()));
        if (twips > 0 && twips < shown_.widthTwips) {
            const TTabKind kind = ClickTabKind() == TTabKind::tkAll ? TTabKind::tkLeft : ClickTabKind();
            done = AddTabStop(core, twips, kind);
        }
    }
    TWPRichTextSetMode::Of(*editor_).Update();
    if (done)
        changed();
}

void TWPRuler::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!editor_ || editor_->ReadOnly() || shown_.tabs.empty() || event->button() != Qt::LeftButton)
        return;
    const bool german = editor_->Language() == TWPToolLanguage::twpGerman;
    const std::string_view text = WPMessage(WPMsg::DeleteAllTabs, german ? MessageLanguage::German : MessageLanguage::English);
    if (AskConfirm(QString::fromUtf8(text.data(), qsizetype(text.size()))) && ClearTabStops(editor_->core()))
        changed();
}

void TWPRuler::changed()
{
    if (OnSelection)
        OnSelection(*this);
}

} // namespace quillory
