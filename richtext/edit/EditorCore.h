// The editor's document-level operations without a window: caret and selection, insertion,
// deletion, attributes, paragraphs, find and replace, the word walk, header and page. The Qt
// control hosts one and adds painting, scrolling, clipboard, dialogs and printing.
#pragma once

#include "richtext/edit/EditHistory.h"
#include "richtext/edit/TextFinder.h"
#include "richtext/model/Document.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quillory {

// What InsertParagraph builds a paragraph from.
struct ParagraphDescriptor {
    Alignment alignment = Alignment::Left;
    int firstIndent = 0;
    int leftIndent = 0;
    int rightIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0;
    BorderWord border;
    std::uint64_t tabMask = 0;
    std::uint8_t shadingColors = 0;
    std::uint8_t shadingPercent = 0;
    TAttr attr;
    std::string text; // UTF-8
    bool pageBreakBefore = false;
};

// What Clear takes from the control: its font and background colour.
struct ClearDefaults {
    std::string fontName = "Arial";
    int pointSize = 8;
    std::uint8_t style = 0; // AttrStyle bits: bold, italic, underline
    RGBColor textColor{0, 0, 0, 0};
    RGBColor backColor{255, 255, 255, 0};
};

// Fields of SetParagraphSpacing and SetParagraphIndents given this value stay as they are.
inline constexpr int KeepValue = -1000;

class EditorCore {
public:
    EditorCore();
    ~EditorCore();
    EditorCore(const EditorCore&) = delete;
    EditorCore& operator=(const EditorCore&) = delete;

    TWPRTFText& document() noexcept { return *document_; }
    const TWPRTFText& document() const noexcept { return *document_; }

    // Fired by Changed and by the operations that report a change themselves.
    std::function<void()> OnChange;
    // Told after every change of the text or of paragraph properties (reformat and repaint), and
    // after caret or selection moves (repaint only).
    std::function<void(bool textChanged)> onUpdate;

    // --- state ---------------------------------------------------------------------------
    bool ReadOnly() const noexcept { return readOnly_; }
    void SetReadOnly(bool on) noexcept { readOnly_ = on; }
    // Set by every modifying operation (through CanModify); the host clears it after saving.
    bool modified = false;

    // False when read-only; otherwise marks a pending change, opens an undo step and returns
    // true.
    bool CanModify();
    // CanModify for keys that type `typed` (Backspace is 8, Delete 127), so that typing is
    // undone word by word. Such a key changes the caret's paragraph and its neighbours only, and
    // the undo step records just those; a typing engine that knows the caret's paragraph and its
    // number gives them, so that they are not looked up.
    bool CanModifyTyping(std::string_view typed, const TParagraph* caretParagraph = nullptr, int caretNumber = 0);
    // Fires OnChange; does nothing while read-only.
    void Changed();
    bool IsEmpty() const noexcept { return document_->isEmpty(); }

    // --- undo and redo -------------------------------------------------------------------
    // An undo step opens at the first change of a user action; the host closes it when the
    // action is over (the Qt control: when control returns to the event loop). Without a
    // host's call every change joins one step.
    std::function<void()> onEditStepOpened;
    void EndEditStep();
    bool CanUndo() const noexcept { return history_.CanUndo(); }
    bool CanRedo() const noexcept { return history_.CanRedo(); }
    std::size_t UndoSteps() const noexcept { return history_.UndoSteps(); }
    // Put back the document before the last step (after the last undone one) with its caret and
    // fire OnChange. False when read-only or when there is nothing to undo (redo).
    bool Undo();
    bool Redo();
    // Clear empties the history too: a new document has nothing to undo.
    void ClearHistory() { history_.Clear(); }

    // Counts the changes of the text and of its properties (each operation that changed the
    // document, undo and redo included), so that a host can tell whether an action changed
    // anything.
    std::uint64_t revision() const noexcept { return revision_; }

