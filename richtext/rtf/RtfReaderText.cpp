// The RTF reader's characters: where each destination's text goes, character attributes,
// \u with its fallback, the font and colour tables, and footnotes.
#include "richtext/rtf/RtfReaderBuilder.h"


namespace quillory::rtf {
namespace {

void SetStyle(TAttr& attr, uint8_t bit, bool on)
{
    attr.style = on ? uint8_t(attr.style | bit) : uint8_t(attr.style & ~bit);
}

void SetFlag(TAttr& attr, uint8_t bit, bool on)
{
    attr.flags = on ? uint8_t(attr.flags | bit) : uint8_t(attr.flags & ~bit);
}

} // namespace

void RtfBuilder::OnText(std::span<const uint8_t> bytes, bool controlBytes)
{
    if (InBody() && !table_.defining) {
        OnParagraphContent();
        // The common case: a run of ordinary characters goes in with one copy.
        if (!controlBytes) {
            out_.AppendRun(bytes, g_.attr);
            return;
        }
        size_t start = 0;
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] >= 32 && bytes[i] != 127)
                continue;
            if (i > start)
                out_.AppendRun(bytes.subspan(start, i - start), g_.attr);
            InsertChar(bytes[i]);
            start = i + 1;
        }
        if (start < bytes.size())
            out_.AppendRun(bytes.subspan(start), g_.attr);
        return;
    }
    for (uint8_t c : bytes)
        InsertChar(c);
}

void RtfBuilder::InsertChar(int code)
{
    switch (g_.destination) {
    case Destination::Normal:
    case Destination::Field:
        table_.defining = false;
        OnParagraphContent();
        if (code == kLineCode)
            code = CharCode::SoftBreak;
        else if (code == 13 || code == 10 || code < 1)
            return;
        if (code == CharCode::Object)
            InsertObjectChar();
        else
            out_.Append(uint8_t(code), g_.attr);
        return;
    case Destination::FontTable:
        if (code == ';')
            CommitFontName();
        else if (code >= 32 && code < 256 && (code != ' ' || !fontName_.empty()) && fontName_.size() < 255)
            fontName_ += char(code);
        return;
    case Destination::ColourTable:
        if (code == ';') {
            ++colourIndex_;
            if (!keepHeader_ && colourIndex_ >= 0 && colourIndex_ <= 14)
                header_.colors[size_t(colourIndex_)] = RGBColor{};
        }
        return;
    case Destination::PictureFile:
        if (code >= 32 && code < 256 && picture_.fileName.size() < 255)
            picture_.fileName += char(code);
        return;
    case Destination::Title:
    case Destination::Comment:
    case Destination::Subject: {
        std::string& text = g_.destination == Destination::Title ? header_.title
                          : g_.destination == Destination::Comment ? header_.comment : header_.subject;
        if ((code >= 32 && code < 256) || code == CharCode::Tab)
            text += char(code);
        return;
    }
    case Destination::Footnote:
        if (!footnote_)
            return;
        if (code == kLineCode)
            code = CharCode::SoftBreak; // also the echo of a mark that is a soft line break
        if (footnoteEcho_) {
            // The writer repeats the mark, superscript, at the start of the footnote's text.
            footnoteEcho_ = false;
            if (g_.superscriptSeen && footnote_->text.empty() && code == uint8_t(footnote_->mark)) {
                footnoteEchoBlank_ = true;
                return;
            }
        }
        if (footnoteEchoBlank_) {
            footnoteEchoBlank_ = false;
            if (code == ' ' || code == 0xA0)
                return;
        }
        if ((code >= 32 && code < 256) || code == CharCode::Tab || code == CharCode::SoftBreak)
            footnote_->text += char(code);
        return;
    case Destination::FieldInstruction:
        if (code >= 32 && code < 256 && fieldInstruction_.size() < 255)
            fieldInstruction_ += char(code);
        return;
    case Destination::Skip:
    case Destination::PictureHex:
        return;
    }
}

// \uN: a character that cp1252 holds goes in as its byte and its fallback is skipped; any other
// keeps the fallback the writer gave, or becomes '?' when it gave none.
void RtfBuilder::OnUnicode(int32_t n)
{
    bool skipFallback = false;
    if (const auto byte = UnicodeInsertion(n, g_.unicodeSkip, skipFallback))
        InsertChar(*byte);
    if (skipFallback)
        fallback_.Start(g_.unicodeSkip);
}

void RtfBuilder::CommitFontName()
{
    while (!fontName_.empty() && fontName_.back() == ' ')
        fontName_.pop_back();
    if (fontNumber_ >= 0 && fontNumber_ < 99) {
        int index = header_.findFont(fontName_);
        if (index < 0 && !keepHeader_)
            index = header_.addFont(fontName_, fontFamily_, fontCharset_);
        if (index < 0 || index >= MaxFonts)
            index = 0;
        fontMap_[size_t(fontNumber_)] = uint8_t(index);
        if (fontNumber_ == 0)
            g_.attr.font = uint8_t(index);
    }
    fontName_.clear();
    fontFamily_ = 0;
    fontCharset_ = 0;
}

