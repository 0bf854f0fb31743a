// TWPRichText: the rich-text editor control. A scroll area that hosts the editor's document
// operations (EditorCore) and the layout engine, paints through the Qt canvas, and adds files,
// clipboard, find/replace dialogs and printing.
#pragma once

#include "richtext/edit/EditorCore.h"
#include "richtext/io/DocumentFormat.h"
#include "richtext/layout/TextPaint.h"
#include "richtext/qt/QtCanvas.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

class QImage;
class QMimeData;
class QPainter;

namespace quillory {

class RichTextEditingController;

enum class TWPToolLanguage : std::uint8_t { twpEnglish, twpGerman };

class TWPRichText : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit TWPRichText(QWidget* parent = nullptr);
    ~TWPRichText() override;

    EditorCore& core() noexcept { return *core_; }
    const EditorCore& core() const noexcept { return *core_; }
    TWPRTFTextPaint& engine() noexcept { return *engine_; }
    TWPRTFText& RtfText() noexcept { return core_->document(); }
    const TWPRTFText& RtfText() const noexcept { return core_->document(); }

    // --- events -------------------------------------------------------------------------
    std::function<void(TWPRichText&)> OnChange;
    // Asked before a copy (also the copy of a cut); setting doIt to false cancels it.
    std::function<void(TWPRichText&, bool& doIt)> OnBeforeCopyEvent;
    // Told when a paste is read into the document.
    std::function<void(TWPRichText&)> OnBeforePasteEvent;
    // Page header and footer of a print run: the device canvas, the band above or below the text
    // (device pixels), the page number (from 1) and the number of the page's first line.
    using PrintEvent = std::function<void(TWPRichText&, Canvas& canvas, int x, int y, int w, int h,
                                          int pageNumber, int lineNumber)>;
    PrintEvent PrintHeader;
    PrintEvent PrintFooter;

    // --- published properties --------------------------------------------------------------
    TWPToolLanguage Language() const noexcept { return language_; }
    void SetLanguage(TWPToolLanguage language);
    TWPFormatSetting LoadFormat = TWPFormatSetting::AutomaticFormat;
    TWPFormatSetting SaveFormat = TWPFormatSetting::AutomaticFormat;
    bool WriteBitmapAsDib = false;
    bool NoBlockMarking = false;
    bool WantTabs = true;
    bool Inserting = true;
    QFont Font() const { return font_; }
    void SetFont(const QFont& font) { font_ = font; }
    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    // The page shown dark with light text, the document's colours unchanged (printing and saving
    // see them as they are).
    bool DarkPage() const noexcept { return screenCanvas_->darkPage(); }
    void SetDarkPage(bool on);
    bool CaretDisabled() const noexcept { return caretDisabled_; }
    void SetCaretDisabled(bool on);
    bool ShowPageBreak() const noexcept { return engine_->showPageBreak; }
    void SetShowPageBreak(bool on);
    int Zooming() const noexcept { return engine_->zoom; }
    void SetZooming(int percent);
    bool WordWrap() const noexcept { return engine_->wordWrap; }
    void SetWordWrap(bool on);
    bool ReadOnly() const noexcept { return core_->ReadOnly(); }
    void SetReadOnly(bool on) { core_->SetReadOnly(on); }
    std::uint16_t ProtectedProp() const noexcept { return RtfText().protectedProp; }
    void SetProtectedProp(std::uint16_t props) { RtfText().protectedProp = props; }
    // How insert points, automatic text, hyperlinks and protected text are shown.
    TCharacterAttr& InsertPointAttr() noexcept { return RtfText().insertPointAttr; }
    TCharacterAttr& AutomaticTextAttr() noexcept { return RtfText().automaticTextAttr; }
    TCharacterAttr& HyperlinkTextAttr() noexcept { return RtfText().hyperlinkTextAttr; }
    TCharacterAttr& ProtectedTextAttr() noexcept { return RtfText().protectedTextAttr; }
    // The file name of the last successful load or save; empty after Clear.
    const std::string& FileName() const noexcept { return fileName_; }
    // The result code of the last reader or writer run (0 success, 7 failure, ...).
    int LastResult() const noexcept { return lastResult_; }

