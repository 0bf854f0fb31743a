// The HTML reader: turns the tokens of HtmlLexer into paragraphs, runs, table cells, pictures
// and links. Paragraphs open lazily, when content arrives, so empty blocks leave no trace, as in
// a browser; a block holding only <br> keeps an empty paragraph.
#include "richtext/html/HtmlReader.h"

#include "platform/Utf8.h"
#include "richtext/html/HtmlCharacters.h"
#include "richtext/html/HtmlLexer.h"
#include "richtext/html/HtmlPictures.h"
#include "richtext/html/HtmlStyle.h"

#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

namespace quillory {
namespace {

using namespace html;

constexpr int kParagraphIndent = 144;
constexpr int kParagraphSpaceAfter = 50;
constexpr int kListIndent = 360;
constexpr int kTwipsPerPixel = 15; // at 96 pixels per inch
constexpr std::size_t kMaxCellsPerRow = 50;

bool IsOneOf(std::string_view name, std::initializer_list<std::string_view> names) noexcept
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool IsBlock(std::string_view name) noexcept
{
    return IsOneOf(name, {"p", "div", "blockquote", "address", "center", "dl", "dt", "dd", "form",
                          "fieldset", "section", "article", "header", "footer", "nav", "aside",
                          "main", "figure", "figcaption", "noscript", "body", "html"});
}

int HeadingLevel(std::string_view name) noexcept
{
    return name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6' ? name[1] - '0' : 0;
}

std::optional<int> Number(const std::string* text) noexcept
{
    if (!text)
        return std::nullopt;
    int value = 0;
    const char* begin = text->data();
    while (begin < text->data() + text->size() && *begin == ' ')
        ++begin;
    if (std::from_chars(begin, text->data() + text->size(), value).ec != std::errc())
        return std::nullopt;
    return value;
}

std::optional<double> Percent(const std::string* text) noexcept
{
    if (!text || text->empty() || text->back() != '%')
        return std::nullopt;
    double value = 0;
    if (std::from_chars(text->data(), text->data() + text->size() - 1, value).ec != std::errc())
        return std::nullopt;
    return std::clamp(value, 0.0, 100.0);
}

std::string RomanNumber(int value)
{
    static constexpr std::pair<int, std::string_view> kParts[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"},
        {50, "l"}, {40, "xl"}, {10, "x"}, {9, "ix"}, {5, "v"}, {4, "iv"}, {1, "i"}};
    std::string text;
    for (const auto& [part, letters] : kParts) {
        for (; value >= part; value -= part)
            text += letters;
    }
    return text;
}

struct InlineEntry {
    std::string tag;
    TAttr saved;
};

struct ListLevel {
    bool ordered = false;
    char type = '1';
    int counter = 1;
};

struct AlignEntry {
    std::string tag;
    Alignment alignment;
};

struct RowCell {
    TParagraph* paragraph;
    int span;
    std::optional<double> percent;
};

class HtmlBuilder {
public:
    HtmlBuilder(std::string_view input, TextAppender& appender, const TWPHTMLReader& reader)
        : input_(input), lexer_(input), appender_(appender),
          reader_(reader), header_(appender.document().header())
    {
        const TParagraph& start = appender.paragraph();
        used_ = start.length() > 0; // a paste continues after the text already there
        continuing_ = used_;
        TTextLine* last = start.lastLine();
        lastChar_ = last && last->length() > 0 ? last->code(last->length() - 1) : 0;
    }

    void Run();

private:
    void StartTag(const HtmlToken& token);
    void EndTag(const HtmlToken& token);
    void Text(std::string_view text);
    void Space();

    // Paragraphs.
    void EnsureParagraph();
    void SetUp(TParagraph& paragraph, bool cell);
    void CloseParagraph();
    void BeginBlock(std::optional<Alignment> alignment);
    void Insert(std::string_view text, const TAttr& attr);
    void FlushBreaks();
    Alignment CurrentAlignment() const noexcept
    {
        return aligns_.empty() ? Alignment::Left : aligns_.back().alignment;
    }

    // Character attributes.
    bool PushInline(const std::string& tag);
    void PopInline(std::string_view tag);
    void ApplyFont(const HtmlToken& token);
    void ApplyStyleAttribute(const HtmlToken& token);

