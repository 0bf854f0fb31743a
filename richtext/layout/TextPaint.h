// TWPRTFTextPaint: lays a document out into lines, pages and positions against a Canvas, paints
// it, finds the caret for a position and the position under a point, and prints it page by page.
#pragma once

#include "richtext/layout/Canvas.h"
#include "richtext/layout/Measure.h"
#include "richtext/model/Document.h"

#include <functional>
#include <vector>

namespace quillory {

// Long operations report start(total), advance(count) and finish().
struct ProgressCallbacks {
    std::function<void(long total)> start;
    std::function<void(long count)> advance;
    std::function<void()> finish;
};

// One visual line of the laid-out document, in document order.
struct LaidLine {
    TParagraph* paragraph = nullptr;
    TTextLine* line = nullptr;
    int paragraphIndex = 0;
    int segment = 0;
    int left = 0;      // left edge of the line's column (indent applied), layout pixels
    int available = 0; // width of the column
    int textX = 0;     // where the first character is drawn (alignment applied)
    int page = 0;      // page number, from 0
    int bandTop = 0;    // the line's own extent, or its table row's
    int bandBottom = 0;
    bool lastOfParagraph = false;
    bool justified = false; // blanks are widened by the line's justification counts
    bool boxed = false;     // in a table cell or a framed or shaded paragraph: placed whole
    bool rightToLeft = false; // the paragraph's first strong character runs right to left
};

// Where the characters of a laid line stand as painted. In a line that mixes directions the runs
// stand in the order of Unicode's bidirectional algorithm, and the clusters of a right-to-left
// run from right to left.
struct LinePlaces {
    std::vector<int> advances;        // per byte, in logical order (as TWPRTFTextPaint::advances)
    std::vector<int> left;            // per byte: the left edge of its cluster, document pixels
    std::vector<std::uint8_t> levels; // per byte: its bidi level; empty when all runs left to right
    bool rightToLeft(int i) const noexcept { return !levels.empty() && (levels[std::size_t(i)] & 1); }
};

// A rectangle that paints a frame and shading: a run of bordered paragraphs or a table cell.
struct LaidBox {
    Rect rect;
    const TParagraph* style = nullptr; // whose border word and shading apply
    bool cell = false;
};

// Where the caret stands: x of the character's left edge, its top and height, and the baseline.
struct CaretBox {
    int x = 0;
    int y = 0;
    int height = 0;
    int line = 0; // index into lines()
};

// Page offsets and the callbacks of a print run. Header and footer get the canvas and the band
// above or below the text area in device pixels, with the page number (from 1) and the number of
// the page's first line (from 1).
struct PrintJob {
    int offsetX = 0; // device pixels of the text area's left and top edge on the paper
    int offsetY = 0;
    std::function<void(Canvas&, int x, int y, int w, int h, int page, int line)> header;
    std::function<void(Canvas&, int x, int y, int w, int h, int page, int line)> footer;
    std::function<void()> newPage; // called between two pages
};

class TWPRTFTextPaint {
public:
    explicit TWPRTFTextPaint(TWPRTFText& document);

    TWPRTFText& document() noexcept { return document_; }
    const TWPRTFText& document() const noexcept { return document_; }

    // The canvas that measures (the screen's). Painting and printing may use other canvases; they
    // receive layout pixels of this one.
    void setCanvas(Canvas* canvas);
    Canvas* canvas() const noexcept { return canvas_; }

    // --- settings; changing one that moves lines takes a reformatAll() -------------------------
    bool wordWrap = true;
    int windowWidth = 0;  // client width in pixels; 0 = unknown
    int clientHeight = 0; // for painting "<empty>" and page moves
    int maxCharsPerLine = 0; // 0 = no limit
    bool showHiddenText = false;
    bool omitInsertPoints = false;
    bool omitAutomaticText = false;
    int zoom = 100;
    bool zooming = false;
    bool showPageBreak = true;
    bool paintGrayTable = false; // frame table cells that have no border
    ProgressCallbacks progress;
    // Positions that move with the text when a paragraph is broken again (the editor's caret);
    // the selection's block start and end are always carried.
    std::vector<TextPosition*> carriedPositions;

