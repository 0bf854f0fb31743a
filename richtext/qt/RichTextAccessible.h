// What screen readers see of the editor control: its text with the characters' attributes, the
// caret and the selection, editing through the accessibility interfaces, and the events that tell
// them when the text changed or the caret moved.
#pragma once

#include <QAccessibleWidget>

namespace quillory {

class TWPRichText;

// Registers the interface with Qt's accessibility, once per program.
void InstallRichTextAccessibility();

class RichTextAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
public:
    explicit RichTextAccessible(TWPRichText* editor);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text kind) const override;

    // --- QAccessibleTextInterface -------------------------------------------------------------
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                             int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                            int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    // --- QAccessibleEditableTextInterface --------------------------------------------------------
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

private:
    TWPRichText* editor() const;
    // The laid line (start and end offsets) holding an offset.
    void lineAround(int offset, int* startOffset, int* endOffset) const;
};

} // namespace quillory
