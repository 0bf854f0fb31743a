// The seam where key and mouse handling attaches to the editor control: the control offers each
// event to its controller first and does its own small default only when it was not taken.
#pragma once

#include "richtext/model/Position.h"

#include <optional>

class QInputMethodEvent;
class QKeyEvent;
class QMouseEvent;

namespace quillory {

class TWPRichText;

class RichTextEditingController {
public:
    virtual ~RichTextEditingController() = default;

    // Each returns true when it handled the event. Mouse points are in document pixels.
    virtual bool keyPress(TWPRichText& editor, QKeyEvent& event) { return false; }
    virtual bool inputMethod(TWPRichText& editor, QInputMethodEvent& event) { return false; }
    virtual bool mousePress(TWPRichText& editor, QMouseEvent& event, int x, int y) { return false; }
    virtual bool mouseMove(TWPRichText& editor, QMouseEvent& event, int x, int y) { return false; }
    virtual bool mouseRelease(TWPRichText& editor, QMouseEvent& event, int x, int y) { return false; }
    // Where the caret is drawn, when the controller knows it better than the caret's absolute
    // position does: the end of a wrapped line and the start of the next are one position.
    virtual std::optional<TextPosition> caretPlace(const TWPRichText& editor) const { return std::nullopt; }
};

} // namespace quillory
