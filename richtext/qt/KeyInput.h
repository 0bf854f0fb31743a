// EditingInput: the keyboard and mouse of the editor control. It takes the control's key,
// input-method and mouse events, drives the typing engine (TWPRTFTextInput) and hands caret and
// selection back to the control. Every TWPRichText has one from its construction.
#pragma once

#include "richtext/input/TextInput.h"
#include "richtext/qt/RichTextEditingController.h"

#include <QCursor>
#include <QPoint>

#include <cstdint>

#include <functional>
#include <optional>
#include <string>

class QObject;

namespace quillory {

class TWPRichText;
struct TTextObject;

class EditingInput : public RichTextEditingController {
public:
    explicit EditingInput(TWPRichText& editor);
    ~EditingInput() override;

    TWPRTFTextInput& engine() noexcept { return engine_; }

    // --- events of the control -------------------------------------------------------------
    std::function<void(TWPRichText&)> ShiftTabPressed;
    std::function<void(TWPRichText&)> CtrlTabPressed;
    // A hyperlink was clicked: its text, a stamp (the character's tag) and the line number.
    std::function<void(TWPRichText&, const std::string& text, int stamp, int lineNumber)> HyperLinkEvent;
    // Objects that take clicks: application objects while this is set. True when handled.
    std::function<bool(TWPRichText&, TTextObject&)> OnObjectClick;
    std::function<void(TWPRichText&)> OnMouseDownRight;
    std::function<void(TWPRichText&)> OnNewParCreatedEvent;
    std::function<void(TWPRichText&)> OnXPosChanged;
    std::function<void(TWPRichText&)> OnYPosChanged;

    // --- properties ------------------------------------------------------------------------
    bool OneClickHyperlink = false;
    QCursor HyperLinkCursor{Qt::ArrowCursor};
    bool DragAndDropSupport() const noexcept { return dragAndDrop_; }
    void SetDragAndDropSupport(bool on);

    // --- the controller --------------------------------------------------------------------
    bool keyPress(TWPRichText& editor, QKeyEvent& event) override;
    bool inputMethod(TWPRichText& editor, QInputMethodEvent& event) override;
    bool mousePress(TWPRichText& editor, QMouseEvent& event, int x, int y) override;
    bool mouseMove(TWPRichText& editor, QMouseEvent& event, int x, int y) override;
    bool mouseRelease(TWPRichText& editor, QMouseEvent& event, int x, int y) override;
    std::optional<TextPosition> caretPlace(const TWPRichText& editor) const override;

    // Types text as keys do, every character of any script; control characters are left out.
    void typeText(const QString& text);
    // Moves a dropped selection of this editor to the document position (MouseInput.cpp).
    bool moveSelectionTo(long position);

private:
    // The caret and selection of the control into the engine, and back after an action.
    void load();
    // Whether the engine's caret and anchor are still those of the control.
    bool inStep() const;
    // Hands caret and selection back and repaints what changed: the laid-out text and the
    // caret's old and new place, or the whole view (`wholeView`, a selection shown or gone).
    void store(bool textChanged, bool wholeView = false);
    void type(std::string_view bytes);
    // Types characters already sorted out, with caret and selection loaded.
    void typeLoaded(std::string_view typed);
    // Runs a clipboard action of the control; the page is marked changed when the text changed.
    void clipboardAction(void (TWPRichText::*action)());
    // Selects the text an input method asks to replace (UTF-16 units around the caret).
    void selectAroundCaret(int start, int length);
    Rect caretRect() const;
    void move(MoveKind kind, bool extend);
    void scrollPage();

    // Mouse helpers (MouseInput.cpp).
    struct Hit {
        TParagraph* paragraph = nullptr;
        int paragraphIndex = 0;
        int offset = 0; // in the paragraph
        TAttr attr;
        unsigned char code = 0;
        int line = 0; // laid line
    };
    std::optional<Hit> characterAt(int x, int y) const;
    bool clickLinkOrObject(int x, int y);
    TTextObject* clickableObject(const Hit& hit) const;
    struct SelectedObject {
        TTextObject* object = nullptr;
        int left = 0, top = 0, width = 0, height = 0;
        TParagraph* paragraph = nullptr;
    };
    std::optional<SelectedObject> selectedObject() const;
    bool onResizeHandle(int x, int y) const;
    bool insideSelection(int x, int y) const;
    void caretToPoint(int x, int y, bool extend);
    void selectWordAt(int x, int y);
    void resizeObjectTo(int x, int y);
    void updateCursor(int x, int y);
    void startDrag();
    void watchViewport();

    TWPRichText& editor_;
    TWPRTFTextInput engine_;
    QObject* viewportFilter_ = nullptr; // owned by the viewport
    bool dragAndDrop_ = false;
    QCursor ownCursor_;

    long lastCaret_ = -1; // what was last handed to the control
    long lastAnchor_ = -1;
    std::uint64_t handedOverAt_ = ~std::uint64_t(0); // the control's update count then
    Rect caretBefore_;       // where the caret was painted before the action, document pixels
    bool selectionBefore_ = false;
    TextPosition lastShown_;

    // Mouse state.
    QPoint pressPoint_; // widget pixels
    int pressX_ = 0, pressY_ = 0; // document pixels
    bool dragPending_ = false;
    bool selecting_ = false;
    bool wordSelected_ = false; // by a double-click, until its release
    bool resizing_ = false;
};

// The input controller of an editor, or null when another controller replaced it.
EditingInput* InputOf(TWPRichText& editor);

} // namespace quillory
