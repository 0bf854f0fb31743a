// Undo and redo of one editor's changes. Before a change the document is copied whole; one user
// action (a key, a command, a dialog's OK) is one step, and typing is grouped by word.
#pragma once

#include "richtext/model/Document.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace quillory {

// What a change is, for grouping: typed characters join the step of the characters typed just
// before them until a new word starts; Backspace and Delete presses join each other.
enum class EditKind : std::uint8_t { Typing, Deleting, Other };

// Caret and selection to put back with a document state (absolute positions).
struct EditCaret {
    long caret = 0;
    long anchor = 0;
};

class EditHistory {
public:
    static constexpr std::size_t kDefaultLimit = 100;
    // What the kept states may hold together, roughly; the oldest go first, the newest stays.
    // A character costs its attribute record too, so a 1 MB entry keeps a few steps only.
    static constexpr std::size_t kDefaultBudget = std::size_t(64) << 20;

    explicit EditHistory(std::size_t limit = kDefaultLimit, std::size_t budgetBytes = kDefaultBudget);
    ~EditHistory();
    EditHistory(const EditHistory&) = delete;
    EditHistory& operator=(const EditHistory&) = delete;

    // Told before the document changes. Opens a step unless one is open; a new step records the
    // document as it is now, unless the change continues the typing or deleting of the last
    // step. Every change forgets what could be redone.
    void BeforeChange(const TWPRTFText& document, EditCaret at, EditKind kind, std::string_view typed = {});
    // Closes the open step. A step that left the document as it was is dropped.
    void EndStep(const TWPRTFText& document, long caret);
    bool StepOpen() const noexcept { return open_; }

    bool CanUndo() const noexcept { return !undo_.empty(); }
    // How many steps can be undone.
    std::size_t UndoSteps() const noexcept { return undo_.size(); }
    bool CanRedo() const noexcept { return !redo_.empty(); }
    // Puts the document back to the state before the last step (after the last undone one) and
    // returns the caret to show; nothing when there is nothing to undo (redo).
    std::optional<EditCaret> Undo(TWPRTFText& document, EditCaret now);
    std::optional<EditCaret> Redo(TWPRTFText& document, EditCaret now);
    void Clear();

private:
    struct State {
        std::unique_ptr<TWPRTFText> document;
        EditCaret caret;
        std::size_t bytes = 0; // the estimate of what it holds
    };
    static State Capture(const TWPRTFText& document, EditCaret at);
    std::optional<EditCaret> Swap(std::vector<State>& from, std::vector<State>& to, TWPRTFText& document,
                                  EditCaret now);
    bool Continues(EditCaret at, EditKind kind, std::string_view typed) const;

    void Trim();

    std::size_t limit_;
    std::size_t budget_;
    std::vector<State> undo_; // oldest first
    std::vector<State> redo_;
    bool open_ = false;
    bool openPushed_ = false;   // the open step recorded a state of its own
    EditKind lastKind_ = EditKind::Other;
    bool lastTypedWord_ = false; // the last typed character was a word character
    long lastEnd_ = -1;         // the caret after the last step
};

} // namespace quillory