    // Lists, tables, pictures, links.
    void StartList(const HtmlToken& token, bool ordered);
    void StartListItem();
    void StartTable(const HtmlToken& token);
    void EndTable();
    void StartRow();
    void FinishRow();
    void StartCell(const HtmlToken* token);
    void OpenCell(const HtmlToken* token);
    void EndCell();
    void InsertPicture(const HtmlToken& token);
    std::unique_ptr<TGraphic> LoadPicture(const std::string& source) const;
    void StartLink(const HtmlToken& token);
    std::string LookAheadLinkText(std::size_t limit) const;

    std::string_view input_; // the page as UTF-8
    HtmlLexer lexer_;
    TextAppender& appender_;
    const TWPHTMLReader& reader_;
    TTextHeader& header_;

    TAttr attr_{};
    std::vector<InlineEntry> inline_;
    std::vector<AlignEntry> aligns_;
    std::vector<ListLevel> lists_;

    bool used_ = false;    // the current paragraph holds content
    bool closed_ = false;  // a block ended: the next content opens a new paragraph
    bool continuing_ = false; // nothing read yet into a paragraph that had text: blocks join it
    std::optional<Alignment> nextAlignment_;
    std::string prefixPending_; // list item number or bullet for the next content
    int pendingBreaks_ = 0;     // <br>s not yet placed (the last one of a block shows nothing)
    bool pendingSpace_ = false;
    TAttr spaceAttr_{};
    unsigned char lastChar_ = 0;

    enum class Raw { None, Title, Drop, Text } raw_ = Raw::None;
    int preDepth_ = 0;
    bool skipLineFeed_ = false;