void RtfBuilder::OnCharacterProperty(RtfKeywordId id, int32_t n)
{
    using I = RtfKeywordId;
    TAttr& a = g_.attr;
    const bool on = n != 0;
    switch (id) {
    case I::Plain: {
        const bool code = a.hasFlag(AttrFlag::RtfCode); // only \wprtf0 ends a code run
        a = TAttr{};
        a.font = fontMap_[0]; // the RTF's font 0, the default font it names
        SetFlag(a, AttrFlag::RtfCode, code);
        g_.superscriptSeen = false;
        break;
    }
    case I::Font:
        if (g_.destination == Destination::FontTable) {
            fontNumber_ = n;
            fontName_.clear();
        } else if (n >= 0 && n < 99) {
            a.font = fontMap_[size_t(n)];
        }
        break;
    case I::FontSize:
        a.size = uint8_t(std::clamp(n / 2, 0, 255));
        if (a.size == 0)
            a.size = DefaultPointSize;
        break;
    case I::Bold: SetStyle(a, AttrStyle::Bold, on); break;
    case I::Italic: SetStyle(a, AttrStyle::Italic, on); break;
    case I::Underline: SetStyle(a, AttrStyle::Underline, on); break;
    case I::StrikeOut: SetStyle(a, AttrStyle::StrikeOut, on); break;
    case I::Hyperlink: SetStyle(a, AttrStyle::Hyperlink, on); break;
    case I::Protected: SetFlag(a, AttrFlag::Protected, on); break;
    case I::Hidden: SetFlag(a, AttrFlag::Hidden, on); break;
    case I::Superscript:
        g_.superscriptSeen = on;
        if (g_.destination == Destination::Normal)
            SetStyle(a, AttrStyle::Superscript, on);
        break;
    case I::Subscript: SetStyle(a, AttrStyle::Subscript, on); break;
    case I::NoSuperSub:
        SetStyle(a, AttrStyle::Superscript | AttrStyle::Subscript, false);
        g_.superscriptSeen = false;
        break;
    case I::InsertPoint:
        SetFlag(a, AttrFlag::InsertPoint, on);
        if (on) {
            SetFlag(a, AttrFlag::Automatic, false);
            a.tag = uint16_t(n);
        } else {
            a.tag = 0;
        }
        break;
    case I::Automatic:
        SetFlag(a, AttrFlag::Automatic, on);
        if (on) {
            SetFlag(a, AttrFlag::InsertPoint, false);
            a.tag = 0;
        }
        break;
    case I::RtfCode:
        SetFlag(a, AttrFlag::RtfCode, on);
        if (on)
            lexer_.StartCodeRun(int(saved_.size()) + unsavedDepth_);
        break;
    case I::TextColour:
        if (n >= 0 && n <= 15)
            a.setTextColor(n);
        break;
    case I::BackColour:
        if (n >= 0 && n <= 15)
            a.setBackColor(n);
        break;
    default:
        break;
    }
}

// The footnote's mark is the character inserted last, which becomes its anchor.
void RtfBuilder::StartFootnote()
{
    g_.destination = Destination::Footnote;
    footnote_ = nullptr;
    if (doc_.footnotes().size() >= kMaxObjects)
        return;
    TFootnote created;
    created.number = NextFootnoteNumber();
    highestFootnote_ = created.number;
    TTextLine* line = out_.lastLine();
    const int index = out_.lastIndex();
    if (line && index >= 0 && index < line->length())
        created.mark = line->text()[index];
    footnote_ = &doc_.addFootnote(std::move(created));
    if (line && index >= 0 && index < line->length() && line->hasAttributes()) {
        TAttr anchor = line->attrAt(index);
        anchor.flags |= AttrFlag::FootnoteAnchor;
        anchor.tag = uint16_t(footnote_->number);
        line->setAttr(index, anchor);
    }
    footnoteEcho_ = true;
    footnoteEchoBlank_ = false;
}

// \chftn, the automatic footnote mark other writers use. In the text it stands for the number
// the next footnote gets, which it inserts as the one-character mark that \footnote then takes
// (a letter of the text must never become the mark). At the start of a footnote's own text it
// is the footnote's copy of its mark, left out like the engine's own copy.
void RtfBuilder::OnAutomaticFootnoteMark()
{
    if (g_.destination == Destination::Footnote) {
        if (footnote_ && footnote_->text.empty()) {
            footnoteEcho_ = false;
            footnoteEchoBlank_ = true;
        }
        return;
    }
    if (!InBody())
        return;
    const int next = NextFootnoteNumber();
    InsertChar(next <= 9 ? '0' + next : '*');
}

// One above the highest number in the document, as the document numbers a footnote itself.
int RtfBuilder::NextFootnoteNumber()
{
    if (highestFootnote_ < 0) {
        highestFootnote_ = 0;
        for (const auto& footnote : doc_.footnotes())
            highestFootnote_ = std::max(highestFootnote_, footnote->number);
    }
    return highestFootnote_ + 1;
}

} // namespace quillory::rtf
