// TWPRTFTextInput: typing and caret movement on a document — the per-character rules of
// InsertString, the caret moves with their word and line rules, and selection anchoring. After
// an edit only the changed paragraph is laid out again (when a layout engine is attached).
#pragma once

#include "richtext/layout/Canvas.h"
#include "richtext/model/Document.h"

#include <functional>
#include <string_view>

namespace quillory {

class TWPRTFTextPaint;

// The kinds of Move, numbered as the key handling passes them.
enum class MoveKind : int {
    LineStart = 0,
    LineEnd = 1,
    PageUp = 2,
    PageDown = 3,
    DocumentStart = 4,
    DocumentEnd = 5,
    CharLeft = 6,
    CharRight = 7,
    LineUp = 8,
    LineDown = 9,
    WordLeft = 10,
    WordRight = 11,
};

// What an edit or a move asks the view to redraw.
enum class Redraw : std::uint8_t { Nothing, Line, Everything };

// The remembered column that stands for "the end of the line" in vertical moves.
inline constexpr int EndOfLineColumn = 9999;

class TWPRTFTextInput {
public:
    // `paint` may be null: then nothing is laid out and vertical moves go by segments.
    // The layout engine must outlive this object.
    TWPRTFTextInput(TWPRTFText& document, TWPRTFTextPaint* paint);
    ~TWPRTFTextInput();
    TWPRTFTextInput(const TWPRTFTextInput&) = delete;
    TWPRTFTextInput& operator=(const TWPRTFTextInput&) = delete;

    TWPRTFText& document() noexcept { return document_; }

    // --- settings ----------------------------------------------------------------------------
    bool ReadOnly = false;
    bool Inserting = true; // false: overwrite mode
    // Set while the control's own InsertText runs: its text may keep insert-point and object
    // flags, and may be hidden.
    bool AutomaticInsertion = false;

    // --- events --------------------------------------------------------------------------------
    std::function<void()> OnNewParagraph; // before a CR splits a paragraph
    std::function<void()> OnBeep;         // a typed character was refused (full table cell)
    std::function<void()> OnCaretMoved;   // after every move

    // --- editing ---------------------------------------------------------------------------------
    // Processes UTF-8 text up to the first zero byte: 8 backspace, 127 delete, 12 page break,
    // 13 new paragraph (each removing or splitting by whole grapheme clusters), anything else
    // inserted a cluster at a time with the insertion attributes. Text that is not well-formed
    // UTF-8 is read as cp1252. Refused (Nothing) while read-only.
    Redraw InsertString(std::string_view text);
    // Whether the last InsertString changed the document.
    bool changed() const noexcept { return changed_; }

    // --- caret and selection ------------------------------------------------------------------
    Redraw Move(MoveKind kind, bool extend);
    Redraw CharLeft(int count, bool extend) { return repeat(MoveKind::CharLeft, count, extend); }
    Redraw CharRight(int count, bool extend) { return repeat(MoveKind::CharRight, count, extend); }
    Redraw LineUp(int count, bool extend) { return repeat(MoveKind::LineUp, count, extend); }
    Redraw LineDown(int count, bool extend) { return repeat(MoveKind::LineDown, count, extend); }
    Redraw WordLeft(int count, bool extend) { return repeat(MoveKind::WordLeft, count, extend); }
    Redraw WordRight(int count, bool extend) { return repeat(MoveKind::WordRight, count, extend); }

    // The caret as (paragraph, segment, index). The end of a segment and the start of the next
    // are one place in the text but two on the screen; the caret knows which it is.
    const TextPosition& caret() const noexcept { return caret_; }
    // The caret's paragraph (its number is caret().paragraph).
    const TParagraph* caretParagraph() const noexcept { return caretParagraph_; }
    long caretOffset() const; // absolute position (Document.h)
    int caretOffsetInParagraph() const; // the caret's offset in its paragraph
    // Puts the caret at a place and removes the selection (or, extending, selects from the
    // anchor to it). A segment boundary given as an absolute position is the later segment's
    // start.
    void SetCaret(const TextPosition& position, bool extend = false);
    void SetCaretOffset(long absolute, bool extend = false);
    // Selects from `anchor` to `caret` (absolute positions); equal positions select nothing.
    void SetSelection(long anchor, long caret);

