// The RTF reader's characters: where each destination's text goes, bytes decoded by the code
// page in force, character attributes, \u with its fallback, the font and colour tables, and
// footnotes.
#include "richtext/rtf/RtfReaderBuilder.h"

#include "platform/Cp1252.h"
#include "platform/Utf8.h"

#include <cstring>

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

namespace {

std::span<const uint8_t> Bytes(std::string_view text) noexcept
{
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

} // namespace

void RtfBuilder::OnText(std::span<const uint8_t> bytes, bool specialBytes)
{
    if (decoder_.LeadPending() && !bytes.empty()) {
        // The trail byte of a double-byte character whose lead came as \'hh: writers put it
        // raw when it is ASCII (\'83A).
        InsertByte(bytes[0]);
        bytes = bytes.subspan(1);
    }
    if (InBody() && !table_.defining) {
        OnParagraphContent();
        // The common case: a run of ordinary characters goes in with one copy.
        if (!specialBytes) {
            out_.AppendRun(bytes, g_.attr);
            return;
        }
        // Decoded bytes and ASCII gather into one run; control bytes go in one by one.
        decoded_.clear();
        const int page = decoder_.FontCodePage(g_.font);
        for (const uint8_t byte : bytes) {
            if (byte >= 0x80) {
                if (const std::string_view whole = decoder_.WholeCharacter(byte, page); !whole.empty()) {
                    decoded_ += whole;
                    continue;
                }
            }
            if (decoder_.Byte(byte, page, decoded_))
                continue;
            if (byte >= 32 && byte != 127) {
                decoded_ += char(byte);
                continue;
            }
            if (!decoded_.empty())
                out_.AppendRun(Bytes(decoded_), g_.attr);
            decoded_.clear();
            InsertChar(byte);
        }
        if (!decoded_.empty())
            out_.AppendRun(Bytes(decoded_), g_.attr);
        attention_ = attention_ || decoder_.LeadPending();
        return;
    }
    for (const uint8_t byte : bytes)
        InsertByte(byte);
}

int RtfBuilder::CodePageInForce() const noexcept
{
    // A font's name is in the code page of its own charset.
    return g_.destination == Destination::FontTable ? CodePageOfFontCharset(fontCharset_)
                                                    : decoder_.FontCodePage(g_.font);
}

void RtfBuilder::InsertByte(uint8_t byte)
{
    if (byte >= 0x80) {
        // The common case, an accented letter of the body, goes straight in.
        if (InBody() && !table_.defining) {
            if (const std::string_view whole = decoder_.WholeCharacter(byte, decoder_.FontCodePage(g_.font));
                !whole.empty()) {
                OnParagraphContent();
                out_.AppendRun(Bytes(whole), g_.attr);
                return;
            }
        } else if (const std::string_view whole = decoder_.WholeCharacter(byte, CodePageInForce()); !whole.empty()) {
            InsertText(whole);
            return;
        }
    }
    decoded_.clear();
    const bool decoded = decoder_.Byte(byte, CodePageInForce(), decoded_);
    attention_ = attention_ || decoder_.LeadPending();
    InsertDecoded(decoded_); // a character, or a lead byte that waited in vain
    if (!decoded)
        InsertChar(byte);
}

void RtfBuilder::InsertDecoded(std::string_view utf8)
{
    size_t start = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (uint8_t(utf8[i]) >= 0x80)
            continue;
        if (i > start)
            InsertText(utf8.substr(start, i - start));
        InsertChar(uint8_t(utf8[i]));
        start = i + 1;
    }
    if (start < utf8.size())
        InsertText(utf8.substr(start));
}

void RtfBuilder::FlushPending()
{
    decoded_.clear();
    decoder_.Flush(decoded_);
    InsertDecoded(decoded_);
}

