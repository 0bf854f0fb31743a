// RTF text to UTF-8: code pages of the document and its fonts, \uN with surrogate pairs, and the
// fallback after \uN.
#include "richtext/rtf/RtfUnicode.h"

#include "platform/Cp1252.h"
#include "platform/Utf8.h"

#include <algorithm>

namespace quillory::rtf {
namespace {

constexpr int kSymbolCharset = 2;


// The lowest byte a trail byte of the double-byte pages can be; a lead byte followed by a
// lower one has lost its trail.
constexpr uint8_t kLowestTrailByte = 0x40;

} // namespace

int CodePageOfFontCharset(int charset) noexcept
{
    if (charset == kSymbolCharset)
        return kSymbolCodePage;
    return CodePageOfCharset(charset); // 0 is kDocumentCodePage
}

RtfTextDecoder::RtfTextDecoder() = default;
RtfTextDecoder::~RtfTextDecoder() = default;

void RtfTextDecoder::SetDocumentCodePage(int codePage)
{
    documentPage_ = KnownCodePage(codePage) ? codePage : DefaultCodePage;
    wholePage_ = kNoPage; // kDocumentCodePage may name another page now
}

void RtfTextDecoder::DefineFont(int number, int charset)
{
    if (number < 0)
        return;
    const auto page = int16_t(CodePageOfFontCharset(charset));
    if (number < int(fontPages_.size()))
        fontPages_[size_t(number)] = page;
    else if (otherFonts_.size() < 4096 || otherFonts_.contains(number)) // hostile tables stay small
        otherFonts_[number] = page;
}

int RtfTextDecoder::OtherFontCodePage(int number) const noexcept
{
    const auto found = otherFonts_.find(number);
    return found == otherFonts_.end() ? kDocumentCodePage : found->second;
}

CodePageDecoder& RtfTextDecoder::DecoderFor(int fontCodePage)
{
    const int page = fontCodePage == kSymbolCodePage     ? DefaultCodePage
                   : fontCodePage == kDocumentCodePage ? documentPage_
                                                       : fontCodePage;
    if (current_ && current_->codePage() == page)
        return *current_;
    const auto found = std::find_if(decoders_.begin(), decoders_.end(),
                                    [page](const auto& decoder) { return decoder->codePage() == page; });
    if (found != decoders_.end()) {
        current_ = found->get();
    } else {
        decoders_.push_back(std::make_unique<CodePageDecoder>(page));
        current_ = decoders_.back().get();
    }
    return *current_;
}

std::string_view RtfTextDecoder::WholeCharacterOfAnotherPage(uint8_t byte, int fontCodePage)
{
    if (lead_)
        return {};
    CodePageDecoder& decoder = DecoderFor(fontCodePage);
    if (decoder.doubleByte()) {
        wholePage_ = kNoPage;
        return {};
    }
    wholePage_ = fontCodePage;
    whole_ = &decoder;
    return decoder.SingleByteUtf8(byte);
}

bool RtfTextDecoder::Byte(uint8_t byte, int fontCodePage, std::string& out)
{
    if (lead_) {
        CodePageDecoder& waiting = *lead_;
        lead_ = nullptr;
        if (byte >= kLowestTrailByte) {
            waiting.Feed(byte, out);
            return true;
        }
        waiting.Flush(out);
    }
    if (byte < 0x80)
        return false;
    CodePageDecoder& decoder = DecoderFor(fontCodePage);
    decoder.Feed(byte, out);
    if (decoder.pending())
        lead_ = &decoder;
    return true;
}

void RtfTextDecoder::Unicode(int32_t n, int fontCodePage, std::string& out)
{
    char32_t c = ReplacementCharacter;
    if (n < 0 && n >= -32768)
        c = char32_t(n + 65536);
    else if (n >= 0 && n <= 0x10FFFF)
        c = char32_t(n); // beyond 16 bits only from writers that ignore the limit
    if (highSurrogate_ != 0) {
        const char32_t high = highSurrogate_;
        highSurrogate_ = 0;
        if (IsLowSurrogate(c)) {
            AppendUtf8(out, CombineSurrogates(high, c));
            return;
        }
        AppendUtf8(out, ReplacementCharacter);
    }
    if (IsHighSurrogate(c)) {
        highSurrogate_ = char16_t(c);
        return;
    }
    if (IsLowSurrogate(c))
        c = ReplacementCharacter;
    else if (fontCodePage == kSymbolCodePage && c >= 0xF020 && c <= 0xF0FF)
        c = Cp1252ToUnicode(static_cast<unsigned char>(c - 0xF000));
    AppendUtf8(out, c);
}

bool RtfTextDecoder::Continues(const RtfToken& token) const noexcept
{
    if (highSurrogate_ != 0)
        return token.kind == RtfTokenKind::ControlWord
            && ((token.key == kUnicodeWordKey && token.hasParameter) || token.key == kUnicodeSkipWordKey);
    return token.kind == RtfTokenKind::Text || token.kind == RtfTokenKind::HexChar;
}

void RtfTextDecoder::Flush(std::string& out)
{
    if (lead_) {
        lead_->Flush(out);
        lead_ = nullptr;
    }
    if (highSurrogate_ != 0) {
        highSurrogate_ = 0;
        AppendUtf8(out, ReplacementCharacter);
    }
}

bool UnicodeFallback::Consume(RtfToken& token) noexcept
{
    switch (token.kind) {
    case RtfTokenKind::Text: {
        const size_t skip = std::min<size_t>(size_t(left_), token.bytes.size());
        left_ -= int(skip);
        token.bytes = token.bytes.subspan(skip);
        return true;
    }
    case RtfTokenKind::HexChar:
    case RtfTokenKind::ControlWord:
    case RtfTokenKind::ControlSymbol:
    case RtfTokenKind::Binary:
        --left_;
        return true;
    default:
        left_ = 0;
        return false;
    }
}

} // namespace quillory::rtf