    bool HasSelection() const;
    long anchorOffset() const;
    // Removes the selection without deleting it.
    void HideSelection();
    // Whether caret and anchor still name places of the document (it may have been changed by
    // other means since).
    bool InSync() const;
    // Starts a selection at the caret that later moves extend (a mouse press).
    void AnchorAtCaret();

    // Caret and anchor as the document names places: a segment boundary is the later segment's
    // start (as TWPRTFText::positionAt gives it).
    TextPosition caretInDocument() const;
    TextPosition anchorInDocument() const;
    // The attributes of the character before the caret (at a paragraph start, of the one after
    // it; in an empty paragraph, its empty segment's), as the editor takes them for typing on.
    TAttr attributesBeforeCaret() const;
    // What the last InsertString laid out again, in document pixels: the changed paragraph's
    // lines, or everything from its top down when lines moved; empty when nothing changed.
    const Rect& laidOut() const noexcept { return laidOut_; }

    // The caret's x in layout pixels used by vertical moves; -1 when it is to be taken anew.
    int rememberedColumn() const noexcept { return column_; }

    // What the last page move scrolled by (layout pixels, negative upwards).
    int pageScroll() const noexcept { return pageScroll_; }

private:
    struct Place {
        TParagraph* paragraph = nullptr;
        TextPosition position;
    };

    Redraw repeat(MoveKind kind, int count, bool extend);

    // Positions.
    TTextLine* caretLine() const noexcept;
    int offsetInParagraph(const TParagraph& paragraph, const TextPosition& position) const noexcept;
    TextPosition placeAtOffset(const TParagraph& paragraph, int paragraphIndex, int offset) const noexcept;
    void placeCaret(TParagraph* paragraph, const TextPosition& position);
    long absoluteOf(const TParagraph* paragraph, int offset) const;
    long paragraphStart(const TParagraph* paragraph) const;
    void forgetStarts() noexcept;
    TextPosition inDocument(const TParagraph* paragraph, const TextPosition& position) const;
    void syncSelection();
    bool invisible(const TAttr& attr) const noexcept;
    bool visibleAt(const TTextLine& line, int index) const noexcept;

    // Moves.
    TextPosition moveTarget(MoveKind kind);
    TextPosition charLeft(const TextPosition& from);
    TextPosition charRight(const TextPosition& from);
    TextPosition wordLeft(const TextPosition& from);
    TextPosition wordRight(const TextPosition& from);
    TextPosition lineStep(const TextPosition& from, int lines);
    TextPosition pageStep(const TextPosition& from, int direction);

    // Edits (InsertString.cpp).
    void insertCluster(std::string_view cluster);
    void backspace();
    void deleteForward();
    void pageBreak();
    void newParagraph();
    void splitAtCaret();
    void joinNextParagraph();
    void deleteSelection();
    bool makeRoom(TTextLine*& line, int needed);
    bool isProtected(const TAttr& attr) const noexcept;
    void touch(TParagraph& paragraph);
    Redraw layoutAfterEdit();

    TWPRTFText& document_;
    TWPRTFTextPaint* paint_;

    TextPosition caret_;
    TParagraph* caretParagraph_ = nullptr;
    // The anchor is kept as paragraph and offset, so that layout can break segments anew.
    TParagraph* anchorParagraph_ = nullptr;
    TextPosition anchor_;
    bool anchored_ = false; // set at the first extending move, cleared by any other
    int column_ = -1;
    int pageScroll_ = 0;

    // Where the caret's and the anchor's paragraphs start (absolute positions), so that handing
    // the caret back after a key does not walk the document. The caret's follows it from
    // paragraph to paragraph and survives the engine's own edits; placing the caret from
    // outside forgets both.
    mutable const TParagraph* caretStartOf_ = nullptr;
    mutable long caretStart_ = 0;
    mutable const TParagraph* anchorStartOf_ = nullptr;
    mutable long anchorStart_ = 0;
    Rect laidOut_;

    // Per InsertString run.
    bool changed_ = false;
    bool structural_ = false;   // paragraphs or segments were added or removed
    bool softBreak_ = false;
    TParagraph* touched_ = nullptr; // the one paragraph changed in place, when not structural
};

} // namespace quillory