void RtfBuilder::InsertChar(int code)
{
    if (code >= 0x80 && code <= 0xFF) {
        std::string utf8;
        AppendUtf8(utf8, Cp1252ToUnicode(uint8_t(code)));
        InsertText(utf8);
        return;
    }
    const bool printable = code >= 32 && code < 0x80;
    const char c = char(code);
    switch (g_.destination) {
    case Destination::Normal:
    case Destination::Field:
        table_.defining = false;
        OnParagraphContent();
        if (code == kLineCode)
            code = CharCode::SoftBreak;
        // The placeholder codes other than an object's stand for nothing without their object.
        else if (code == 13 || code == 10 || code < 1 || code > 0x7F || code == CharCode::ObjectSecond
                 || code == CharCode::Reserved)
            return;
        if (code == CharCode::Object)
            InsertObjectChar();
        else
            out_.Append(uint8_t(code), g_.attr);
        return;
    case Destination::FontTable:
        if (code == ';')
            CommitFontName();
        else if (printable)
            InsertText(std::string_view(&c, 1));
        return;
    case Destination::ColourTable:
        if (code == ';') {
            ++colourIndex_;
            if (!keepHeader_ && colourIndex_ >= 0 && colourIndex_ <= 14)
                header_.colors[size_t(colourIndex_)] = RGBColor{};
        }
        return;
    case Destination::Title:
    case Destination::Comment:
    case Destination::Subject:
        if (printable || code == CharCode::Tab)
            InsertText(std::string_view(&c, 1));
        return;
    case Destination::Footnote: {
        // \line is the soft line break, also as the echo of a mark that is one.
        const char kept = code == kLineCode ? char(CharCode::SoftBreak) : c;
        if (printable || code == CharCode::Tab || code == kLineCode || code == CharCode::SoftBreak)
            InsertText(std::string_view(&kept, 1));
        return;
    }
    case Destination::PictureFile:
    case Destination::FieldInstruction:
        if (printable)
            InsertText(std::string_view(&c, 1));
        return;
    case Destination::Skip:
    case Destination::PictureHex:
        return;
    }
}

void RtfBuilder::InsertText(std::string_view utf8)
{
    // Text whose length is bounded keeps whole characters only.
    const auto appendBounded = [utf8](std::string& text, size_t limit = 255) {
        if (text.size() + utf8.size() <= limit)
            text += utf8;
    };
    switch (g_.destination) {
    case Destination::Normal:
    case Destination::Field:
        table_.defining = false;
        OnParagraphContent();
        out_.AppendRun(Bytes(utf8), g_.attr);
        return;
    case Destination::FontTable:
        if (utf8 != " " || !fontName_.empty())
            appendBounded(fontName_);
        return;
    case Destination::PictureFile:
        // The name is bounded when the picture ends; its quotes and blanks around it count not.
        appendBounded(picture_.fileName, kMaxPictureFileText);
        return;
    case Destination::FieldInstruction:
        appendBounded(fieldInstruction_);
        return;
    case Destination::Title:
        header_.title += utf8;
        return;
    case Destination::Comment:
        header_.comment += utf8;
        return;
    case Destination::Subject:
        header_.subject += utf8;
        return;
    case Destination::Footnote:
        if (!footnote_)
            return;
        if (footnoteEcho_) {
            // The writer repeats the mark, superscript, at the start of the footnote's text.
            footnoteEcho_ = false;
            if (g_.superscriptSeen && footnote_->text.empty() && utf8.size() == 1 && utf8[0] == footnote_->mark) {
                footnoteEchoBlank_ = true;
                return;
            }
        }
        if (footnoteEchoBlank_) {
            footnoteEchoBlank_ = false;
            if (utf8 == " " || utf8 == "\xC2\xA0") // a blank or no-break space
                return;
        }
        footnote_->text += utf8;
        return;
    case Destination::ColourTable:
    case Destination::Skip:
    case Destination::PictureHex:
        return;
    }
}

namespace {

// A \uN that reads as a control code, which goes in by InsertChar (or not at all).
constexpr bool IsControlCode(int32_t n) noexcept { return n >= 0 && n < 32; }

} // namespace