    // --- layout ----------------------------------------------------------------------------
    // Measures and breaks every paragraph and computes all positions.
    void reformatAll();
    // Measures and breaks one paragraph after an edit; positions are recomputed when its height
    // or line count changed (lines of equal height are only marked for repainting). Returns what
    // must be repainted, in document pixels: the paragraph's lines, or everything from its top
    // down when lines moved.
    Rect reformatParagraph(TParagraph& paragraph);
    // The same for a caller that knows the paragraph's number and has added or removed no
    // paragraph since the last layout (typing): it spares walking the document to count them.
    Rect reformatParagraph(TParagraph& paragraph, int paragraphIndex);
    // Breaks the paragraphs whose layout flags ask for it, then positions as needed: the lines of
    // the paragraphs broken anew are placed again, and those below them move along. Returns what
    // must be repainted, in document pixels: from the first line that changed or moved (or whose
    // page start did) down; empty when nothing was broken.
    Rect reformatPending();
    // Recomputes line heights with paragraph spacing and all positions, without measuring.
    void recomputePositions();

    int layoutWidth() const noexcept { return layoutWidth_; }
    int pageHeight() const noexcept { return pageHeight_; }
    int documentHeight() const noexcept { return documentHeight_; }
    int pageCount() const;
    // Every line, placed and given its page.
    const std::vector<LaidLine>& lines() const;
    int lineCount() const noexcept { return int(lines_.size()); }
    // One line, placed and given its page; the lines below it are left to be placed as they are
    // looked at, so that an edit high up in a long document costs no more than its own lines.
    const LaidLine& lineAt(int index) const;
    const std::vector<LaidBox>& boxes() const noexcept { return boxes_; }
    // How many paragraphs were broken into lines since construction or the last reset.
    long paragraphsBroken() const noexcept { return paragraphsBroken_; }
    void resetCounters() noexcept { paragraphsBroken_ = 0; }

    // Per-byte advances of a laid line as painted (tabs and justification included), in logical
    // order: a cluster's advance is on its first byte, its other bytes have 0.
    std::vector<int> advances(const LaidLine& line) const;
    // Advances and the visual place of every byte of a laid line.
    LinePlaces places(const LaidLine& line) const;
    // The caret's x (document pixels) before the character at `index` of a laid line: its left
    // edge, or its right edge when it runs right to left; at the end, after the last character.
    int caretX(const LaidLine& line, int index) const;
    // The position in a laid line nearest to x (document pixels): a grapheme cluster boundary,
    // before a closing soft break.
    int indexAtX(const LaidLine& line, int x) const;

    // --- painting --------------------------------------------------------------------------
    // Paints the lines that intersect `update` (window pixels) with the window scrolled to
    // (scrollX, scrollY), the selection and page-break lines included.
    void paint(Canvas& canvas, const Rect& update, int scrollX, int scrollY);

    // --- caret and hit testing ---------------------------------------------------------------
    CaretBox caretAt(const TextPosition& position) const;
    // The position nearest to a point in document pixels.
    TextPosition positionAt(int x, int y) const;
    // Index into lines() of the line holding a position, or -1.
    int lineIndexOf(const TextPosition& position) const;

    // --- printing --------------------------------------------------------------------------
    // Prints pages from..to (from 0; clipped to the pages there are) onto a device canvas.
    void print(Canvas& device, int fromPage, int toPage, const PrintJob& job);
    // Lays lines from `firstLine` on (1 = the first line of the document; 0 counts as 1) into a
    // rectangle of the device canvas, in its pixels, drawing them when `print` is set. Returns
    // the number of the first line that did not fit, or 0 when all fitted.
    int printRectangle(Canvas& device, int left, int top, int width, int height, int firstLine,
                       bool print);

private:
    struct Column {
        int left = 0;      // pixels from the left margin
        int available = 0; // width for text
        int cellLeft = 0;  // table cells: the cell's box
        int cellWidth = 0;
    };
    enum class BreakResult { SameLines, NewSegments, HeightChanged };

