// Undo and redo of one editor's changes.
#include "richtext/edit/EditHistory.h"

#include "platform/UnicodeText.h"
#include "platform/Utf8.h"
#include "richtext/edit/DocumentCopy.h"
#include "richtext/edit/RangeEditing.h"

#include <algorithm>

namespace quillory {

namespace {

// Letters, marks and digits of any script make words; anything else typed ends one.
bool StartsWord(std::string_view typed) noexcept
{
    return IsWordCharacter(DecodeUtf8At(typed, 0));
}

bool EndsWord(std::string_view typed) noexcept
{
    return IsWordCharacter(DecodeUtf8At(typed, PrevCharBoundary(typed, typed.size())));
}

void CopyParagraph(const TParagraph& from, TWPRTFText& into, TParagraph& to)
{
    to.copyPropertiesFrom(from);
    WriteParagraph(into, to, ReadParagraph(from));
    to.layoutFlags = LayoutFlag::NeedsReformat;
}

bool SameParagraph(const TParagraph& x, const TParagraph& y)
{
    if (!sameProperties(x, y))
        return false;
    const ParagraphContent cx = ReadParagraph(x);
    const ParagraphContent cy = ReadParagraph(y);
    return cx.text == cy.text && cx.attrs == cy.attrs && (!cx.text.empty() || cx.emptyAttr == cy.emptyAttr);
}

std::size_t ParagraphBytes(const TParagraph& paragraph)
{
    return std::size_t(paragraph.length()) * (1 + sizeof(TAttr)) + sizeof(TParagraph) + sizeof(TTextLine);
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

EditHistory::State EditHistory::CapturePart(const TWPRTFText& document, EditCaret at, const TParagraph* start,
                                            int first, int count)
{
    auto part = std::make_unique<TWPRTFText>();
    part->setMemoryFormat(document.memoryFormat());
    part->insertionAttr = document.insertionAttr;
    State state;
    state.caret = at;
    state.part = true;
    state.first = first;
    state.countThen = document.paragraphCount();
    TParagraph* target = nullptr;
    for (const TParagraph* paragraph = start; paragraph && state.kept < count; paragraph = paragraph->next()) {
        target = target ? part->appendParagraph(target) : part->firstParagraph();
        CopyParagraph(*paragraph, *part, *target);
        state.bytes += ParagraphBytes(*paragraph);
        ++state.kept;
    }
    state.document = std::move(part);
    return state;
}

int EditHistory::PartLengthNow(const State& state, const TWPRTFText& document)
{
    return std::clamp(state.kept + document.paragraphCount() - state.countThen, 0,
                      std::max(0, document.paragraphCount() - state.first));
}

void EditHistory::RestorePart(const State& state, TWPRTFText& document)
{
    const int length = PartLengthNow(state, document);
    TParagraph* before = state.first > 0 ? document.paragraphAt(state.first - 1) : nullptr;
    TParagraph* old = before ? before->next() : document.firstParagraph();
    TParagraph* after = before;
    for (const TParagraph* paragraph = state.document->firstParagraph(); paragraph; paragraph = paragraph->next()) {
        after = document.appendParagraph(after);
        CopyParagraph(*paragraph, document, *after);
    }
    for (int i = 0; i < length && old; ++i) {
        TParagraph* next = old->next();
        document.deleteParagraph(old);
        old = next;
    }
    document.insertionAttr = state.document->insertionAttr;
}

void EditHistory::Extend(State& state, const TWPRTFText& document, int number)
{
    const int last = state.first + PartLengthNow(state, document) - 1; // the part's last paragraph now
    const int wantFirst = std::max(0, number - 1);
    const int wantLast = std::min(document.paragraphCount() - 1, number + 1);
    const TParagraph* start = beforePart_ ? beforePart_->next() : document.firstParagraph();
    if (wantFirst < state.first) {
        // The paragraphs before the part are as they were: they join it at its front.
        const TParagraph* from = start;
        for (int i = state.first; i > wantFirst && from->prev(); --i)
            from = from->prev();
        TParagraph* after = nullptr;
        for (const TParagraph* p = from; p && p != start; p = p->next()) {
            after = state.document->appendParagraph(after);
            CopyParagraph(*p, *state.document, *after);
            state.bytes += ParagraphBytes(*p);
            ++state.kept;
        }
        state.first = wantFirst;
        beforePart_ = from->prev();
        start = from;
    }
    if (wantLast > last) {
        // So are those after it: they join it at its end.
        const TParagraph* from = start;
        for (int i = state.first; i <= last && from; ++i)
            from = from->next();
        TParagraph* after = state.document->lastParagraph();
        for (int i = last + 1; i <= wantLast && from; ++i, from = from->next()) {
            after = state.document->appendParagraph(after);
            CopyParagraph(*from, *state.document, *after);
            state.bytes += ParagraphBytes(*from);
            ++state.kept;
        }
    }
}

void EditHistory::Widen(State& state, const TWPRTFText& document)
{
    auto whole = CopyDocument(document);
    RestorePart(state, *whole);
    const EditCaret caret = state.caret;
    state = Capture(*whole, caret);
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
        && StartsWord(typed))
        return false;
    return true;
}

void EditHistory::BeforeChange(const TWPRTFText& document, EditCaret at, EditKind kind, std::string_view typed)
{
    if (open_) {
        // A change that may reach anywhere joins a step that recorded a few paragraphs only.
        if (!undo_.empty() && undo_.back().part)
            Widen(undo_.back(), document);
        beforePart_ = nullptr;
        return;
    }
    open_ = true;
    redo_.clear();
    openPushed_ = !Continues(at, kind, typed);
    if (openPushed_) {
        undo_.push_back(Capture(document, at));
        Trim();
    }
    lastKind_ = kind;
    if (kind == EditKind::Typing && !typed.empty())
        lastTypedWord_ = EndsWord(typed);
}

void EditHistory::BeforeLocalChange(const TWPRTFText& document, EditCaret at, EditKind kind, std::string_view typed,
                                    const TParagraph& paragraph, int number)
{
    if (open_) {
        if (!undo_.empty() && undo_.back().part) {
            if (beforePart_ || undo_.back().first == 0)
                Extend(undo_.back(), document, number);
            else
                Widen(undo_.back(), document);
        }
        return;
    }
    open_ = true;
    redo_.clear();
    openPushed_ = !Continues(at, kind, typed);
    if (openPushed_) {
        const TParagraph* start = paragraph.prev() ? paragraph.prev() : &paragraph;
        const int first = start == &paragraph ? number : number - 1;
        const int count = (start == &paragraph ? 1 : 2) + (paragraph.next() ? 1 : 0);
        undo_.push_back(CapturePart(document, at, start, first, count));
        beforePart_ = start->prev();
        Trim();
    } else if (!undo_.empty() && undo_.back().part) {
        // The step goes on where the last one ended: its part lies around the caret.
        State& state = undo_.back();
        const TParagraph* start = &paragraph;
        for (int i = number; i > state.first && start->prev(); --i)
            start = start->prev();
        for (int i = number; i < state.first && start->next(); ++i)
            start = start->next();
        beforePart_ = start->prev();
        Extend(state, document, number);
    }
    lastKind_ = kind;
    if (kind == EditKind::Typing && !typed.empty())
        lastTypedWord_ = EndsWord(typed);
}

bool EditHistory::Unchanged(const State& state, const TWPRTFText& document) const
{
    if (!state.part)
        return SameContent(*state.document, document);
    if (PartLengthNow(state, document) != state.kept || !(state.document->insertionAttr == document.insertionAttr))
        return false;
    const TParagraph* now = beforePart_ ? beforePart_->next() : document.firstParagraph();
    for (const TParagraph* then = state.document->firstParagraph(); then; then = then->next(), now = now->next())
        if (!now || !SameParagraph(*then, *now))
            return false;
    return true;
}

void EditHistory::EndStep(const TWPRTFText& document, long caret)
{
    if (!open_)
        return;
    open_ = false;
    lastEnd_ = caret;
    if (openPushed_ && !undo_.empty() && Unchanged(undo_.back(), document)) {
        // Nothing changed (a Delete at the end, a refused character): no step to undo.
        undo_.pop_back();
        lastKind_ = EditKind::Other;
    }
    openPushed_ = false;
    beforePart_ = nullptr;
}

std::optional<EditCaret> EditHistory::Swap(std::vector<State>& from, std::vector<State>& to, TWPRTFText& document,
                                           EditCaret now)
{
    if (open_)
        EndStep(document, now.caret);
    if (from.empty())
        return std::nullopt;
    State state = std::move(from.back());
    from.pop_back();
    if (state.part) {
        // The paragraphs that stand for the part now go the other way as a part of their own.
        const int length = PartLengthNow(state, document);
        const TParagraph* start = state.first > 0 ? document.paragraphAt(state.first - 1)->next() : document.firstParagraph();
        to.push_back(CapturePart(document, now, start, state.first, length));
        Trim();
        RestorePart(state, document);
    } else {
        to.push_back(Capture(document, now));
        Trim();
        CopyDocumentInto(*state.document, document);
    }
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
    beforePart_ = nullptr;
}

} // namespace quillory
