// The editor control's accessibility interface (see RichTextAccessible.h).
#include "richtext/qt/RichTextAccessible.h"

#include "platform/qt/QtText.h"
#include "richtext/model/Document.h"
#include "richtext/qt/AccessibleText.h"
#include "richtext/qt/RichText.h"

#include <QScrollBar>

#include <algorithm>

namespace quillory {

namespace {

QAccessibleInterface* CreateInterface(const QString& className, QObject* object)
{
    if (className == QLatin1String(TWPRichText::staticMetaObject.className()) && object
        && object->isWidgetType())
        return new RichTextAccessible(static_cast<TWPRichText*>(object));
    return nullptr;
}

QString ColorText(const RGBColor& color)
{
    return QStringLiteral("rgb(%1,%2,%3)").arg(color.red).arg(color.green).arg(color.blue);
}

// The character attributes in the "name:value;" form Qt's bridges hand on to screen readers.
QString AttributeText(const TWPRTFText& document, const TAttr& attr)
{
    QString out;
    if (const FontEntry* font = document.header().font(attr.font))
        out += QStringLiteral("font-family:\"%1\";").arg(TextToQString(font->name));
    out += QStringLiteral("font-size:%1pt;").arg(attr.pointSize());
    out += QStringLiteral("font-weight:%1;").arg(attr.hasStyle(AttrStyle::Bold) ? 700 : 400);
    out += QStringLiteral("font-style:%1;").arg(attr.hasStyle(AttrStyle::Italic) ? QStringLiteral("italic")
                                                                                 : QStringLiteral("normal"));
    if (attr.hasStyle(AttrStyle::Underline))
        out += QStringLiteral("text-underline-style:solid;text-underline-type:single;");
    if (attr.hasStyle(AttrStyle::StrikeOut))
        out += QStringLiteral("text-line-through-type:single;");
    if (attr.hasStyle(AttrStyle::Superscript))
        out += QStringLiteral("text-position:super;");
    else if (attr.hasStyle(AttrStyle::Subscript))
        out += QStringLiteral("text-position:sub;");
    const auto& colors = document.header().colors;
    out += QStringLiteral("color:%1;").arg(ColorText(colors[std::size_t(attr.textColor()) % colors.size()]));
    if (attr.backColor() != 0)
        out += QStringLiteral("background-color:%1;").arg(ColorText(colors[std::size_t(attr.backColor()) % colors.size()]));
    return out;
}

const TTextLine* SegmentAt(const TWPRTFText& document, const AccessibleTextMap::Place& place)
{
    const TParagraph* paragraph = document.firstParagraph();
    for (int i = 0; paragraph && i < place.paragraph; ++i)
        paragraph = paragraph->next();
    if (!paragraph)
        return nullptr;
    const TTextLine* line = paragraph->firstLine();
    for (int i = 0; line && i < place.segment; ++i)
        line = line->next();
    return line;
}

} // namespace

void InstallRichTextAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(CreateInterface);
        return true;
    }();
    (void)installed;
}

RichTextAccessible::RichTextAccessible(TWPRichText* editor)
    : QAccessibleWidget(editor, QAccessible::EditableText)
{
}

TWPRichText* RichTextAccessible::editor() const
{
    return static_cast<TWPRichText*>(widget());
}

void* RichTextAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State RichTextAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = !editor()->ReadOnly();
    state.readOnly = editor()->ReadOnly();
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

QString RichTextAccessible::text(QAccessible::Text kind) const
{
    if (kind == QAccessible::Value)
        return AccessibleTextMap(editor()->RtfText()).text();
    return QAccessibleWidget::text(kind);
}

// --- caret and selection -----------------------------------------------------------------------

void RichTextAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !editor()->core().HasSelection())
        return;
    const AccessibleTextMap map(editor()->RtfText());
    const long start = editor()->core().SelStartPosition();
    *startOffset = map.offsetOf(start);
    *endOffset = map.offsetOf(start + editor()->SelLength());
}

int RichTextAccessible::selectionCount() const
{
    return editor()->core().HasSelection() ? 1 : 0;
}

void RichTextAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void RichTextAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        editor()->GoTo(editor()->CaretPosition());
}

void RichTextAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0)
        return;
    const AccessibleTextMap map(editor()->RtfText());
    const long start = map.positionOf(std::min(startOffset, endOffset));
    const long end = map.positionOf(std::max(startOffset, endOffset));
    editor()->core().Select(start, end - start, endOffset < startOffset);
}

int RichTextAccessible::cursorPosition() const
{
    return AccessibleTextMap(editor()->RtfText()).offsetOf(editor()->CaretPosition());
}

void RichTextAccessible::setCursorPosition(int position)
{
    editor()->GoTo(AccessibleTextMap(editor()->RtfText()).positionOf(position));
    editor()->ensureCaretVisible();
}

// --- text --------------------------------------------------------------------------------------

QString RichTextAccessible::text(int startOffset, int endOffset) const
{
    const QString all = AccessibleTextMap(editor()->RtfText()).text();
    startOffset = std::clamp(startOffset, 0, int(all.size()));
    endOffset = endOffset < 0 ? int(all.size()) : std::clamp(endOffset, startOffset, int(all.size()));
    return all.mid(startOffset, endOffset - startOffset);
}

void RichTextAccessible::lineAround(int offset, int* startOffset, int* endOffset) const
{
    const AccessibleTextMap map(editor()->RtfText());
    const std::vector<int>& starts = map.segmentStarts();
    offset = std::clamp(offset, 0, int(map.text().size()));
    auto after = std::upper_bound(starts.begin(), starts.end(), offset);
    *startOffset = after == starts.begin() ? 0 : *std::prev(after);
    *endOffset = after == starts.end() ? int(map.text().size()) : *after;
}

QString RichTextAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                         int* endOffset) const
{
    if (boundaryType != QAccessible::LineBoundary)
        return QAccessibleTextInterface::textAtOffset(offset, boundaryType, startOffset, endOffset);
    lineAround(offset, startOffset, endOffset);
    return text(*startOffset, *endOffset);
}

QString RichTextAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                             int* startOffset, int* endOffset) const
{
    if (boundaryType != QAccessible::LineBoundary)
        return QAccessibleTextInterface::textBeforeOffset(offset, boundaryType, startOffset, endOffset);
    int start = 0;
    int end = 0;
    lineAround(offset, &start, &end);
    if (start == 0) {
        *startOffset = *endOffset = -1;
        return {};
    }
    lineAround(start - 1, startOffset, endOffset);
    return text(*startOffset, *endOffset);
}

QString RichTextAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                            int* startOffset, int* endOffset) const
{
    if (boundaryType != QAccessible::LineBoundary)
        return QAccessibleTextInterface::textAfterOffset(offset, boundaryType, startOffset, endOffset);
    int start = 0;
    int end = 0;
    lineAround(offset, &start, &end);
    if (end >= characterCount()) {
        *startOffset = *endOffset = -1;
        return {};
    }
    lineAround(end, startOffset, endOffset);
    return text(*startOffset, *endOffset);
}

int RichTextAccessible::characterCount() const
{
    return int(AccessibleTextMap(editor()->RtfText()).text().size());
}

QRect RichTextAccessible::characterRect(int offset) const
{
    TWPRichText* control = editor();
    const AccessibleTextMap map(control->RtfText());
    const TWPRTFText& document = control->RtfText();
    const CaretBox here = control->engine().caretAt(document.positionAt(map.positionOf(offset)));
    const CaretBox next = control->engine().caretAt(document.positionAt(map.positionOf(offset + 1)));
    const int width = next.line == here.line && next.x > here.x ? next.x - here.x : 1;
    const QPoint topLeft(here.x - control->horizontalScrollBar()->value(),
                         here.y - control->verticalScrollBar()->value());
    return QRect(control->viewport()->mapToGlobal(topLeft), QSize(width, std::max(here.height, 1)));
}

int RichTextAccessible::offsetAtPoint(const QPoint& point) const
{
    TWPRichText* control = editor();
    const QPoint local = control->viewport()->mapFromGlobal(point);
    if (!control->viewport()->rect().contains(local))
        return -1;
    const TextPosition at = control->engine().positionAt(local.x() + control->horizontalScrollBar()->value(),
                                                         local.y() + control->verticalScrollBar()->value());
    return AccessibleTextMap(control->RtfText()).offsetOf(control->RtfText().absolutePosition(at));
}

void RichTextAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    const long caret = editor()->CaretPosition();
    setCursorPosition(endIndex);
    setCursorPosition(startIndex);
    editor()->GoTo(caret);
}

QString RichTextAccessible::attributes(int offset, int* startOffset, int* endOffset) const
{
    const AccessibleTextMap map(editor()->RtfText());
    const TWPRTFText& document = editor()->RtfText();
    *startOffset = *endOffset = offset;
    AccessibleTextMap::Place place;
    if (!map.placeOf(offset, place))
        return {};
    const TTextLine* line = SegmentAt(document, place);
    const TAttr* attrs = line ? line->attrs() : nullptr;
    if (!attrs) {
        *startOffset = 0;
        *endOffset = int(map.text().size());
        return {};
    }
    const TAttr& attr = attrs[place.index];
    // The run of equal attributes around the character, within its segment.
    int start = offset;
    AccessibleTextMap::Place other;
    while (start > 0 && map.placeOf(start - 1, other) && other.paragraph == place.paragraph
           && other.segment == place.segment && attrs[other.index].sameRun(attr))
        --start;
    int end = offset + 1;
    while (map.placeOf(end, other) && other.paragraph == place.paragraph && other.segment == place.segment
           && attrs[other.index].sameRun(attr))
        ++end;
    *startOffset = start;
    *endOffset = end;
    return AttributeText(document, attr);
}

// --- editing -----------------------------------------------------------------------------------

void RichTextAccessible::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, {});
}

void RichTextAccessible::insertText(int offset, const QString& text)
{
    replaceText(offset, offset, text);
}

void RichTextAccessible::replaceText(int startOffset, int endOffset, const QString& text)
{
    TWPRichText* control = editor();
    if (control->ReadOnly())
        return;
    const AccessibleTextMap map(control->RtfText());
    const long start = map.positionOf(std::min(startOffset, endOffset));
    const long end = map.positionOf(std::max(startOffset, endOffset));
    control->core().Select(start, end - start);
    if (end > start && text.isEmpty())
        control->DeleteSelection();
    else if (!text.isEmpty())
        control->InsertText(text);
    else
        return;
    control->Changed();
}

} // namespace quillory

namespace quillory {

void TWPRichText::tellAccessibility(bool textChanged)
{
    if (!QAccessible::isActive())
        return;
    const AccessibleTextMap map(RtfText());
    if (textChanged || toldCaret_ < 0) {
        const QString& now = map.text();
        if (now != toldText_ && toldCaret_ >= 0) {
            // Only the part that differs: screen readers speak what was typed or deleted.
            const TextChange change = DiffTexts(toldText_, now);
            if (change.removed.isEmpty()) {
                QAccessibleTextInsertEvent event(this, change.position, change.inserted);
                QAccessible::updateAccessibility(&event);
            } else if (change.inserted.isEmpty()) {
                QAccessibleTextRemoveEvent event(this, change.position, change.removed);
                QAccessible::updateAccessibility(&event);
            } else {
                QAccessibleTextUpdateEvent event(this, change.position, change.removed, change.inserted);
                QAccessible::updateAccessibility(&event);
            }
        }
        toldText_ = now;
    }
    const int caret = map.offsetOf(CaretPosition());
    const long selStart = core_->SelStartPosition();
    const int selectionStart = core_->HasSelection() ? map.offsetOf(selStart) : caret;
    const int selectionEnd = core_->HasSelection() ? map.offsetOf(selStart + core_->SelLength()) : caret;
    if (selectionStart != toldSelectionStart_ || selectionEnd != toldSelectionEnd_) {
        if (selectionStart != selectionEnd || toldSelectionStart_ != toldSelectionEnd_) {
            QAccessibleTextSelectionEvent event(this, selectionStart, selectionEnd);
            event.setCursorPosition(caret);
            QAccessible::updateAccessibility(&event);
        }
        toldSelectionStart_ = selectionStart;
        toldSelectionEnd_ = selectionEnd;
    }
    if (caret != toldCaret_) {
        toldCaret_ = caret;
        QAccessibleTextCursorEvent event(this, caret);
        QAccessible::updateAccessibility(&event);
    }
}

} // namespace quillory
