// Undo and redo of one editor's changes.
#include "richtext/edit/EditHistory.h"

#include "richtext/edit/DocumentCopy.h"
#include "richtext/edit/TextFinder.h"

namespace quillory {

namespace {

// Letters and digits make words; anything else typed ends one.
bool InWord(char c) noexcept
{
    const auto code = static_cast<unsigned char>(c);
    return IsWordCharacter(code) || (code >= '0' && code <= '9');
}

} // namespace

EditHistory::EditHistory(std::size_t limit, std::size_t budgetBytes)
    : limit_(limit == 0 ? 1 : limit), budget_(budgetBytes)
{
}

EditHistory::~EditHistory() = default;

EditHistory::State EditHistory::Capture(const TWPRTFText& document, EditCaret at)
{
    const std::size_t bytes = std::size_t(document.characterCount()) * (1 + sizeof(TAttr))
        + std::size_t(document.paragraphCount()) * (sizeof(TParagraph) + sizeof(TTextLine));
    return State{CopyDocument(document), at, bytes};
}

void EditHistory::Trim()
{
    std::size_t total = 0;
    for (const State& state : undo_)
        total += state.bytes;
    for (const State& state : redo_)
        total += state.bytes;
    while (undo_.size() > 1 && (undo_.size() > limit_ || total > budget_)) {
        total -= undo_.front().bytes;
        undo_.erase(undo_.begin());
    }
}

bool EditHistory::Continues(EditCaret at, EditKind kind, std::string_view typed) const
{
    if (kind == EditKind::Other || kind != lastKind_ || undo_.empty() || at.caret != at.anchor
        || at.caret != lastEnd_)
        return false;
    // A word character after a blank or a mark starts the next word's step.
    if (kind == EditKind::Typing && !typed.empty() && !lastTypedWord_
        && InWord(typed.front()))
        return false;
    return true;
}

void EditHistory::BeforeChange(const TWPRTFText& document, EditCaret at, EditKind kind, std::string_view typed)
{
    if (open_)
        return;
    open_ = true;
    redo_.clear();
    openPushed_ = !Continues(at, kind, typed);
    if (openPushed_) {
        undo_.push_back(Capture(document, at));
        Trim();
    }
    lastKind_ = kind;
    if (kind == EditKind::Typing && !typed.empty())
        lastTypedWord_ = InWord(typed.back());
}

void EditHistory::EndStep(const TWPRTFText& document, long caret)
{
    if (!open_)
        return;
    open_ = false;
    lastEnd_ = caret;
    if (openPushed_ && !undo_.empty() && SameContent(*undo_.back().document, document)) {
        // Nothing changed (a Delete at the end, a refused character): no step to undo.
        undo_.pop_back();
        lastKind_ = EditKind::Other;
    }
    openPushed_ = false;
}

std::optional<EditCaret> EditHistory::Swap(std::vector<State>& from, std::vector<State>& to, TWPRTFText& document,
                                           EditCaret now)
{
    if (open_)
        EndStep(document, now.caret);
    if (from.empty())
        return std::nullopt;
    to.push_back(Capture(document, now));
    State state = std::move(from.back());
    from.pop_back();
    Trim();
    CopyDocumentInto(*state.document, document);
    lastKind_ = EditKind::Other; // typing after an undo starts a step of its own
    return state.caret;
}

std::optional<EditCaret> EditHistory::Undo(TWPRTFText& document, EditCaret now)
{
    return Swap(undo_, redo_, document, now);
}

std::optional<EditCaret> EditHistory::Redo(TWPRTFText& document, EditCaret now)
{
    return Swap(redo_, undo_, document, now);
}

void EditHistory::Clear()
{
    undo_.clear();
    redo_.clear();
    open_ = openPushed_ = false;
    lastKind_ = EditKind::Other;
    lastEnd_ = -1;
}

} // namespace quillory
