// The editor's document-level operations.
#include "richtext/edit/EditorCore.h"

#include "platform/Error.h"
#include "platform/UnicodeText.h"
#include "richtext/edit/RangeEditing.h"

#include <algorithm>

namespace quillory {

namespace {

// Flags that belong to one character and are not handed on to typed text.
constexpr std::uint8_t kPlaceFlags = AttrFlag::Object | AttrFlag::FootnoteAnchor | AttrFlag::InsertPoint
    | AttrFlag::Automatic | AttrFlag::RtfCode;

int colorIndexOf(const TTextHeader& header, const RGBColor& color)
{
    for (int i = 0; i < ColorCount - 1; ++i) {
        const RGBColor& c = header.colors[std::size_t(i)];
        if (c.red == color.red && c.green == color.green && c.blue == color.blue)
            return i;
    }
    return -1;
}


// The header values that describe the screen the document is shown on, not the document: they
// survive Clear and AssignHeader.
void KeepDisplayValues(const TTextHeader& from, TTextHeader& to)
{
    to.resolutionX = from.resolutionX;
    to.resolutionY = from.resolutionY;
    to.layoutWidthTwips = from.layoutWidthTwips;
    to.layoutWidthPixels = from.layoutWidthPixels;
}

void MarkAllForReformat(TWPRTFText& document)
{
    for (auto* paragraph = document.firstParagraph(); paragraph; paragraph = paragraph->next())
        paragraph->layoutFlags |= LayoutFlag::NeedsReformat;
}

} // namespace

EditorCore::EditorCore() : document_(std::make_unique<TWPRTFText>()) {}

EditorCore::~EditorCore() = default;

bool EditorCore::CanModify()
{
    if (readOnly_ || !document_->firstParagraph())
        return false;
    modified = true;
    openStep(EditKind::Other, {});
    return true;
}

bool EditorCore::CanModifyTyping(std::string_view typed, const TParagraph* caretParagraph, int caretNumber)
{
    if (readOnly_ || !document_->firstParagraph())
        return false;
    modified = true;
    const bool deleting = typed == "\b" || typed == "\x7f";
    if (HasSelection()) {
        openStep(EditKind::Other, {});
        return true;
    }
    if (!caretParagraph) {
        const ParagraphSpot spot = LocatePosition(*document_, caret_);
        caretParagraph = spot.paragraph;
        caretNumber = spot.number;
    }
    const bool opening = !history_.StepOpen();
    history_.BeforeLocalChange(*document_, EditCaret{caret_, anchor_}, deleting ? EditKind::Deleting : EditKind::Typing,
                               typed, *caretParagraph, caretNumber);
    if (opening && onEditStepOpened)
        onEditStepOpened();
    return true;
}

void EditorCore::openStep(EditKind kind, std::string_view typed)
{
    if (history_.StepOpen())
        return;
    history_.BeforeChange(*document_, EditCaret{caret_, anchor_}, kind, typed);
    if (onEditStepOpened)
        onEditStepOpened();
}

void EditorCore::EndEditStep()
{
    history_.EndStep(*document_, caret_);
}

bool EditorCore::Undo()
{
    if (readOnly_)
        return false;
    return restore(history_.Undo(*document_, EditCaret{caret_, anchor_}));
}

bool EditorCore::Redo()
{
    if (readOnly_)
        return false;
    return restore(history_.Redo(*document_, EditCaret{caret_, anchor_}));
}

bool EditorCore::restore(std::optional<EditCaret> caret)
{
    if (!caret)
        return false;
    modified = true;
    pendingStart_.reset();
    wordCursor_ = 0;
    caret_ = clampPosition(caret->caret);
    anchor_ = clampPosition(caret->anchor);
    MarkAllForReformat(*document_);
    notify(true);
    Changed();
    return true;
}

void EditorCore::Changed()
{
    // Nothing changes a read-only document, whoever says so: a host that saves on this
    // notification would otherwise write out a page it was told to keep.
    if (readOnly_)
        return;
    if (OnChange)
        OnChange();
}

void EditorCore::notify(bool textChanged)
{
    if (textChanged)
        ++revision_;
    SyncSelection();
    if (onUpdate)
        onUpdate(textChanged);
}

long EditorCore::clampPosition(long position) const noexcept
{
    return std::clamp(position, 0L, document_->characterCount());
}

long EditorCore::clusterBoundary(long position, bool forward) const
{
    position = clampPosition(position);
    const TextPosition at = document_->positionAt(position);
    const TParagraph* paragraph = document_->paragraphAt(at.paragraph);
    if (!paragraph)
        return position;
    const TTextLine* line = paragraph->firstLine();
    for (int i = 0; i < at.segment && line->next(); ++i)
        line = line->next();
    const std::string_view text = line->view();
    const auto index = std::size_t(std::clamp(at.index, 0, line->length()));
    auto start = GraphemeBoundaryAtOrBefore(text, index);
    if (start != index && forward)
        start = NextGraphemeBoundary(text, start);
    return position - long(index) + long(start);
}

void EditorCore::SyncSelection()
{
    const long start = SelStartPosition();
    const long end = start + SelLength();
    document_->selection.blockStart = document_->positionAt(start);
    document_->selection.blockEnd = document_->positionAt(end);
    document_->selection.endBeforeStart = false;
}

// --- caret and selection -------------------------------------------------------------------

void EditorCore::GoTo(long position)
{
    caret_ = anchor_ = clusterBoundary(position, false);
    pendingStart_.reset();
    const ParagraphSpot spot = LocatePosition(*document_, caret_);
    TAttr attr = AttributesAt(*document_, spot.offset > 0 ? caret_ - 1 : caret_);
    attr.flags &= std::uint8_t(~kPlaceFlags);
    attr.tag = 0;
    document_->insertionAttr = attr;
    notify(false);
}

void EditorCore::SelectAll()
{
    Select(0, document_->characterCount());
}

void EditorCore::SelStart(long position)
{
    GoTo(position);
    pendingStart_ = caret_;
}

void EditorCore::SelLength(long count)
{
    const long start = pendingStart_.value_or(SelStartPosition());
    pendingStart_.reset();
    if (count <= 0)
        GoTo(start);
    else
        Select(start, count);
}

long EditorCore::SelLength() const noexcept
{
    return caret_ > anchor_ ? caret_ - anchor_ : anchor_ - caret_;
}

long EditorCore::SelStartPosition() const noexcept
{
    return std::min(caret_, anchor_);
}

void EditorCore::Select(long start, long length, bool caretAtStart)
{
    const long end = clusterBoundary(clampPosition(start) + std::max(0L, length), true);
    start = clusterBoundary(start, false);
    pendingStart_.reset();
    caret_ = caretAtStart ? start : end;
    anchor_ = caretAtStart ? end : start;
    notify(false);
}

void EditorCore::TakeCaret(long caret, long anchor, const Selection& blocks, const TAttr& before)
{
    caret_ = caret;
    anchor_ = anchor;
    pendingStart_.reset();
    if (caret == anchor) {
        TAttr attr = before;
        attr.flags &= std::uint8_t(~kPlaceFlags);
        attr.tag = 0;
        document_->insertionAttr = attr;
    }
    document_->selection = blocks;
}

void EditorCore::HideSelection()
{
    anchor_ = caret_;
    notify(false);
}

void EditorCore::DeleteSelection()
{
    if (!HasSelection() || !CanModify())
        return;
    const long start = SelStartPosition();
    DeleteRange(*document_, start, SelLength());
    caret_ = anchor_ = start;
    notify(true);
}

std::string EditorCore::SelectedText() const
{
    return TextOfRange(*document_, SelStartPosition(), SelLength());
}

// --- text and attributes ----------------------------------------------------------------------

bool EditorCore::InsertText(std::string_view text)
{
    if (text.empty() || text.front() == '\0' || !CanModify())
        return false;
    if (HasSelection()) {
        const long start = SelStartPosition();
        DeleteRange(*document_, start, SelLength());
        caret_ = anchor_ = start;
    }
    caret_ = anchor_ = InsertTextAt(*document_, caret_, text, document_->insertionAttr);
    notify(true);
    Changed();
    return true;
}

bool EditorCore::InsertDocument(const TWPRTFText& source)
{
    if (!CanModify())
        return false;
    if (HasSelection()) {
        const long start = SelStartPosition();
        DeleteRange(*document_, start, SelLength());
        caret_ = anchor_ = start;
    }
    caret_ = anchor_ = InsertDocumentAt(*document_, caret_, source);
    notify(true);
    return true;
}

int EditorCore::InsertGraphic(std::unique_ptr<TGraphic> graphic, int widthTwips, int heightTwips)
{
    if (!graphic || !CanModify())
        return 0;
    TTextObject& object = document_->addObject(std::move(graphic));
    object.width = widthTwips;
    object.height = heightTwips;
    TAttr attr = document_->insertionAttr;
    attr.flags = std::uint8_t((attr.flags & ~(kPlaceFlags | AttrFlag::Hidden)) | AttrFlag::Object);
    attr.tag = object.tag;
    if (HasSelection()) {
        const long start = SelStartPosition();
        DeleteRange(*document_, start, SelLength());
        caret_ = anchor_ = start;
    }
    const char placeholder = char(CharCode::Object);
    caret_ = anchor_ = InsertTextAt(*document_, caret_, std::string_view(&placeholder, 1), attr);
    document_->header().formatted = true;
    notify(true);
    return object.tag;
}

void EditorCore::InsertParagraph(const ParagraphDescriptor& descriptor)
{
    if (!CanModify())
        return;
    TParagraph* paragraph = nullptr;
    if (document_->isEmpty()) {
        paragraph = document_->firstParagraph();
    } else {
        TParagraph* after = LocatePosition(*document_, caret_).paragraph;
        while (after->isTableCell() && after->hasFlag(ParFlag::MoreCellsFollow) && after->next())
            after = after->next();
        paragraph = document_->appendParagraph(after);
    }
    paragraph->alignment = descriptor.alignment;
    paragraph->firstIndent = descriptor.firstIndent;
    paragraph->leftIndent = descriptor.leftIndent;
    paragraph->rightIndent = descriptor.rightIndent;
    paragraph->spaceBefore = descriptor.spaceBefore;
    paragraph->spaceAfter = descriptor.spaceAfter;
    paragraph->lineSpacing = descriptor.lineSpacing;
    paragraph->border = descriptor.border;
    paragraph->tabMask = descriptor.tabMask;
    paragraph->shadingColors = descriptor.shadingColors;
    paragraph->shadingPercent = descriptor.shadingPercent;
    paragraph->flags = 0;
    paragraph->cellLeft = paragraph->cellWidth = paragraph->cellFill = 0;
    if (descriptor.pageBreakBefore && paragraph->prev())
        paragraph->flags |= ParFlag::PageBreakBefore;

    ParagraphContent content;
    content.text = descriptor.text;
    if (!document_->isPlainText())
        content.attrs.assign(content.text.size(), descriptor.attr);
    content.emptyAttr = descriptor.attr;
    WriteParagraph(*document_, *paragraph, content);
    document_->header().formatted = true;
    caret_ = anchor_ = PositionOfParagraph(*document_, paragraph) + paragraph->length();
    pendingStart_.reset();
    document_->insertionAttr = descriptor.attr;
    document_->insertionAttr.flags &= std::uint8_t(~kPlaceFlags);
    notify(true);
}

void EditorCore::SetCurrentAttr(const TAttr& attr)
{
    document_->insertionAttr = attr;
    document_->header().formatted = true;
    if (HasSelection() && CanModify()) {
        ApplyAttributes(*document_, SelStartPosition(), SelLength(), attr);
        notify(true);
    }
    Changed();
}

RGBColor EditorCore::GetColor(int index) const noexcept
{
    return document_->header().colors[std::size_t(((index % 128) + 128) % 128 % ColorCount)];
}

int EditorCore::FontIndex(std::string_view name)
{
    return document_->header().addFont(name.substr(0, MaxFontName));
}

// --- find, replace, words ------------------------------------------------------------------------

bool EditorCore::FindText(std::string_view pattern, bool backwards)
{
    const TWPTextFinder finder(pattern, FindOptions{backwards, false, false});
    const auto found = finder.FindInDocument(*document_);
    if (!found)
        return false;
    Select(found->start, found->length, backwards);
    return true;
}

bool EditorCore::FindNext(std::string_view pattern, const FindOptions& options)
{
    const TWPTextFinder finder(pattern, options);
    const long from = options.backwards ? SelStartPosition() : SelStartPosition() + SelLength();
    const auto found = finder.Find(*document_, from);
    if (!found)
        return false;
    Select(found->start, found->length, options.backwards);
    return true;
}

bool EditorCore::ReplaceSelection(std::string_view text)
{
    if (!CanModify())
        return false;
    const long start = SelStartPosition();
    TAttr attr = HasSelection() ? AttributesAt(*document_, start) : document_->insertionAttr;
    attr.flags &= std::uint8_t(~(AttrFlag::Object | AttrFlag::FootnoteAnchor));
    DeleteRange(*document_, start, SelLength());
    const long end = InsertTextAt(*document_, start, text, attr);
    caret_ = end;
    anchor_ = start;
    wordCursor_ = end;
    notify(true);
    return true;
}

int EditorCore::ReplaceAll(std::string_view pattern, std::string_view replacement, const FindOptions& options)
{
    if (!CanModify())
        return 0;
    FindOptions forwards = options;
    forwards.backwards = false;
    const TWPTextFinder finder(pattern, forwards);
    // Matches never cross a paragraph end, so each paragraph is rebuilt once, however many
    // matches it holds.
    int count = 0;
    for (TParagraph* paragraph = document_->firstParagraph(); paragraph; paragraph = paragraph->next()) {
        const ParagraphContent content = ReadParagraph(*paragraph);
        const bool withAttributes = content.attrs.size() == content.text.size() && !document_->isPlainText();
        ParagraphContent rebuilt;
        rebuilt.emptyAttr = content.emptyAttr;
        std::size_t copied = 0;
        for (long from = 0;;) {
            const auto found = finder.FindInText(content.text, from);
            if (!found)
                break;
            const auto start = std::size_t(found->start);
            rebuilt.text.append(content.text, copied, start - copied);
            rebuilt.text.append(replacement);
            if (withAttributes) {
                rebuilt.attrs.insert(rebuilt.attrs.end(), content.attrs.begin() + long(copied), content.attrs.begin() + long(start));
                TAttr attr = content.attrs[start];
                attr.flags &= std::uint8_t(~(AttrFlag::Object | AttrFlag::FootnoteAnchor));
                rebuilt.attrs.insert(rebuilt.attrs.end(), replacement.size(), attr);
            }
            copied = start + std::size_t(found->length);
            from = long(copied);
            ++count;
        }
        if (copied == 0)
            continue;
        rebuilt.text.append(content.text, copied);
        if (withAttributes)
            rebuilt.attrs.insert(rebuilt.attrs.end(), content.attrs.begin() + long(copied), content.attrs.end());
        WriteParagraph(*document_, *paragraph, rebuilt);
    }
    if (count == 0)
        return 0;
    caret_ = anchor_ = clampPosition(caret_);
    notify(true);
    Changed();
    return count;
}

std::optional<std::string> EditorCore::NextWord(bool restart, const WordFilter& stopAt)
{
    if (restart)
        wordCursor_ = 0;
    const ParagraphSpot spot = LocatePosition(*document_, wordCursor_);
    long paragraphStart = PositionOfParagraph(*document_, spot.paragraph);
    std::size_t offset = std::size_t(std::max(spot.offset, 0));
    for (TParagraph* paragraph = spot.paragraph; paragraph; paragraph = paragraph->next()) {
        const ParagraphContent content = ReadParagraph(*paragraph);
        for (auto found = FindNextWordIn(content, offset); found;
             found = FindNextWordIn(content, std::size_t(found->start + found->length))) {
            const std::string_view word = std::string_view(content.text).substr(std::size_t(found->start),
                                                                                std::size_t(found->length));
            if (stopAt && !stopAt(word))
                continue;
            const long start = paragraphStart + found->start;
            wordCursor_ = start + found->length;
            Select(start, found->length);
            return std::string(word);
        }
        paragraphStart += long(content.text.size()) + 1;
        offset = 0;
    }
    wordCursor_ = document_->characterCount();
    return std::nullopt;
}

// --- paragraphs, header, page -----------------------------------------------------------------------

std::vector<TParagraph*> EditorCore::targetParagraphs() const
{
    if (HasSelection())
        return ParagraphsOfRange(*document_, SelStartPosition(), SelLength());
    return {LocatePosition(*document_, caret_).paragraph};
}

namespace {

TParagraph* RowStart(TParagraph* cell)
{
    while (cell->isTableCell() && cell->hasFlag(ParFlag::CellNotFirst) && cell->prev() && cell->prev()->isTableCell())
        cell = cell->prev();
    return cell;
}

TParagraph* RowEnd(TParagraph* cell)
{
    while (cell->isTableCell() && cell->hasFlag(ParFlag::MoreCellsFollow) && cell->next())
        cell = cell->next();
    return cell;
}

// The paragraphs from `first` to `last`, both included.
std::vector<TParagraph*> Run(TParagraph* first, const TParagraph* last)
{
    std::vector<TParagraph*> run;
    for (TParagraph* paragraph = first; paragraph; paragraph = paragraph->next()) {
        run.push_back(paragraph);
        if (paragraph == last)
            break;
    }
    return run;
}

} // namespace

std::vector<TParagraph*> EditorCore::spacingParagraphs() const
{
    // A range that starts or ends in a table cell takes the whole row there.
    const std::vector<TParagraph*> range = targetParagraphs();
    TParagraph* first = range.front();
    TParagraph* last = range.back();
    return Run(first->isTableCell() ? RowStart(first) : first, last->isTableCell() ? RowEnd(last) : last);
}

std::vector<TParagraph*> EditorCore::indentParagraphs() const
{
    // A table cell hands the indents on to the whole run of table cells it stands in.
    const std::vector<TParagraph*> range = targetParagraphs();
    TParagraph* first = range.front();
    TParagraph* last = range.back();
    while (first->isTableCell() && first->prev() && first->prev()->isTableCell())
        first = first->prev();
    while (last->isTableCell() && last->next() && last->next()->isTableCell())
        last = last->next();
    return Run(first, last);
}

void EditorCore::SetParagraphSpacing(int spaceBefore, int spaceAfter, int lineSpacing)
{
    if (!CanModify())
        return;
    for (TParagraph* paragraph : spacingParagraphs()) {
        if (spaceBefore != KeepValue)
            paragraph->spaceBefore = spaceBefore;
        if (spaceAfter != KeepValue)
            paragraph->spaceAfter = spaceAfter;
        if (lineSpacing != KeepValue)
            paragraph->lineSpacing = lineSpacing;
        paragraph->layoutFlags |= LayoutFlag::NeedsReformat;
    }
    document_->header().formatted = true;
    notify(true);
    Changed();
}

void EditorCore::SetParagraphIndents(int firstIndent, int leftIndent, int rightIndent)
{
    if (!CanModify())
        return;
    auto given = [](int value) { return value != KeepValue && value < 65000; };
    for (TParagraph* paragraph : indentParagraphs()) {
        if (given(firstIndent))
            paragraph->firstIndent = firstIndent;
        if (given(leftIndent))
            paragraph->leftIndent = leftIndent;
        if (given(rightIndent))
            paragraph->rightIndent = rightIndent;
        paragraph->layoutFlags |= LayoutFlag::NeedsReformat;
    }
    document_->header().formatted = true;
    notify(true);
    Changed();
}

void EditorCore::Clear(const ClearDefaults& defaults)
{
    TTextHeader& header = document_->header();
    TTextHeader fresh;
    KeepDisplayValues(header, fresh);
    fresh.decimalSeparator = header.decimalSeparator;
    fresh.metricRuler = header.metricRuler;
    fresh.compactTabs = header.compactTabs;
    fresh.clearFonts();
    fresh.addFont(defaults.fontName.empty() ? std::string_view("Arial") : std::string_view(defaults.fontName));
    header = std::move(fresh);

    TAttr attr;
    attr.font = 0;
    attr.size = std::uint8_t(std::clamp(defaults.pointSize, 0, 255));
    attr.style = defaults.style & (AttrStyle::Bold | AttrStyle::Italic | AttrStyle::Underline);
    attr.setTextColor(std::max(0, colorIndexOf(header, defaults.textColor)));
    attr.setBackColor(std::max(0, colorIndexOf(header, defaults.backColor)));
    document_->insertionAttr = attr;
    document_->clear();
    if (!document_->isPlainText())
        document_->firstParagraph()->firstLine()->attrs()[0] = attr;
    caret_ = anchor_ = wordCursor_ = 0;
    pendingStart_.reset();
    history_.Clear();
    notify(true);
}

void EditorCore::AssignHeader(const TWPRTFText& other)
{
    if (&other == document_.get())
        return;
    TTextHeader& header = document_->header();
    TTextHeader assigned = other.header();
    KeepDisplayValues(header, assigned);
    header = std::move(assigned);
    MarkAllForReformat(*document_);
    notify(true);
}

void EditorCore::FastAppendText(const EditorCore& other)
{
    if (&other == this)
        throw Error("Cannot perform FastAppendText(self)");
    long at = 0;
    if (!document_->isEmpty()) {
        TParagraph* added = document_->appendParagraph(document_->lastParagraph());
        added->flags &= std::uint8_t(~ParFlag::PageBreakBefore);
        at = PositionOfParagraph(*document_, added);
    }
    InsertDocumentAt(*document_, at, other.document());
    notify(true);
}

void EditorCore::SetPage(int paperWidth, int paperHeight, int marginLeft, int marginRight, int marginTop,
                         int marginBottom)
{
    TTextHeader& header = document_->header();
    header.paperWidth = paperWidth;
    header.paperHeight = paperHeight;
    header.marginLeft = marginLeft;
    header.marginRight = marginRight;
    header.marginTop = marginTop;
    header.marginBottom = marginBottom;
    MarkAllForReformat(*document_);
    notify(true);
}

} // namespace quillory
