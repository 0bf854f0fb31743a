// The text pass over an entry. For RTF it walks the reader's own tokens and keyword table and
// keeps only what decides which characters land in which paragraph; every rule below mirrors
// one of TWPRtfReader's (richtext/rtf/RtfReader*.cpp), so the search finds exactly what the
// editor would show. A test compares both on the RTF corpora: change them together.
#include "app/EntryText.h"

#include "platform/Cp1252.h"
#include "platform/Utf8.h"
#include "richtext/io/DocumentFormat.h"
#include "richtext/model/Attr.h"
#include "richtext/model/Document.h"
#include "richtext/model/EncodedPicture.h"
#include "richtext/rtf/DibImage.h"
#include "richtext/rtf/RtfKeywordTable.h"
#include "richtext/rtf/RtfLexer.h"
#include "richtext/rtf/RtfUnicode.h"

#include <algorithm>
#include <string>
#include <vector>

namespace quillory {

namespace {

using rtf::RtfKeyword;
using rtf::RtfKeywordId;
using rtf::RtfKeywordKind;
using rtf::RtfLexer;
using rtf::RtfLexMode;
using rtf::RtfToken;
using rtf::RtfTokenKind;

// Where a group's characters go. Only Body and Field reach the paragraphs.
enum class Sink : std::uint8_t {
    Body, Field, Skip, FontTable, ColourTable, PictureHex, PictureFile, Title, Comment, Subject, Footnote,
    FieldInstruction, // read for its control words (a picture may stand in it), its text is no entry text
};

struct GroupState {
    Sink sink = Sink::Body;
    bool tableMode = false;    // \par inside a table cell is a line break
    bool shapePicture = false; // inside \shppict
    int unicodeSkip = 1;       // \uc
    int font = 0;              // the RTF number of the font in force, whose code page decodes the text
    Sink unicodeText = Sink::Skip;         // inside \upr: where the text of its \ud goes
};

// The picture kinds the model holds, as the reader sorts them.
enum class PictureKind : std::uint8_t { None, Stored, Dib, Encoded };

constexpr int kLineCode = 1010;              // what \line inserts (the reader's code)
constexpr int kMaxSavedGroups = 4096;        // TWPRtfReader::kMaxSavedGroups
constexpr std::size_t kMaxObjects = 10000;   // objects a document takes before more are dropped

class RtfTextPass {
public:
    RtfTextPass(std::span<const std::uint8_t> rtf, const ParagraphVisitor& visit) : lexer_(rtf), visit_(visit)
    {
        saved_.reserve(64);
    }

    bool Run()
    {
        for (;;) {
            RtfToken token = lexer_.Next();
            if (token.kind == RtfTokenKind::End || stopped_)
                break;
            const bool fallback = fallback_.Active() && fallback_.Consume(token);
            if (fallback && (token.kind != RtfTokenKind::Text || token.bytes.empty()))
                continue;
            if (decoder_.Pending() && !decoder_.Continues(token)) {
                decoded_.clear();
                decoder_.Flush(decoded_);
                InsertDecoded(decoded_);
            }
            if (fallback) {
                OnText(token.bytes); // the text after the fallback
                continue;
            }
            switch (token.kind) {
            case RtfTokenKind::GroupOpen:
                skipNextUnknown_ = false;
                if (saved_.size() < std::size_t(kMaxSavedGroups))
                    saved_.push_back(g_);
                else
                    ++unsavedDepth_;
                break;
            case RtfTokenKind::GroupClose:
                if (GroupClose())
                    return Finish();
                break;
            case RtfTokenKind::ControlWord:
            case RtfTokenKind::ControlSymbol:
                OnControl(token);
                break;
            case RtfTokenKind::HexChar:
                skipNextUnknown_ = false;
                if (token.value == CharCode::SoftBreak && lexer_.Mode() == RtfLexMode::CodeRun)
                    InsertChar(kLineCode);
                else
                    InsertByte(token.value);
                break;
            case RtfTokenKind::Text:
                skipNextUnknown_ = false;
                OnText(token.bytes);
                break;
            case RtfTokenKind::Binary:
            case RtfTokenKind::PictureData:
                // Only the placeholder counts, but a picture in \shppict leaves one only when
                // it can be built, and whether it can is in its bytes.
                if (g_.sink == Sink::PictureHex && g_.shapePicture)
                    pictureBytes_.append(reinterpret_cast<const char*>(token.bytes.data()), token.bytes.size());
                break;
            case RtfTokenKind::CodeRunEnd:
            case RtfTokenKind::End:
                break;
            }
        }
        // The input ended after a lead byte or a high surrogate.
        decoded_.clear();
        decoder_.Flush(decoded_);
        InsertDecoded(decoded_);
        return Finish();
    }

private:
    bool InBody() const noexcept { return g_.sink == Sink::Body || g_.sink == Sink::Field; }

