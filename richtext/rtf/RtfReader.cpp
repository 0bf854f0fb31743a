// The RTF reader's main loop: tokens in, dispatched by kind; groups pushed and popped.
#include "richtext/rtf/RtfReader.h"

#include "richtext/rtf/RtfReaderBuilder.h"

namespace quillory {

std::size_t TWPRtfReader::ReadBody(std::span<const uint8_t> input, TextAppender& appender)
{
    rtf::RtfBuilder builder(input, appender, keepHeader, pictureFolder, snapIndents, unicodeRuns);
    return builder.Run();
}

} // namespace quillory

namespace quillory::rtf {
namespace {

// Whether a field instruction ("HYPERLINK \"http://...\"", any case, blanks before) makes a link.
bool IsHyperlinkInstruction(std::string_view instruction) noexcept
{
    const size_t start = instruction.find_first_not_of(' ');
    if (start == std::string_view::npos)
        return false;
    constexpr std::string_view kWord = "HYPERLINK";
    const std::string_view word = instruction.substr(start, kWord.size());
    if (word.size() != kWord.size())
        return false;
    for (size_t i = 0; i < kWord.size(); ++i)
        if ((word[i] & ~0x20) != kWord[i])
            return false;
    return true;
}

// The character properties: the ids from Plain to BackColour (RtfKeywordId keeps them together).
constexpr bool IsCharacterProperty(RtfKeywordId id) noexcept
{
    return id >= RtfKeywordId::Plain && id <= RtfKeywordId::BackColour;
}

// Character properties that change only how text looks, never which characters a document
// holds or what they are marked as (\f names a font only outside the font table): where the
// document keeps no formatting, they are passed by.
constexpr bool IsAppearanceOnly(RtfKeywordId id) noexcept
{
    using I = RtfKeywordId;
    switch (id) {
    case I::Font: case I::FontSize: case I::Bold: case I::Italic: case I::Underline:
    case I::StrikeOut: case I::Hyperlink: case I::Subscript: case I::TextColour:
    case I::BackColour:
        return true;
    default:
        return false;
    }
}

} // namespace

RtfBuilder::RtfBuilder(std::span<const uint8_t> input, TextAppender& appender, bool keepHeader,
                       const std::string& pictureFolder, bool snapIndents, bool unicodeRuns)
    : lexer_(input),
      out_(appender),
      doc_(appender.document()),
      header_(appender.document().header()),
      keepHeader_(keepHeader),
      pictureFolder_(pictureFolder),
      snapIndents_(snapIndents),
      unicodeRuns_(unicodeRuns)
{
    g_.attr.size = DefaultPointSize;
    // Continuing in a paragraph keeps its properties unless the RTF changes them.
    const TParagraph& p = out_.paragraph();
    g_.paragraph.alignment = p.alignment;
    g_.paragraph.left = p.leftIndent;
    g_.paragraph.right = p.rightIndent;
    g_.paragraph.first = p.firstIndent - p.leftIndent;
    g_.paragraph.spaceBefore = p.spaceBefore;
    g_.paragraph.spaceAfter = p.spaceAfter;
    g_.paragraph.lineSpacing = p.lineSpacing;
    g_.paragraph.border = p.border;
    g_.paragraph.shadingColors = p.shadingColors;
    g_.paragraph.shadingPercent = p.shadingPercent;
    g_.paragraph.tabMask = p.tabMask;
    parFlags_ = p.flags & (ParFlag::PageBreakBefore | ParFlag::KeepWithNext);
    saved_.reserve(64);
}

size_t RtfBuilder::Run()
{
    try {
        for (;;) {
            RtfToken token = lexer_.Next();
            if (token.kind == RtfTokenKind::End)
                break;
            if (attention_ && AttendTo(token)) [[unlikely]]
                continue;
            switch (token.kind) {
            case RtfTokenKind::GroupOpen:
                OnGroupOpen();
                break;
            case RtfTokenKind::GroupClose:
                OnGroupClose();
                if (saved_.empty() && unsavedDepth_ == 0) {
                    // The outermost group closed (or a '}' too many): nothing after it is read.
                    FinishAll();
                    return lexer_.Position();
                }
                break;
            case RtfTokenKind::ControlWord:
            case RtfTokenKind::ControlSymbol:
                OnControl(token);
                break;
            case RtfTokenKind::HexChar:
                skipNextUnknown_ = false;
                // Inside an RTF-code run an LF stands for the writer's \line.
                if (token.value == CharCode::SoftBreak && lexer_.Mode() == RtfLexMode::CodeRun)
                    InsertChar(kLineCode);
                else if (token.value >= 0x80 && unicodeRuns_ && InBody() && !table_.defining
                         && lexer_.Mode() == RtfLexMode::Normal)
                    ReadByteRun(token.value);
                else
                    InsertByte(token.value);
                break;
            case RtfTokenKind::Text:
                skipNextUnknown_ = false;
                OnText(token.bytes, token.specialBytes);
                break;
            case RtfTokenKind::Binary:
            case RtfTokenKind::PictureData:
                OnPictureData(token.bytes);
                break;
            case RtfTokenKind::CodeRunEnd:
                g_.attr.flags &= ~AttrFlag::RtfCode;
                break;
            case RtfTokenKind::End:
                break;
            }
        }
    } catch (...) {
        picture_ = PictureState{};
        FinishAll();
        throw;
    }
    FlushPending(); // the input ended after a lead byte or a high surrogate
    FinishAll();
    return lexer_.Position();
}

// A \u fallback being skipped, or a lead byte or high surrogate waiting for the token that
// completes it. Returns true when `token` was used up.
bool RtfBuilder::AttendTo(RtfToken& token)
{
    bool used = fallback_.Active() && fallback_.Consume(token);
    const bool textAfterFallback = used && token.kind == RtfTokenKind::Text && !token.bytes.empty();
    if ((!used || textAfterFallback) && decoder_.Pending() && !decoder_.Continues(token))
        FlushPending();
    if (textAfterFallback)
        OnText(token.bytes, token.specialBytes);
    attention_ = fallback_.Active() || decoder_.Pending();
    return used;
}

void RtfBuilder::OnGroupOpen()
{
    started_ = true;
    skipNextUnknown_ = false;
    if (saved_.size() < size_t(TWPRtfReader::kMaxSavedGroups))
        saved_.push_back(g_);
    else
        ++unsavedDepth_;
}

void RtfBuilder::OnGroupClose()
{
    skipNextUnknown_ = false;
    if (unsavedDepth_ > 0) {
        --unsavedDepth_;
        return;
    }
    if (saved_.empty()) {
        started_ = true; // depth below zero ends reading
        return;
    }
    const GroupState inner = g_;
    g_ = saved_.back();
    saved_.pop_back();
    if (!endState_ && (inner.destination == Destination::Normal || inner.destination == Destination::Field))
        endState_ = inner.paragraph;

    if ((inner.destination == Destination::PictureHex || inner.destination == Destination::PictureFile)
        && g_.destination != inner.destination)
        FinishPicture(inner.destination);
    if (inner.destination == Destination::Footnote && g_.destination != Destination::Footnote)
        footnote_ = nullptr;
    if (inner.destination == Destination::FontTable && g_.destination != Destination::FontTable) {
        g_.attr.font = fontMap_[0]; // text goes on in the RTF's font 0
        SelectFont(0);
    }

    // A border group that closes right after a paragraph ended, before anything of the next,
    // marks where the writer ended a border run; it matters when the next paragraph has the
    // same border. (A group closing after an empty last paragraph's words is its own.)
    const TParagraph& current = out_.paragraph();
    const bool empty = current.firstLine()->length() == 0 && !current.firstLine()->next();
    if (inner.paragraph.border.present() && !(inner.paragraph.border == g_.paragraph.border) && empty
        && !paragraphBegun_ && lastFinished_ && lastFinished_ == current.prev())
        borderRunEnd_ = lastFinished_;
    SyncLexMode();
}

void RtfBuilder::SyncLexMode()
{
    if (lexer_.Mode() == RtfLexMode::CodeRun)
        return;
    lexer_.SetMode(g_.destination == Destination::PictureHex ? RtfLexMode::PictureHex : RtfLexMode::Normal);
}

void RtfBuilder::OnControl(const RtfToken& token)
{
    const bool afterStar = skipNextUnknown_;
    skipNextUnknown_ = false;
    if (g_.destination == Destination::Skip) {
        // Inside \upr only its \ud group is read.
        if (g_.unicodeText != Destination::Skip && token.key == kUnicodeDestinationKey) {
            g_.destination = g_.unicodeText;
            SyncLexMode();
        }
        return;
    }
    const RtfKeyword* keyword = FindRtfKeyword(token.key);
    if (!keyword) {
        if (afterStar) {
            g_.destination = Destination::Skip;
            SyncLexMode();
        }
        return;
    }
    const int32_t n = RtfKeywordParameter(*keyword, token.hasParameter, token.parameter);
    switch (keyword->kind) {
    case RtfKeywordKind::InsertChar:
        InsertChar(keyword->value);
        break;
    case RtfKeywordKind::Destination:
        OnDestination(*keyword);
        SyncLexMode();
        break;
    case RtfKeywordKind::Property:
        // Most words of a document set a character property: they go straight to its handler.
        if (IsCharacterProperty(keyword->id)) {
            if (InBody())
                OnParagraphContent(); // as OnProperty does for every property
            if (out_.keepsFormatting() || !IsAppearanceOnly(keyword->id)
                || g_.destination == Destination::FontTable)
                OnCharacterProperty(keyword->id, n);
            else if (keyword->id == RtfKeywordId::Font)
                SelectFont(n); // the font's code page still decodes the text
        } else {
            OnProperty(keyword->id, n);
        }
        break;
    case RtfKeywordKind::Special:
        OnSpecial(keyword->id, token.hasParameter, token.parameter);
        break;
    }
}

void RtfBuilder::OnSpecial(RtfKeywordId id, bool hasParameter, int32_t n)
{
    switch (id) {
    case RtfKeywordId::SkipUnknown:
        skipNextUnknown_ = true;
        break;
    case RtfKeywordId::Unicode:
        if (hasParameter)
            OnUnicode(n);
        break;
    case RtfKeywordId::UnicodeSkip:
        g_.unicodeSkip = hasParameter ? std::clamp(n, 0, 16) : 1;
        break;
    case RtfKeywordId::AutomaticFootnoteMark:
        OnAutomaticFootnoteMark();
        break;
    default: // \bin without a count; \' is read by the lexer
        break;
    }
}

void RtfBuilder::OnProperty(RtfKeywordId id, int32_t n)
{
    using I = RtfKeywordId;
    // A word of the body belongs to the paragraph being read, like its text: the group closing
    // next is the one that holds its state, not a group left over from the paragraph before.
    if (InBody())
        OnParagraphContent();
    if (IsCharacterProperty(id)) {
        OnCharacterProperty(id, n);
        return;
    }
    switch (id) {
    case I::LeftIndent: case I::RightIndent: case I::FirstIndent: case I::SpaceBefore:
    case I::SpaceAfter: case I::LineSpacing: case I::Align: case I::Pard: case I::Par:
    case I::PageBreak: case I::Keep: case I::TabStop: case I::TabKind:
        OnParagraphProperty(id, n);
        break;
    case I::Border: case I::CellBorder: case I::BorderWidth: case I::BorderSpacing:
    case I::BorderColour: case I::Shading: case I::PatternColour: case I::PatternBackColour:
        OnBorderProperty(id, n);
        break;
    case I::RowDefinition: case I::RowGap: case I::RowLeft: case I::CellEdge: case I::CellMerge:
    case I::InTable: case I::Cell: case I::Row:
        OnTableProperty(id, n);
        break;
    case I::Metafile: case I::Dib: case I::DeviceBitmap: case I::PicWidth: case I::PicHeight:
    case I::PicGoalWidth: case I::PicGoalHeight: case I::BitsPixel: case I::Planes:
    case I::WidthBytes: case I::ScaleX: case I::ScaleY: case I::ObjectTag: case I::ObjectWidth:
    case I::ObjectHeight:
    case I::Png: case I::Jpeg:
        OnPictureProperty(id, n);
        break;
    default:
        OnDocumentProperty(id, n);
        break;
    }
}

void RtfBuilder::OnDestination(const RtfKeyword& keyword)
{
    using I = RtfKeywordId;
    switch (keyword.id) {
    case I::FontTable:
        g_.destination = Destination::FontTable;
        break;
    case I::ColourTable:
        g_.destination = Destination::ColourTable;
        colourIndex_ = 0;
        break;
    case I::Title:
    case I::Comment:
    case I::Subject: {
        const std::string& text = keyword.id == I::Title ? header_.title
                                : keyword.id == I::Comment ? header_.comment : header_.subject;
        g_.destination = keepHeader_ || !text.empty() ? Destination::Skip
                       : keyword.id == I::Title       ? Destination::Title
                       : keyword.id == I::Comment     ? Destination::Comment
                                                      : Destination::Subject;
        break;
    }
    case I::Footnote:
        if (InBody())
            StartFootnote();
        else
            g_.destination = Destination::Skip;
        break;
    case I::Field:
        fieldInstruction_.clear();  // a result belongs to its own field's instruction only
        if (InBody())
            g_.destination = Destination::Field;
        break;
    case I::FieldInstruction:
        fieldInstruction_.clear();
        g_.destination = InBody() ? Destination::FieldInstruction : Destination::Skip;
        break;
    case I::FieldResult:
        // The result is the text a reader sees; a link's target has no place in the model, but
        // its text is shown as a link.
        if (InBody()) {
            g_.destination = Destination::Field;
            if (IsHyperlinkInstruction(fieldInstruction_))
                g_.attr.style |= AttrStyle::Hyperlink;
        }
        break;
    case I::Picture:
    case I::PictureFile:
        if (g_.destination == Destination::PictureHex || g_.destination == Destination::PictureFile)
            break; // one picture at a time
        g_.destination = keyword.id == I::Picture ? Destination::PictureHex : Destination::PictureFile;
        StartPicture();
        break;
    case I::ShapePicture:
    case I::NonShapePicture:
        OnShapePicture(keyword.id);
        break;
    case I::UnicodePair:
        // The ANSI text is skipped; the \ud group inside brings the text back (OnControl).
        g_.unicodeText = g_.destination;
        g_.destination = Destination::Skip;
        break;
    case I::UnicodeText:
        break; // outside \upr its text is read where it stands
    default:
        g_.destination = Destination::Skip;
        break;
    }
}

void RtfBuilder::OnDocumentProperty(RtfKeywordId id, int32_t n)
{
    using I = RtfKeywordId;
    const bool inColourTable = g_.destination == Destination::ColourTable;
    switch (id) {
    case I::Red:
    case I::Green:
    case I::Blue:
        if (inColourTable && !keepHeader_ && colourIndex_ >= 0 && colourIndex_ <= 14) {
            RGBColor& colour = header_.colors[size_t(colourIndex_)];
            const auto value = uint8_t(std::clamp(n, 0, 255));
            (id == I::Red ? colour.red : id == I::Green ? colour.green : colour.blue) = value;
        }
        break;
    case I::FontFamily:
        fontFamily_ = uint8_t(n);
        break;
    case I::FontCharset:
        fontCharset_ = uint8_t(std::clamp(n, 0, 255));
        break;
    case I::DocumentCodePage:
        decoder_.SetDocumentCodePage(n);
        break;
    case I::FootnoteNumber:
        if (footnote_)
            footnote_->explicitNumber = n;
        break;
    case I::PaperWidth: case I::PaperHeight: case I::MarginLeft: case I::MarginRight:
    case I::MarginTop: case I::MarginBottom: {
        if (keepHeader_)
            break;
        const int32_t value = std::clamp(n, 0, 31680 * 4); // at most a few metres of paper
        switch (id) {
        case I::PaperWidth: header_.paperWidth = value; break;
        case I::PaperHeight: header_.paperHeight = value; break;
        case I::MarginLeft: header_.marginLeft = value; break;
        case I::MarginRight: header_.marginRight = value; break;
        case I::MarginTop: header_.marginTop = value; break;
        default: header_.marginBottom = value; break;
        }
        break;
    }
    default: // page flags and section words the model has no place for
        break;
    }
}

} // namespace quillory::rtf
