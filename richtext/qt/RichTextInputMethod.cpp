// The editor control and input methods: the text being composed (preedit) shown underlined at the
// caret, and the control's answers to the input method's questions (caret rectangle, surrounding
// text, cursor and anchor, selection, font).
#include "richtext/qt/RichText.h"

#include "platform/qt/QtText.h"
#include "richtext/edit/RangeEditing.h"
#include "richtext/qt/RichTextEditingController.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QPainter>
#include <QScrollBar>

#include <cmath>

namespace quillory {

namespace {

// The length in UTF-16 units (what input methods count in) of the first `bytes` of UTF-8 text.
int utf16Length(std::string_view text, std::size_t bytes)
{
    return int(TextToQString(text.substr(0, std::min(bytes, text.size()))).size());
}

} // namespace

void TWPRichText::inputMethodEvent(QInputMethodEvent* event)
{
    if (controller_ && controller_->inputMethod(*this, *event))
        return;
    if (!event->commitString().isEmpty())
        InsertText(event->commitString());
    setPreedit(event->preeditString(), int(event->preeditString().size()));
    event->accept();
}

void TWPRichText::setPreedit(const QString& text, int cursor)
{
    if (text == preedit_ && cursor == preeditCursor_)
        return;
    preedit_ = text;
    preeditCursor_ = std::clamp(cursor, 0, int(text.size()));
    caretShown_ = true;
    viewport()->update();
    updateInputMethod();
}

void TWPRichText::dropComposition()
{
    if (preedit_.isEmpty())
        return;
    QGuiApplication::inputMethod()->reset();
    setPreedit({}, 0);
}

void TWPRichText::updateInputMethod()
{
    if (hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImQueryInput);
}

// The font of the text typed at the caret, at the size it is shown.
QFont TWPRichText::caretFont() const
{
    const TAttr attr = core_->GetCurrentAttr();
    const FontEntry* entry = RtfText().header().font(attr.font);
    QFont font = entry ? QFont(TextToQString(entry->name)) : font_;
    const double zoom = engine_->zooming ? engine_->zoom / 100.0 : 1.0;
    const int points = attr.size > 0 ? attr.size : 10;
    font.setPixelSize(std::max(1, int(std::lround(points * logicalDpiY() * zoom / 72.0))));
    font.setBold(attr.hasStyle(AttrStyle::Bold));
    font.setItalic(attr.hasStyle(AttrStyle::Italic));
    return font;
}

// Paints the preedit over the text after the caret (viewport pixels) and returns how far the
// caret stands into it.
int TWPRichText::paintPreedit(QPainter& painter, const CaretBox& caret, int scrollX, int scrollY)
{
    if (preedit_.isEmpty())
        return 0;
    const QFont font = caretFont();
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(preedit_);
    int baseline = caret.y + caret.height - metrics.descent();
    if (engine_->lineCount() > 0 && caret.line >= 0 && caret.line < engine_->lineCount()) {
        const TTextLine& line = *engine_->lineAt(caret.line).line;
        baseline = line.top + line.ascent;
    }
    const int x = caret.x - scrollX;
    const int top = std::min(caret.y, baseline - metrics.ascent()) - scrollY;
    const int bottom = std::max(caret.y + caret.height, baseline + metrics.descent()) - scrollY;
    painter.fillRect(QRect(x, top, width + 1, bottom - top), color_);
    QFont underlined = font;
    underlined.setUnderline(true);
    painter.setFont(underlined);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QPoint(x, baseline - scrollY), preedit_);
    return metrics.horizontalAdvance(preedit_.left(preeditCursor_));
}

QVariant TWPRichText::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImEnabled:
        return !ReadOnly();
    case Qt::ImHints:
        return int(Qt::ImhMultiLine);
    case Qt::ImFont:
        return caretFont();
    case Qt::ImCursorRectangle: {
        const CaretBox caret = engine_->caretAt(caretPlace());
        int shift = 0;
        if (!preedit_.isEmpty())
            shift = QFontMetrics(caretFont()).horizontalAdvance(preedit_.left(preeditCursor_));
        const QPoint origin = viewport()->geometry().topLeft();
        return QRect(origin.x() + caret.x + shift - horizontalScrollBar()->value(),
                     origin.y() + caret.y - verticalScrollBar()->value(), 1, std::max(caret.height, 1));
    }
    case Qt::ImSurroundingText:
    case Qt::ImCursorPosition:
    case Qt::ImAnchorPosition: {
        // The caret's paragraph is the surrounding text; an anchor in another paragraph stands
        // at its start or end.
        const TWPRTFText& document = RtfText();
        const long caret = core_->CaretPosition();
        const ParagraphSpot spot = LocatePosition(document, caret);
        if (!spot.paragraph)
            return {};
        const std::string text = spot.paragraph->text();
        if (query == Qt::ImSurroundingText)
            return TextToQString(text);
        if (query == Qt::ImCursorPosition)
            return utf16Length(text, std::size_t(spot.offset));
        const long selectionStart = core_->SelStartPosition();
        const long anchor = core_->HasSelection() && selectionStart == caret ? caret + core_->SelLength() : selectionStart;
        const long paragraphStart = caret - spot.offset;
        if (anchor < paragraphStart)
            return 0;
        return utf16Length(text, std::size_t(anchor - paragraphStart));
    }
    case Qt::ImCurrentSelection:
        return TextToQString(core_->SelectedText());
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

} // namespace quillory