    // --- files and streams ----------------------------------------------------------------------
    void Clear();
    // Throws Error("Cannot open file %s") when the file cannot be read; false when the reader
    // failed (the remembered name then stays).
    bool LoadFromFile(const std::string& name);
    // Writes the file whole (a temporary file renamed over it). Throws Error("Cannot create
    // file %s") when it cannot be written.
    bool SaveToFile(const std::string& name);
    bool LoadFromStream(std::span<const std::uint8_t> bytes);
    bool SaveToStream(std::string& bytes);

    // --- the operations of the program ---------------------------------------------------------
    void GoTo(long position);
    long CaretPosition() const noexcept { return core_->CaretPosition(); }
    // Paragraph and line number (from 0) of the caret.
    int CaretParagraph() const;
    int CaretLine() const;
    bool IsEmpty() const noexcept { return core_->IsEmpty(); }
    void Changed();
    bool CanModify() { return core_->CanModify(); }
    void ReformatAndRepaint();
    // Inserts text at the caret, replacing the selection; every character of any script is
    // kept. False, changing nothing, when the text is empty or the editor read-only.
    bool InsertText(const QString& text);
    bool InsertText(std::string_view utf8) { return core_->InsertText(utf8); }
    void InsertParagraph(const ParagraphDescriptor& descriptor) { core_->InsertParagraph(descriptor); }
    TAttr GetCurrentAttr() const noexcept { return core_->GetCurrentAttr(); }
    void SetCurrentAttr(const TAttr& attr) { core_->SetCurrentAttr(attr); }
    RGBColor GetColor(int index) const noexcept { return core_->GetColor(index); }
    int FontIndex(std::string_view name) { return core_->FontIndex(name); }
    void SelectAll() { core_->SelectAll(); }
    void SelStart(long position) { core_->SelStart(position); }
    void SelLength(long count) { core_->SelLength(count); }
    long SelLength() const noexcept { return core_->SelLength(); }
    void DeleteSelection() { core_->DeleteSelection(); }
    void HideSelection() { core_->HideSelection(); }
    bool FindText(const QString& text, bool backwards = false);
    bool ReplaceSelection(const QString& text);
    // The next word of the spell checker's walk for which `stopAt` is true (any word without
    // one), selected and scrolled into view; empty at the end.
    QString NextWord(bool restart = false, const EditorCore::WordFilter& stopAt = {});
    void SetParagraphSpacing(int before, int after, int lineSpacing) { core_->SetParagraphSpacing(before, after, lineSpacing); }
    void SetParagraphIndents(int first, int left, int right) { core_->SetParagraphIndents(first, left, right); }
    void AssignHeader(const TWPRichText& other) { core_->AssignHeader(other.RtfText()); }
    void FastAppendText(const TWPRichText& other) { core_->FastAppendText(other.core()); }
    void SetPage(int paperWidth, int paperHeight, int marginLeft, int marginRight, int marginTop, int marginBottom);

    // --- undo and redo ---------------------------------------------------------------------------
    // One user action is one step; typing goes by words. Loading or clearing the document empties
    // the history. Each fires OnChange when it changed the document.
    bool Undo();
    bool Redo();
    bool CanUndo() const noexcept { return core_->CanUndo(); }
    bool CanRedo() const noexcept { return core_->CanRedo(); }

    // --- clipboard (RichTextClipboard.cpp) -------------------------------------------------------
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    // What a copy places on the clipboard: RTF and plain text of the selection; null when
    // nothing is selected or the copy was cancelled.
    std::unique_ptr<QMimeData> SelectionMimeData();
    // Reads clipboard-like data at the caret: RTF first, then text, then a picture.
    bool InsertMimeData(const QMimeData& data);
    // A picture becomes an object at the caret; returns its tag, 0 when refused.
    int InsertGraphic(const QImage& image);
    // A picture already in the model's form (a photo as JPEG), shown at the given size.
    int InsertGraphic(std::unique_ptr<TGraphic> graphic, int widthTwips, int heightTwips);