    int tableDepth_ = 0;
    bool tableBorder_ = false;
    bool rowOpen_ = false;
    bool cellOpen_ = false;
    bool cellBreak_ = false;   // a block boundary inside the cell: a line break before more text
    bool cellHasText_ = false;
    std::size_t cellInlineDepth_ = 0;
    bool innerRowHasCell_ = false; // nested tables are flattened into the outer cell
    std::size_t pictures_ = 0;
    std::vector<RowCell> row_;
};

void HtmlBuilder::Run()
{
    for (;;) {
        const HtmlToken token = lexer_.Next();
        switch (token.kind) {
        case HtmlTokenKind::End:
            CloseParagraph();
            if (tableDepth_ > 0)
                FinishRow();
            return;
        case HtmlTokenKind::StartTag:
            StartTag(token);
            break;
        case HtmlTokenKind::EndTag:
            EndTag(token);
            break;
        case HtmlTokenKind::Text:
            Text(token.text);
            break;
        case HtmlTokenKind::Space:
            Space();
            break;
        case HtmlTokenKind::LineFeed:
            if (!skipLineFeed_)
                ++pendingBreaks_;
            skipLineFeed_ = false;
            break;
        }
    }
}

// --- paragraphs ---------------------------------------------------------------------------

void HtmlBuilder::SetUp(TParagraph& paragraph, bool cell)
{
    const int indent = cell ? 0 : lists_.empty() ? kParagraphIndent : kListIndent * int(lists_.size());
    paragraph.firstIndent = indent;
    paragraph.leftIndent = indent;
    paragraph.rightIndent = 0;
    paragraph.spaceBefore = 0;
    paragraph.spaceAfter = cell ? 0 : kParagraphSpaceAfter;
    paragraph.lineSpacing = 0;
    paragraph.alignment = nextAlignment_.value_or(CurrentAlignment());
    paragraph.flags = ParFlag::FromHtml | (cell ? ParFlag::TableCell : 0);
    paragraph.border = {};
    if (cell && tableBorder_) {
        paragraph.border.flags = BorderFlag::Present | BorderFlag::Box;
        paragraph.border.width = 1;
    }
    paragraph.shadingColors = 0;
    paragraph.shadingPercent = 0;
    paragraph.tabMask = 0;
    paragraph.cellLeft = 0;
    paragraph.cellWidth = 0;
    nextAlignment_.reset();
}

void HtmlBuilder::EnsureParagraph()
{
    if (tableDepth_ > 0 && !cellOpen_)
        OpenCell(nullptr); // stray content inside a table keeps its place in a cell
    if (cellOpen_) {
        if (cellBreak_) {
            appender_.Append(CharCode::SoftBreak, attr_);
            lastChar_ = CharCode::SoftBreak;
            cellBreak_ = false;
        }
    } else if (closed_ || !used_) {
        TParagraph& paragraph = used_ ? appender_.NextParagraph() : appender_.paragraph();
        if (used_ || paragraph.length() == 0)
            SetUp(paragraph, false);
        used_ = true;
        closed_ = false;
        lastChar_ = 0;
    }
    if (!prefixPending_.empty()) {
        const std::string prefix = std::move(prefixPending_);
        prefixPending_.clear();
        appender_.AppendRun({reinterpret_cast<const uint8_t*>(prefix.data()), prefix.size()}, attr_);
        lastChar_ = static_cast<unsigned char>(prefix.back());
        cellHasText_ = cellHasText_ || cellOpen_;
    }
}

void HtmlBuilder::FlushBreaks()
{
    if (pendingBreaks_ <= 0)
        return;
    for (; pendingBreaks_ > 0; --pendingBreaks_)
        appender_.Append(CharCode::SoftBreak, attr_);
    lastChar_ = CharCode::SoftBreak;
}

void HtmlBuilder::Insert(std::string_view text, const TAttr& attr)
{
    if (text.empty())
        return;
    EnsureParagraph();
    FlushBreaks();
    if (pendingSpace_) {
        appender_.Append(' ', spaceAttr_);
        pendingSpace_ = false;
    }
    appender_.AppendRun({reinterpret_cast<const uint8_t*>(text.data()), text.size()}, attr);
    lastChar_ = static_cast<unsigned char>(text.back());
    continuing_ = false;
    if (cellOpen_)
        cellHasText_ = true;
}

// Ends the paragraph (or, inside a cell, the line) in progress. A block whose last content was a
// <br> keeps that line break only when more than one was given; a block holding nothing but
// <br> still makes its (empty) paragraph.
void HtmlBuilder::CloseParagraph()
{
    if (pendingBreaks_ > 0) {
        --pendingBreaks_;
        EnsureParagraph();
        FlushBreaks();
        if (cellOpen_)
            cellHasText_ = true;
    }
    pendingSpace_ = false;
    if (cellOpen_)
        cellBreak_ = cellHasText_;
    else if (used_ && !continuing_)
        closed_ = true;
}

void HtmlBuilder::BeginBlock(std::optional<Alignment> alignment)
{
    CloseParagraph();
    nextAlignment_ = alignment;
}

void HtmlBuilder::Text(std::string_view text)
{
    const Raw raw = std::exchange(raw_, Raw::None);
    if (raw == Raw::Drop)
        return;
    if (raw == Raw::Title) {
        if (reader_.keepHeader || !header_.title.empty())
            return;
        std::string title;
        for (char c : text) {
            const bool blank = c == ' ' || c == '\t';
            if (!blank || (!title.empty() && title.back() != ' '))
                title += blank ? ' ' : c;
        }
        while (!title.empty() && title.back() == ' ')
            title.pop_back();
        header_.title = title;
        return;
    }
    Insert(text, attr_);
}

void HtmlBuilder::Space()
{
    if (pendingBreaks_ > 0 || lastChar_ == 0 || lastChar_ == ' ' || lastChar_ == '\t'
        || lastChar_ == CharCode::SoftBreak)
        return;
    if (cellOpen_ ? cellBreak_ || !cellHasText_ : (closed_ || !used_ || tableDepth_ > 0))
        return;
    pendingSpace_ = true;
    spaceAttr_ = attr_;
}

// --- tags -----------------------------------------------------------------------------------

void HtmlBuilder::StartTag(const HtmlToken& token)
{
    const std::string& name = token.name;
    if (const int level = HeadingLevel(name)) {
        static constexpr int kHeadingPoints[] = {24, 18, 14, 12, 10, 8};
        const std::string* align = token.attribute("align");
        BeginBlock(align ? ParseAlignment(*align) : std::nullopt);
        if (PushInline(name)) {
            attr_.style |= AttrStyle::Bold;
            attr_.size = std::uint8_t(kHeadingPoints[level - 1]);
            ApplyStyleAttribute(token);
        }
        return;
    }
    if (name == "p" || IsBlock(name) || name == "pre") {
        if (name == "p")
            PopInline("p");
        std::optional<Alignment> alignment;
        if (const std::string* align = token.attribute("align"))
            alignment = ParseAlignment(*align);
        if (const std::string* style = token.attribute("style")) {
            if (const auto css = ParseCss(*style).alignment)
                alignment = css;
        }
        if (name == "center")
            alignment = Alignment::Center;
        BeginBlock(alignment);
        if (name == "p") {
            if (PushInline("p"))
                ApplyStyleAttribute(token);
        } else if (name == "pre") {
            lexer_.SetPreformatted(true);
            ++preDepth_;
            skipLineFeed_ = true;
        } else if (name != "body" && name != "html" && aligns_.size() < TWPHTMLReader::kMaxNesting) {
            aligns_.push_back({name, alignment.value_or(CurrentAlignment())});
        }
        if (name == "body" && !reader_.keepHeader) {
            if (const std::string* background = token.attribute("background"))
                appender_.document().background = LoadPicture(*background);
        }
        return;
    }
    if (name == "br") {
        ++pendingBreaks_;
        pendingSpace_ = false;
        return;
    }
    if (name == "li") {
        StartListItem();
        return;
    }
    if (name == "ul" || name == "ol" || name == "dir" || name == "menu") {
        StartList(token, name == "ol");
        return;
    }
    if (name == "table") {
        StartTable(token);
        return;
    }
    if (name == "tr") {
        StartRow();
        return;
    }
    if (name == "td" || name == "th") {
        StartCell(&token);
        return;
    }
    if (name == "hr") {
        CloseParagraph();
        EnsureParagraph();
        if (!cellOpen_) {
            TParagraph& rule = appender_.paragraph();
            rule.border.flags = BorderFlag::Present | BorderFlag::Bottom;
            rule.border.width = 1;
        }
        CloseParagraph();
        return;
    }
    if (name == "img") {
        InsertPicture(token);
        return;
    }
    if (name == "a") {
        StartLink(token);
        return;
    }
    if (name == "title") {
        raw_ = Raw::Title;
        return;
    }
    if (name == "script" || name == "style") {
        raw_ = Raw::Drop;
        return;
    }
    if (name == "basefont") {
        ApplyFont(token);
        return;
    }
    if (token.selfClosing)
        return;
    std::uint8_t styleBit = 0;
    if (name == "b" || name == "strong")
        styleBit = AttrStyle::Bold;
    else if (IsOneOf(name, {"i", "em", "cite", "var", "dfn"}))
        styleBit = AttrStyle::Italic;
    else if (name == "u" || name == "ins")
        styleBit = AttrStyle::Underline;
    else if (IsOneOf(name, {"s", "strike", "del"}))
        styleBit = AttrStyle::StrikeOut;
    else if (name == "sup")
        styleBit = AttrStyle::Superscript;
    else if (name == "sub")
        styleBit = AttrStyle::Subscript;
    const bool monospace = IsOneOf(name, {"tt", "code", "kbd", "samp"});
    if (!styleBit && !monospace && name != "font" && name != "span")
        return; // head, meta, unknown elements: their content is read as it stands
    if (!PushInline(name))
        return;
    if (styleBit == AttrStyle::Superscript)
        attr_.style &= std::uint8_t(~AttrStyle::Subscript);
    if (styleBit == AttrStyle::Subscript)
        attr_.style &= std::uint8_t(~AttrStyle::Superscript);
    attr_.style |= styleBit;
    if (monospace) {
        const int font = header_.addFont("Courier New");
        if (font >= 0 && font < MaxFonts)
            attr_.font = std::uint8_t(font);
    }
    if (name == "font")
        ApplyFont(token);
    ApplyStyleAttribute(token);
}

void HtmlBuilder::EndTag(const HtmlToken& token)
{
    const std::string& name = token.name;
    if (HeadingLevel(name) || name == "p") {
        PopInline(name);
        CloseParagraph();
        return;
    }
    if (IsBlock(name) || name == "pre") {
        CloseParagraph();
        if (name == "pre" && preDepth_ > 0 && --preDepth_ == 0)
            lexer_.SetPreformatted(false);
        if (!aligns_.empty() && aligns_.back().tag == name)
            aligns_.pop_back();
        return;
    }
    if (name == "li" || name == "dt" || name == "dd") {
        CloseParagraph();
        return;
    }
    if (name == "ul" || name == "ol" || name == "dir" || name == "menu") {
        CloseParagraph();
        prefixPending_.clear(); // an empty last item shows nothing
        if (!lists_.empty())
            lists_.pop_back();
        return;
    }
    if (name == "table") {
        EndTable();
        return;
    }
    if (name == "tr") {
        if (tableDepth_ == 1)
            FinishRow();
        return;
    }
    if (name == "td" || name == "th") {
        EndCell();
        return;
    }
    PopInline(name);
}

bool HtmlBuilder::PushInline(const std::string& tag)
{
    if (inline_.size() >= TWPHTMLReader::kMaxNesting)
        return false;
    inline_.push_back({tag, attr_});
    return true;
}

void HtmlBuilder::PopInline(std::string_view tag)
{
    for (std::size_t i = inline_.size(); i > cellInlineDepth_; --i) {
        if (inline_[i - 1].tag == tag) {
            attr_ = inline_[i - 1].saved;
            inline_.resize(i - 1);
            return;
        }
    }
}

void HtmlBuilder::ApplyFont(const HtmlToken& token)
{
    if (const std::string* face = token.attribute("face")) {
        const int font = header_.addFont(FontFaceName(*face));
        if (font >= 0 && font < MaxFonts)
            attr_.font = std::uint8_t(font);
    }
    if (const std::string* size = token.attribute("size")) {
        if (const auto points = FontSizePoints(*size))
            attr_.size = std::uint8_t(*points);
    }
    if (const std::string* color = token.attribute("color")) {
        if (const auto rgb = ParseColor(*color))
            attr_.setTextColor(ColorIndex(header_, *rgb));
    }
    if (const std::string* color = token.attribute("bgcolor")) {
        if (const auto rgb = ParseColor(*color))
            attr_.setBackColor(ColorIndex(header_, *rgb));
    }
}

void HtmlBuilder::ApplyStyleAttribute(const HtmlToken& token)
{
    if (const std::string* style = token.attribute("style"))
        ApplyCss(ParseCss(*style), attr_, header_);
}

// --- lists ----------------------------------------------------------------------------------

void HtmlBuilder::StartList(const HtmlToken& token, bool ordered)
{
    CloseParagraph();
    if (lists_.size() >= TWPHTMLReader::kMaxNesting)
        return;
    ListLevel level;
    level.ordered = ordered;
    if (const std::string* type = token.attribute("type"); type && !type->empty())
        level.type = (*type)[0];
    if (const auto start = Number(token.attribute("start")))
        level.counter = std::clamp(*start, -1000000, 1000000);
    lists_.push_back(level);
}

void HtmlBuilder::StartListItem()
{
    CloseParagraph();
    if (lists_.empty() || !lists_.back().ordered) {
        prefixPending_ = "\u2022\t"; // a bullet
        return;
    }
    ListLevel& level = lists_.back();
    const int n = level.counter++;
    std::string number;
    if ((level.type == 'a' || level.type == 'A') && n > 0) {
        for (int v = n; v > 0; v = (v - 1) / 26)
            number.insert(number.begin(), char((level.type == 'a' ? 'a' : 'A') + (v - 1) % 26));
    } else if ((level.type == 'i' || level.type == 'I') && n > 0 && n < 4000) {
        number = RomanNumber(n);
        if (level.type == 'I')
            std::transform(number.begin(), number.end(), number.begin(), [](char c) { return char(c - 32); });
    } else {
        number = std::to_string(n);
    }
    prefixPending_ = number + ".\t";
}

// --- tables ---------------------------------------------------------------------------------

void HtmlBuilder::StartTable(const HtmlToken& token)
{
    if (tableDepth_ > 0) {
        ++tableDepth_;
        CloseParagraph();
        innerRowHasCell_ = false;
        return;
    }
    CloseParagraph();
    tableDepth_ = 1;
    const std::string* border = token.attribute("border");
    tableBorder_ = border && *border != "0";
    rowOpen_ = false;
    cellOpen_ = false;
    row_.clear();
}

void HtmlBuilder::EndTable()
{
    if (tableDepth_ == 0)
        return;
    if (tableDepth_ > 1) {
        --tableDepth_;
        CloseParagraph();
        return;
    }
    EndCell();
    FinishRow();
    tableDepth_ = 0;
    closed_ = true; // what follows is not part of the last cell
    used_ = true;
}

void HtmlBuilder::StartRow()
{
    if (tableDepth_ > 1) {
        CloseParagraph();
        innerRowHasCell_ = false;
        return;
    }
    if (tableDepth_ == 0)
        return;
    EndCell();
    FinishRow();
    rowOpen_ = true;
}

void HtmlBuilder::StartCell(const HtmlToken* token)
{
    if (tableDepth_ > 1) {
        if (innerRowHasCell_)
            Insert("\t", attr_);
        innerRowHasCell_ = true;
        return;
    }
    if (tableDepth_ == 0) {
        tableDepth_ = 1; // a cell outside any table starts one
        tableBorder_ = false;
    }
    OpenCell(token);
}

// Opens a cell of the outer table (the only one the document can hold).
void HtmlBuilder::OpenCell(const HtmlToken* token)
{
    EndCell();
    if (!rowOpen_ || row_.size() >= kMaxCellsPerRow) {
        FinishRow();
        rowOpen_ = true;
    }
    pendingBreaks_ = 0;
    pendingSpace_ = false;
    prefixPending_.clear();
    TParagraph& paragraph = used_ ? appender_.NextParagraph() : appender_.paragraph();
    std::optional<Alignment> alignment;
    if (token) {
        if (const std::string* align = token->attribute("align"))
            alignment = ParseAlignment(*align);
    }
    nextAlignment_ = alignment.value_or(Alignment::Left);
    SetUp(paragraph, true);
    used_ = true;
    closed_ = false;
    cellOpen_ = true;
    cellBreak_ = false;
    cellHasText_ = false;
    lastChar_ = 0;
    const int span = token ? std::clamp(Number(token->attribute("colspan")).value_or(1), 1, 50) : 1;
    row_.push_back({&paragraph, span, token ? Percent(token->attribute("width")) : std::nullopt});
    cellInlineDepth_ = inline_.size();
    if (token && token->name == "th" && PushInline("th"))
        attr_.style |= AttrStyle::Bold;
    if (token)
        ApplyStyleAttribute(*token);
}

void HtmlBuilder::EndCell()
{
    if (tableDepth_ > 1 || !cellOpen_)
        return;
    CloseParagraph();
    // Formatting opened in the cell ends with it.
    if (inline_.size() > cellInlineDepth_) {
        attr_ = inline_[cellInlineDepth_].saved;
        inline_.resize(cellInlineDepth_);
    }
    cellInlineDepth_ = 0;
    cellOpen_ = false;
}

// Gives the row's cells their width fractions (0-255 of the row) and row flags. Cells with a
// percentage width keep it; the others share what is left by their column span.
void HtmlBuilder::FinishRow()
{
    EndCell();
    rowOpen_ = false;
    if (row_.empty())
        return;
    double fixed = 0;
    int freeSpan = 0;
    for (const RowCell& cell : row_) {
        if (cell.percent)
            fixed += *cell.percent;
        else
            freeSpan += cell.span;
    }
    const double rest = std::max(0.0, 100.0 - std::min(fixed, 100.0));
    int left = 0;
    for (std::size_t i = 0; i < row_.size(); ++i) {
        TParagraph& paragraph = *row_[i].paragraph;
        const double percent = row_[i].percent ? *row_[i].percent : rest * row_[i].span / std::max(freeSpan, 1);
        int width = int(percent * 255 / 100 + 0.5);
        width = std::clamp(width, 1, std::max(1, 255 - left));
        paragraph.cellLeft = std::uint8_t(std::min(left, 255));
        paragraph.cellWidth = std::uint8_t(width);
        left += width;
        paragraph.flags |= ParFlag::TableCell;
        if (i > 0)
            paragraph.flags |= ParFlag::CellNotFirst;
        if (i + 1 < row_.size())
            paragraph.flags |= ParFlag::MoreCellsFollow;
        else
            paragraph.flags &= std::uint8_t(~ParFlag::MoreCellsFollow);
    }
    row_.clear();
}

// --- pictures and links -----------------------------------------------------------------------

std::unique_ptr<TGraphic> HtmlBuilder::LoadPicture(const std::string& source) const
{
    if (source.empty())
        return nullptr;
    if (auto graphic = GraphicFromDataUri(source))
        return graphic;
    if (reader_.onBitmapRequest) {
        auto graphic = std::make_unique<TGraphic>();
        if (reader_.onBitmapRequest(source, *graphic))
            return graphic;
    }
    std::string path = source;
    if (LowerCase(path.substr(0, 7)) == "file://")
        path.erase(0, 7);
    if (!path.empty() && path[0] != '/')
        path = reader_.filePath + path;
    return LoadBmpFile(path);
}

void HtmlBuilder::InsertPicture(const HtmlToken& token)
{
    if (pictures_ >= TWPHTMLReader::kMaxPictures)
        return;
    ++pictures_;
    const std::string* source = token.attribute("src");
    std::unique_ptr<TGraphic> graphic = source ? LoadPicture(*source) : nullptr;
    const TGraphic* shown = graphic.get();
    TTextObject& object = appender_.document().addObject(std::move(graphic));
    if (source && LowerCase(source->substr(0, 5)) != "data:")
        object.fileName = *source;
    const auto width = Number(token.attribute("width"));
    const auto height = Number(token.attribute("height"));
    object.width = std::clamp(width.value_or(shown ? shown->width : 0), 0, 100000) * kTwipsPerPixel;
    object.height = std::clamp(height.value_or(shown ? shown->height : 0), 0, 100000) * kTwipsPerPixel;
    TAttr attr = attr_;
    attr.flags |= AttrFlag::Object;
    attr.tag = object.tag;
    const char placeholder = static_cast<char>(CharCode::Object);
    Insert(std::string_view(&placeholder, 1), attr);
}

// A link's target is kept as hidden link text in front of the shown text, unless the shown
// text is the target itself: the document has no other place for it, and the RTF pair keeps it.
void HtmlBuilder::StartLink(const HtmlToken& token)
{
    const std::string* target = token.attribute("href");
    if (!PushInline("a") || !target || target->empty() || (*target)[0] == '#')
        return;
    attr_.style |= AttrStyle::Hyperlink;
    if (LookAheadLinkText(target->size() * 8 + 64) == *target)
        return;
    TAttr hidden = attr_;
    hidden.flags |= AttrFlag::Hidden;
    Insert(*target, hidden);
}

// The text up to </a>, read from a copy of the input ahead; bounded so that many links cost
// no more than reading the input a few times.
std::string HtmlBuilder::LookAheadLinkText(std::size_t limit) const
{
    const std::size_t from = lexer_.Position();
    const std::string_view rest = input_.substr(from);
    HtmlLexer ahead(rest.substr(0, CharBoundaryAtOrBefore(rest, std::min(limit, rest.size()))));
    std::string text;
    for (;;) {
        const HtmlToken token = ahead.Next();
        if (token.kind == HtmlTokenKind::End || (token.kind == HtmlTokenKind::EndTag && token.name == "a"))
            break;
        if (token.kind == HtmlTokenKind::Text)
            text += token.text;
        else if (token.kind == HtmlTokenKind::Space && !text.empty())
            text += ' ';
        else if (token.kind == HtmlTokenKind::StartTag && token.name == "img")
            return {};
    }
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

} // namespace

std::size_t TWPHTMLReader::ReadBody(std::span<const uint8_t> input, TextAppender& appender)
{
    // Like the text reader, a zero byte ends the input.
    const auto zero = std::find(input.begin(), input.end(), 0);
    const std::size_t length = std::size_t(zero - input.begin());
    const std::string page =
        html::PageTextAsUtf8(std::string_view(reinterpret_cast<const char*>(input.data()), length));
    HtmlBuilder builder(page, appender, *this);
    builder.Run();
    if (!keepHeader)
        appender.document().header().formatted = true;
    return zero == input.end() ? length : length + 1;
}

} // namespace quillory
