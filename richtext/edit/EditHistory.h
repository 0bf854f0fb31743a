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
    // The same for a change that stays near the caret's paragraph (number `paragraph`): a key
    // typed or deleted there changes that paragraph and at most its neighbours (a split, a
    // join). Only those paragraphs are recorded, and a step that goes on records further
    // neighbours as the caret reaches them, so that typing in a long document copies little.
    void BeforeLocalChange(const TWPRTFText& document, EditCaret at, EditKind kind, std::string_view typed,
                           const TParagraph& paragraph, int number);
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
        // The whole document, or (part) the paragraphs from number `first` on as they were.
        std::unique_ptr<TWPRTFText> document;
        EditCaret caret;
        std::size_t bytes = 0; // the estimate of what it holds
        bool part = false;
        int first = 0;
        int kept = 0;      // part: how many paragraphs it holds
        int countThen = 0; // part: the document's paragraph count that goes with it
    };
    static State Capture(const TWPRTFText& document, EditCaret at);
    static State CapturePart(const TWPRTFText& document, EditCaret at, const TParagraph* start, int first, int count);
    // Puts a part back: the paragraphs that stand for it now are replaced by its own.
    static void RestorePart(const State& state, TWPRTFText& document);
    // The paragraphs of the document that stand for a part now, from the first.
    static int PartLengthNow(const State& state, const TWPRTFText& document);
    // The open step's part takes in the caret's neighbours before a further local change.
    void Extend(State& state, const TWPRTFText& document, int number);
    // The open step's part becomes the whole document as it was, before a change that may
    // reach anywhere.
    void Widen(State& state, const TWPRTFText& document);
    // Whether the open step's state still matches the document (the step changed nothing).
    bool Unchanged(const State& state, const TWPRTFText& document) const;
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
    // While a step whose state is a part is open: the paragraph before the part (null: the part
    // starts the document). Nothing else changes the document until the step closes.
    const TParagraph* beforePart_ = nullptr;
};

} // namespace quillory