    // --- dialogs (FindDialog.cpp, ReplaceDialog.cpp) -------------------------------------------------
    void FindDialog();
    void ReplaceDialog();

    // --- printing (RichTextPrinting.cpp) ------------------------------------------------------------
    // Prints pages fromPage..toPage (from 0; 0 and 16777215 for all) on the default printer, or
    // into the PDF file `pdfFile` when one is given. False, printing nothing, when no printer is
    // installed and no file is named.
    bool Print(int fromPage, int toPage, const QString& pdfFile = {});
    // Lays lines from `firstLine` on (0 = the start) into a rectangle of the canvas, drawing them
    // when `print` is set; the number of the first line that did not fit, or 0.
    int PrintRectangle(Canvas& canvas, int left, int top, int width, int height, int firstLine, bool print);

    // --- editing ----------------------------------------------------------------------------------
    // Key and mouse handling lives in a controller attached to the control; without one the
    // control only shows, scrolls and takes the operations above.
    void setEditingController(std::unique_ptr<RichTextEditingController> controller);
    RichTextEditingController* editingController() const noexcept { return controller_.get(); }
    // Scrolls so that the caret is in view.
    void ensureCaretVisible();
    // Where the caret is drawn (the editing controller may tell a line's end from the next
    // line's start).
    TextPosition caretPlace() const;
    // Counts the control's updates of text, caret or layout (each notification of its document
    // operations, each layout asked from outside), so that an editing controller can tell
    // whether the caret it handed over still stands.
    std::uint64_t updates() const noexcept { return updates_; }
    // After the editing controller changed the caret or the text itself (and laid the text
    // out): shows the caret at once, fits the scroll range to the text when it changed, and
    // repaints `area` (document pixels).
    void editedByController(const Rect& area, bool textChanged);
    // Refusal of an edit: a beep. Tests count them.
    void beep();
    int beeps() const noexcept { return beeps_; }

    // --- input methods (RichTextInputMethod.cpp) ------------------------------------------------
    // The text an input method is composing: shown underlined at the caret with its own cursor
    // (UTF-16 units into it), never part of the document or its undo history.
    void setPreedit(const QString& text, int cursor);
    const QString& preeditText() const noexcept { return preedit_; }
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool focusNextPrevChild(bool next) override;

private:
    void documentUpdated(bool textChanged);
    void relayout(bool everything);
    void updateScrollBars();
    int documentWidth() const;
    ClearDefaults clearDefaults() const;
    bool readDocument(std::span<const std::uint8_t> bytes);
    bool writeDocument(std::string& bytes, TWPLoadFormat format);
    QFont caretFont() const;
    int paintPreedit(QPainter& painter, const CaretBox& caret, int scrollX, int scrollY);
    // Tells the input method that the caret, the text or the preedit moved.
    void updateInputMethod();
    // A new document ends a composition: the input method forgets it.
    void dropComposition();
    // Tells screen readers that the text changed or the caret or selection moved
    // (RichTextAccessible.cpp); nothing is computed while no assistive technology listens.
    void tellAccessibility(bool textChanged);

    std::unique_ptr<EditorCore> core_;
    std::unique_ptr<TWPRTFTextPaint> engine_;
    std::unique_ptr<QtCanvas> screenCanvas_; // measures; paints while a paint event runs
    std::unique_ptr<RichTextEditingController> controller_;
    TWPToolLanguage language_ = TWPToolLanguage::twpEnglish;
    QFont font_;
    QColor color_ = Qt::white;
    bool caretDisabled_ = false;
    bool caretShown_ = true;
    int caretTimer_ = 0;
    std::string fileName_;
    int lastResult_ = 0;
    int beeps_ = 0;
    bool layoutPending_ = true;
    std::uint64_t updates_ = 0;
    QString preedit_;
    int preeditCursor_ = 0;
    // What screen readers were last told: the text, the caret and the selection's offsets.
    QString toldText_;
    int toldCaret_ = -1;
    int toldSelectionStart_ = 0;
    int toldSelectionEnd_ = 0;

    void timerEvent(QTimerEvent* event) override;
};

} // namespace quillory