// \uN: the character goes in as UTF-8 (a high surrogate waits for its low half) and the
// fallback after it is skipped. Inside an RTF-code run the lexer took the writer's one '?'
// with the word already.
void RtfBuilder::OnUnicode(int32_t n)
{
    if (unicodeRuns_ && InBody() && lexer_.Mode() == RtfLexMode::Normal && !decoder_.LeadPending()
        && !IsControlCode(n)) [[likely]] {
        ReadUnicodeRun(n);
        return;
    }
    decoded_.clear();
    decoder_.Unicode(n, CodePageInForce(), decoded_);
    InsertDecoded(decoded_);
    if (lexer_.Mode() != RtfLexMode::CodeRun)
        fallback_.Start(g_.unicodeSkip);
    attention_ = true;
}

// Text of another script comes as one \uN after another, each with its fallback, words apart: a
// token each, a keyword lookup and an append of a few bytes would cost three times the time of
// the same text in Western letters. Here words, fallbacks and the plain text between them are
// read straight from the bytes and gathered into few appends. Each step does what the tokens
// would: the run stops before anything else (a brace, another word, a \u of a control code),
// leaving the fallback still to skip and a waiting high surrogate to the token-by-token path.
void RtfBuilder::ReadUnicodeRun(int32_t n)
{
    const int page = decoder_.FontCodePage(g_.font);
    // Appends never end inside a character, so a few long ones fill segments as many short
    // ones do.
    constexpr size_t kBuffer = 2048;
    char buffer[kBuffer];
    size_t used = 0;
    const auto flush = [&] {
        if (used > 0)
            InsertText(std::string_view(buffer, used));
        used = 0;
    };
    const auto put = [&](std::string_view bytes) {
        if (bytes.empty())
            return; // no memcpy from the null of an empty view
        if (used + bytes.size() > kBuffer) {
            flush();
            if (bytes.size() > kBuffer) {
                InsertText(bytes);
                return;
            }
        }
        std::memcpy(buffer + used, bytes.data(), bytes.size());
        used += bytes.size();
    };
    for (;;) {
        const char32_t c = n < 0 && n >= -32768 ? char32_t(n + 65536) : char32_t(n);
        // Most characters of a script are in the first plane, no surrogates and no symbol
        // font's bytes: their UTF-8 is written here. The rest the decoder knows.
        if (c >= 0x800 && c <= 0xFFFF && (c < 0xD800 || c >= 0xE000) && !decoder_.SurrogatePending()
            && (page != kSymbolCodePage || c < 0xF020 || c > 0xF0FF)) {
            if (used + 3 > kBuffer)
                flush();
            buffer[used] = char(0xE0 | (c >> 12));
            buffer[used + 1] = char(0x80 | ((c >> 6) & 0x3F));
            buffer[used + 2] = char(0x80 | (c & 0x3F));
            used += 3;
        } else if (c >= 0x80 && c < 0x800 && !decoder_.SurrogatePending()) {
            if (used + 2 > kBuffer)
                flush();
            buffer[used] = char(0xC0 | (c >> 6));
            buffer[used + 1] = char(0x80 | (c & 0x3F));
            used += 2;
        } else {
            decoded_.clear();
            decoder_.Unicode(n, page, decoded_);
            put(decoded_);
        }
        const int left = lexer_.SkipFallback(g_.unicodeSkip);
        fallback_.Start(left);
        if (left > 0)
            break;
        // Text between the words goes in as its token would; after a high surrogate it would
        // first end the surrogate, which the token-by-token path does.
        if (!decoder_.SurrogatePending())
            put(lexer_.PlainTextAhead());
        const size_t next = lexer_.UnicodeWordAhead(n);
        if (next == 0 || IsControlCode(n))
            break;
        lexer_.SkipTo(next);
    }
    flush();
    attention_ = fallback_.Active() || decoder_.Pending();
}