    // True when the outermost group closed: nothing after it is read.
    bool GroupClose()
    {
        skipNextUnknown_ = false;
        if (unsavedDepth_ > 0) {
            --unsavedDepth_;
            return false;
        }
        if (saved_.empty())
            return true;
        const Sink inner = g_.sink;
        g_ = saved_.back();
        saved_.pop_back();
        if ((inner == Sink::PictureHex || inner == Sink::PictureFile) && g_.sink != inner)
            FinishPicture(inner);
        if (inner == Sink::FontTable && g_.sink != Sink::FontTable)
            g_.font = 0; // text goes on in the RTF's font 0
        SyncLexMode();
        return saved_.empty() && unsavedDepth_ == 0;
    }

    void SyncLexMode()
    {
        if (lexer_.Mode() == RtfLexMode::CodeRun)
            return;
        lexer_.SetMode(g_.sink == Sink::PictureHex ? RtfLexMode::PictureHex : RtfLexMode::Normal);
    }

    void OnText(std::span<const std::uint8_t> bytes)
    {
        if (decoder_.LeadPending() && !bytes.empty()) {
            InsertByte(bytes[0]); // the trail byte of a double-byte character
            bytes = bytes.subspan(1);
        }
        if (!InBody()) {
            for (const std::uint8_t c : bytes)
                InsertByte(c);
            return;
        }
        std::size_t start = 0;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] >= 32 && bytes[i] < 127)
                continue;
            paragraph_.append(reinterpret_cast<const char*>(bytes.data()) + start, i - start);
            InsertByte(bytes[i]);
            if (decoder_.LeadPending() && i + 1 < bytes.size())
                InsertByte(bytes[++i]);
            start = i + 1;
        }
        paragraph_.append(reinterpret_cast<const char*>(bytes.data()) + start, bytes.size() - start);
    }

    int CodePageInForce() const noexcept
    {
        return g_.sink == Sink::FontTable ? rtf::CodePageOfFontCharset(fontCharset_)
                                          : decoder_.FontCodePage(g_.font);
    }

    // A byte of text, \'hh or raw, in the code page in force.
    void InsertByte(std::uint8_t byte)
    {
        decoded_.clear();
        const bool decoded = decoder_.Byte(byte, CodePageInForce(), decoded_);
        InsertDecoded(decoded_);
        if (!decoded)
            InsertChar(byte);
    }

    // ASCII through InsertChar, the rest through InsertText.
    void InsertDecoded(std::string_view utf8)
    {
        std::size_t start = 0;
        for (std::size_t i = 0; i < utf8.size(); ++i) {
            if (static_cast<std::uint8_t>(utf8[i]) >= 0x80)
                continue;
            if (i > start)
                InsertText(utf8.substr(start, i - start));
            InsertChar(static_cast<std::uint8_t>(utf8[i]));
            start = i + 1;
        }
        if (start < utf8.size())
            InsertText(utf8.substr(start));
    }

    // Characters beyond ASCII, in UTF-8.
    void InsertText(std::string_view utf8)
    {
        switch (g_.sink) {
        case Sink::Body:
        case Sink::Field:
            paragraph_ += utf8;
            return;
        case Sink::Title:
        case Sink::Comment:
        case Sink::Subject:
            headerFilled_[std::size_t(g_.sink) - std::size_t(Sink::Title)] = true;
            return;
        case Sink::PictureFile:
            if (pictureFile_.size() + utf8.size() <= 255)
                pictureFile_ += utf8;
            return;
        default:
            return;
        }
    }

    // ASCII characters and control codes, kLineCode, and from 0x80 to 0xFF the cp1252 character
    // that a symbol word names.
    void InsertChar(int code)
    {
        if (code >= 0x80 && code <= 0xFF) {
            std::string utf8;
            AppendUtf8(utf8, Cp1252ToUnicode(static_cast<unsigned char>(code)));
            InsertText(utf8);
            return;
        }
        switch (g_.sink) {
        case Sink::Body:
        case Sink::Field:
            if (code == kLineCode)
                code = CharCode::SoftBreak;
            else if (code == 13 || code == 10 || code < 1 || code > 0x7F || code == CharCode::ObjectSecond
                     || code == CharCode::Reserved)
                return;  // the placeholders other than an object's stand for nothing without it
            if (code == CharCode::Object) {
                if (objects_ >= kMaxObjects)
                    return;
                ++objects_;
            }
            paragraph_ += char(code);
            return;
        case Sink::FontTable:
            if (code == ';') {
                decoder_.DefineFont(fontNumber_, fontCharset_);
                fontCharset_ = 0;
            }
            return;
        case Sink::Title:
        case Sink::Comment:
        case Sink::Subject:
            if ((code >= 32 && code < 0x80) || code == CharCode::Tab)
                headerFilled_[std::size_t(g_.sink) - std::size_t(Sink::Title)] = true;
            return;
        case Sink::PictureFile:
            if (code >= 32 && code < 0x80 && pictureFile_.size() < 255)
                pictureFile_ += char(code);
            return;
        default:
            return;
        }
    }

    void OnControl(const RtfToken& token)
    {
        const bool afterStar = skipNextUnknown_;
        skipNextUnknown_ = false;
        if (g_.sink == Sink::Skip) {
            // Inside \upr only its \ud group is read.
            if (g_.unicodeText != Sink::Skip && token.key == rtf::kUnicodeDestinationKey) {
                g_.sink = g_.unicodeText;
                SyncLexMode();
            }
            return;
        }
        const RtfKeyword* keyword = rtf::FindRtfKeyword(token.key);
        if (!keyword) {
            if (afterStar) {
                g_.sink = Sink::Skip;
                SyncLexMode();
            }
            return;
        }
        const std::int32_t n = rtf::RtfKeywordParameter(*keyword, token.hasParameter, token.parameter);
        switch (keyword->kind) {
        case RtfKeywordKind::InsertChar:
            InsertChar(keyword->value);
            break;
        case RtfKeywordKind::Destination:
            OnDestination(keyword->id);
            SyncLexMode();
            break;
        case RtfKeywordKind::Property:
            OnProperty(keyword->id, n);
            break;
        case RtfKeywordKind::Special:
            OnSpecial(keyword->id, token.hasParameter, token.parameter);
            break;
        }
    }

    void OnDestination(RtfKeywordId id)
    {
        using I = RtfKeywordId;
        switch (id) {
        case I::FontTable: g_.sink = Sink::FontTable; break;
        case I::ColourTable: g_.sink = Sink::ColourTable; break;
        case I::Title:
        case I::Comment:
        case I::Subject: {
            // A header text already read is kept: a second one is skipped whole.
            const Sink sink = id == I::Title ? Sink::Title : id == I::Comment ? Sink::Comment : Sink::Subject;
            g_.sink = headerFilled_[std::size_t(sink) - std::size_t(Sink::Title)] ? Sink::Skip : sink;
            break;
        }
        case I::Footnote:
            // Footnote text is kept apart from the paragraphs, which search does not reach.
            if (InBody()) {
                g_.sink = Sink::Footnote;
                if (footnotes_ < kMaxObjects)
                    AnchorFootnote();
                ++footnotes_;
            } else {
                g_.sink = Sink::Skip;
            }
            break;
        case I::Field:
            if (InBody())
                g_.sink = Sink::Field;
            break;
        case I::FieldInstruction:
            g_.sink = InBody() ? Sink::FieldInstruction : Sink::Skip;
            break;
        case I::FieldResult:
            if (InBody())
                g_.sink = Sink::Field;
            break;
        case I::ShapePicture:
            g_.shapePicture = true;
            shapePictureTaken_ = false;
            break;
        case I::NonShapePicture:
            if (shapePictureTaken_)
                g_.sink = Sink::Skip;
            shapePictureTaken_ = false;
            break;
        case I::UnicodePair:
            g_.unicodeText = g_.sink;
            g_.sink = Sink::Skip;
            break;
        case I::UnicodeText:
            break;
        case I::Picture:
        case I::PictureFile:
            if (g_.sink == Sink::PictureHex || g_.sink == Sink::PictureFile)
                break; // one picture at a time
            g_.sink = id == I::Picture ? Sink::PictureHex : Sink::PictureFile;
            pictureKind_ = PictureKind::None;
            pictureFile_.clear();
            pictureBytes_.clear();
            break;
        default:
            g_.sink = Sink::Skip;
            break;
        }
    }

    void OnProperty(RtfKeywordId id, std::int32_t n)
    {
        using I = RtfKeywordId;
        switch (id) {
        case I::Font:
            if (g_.sink == Sink::FontTable)
                fontNumber_ = n;
            else
                g_.font = n;
            break;
        case I::Plain:
            g_.font = 0;
            break;
        case I::FontCharset:
            fontCharset_ = std::clamp(n, 0, 255);
            break;
        case I::DocumentCodePage:
            decoder_.SetDocumentCodePage(n);
            break;
        case I::Pard:
            g_.tableMode = false;
            break;
        case I::Par:
            if (!InBody())
                break;
            if (g_.tableMode)
                InsertChar(kLineCode);
            else
                EndParagraph();
            break;
        case I::RowDefinition:
        case I::InTable:
            g_.tableMode = true;
            break;
        case I::Cell:
            if (InBody())
                EndParagraph(true);
            break;
        case I::RtfCode:
            if (n != 0)
                lexer_.StartCodeRun(int(saved_.size()) + unsavedDepth_);
            break;
        case I::Metafile:
        case I::DeviceBitmap:
            pictureKind_ = PictureKind::Stored;
            break;
        case I::Dib:
            pictureKind_ = PictureKind::Dib;
            break;
        case I::Png:
        case I::Jpeg:
            pictureKind_ = PictureKind::Encoded;
            break;
        default:
            break;
        }
    }

    void OnSpecial(RtfKeywordId id, bool hasParameter, std::int32_t n)
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
            // The mark of the next footnote, a digit; in a footnote's own text it is left out.
            if (InBody())
                InsertChar(footnotes_ < 9 ? '1' + footnotes_ : '*');
            break;
        default:
            break;
        }
    }

    void OnUnicode(std::int32_t n)
    {
        decoded_.clear();
        decoder_.Unicode(n, CodePageInForce(), decoded_);
        InsertDecoded(decoded_);
        fallback_.Start(g_.unicodeSkip);
    }

    // A picture group closed: a picture of a kind the model holds, or one named by a file,
    // leaves its placeholder character in the text.
    void FinishPicture(Sink which)
    {
        // The picture's state is used up whether or not it leaves a placeholder.
        const std::string file = std::move(pictureFile_);
        const std::string bytes = std::move(pictureBytes_);
        const PictureKind kind = pictureKind_;
        pictureFile_.clear();
        pictureBytes_.clear();
        pictureKind_ = PictureKind::None;
        if (!InBody() || objects_ >= kMaxObjects)
            return;
        bool placed = false;
        if (which == Sink::PictureFile) {
            // The name between the quotes, or the whole text; a stray quote is no part of it.
            const std::size_t open = file.find('"');
            const std::size_t close = open == std::string::npos ? open : file.find('"', open + 1);
            std::string name = close == std::string::npos ? file : file.substr(open + 1, close - open - 1);
            std::erase(name, '"');
            placed = !name.empty();
        } else if (kind != PictureKind::None) {
            placed = true;
            if (g_.shapePicture) {
                // In \shppict only a picture that can be built counts; else its stand-in does.
                placed = CanBeBuilt(kind, bytes);
                shapePictureTaken_ = shapePictureTaken_ || placed;
            }
        }
        if (placed) {
            ++objects_;
            paragraph_ += char(CharCode::Object);
        }
    }

    // Whether the reader makes a graphic of these picture bytes, as it decides for each kind.
    static bool CanBeBuilt(PictureKind kind, std::string_view bytes)
    {
        if (bytes.empty())
            return false;
        switch (kind) {
        case PictureKind::Encoded: {
            const auto encoded = EncodedPictureKind(bytes);
            return encoded && EncodedPictureSize(*encoded, bytes);
        }
        case PictureKind::Dib:
            return rtf::BmpFromDib(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()))
                .has_value();
        default:
            return true;
        }
    }

    void EndParagraph(bool cell = false)
    {
        if (visit_(paragraph_))
            stopped_ = true;
        paragraph_.clear();
        anchorEnd_ = std::string::npos;
        afterCell_ = cell;
    }

    bool Finish()
    {
        // The writer ends a table cell with \cell even when it is the last paragraph.
        if (!stopped_ && !(afterCell_ && paragraph_.empty()) && visit_(paragraph_))
            stopped_ = true;
        return stopped_;
    }

    RtfLexer lexer_;
    const ParagraphVisitor& visit_;
    GroupState g_;
    std::vector<GroupState> saved_;
    int unsavedDepth_ = 0;
    bool skipNextUnknown_ = false;
    rtf::UnicodeFallback fallback_;
    rtf::RtfTextDecoder decoder_;
    std::string decoded_;        // reused for the UTF-8 of decoded text
    int fontNumber_ = 0;         // of the font table's entry being read
    int fontCharset_ = 0;        // and its \fcharset
    std::string paragraph_;
    bool afterCell_ = false;
    bool stopped_ = false;
    bool headerFilled_[3] = {false, false, false};
    PictureKind pictureKind_ = PictureKind::None;
    std::string pictureFile_;
    std::string pictureBytes_;   // of a picture in \shppict
    bool shapePictureTaken_ = false;
    // As the reader does: a footnote's anchor is the character before it when that is one byte
    // of text and no other footnote's anchor; otherwise the default mark is inserted.
    void AnchorFootnote()
    {
        const auto last = paragraph_.empty() ? 0 : static_cast<unsigned char>(paragraph_.back());
        const bool markable = last > CharCode::Reserved && last < 0x80 && last != '\r' && paragraph_.size() != anchorEnd_;
        if (!markable)
            paragraph_ += '?';
        anchorEnd_ = paragraph_.size();
    }

    std::size_t anchorEnd_ = std::string::npos;  // where the last footnote's anchor ends
    int footnotes_ = 0;          // footnotes read so far: the next one's number is one more
    std::size_t objects_ = 0;
};

} // namespace

bool ForEachRtfParagraph(std::span<const std::uint8_t> rtf, const ParagraphVisitor& visit)
{
    return RtfTextPass(rtf, visit).Run();
}

bool ForEachEntryParagraph(std::span<const std::uint8_t> content, const ParagraphVisitor& visit)
{
    if (DetectFormat(content) == TWPLoadFormat::Rtf)
        return ForEachRtfParagraph(content, visit);
    // Plain-text and HTML entries are rare (the editor writes RTF as soon as anything is
    // formatted): the engine reads them, exactly as the editor does.
    TWPRTFText document;
    try {
        LoadDocument(document, content);
    } catch (const std::exception&) {
        // what was read stays in the document, as in the editor
    }
    for (const TParagraph* p = document.firstParagraph(); p; p = p->next()) {
        if (visit(p->text()))
            return true;
    }
    return false;
}

} // namespace quillory