    int computeLayoutWidth() const;
    int toPixelsX(int twips) const noexcept;
    int toPixelsY(int twips) const noexcept;
    void prepare();
    Column column(const TParagraph& paragraph, bool firstLine) const;
    int tabAdvance(const TParagraph& paragraph, int x, int origin, int following, int beforePoint) const;
    BreakResult breakParagraph(TParagraph& paragraph, int paragraphIndex, const TParagraph* previous);
    void justifyLines(TParagraph& paragraph);
    std::vector<int> plainWidths(const TTextLine& line) const;
    void computeLineHeights(TParagraph& paragraph, const TParagraph* previous, bool withSpaceAfter);
    void positionLines();
    // Places the lines of every paragraph (positions, table rows and their cells' boxes); pages
    // are assigned afterwards.
    void placeAll();
    // Places the lines of paragraphs first..last again (numbers firstIndex..; `paragraphDelta`
    // paragraphs came or went among them) and moves the lines below; false when it cannot be
    // done by itself (tables, frames, paragraphs gone elsewhere) and all must be placed again.
    // `unchangedLines` leading lines of `first` are known to look as they did.
    bool placeAgain(TParagraph& first, int firstIndex, TParagraph& last, int paragraphDelta, int unchangedLines = 0);
    int repaintFrom_ = 0;   // placeAgain: the top of the first line whose look, place or page may have changed
    int unchangedLines_ = 0; // breakParagraph: leading lines that kept their characters and height
    // The lines below an edit move lazily: lines from shiftFrom_ on are still to be moved by
    // shiftY_ pixels and shiftParagraphs_ paragraph numbers.
    int topOf(std::size_t i) const noexcept { return lines_[i].bandTop + (i >= shiftFrom_ ? shiftY_ : 0); }
    int bottomOf(std::size_t i) const noexcept { return lines_[i].bandBottom + (i >= shiftFrom_ ? shiftY_ : 0); }
    int paragraphOf(std::size_t i) const noexcept
    {
        return lines_[i].paragraphIndex + (i >= shiftFrom_ ? shiftParagraphs_ : 0);
    }
    // Moves the lines before `upTo` to where they now stand.
    void settle(std::size_t upTo) const;
    // Assigns pages to the lines before `upTo` (and settles them), going on from the last line
    // whose page is known.
    void paginate(std::size_t upTo) const;
    void settleAll() const { paginate(lines_.size()); }
    void collectBorderBoxes();
    void refreshLaidLines(TParagraph& paragraph, int paragraphIndex);
    LaidLine laidLine(TParagraph& paragraph, TTextLine& line, int paragraphIndex, int segment, const Column& col) const;

    // Paints lines [from, to) and the boxes that meet `area` (document pixels), moved by (dx, dy);
    // on the screen also the selection and the page-break lines.
    void paintArea(Canvas& canvas, const Rect& area, int from, int to, int dx, int dy, bool screen);
    void paintLine(Canvas& canvas, const LaidLine& line, int dx, int dy);
    void paintBox(Canvas& canvas, const LaidBox& box, int dx, int dy, bool frame);
    void paintSelection(Canvas& canvas, const LaidLine& line, int dx, int dy);

    TWPRTFText& document_;
    Canvas* canvas_ = nullptr;
    mutable Measurer measurer_;
    int layoutWidth_ = 0;
    int pageHeight_ = 0;
    int documentHeight_ = 0;
    int previousHeight_ = 0; // before the last positioning, for repaint areas
    int paragraphsPlaced_ = 0;
    long paragraphsBroken_ = 0;
    // Lines and pages are completed lazily by const look-ups (see settle and paginate).
    mutable std::vector<LaidLine> lines_;
    std::vector<LaidBox> boxes_;
    mutable std::vector<int> pageFirstLine_{0}; // index into lines_ of each page's first line
    mutable std::size_t shiftFrom_ = 0;
    mutable int shiftY_ = 0;
    mutable int shiftParagraphs_ = 0;
    mutable std::size_t pagedTo_ = 0; // the lines before it have their pages
};

} // namespace quillory