    // --- caret and selection (absolute positions) -------------------------------------------
    // A position inside a grapheme cluster goes to the cluster's start; the end of a selection
    // inside one goes to its end, so that no caret or selection splits a character.
    void GoTo(long position);
    long CaretPosition() const noexcept { return caret_; }
    void SelectAll();
    void SelStart(long position);
    void SelLength(long count);
    long SelLength() const noexcept;
    long SelStartPosition() const noexcept;
    bool HasSelection() const noexcept { return SelLength() > 0; }
    // Selects the range and puts the caret after it (before it when `caretAtStart`).
    void Select(long start, long length, bool caretAtStart = false);
    // Takes caret and anchor from a typing engine that knows their places, so that nothing is
    // looked up in the document: `blocks` are the selection's start and end as the document
    // names them. Without a selection the insertion attributes become `before` (the character
    // before the caret's), as GoTo makes them. Tells the host nothing: the engine's host
    // repaints what changed.
    void TakeCaret(long caret, long anchor, const Selection& blocks, const TAttr& before);
    void HideSelection();
    void DeleteSelection();
    std::string SelectedText() const; // UTF-8, paragraph ends as CR LF

    // --- text and attributes --------------------------------------------------------------
    // Inserts UTF-8 text at the caret with the insertion attributes, replacing the selection,
    // then fires OnChange. False, changing nothing, when there is nothing to insert or the
    // editor is read-only.
    bool InsertText(std::string_view text);
    // Inserts a read document at the caret, replacing the selection (a paste).
    bool InsertDocument(const TWPRTFText& source);
    // Inserts one object placeholder for the graphic; returns the object's tag, 0 when refused.
    int InsertGraphic(std::unique_ptr<TGraphic> graphic, int widthTwips, int heightTwips);
    void InsertParagraph(const ParagraphDescriptor& descriptor);
    TAttr GetCurrentAttr() const noexcept { return document_->insertionAttr; }
    // Sets the insertion attributes and gives them to the selection; fires OnChange.
    void SetCurrentAttr(const TAttr& attr);
    RGBColor GetColor(int index) const noexcept;
    int FontIndex(std::string_view name);

    // --- find, replace, words --------------------------------------------------------------
    // Searches the whole document (from its start, or back from its end).
    bool FindText(std::string_view pattern, bool backwards);
    // Searches from the caret (a find dialog's "find next"): forwards from the selection's end,
    // backwards from its start.
    bool FindNext(std::string_view pattern, const FindOptions& options);
    // Replaces the selected text, keeping the attributes of its first character, and selects the
    // new text.
    bool ReplaceSelection(std::string_view text);
    // Replaces every match from the document start; returns how many were replaced.
    int ReplaceAll(std::string_view pattern, std::string_view replacement, const FindOptions& options);
    // Which words of the walk to stop at (a spell checker's: those it does not know).
    using WordFilter = std::function<bool(std::string_view word)>;
    // The next word of the spell checker's walk for which `stopAt` is true (any word without
    // one), selected; restart begins at the document start. The words passed over cost no
    // selection and no position lookup: each paragraph is read once. A stop still looks its
    // place up from the first paragraph (selecting, locating the cursor), once per stop.
    std::optional<std::string> NextWord(bool restart = false, const WordFilter& stopAt = {});

    // --- paragraphs, header, page --------------------------------------------------------------
    void SetParagraphSpacing(int spaceBefore, int spaceAfter, int lineSpacing);
    void SetParagraphIndents(int firstIndent, int leftIndent, int rightIndent);
    void Clear(const ClearDefaults& defaults);
    void AssignHeader(const TWPRTFText& other);
    // Appends every paragraph of the other editor's document. Throws
    // Error("Cannot perform FastAppendText(self)") for the editor itself.
    void FastAppendText(const EditorCore& other);
    void SetPage(int paperWidth, int paperHeight, int marginLeft, int marginRight, int marginTop,
                 int marginBottom);

    // Puts caret and selection into the document's block triples, for layout and painting.
    void SyncSelection();

private:
    // The selection's paragraphs, or the caret's.
    std::vector<TParagraph*> targetParagraphs() const;
    std::vector<TParagraph*> spacingParagraphs() const;
    std::vector<TParagraph*> indentParagraphs() const;
    void openStep(EditKind kind, std::string_view typed);
    bool restore(std::optional<EditCaret> caret);
    void notify(bool textChanged);
    long clampPosition(long position) const noexcept;
    // A position moved to the nearest cluster boundary at or before it (after it: `forward`).
    long clusterBoundary(long position, bool forward) const;

    std::unique_ptr<TWPRTFText> document_;
    bool readOnly_ = false;
    long caret_ = 0;
    long anchor_ = 0;          // the other end of the selection; equal to caret_ without one
    std::optional<long> pendingStart_; // SelStart waiting for SelLength
    long wordCursor_ = 0;      // where NextWord continues
    std::uint64_t revision_ = 0;
    EditHistory history_;
};

} // namespace quillory