// Text of a single-byte code page (a document in cp1251, say) comes as one \'hh after another:
// read as ReadUnicodeRun reads \uN, with the plain text between, until anything else.
void RtfBuilder::ReadByteRun(uint8_t byte)
{
    const int page = decoder_.FontCodePage(g_.font);
    std::string_view whole = decoder_.WholeCharacter(byte, page);
    if (whole.empty()) {
        InsertByte(byte); // a double-byte page, or no character of its own
        return;
    }
    constexpr size_t kBuffer = 2048;
    char buffer[kBuffer];
    size_t used = 0;
    const auto put = [&](std::string_view bytes) {
        if (bytes.empty())
            return; // no memcpy from the null of an empty view
        if (used + bytes.size() > kBuffer) {
            if (used > 0)
                InsertText(std::string_view(buffer, used));
            used = 0;
            if (bytes.size() > kBuffer) {
                InsertText(bytes);
                return;
            }
        }
        std::memcpy(buffer + used, bytes.data(), bytes.size());
        used += bytes.size();
    };
    for (;;) {
        put(whole);
        put(lexer_.PlainTextAhead());
        const size_t next = lexer_.HexCharAhead(byte);
        if (next == 0 || byte < 0x80)
            break;
        whole = decoder_.WholeCharacter(byte, page);
        if (whole.empty())
            break;
        lexer_.SkipTo(next);
    }
    if (used > 0)
        InsertText(std::string_view(buffer, used));
}

void RtfBuilder::CommitFontName()
{
    while (!fontName_.empty() && fontName_.back() == ' ')
        fontName_.pop_back();
    // The header keeps MaxFontName bytes of a name: the cut falls between characters.
    if (fontName_.size() > size_t(MaxFontName))
        fontName_.resize(CharBoundaryAtOrBefore(fontName_, size_t(MaxFontName)));
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
    decoder_.DefineFont(fontNumber_, fontCharset_);
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
        SelectFont(0);
        SetFlag(a, AttrFlag::RtfCode, code);
        g_.superscriptSeen = false;
        break;
    }
    case I::Font:
        if (g_.destination == Destination::FontTable) {
            fontNumber_ = n;
            fontName_.clear();
        } else {
            if (n >= 0 && n < 99)
                a.font = fontMap_[size_t(n)];
            SelectFont(n);
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

// The footnote's mark is the character inserted last, which becomes its anchor. A mark is one
// byte of text: where the last character is none (a character beyond ASCII, an object's
// placeholder or another control code, another footnote's mark) or there is none, the footnote's default mark is
// inserted as its anchor, so that no footnote is left without one (the writer writes a
// footnote where its anchor stands, and one without would be lost).
void RtfBuilder::StartFootnote()
{
    if (doc_.footnotes().size() >= kMaxObjects) {
        g_.destination = Destination::Footnote;
        footnote_ = nullptr;
        return;
    }
    TFootnote created;
    created.number = NextFootnoteNumber();
    highestFootnote_ = created.number;
    const auto markable = [this](const TTextLine* line, int last) {
        if (!line || last < 0 || last >= line->length() || IsUtf8Continuation(uint8_t(line->text()[last])))
            return false;
        const uint8_t code = uint8_t(line->text()[last]);
        // A control code other than TAB and the soft break is no text inside the footnote,
        // where the writer repeats the mark.
        if (code >= 0x80 || (code < 32 && code != CharCode::Tab && code != CharCode::SoftBreak))
            return false;
        return !line->hasAttributes() || !line->attrAt(last).hasFlag(AttrFlag::FootnoteAnchor);
    };
    if (!markable(out_.lastLine(), out_.lastIndex()))
        InsertChar(uint8_t(created.mark));
    g_.destination = Destination::Footnote;
    footnote_ = nullptr;
    TTextLine* line = out_.lastLine();
    const int last = out_.lastIndex();
    if (!markable(line, last))
        return; // the text could not take the mark
    created.mark = line->text()[last];
    footnote_ = &doc_.addFootnote(std::move(created));
    if (line->hasAttributes()) {
        TAttr anchor = line->attrAt(last);
        anchor.flags |= AttrFlag::FootnoteAnchor;
        anchor.tag = uint16_t(footnote_->number);
        line->setAttr(last, anchor);
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
