// The characters of RTF text as UTF-8, as every reader of RTF text applies them (the reader that
// builds the document and the search's text pass over an entry): bytes (\'hh and raw) through the
// code page in force, \uN with its surrogate pairs, and the fallback after \uN.
#pragma once

#include "platform/CodePages.h"
#include "richtext/rtf/RtfLexer.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillory::rtf {

// The code page of the text in one font, as a group's state keeps it: the document's (\ansicpg),
// a Windows code page that the font's \fcharset names, or a symbol font's. A symbol font's byte
// is held as the cp1252 character of that byte (0x4A 'J', 0xE8 'è'), which the painter maps back
// to the font's glyph.
inline constexpr int kDocumentCodePage = 0;
inline constexpr int kSymbolCodePage = -1;

// The keys of \u, which continues a waiting high surrogate, and of \uc, which may stand between
// the halves (one writer gives the high half under \uc0, then \uc1 and the low half).
inline constexpr RtfWordKey kUnicodeWordKey = MakeRtfWordKey("u");
inline constexpr RtfWordKey kUnicodeSkipWordKey = MakeRtfWordKey("uc");
// The key of \ud, the Unicode half of \upr, read inside the \upr group that skips its ANSI half.
inline constexpr RtfWordKey kUnicodeDestinationKey = MakeRtfWordKey("ud");

// What a font of charset `charset` reads its bytes as: kSymbolCodePage for the symbol charset 2,
// the code page the charset names, or kDocumentCodePage.
int CodePageOfFontCharset(int charset) noexcept;

// Turns the bytes and \u words of RTF text into UTF-8. It knows the document's code page and the
// code page of each font of the font table; the font in force is the caller's, kept per group.
class RtfTextDecoder {
public:
    RtfTextDecoder();
    ~RtfTextDecoder();
    RtfTextDecoder(const RtfTextDecoder&) = delete;
    RtfTextDecoder& operator=(const RtfTextDecoder&) = delete;

    // \ansicpg; a code page the decoder does not know leaves 1252.
    void SetDocumentCodePage(int codePage);
    int documentCodePage() const noexcept { return documentPage_; }

    // A font of the font table and its \fcharset (0 when it gave none).
    void DefineFont(int number, int charset);
    // The code page of text in font `number` (kDocumentCodePage for a font not defined). Inline:
    // the reader asks for the bytes beyond ASCII.
    int FontCodePage(int number) const noexcept
    {
        if (number >= 0 && number < int(fontPages_.size()))
            return fontPages_[size_t(number)];
        return OtherFontCodePage(number);
    }

    // Decodes `byte` of text in a font of `fontCodePage`, appending its UTF-8 to `out`, or keeps
    // it as the lead byte of a double-byte character until its trail byte comes. Returns false
    // for a byte that stands for itself (ASCII that is no trail byte), which the caller inserts
    // as it does every ASCII character; a lead byte that waited before it has then been ended
    // as U+FFFD in `out`.
    bool Byte(uint8_t byte, int fontCodePage, std::string& out);
    // Whether a lead byte waits: the next byte of text, raw or \'hh, is its trail byte.
    bool LeadPending() const noexcept { return lead_ != nullptr; }
    // The UTF-8 of a byte from 0x80 that is a character by itself (the page is single-byte and no
    // lead byte waits), without a copy: the common case, asked before Byte. Empty otherwise.
    std::string_view WholeCharacter(uint8_t byte, int fontCodePage)
    {
        if (fontCodePage != wholePage_ || lead_)
            return WholeCharacterOfAnotherPage(byte, fontCodePage);
        return whole_->SingleByteUtf8(byte);
    }

    // \uN (N from -32768 on counts from 65536): appends the character to `out` (characters below
    // 0x80 too, as single bytes), or keeps a high surrogate until the \u of its low half. A half
    // without its partner becomes U+FFFD. In a symbol font, U+F020-U+F0FF (how other writers give
    // a symbol font's byte) is the byte's cp1252 character.
    void Unicode(int32_t n, int fontCodePage, std::string& out);
    bool SurrogatePending() const noexcept { return highSurrogate_ != 0; }

    bool Pending() const noexcept { return highSurrogate_ != 0 || LeadPending(); }
    // Whether `token` may complete what waits: text or \'hh after a lead byte, \uN (or \ucN
    // before it) after a high surrogate. Before any other token the reader flushes what waits.
    bool Continues(const RtfToken& token) const noexcept;
    // Ends a waiting lead byte or high surrogate as U+FFFD in `out`.
    void Flush(std::string& out);

private:
    static constexpr int kNoPage = -1000;

    int OtherFontCodePage(int number) const noexcept;
    CodePageDecoder& DecoderFor(int fontCodePage);
    std::string_view WholeCharacterOfAnotherPage(uint8_t byte, int fontCodePage);

    int documentPage_ = DefaultCodePage;
    std::array<int16_t, 256> fontPages_{};         // fonts 0-255, the usual numbers
    std::unordered_map<int, int16_t> otherFonts_;  // fonts with larger numbers
    std::vector<std::unique_ptr<CodePageDecoder>> decoders_; // one per code page met
    CodePageDecoder* current_ = nullptr;           // the one used last
    CodePageDecoder* lead_ = nullptr;              // the one holding a lead byte, while it does
    int wholePage_ = kNoPage;                      // WholeCharacter's last single-byte page
    CodePageDecoder* whole_ = nullptr;             // and its decoder
    char16_t highSurrogate_ = 0;
};

// The characters of a \u fallback still to drop. Text counts one per byte, \'hh, a control word
// or symbol and \bin one each; a brace or anything else ends the fallback early.
class UnicodeFallback {
public:
    void Start(int count) noexcept { left_ = count; }
    bool Active() const noexcept { return left_ > 0; }
    // True when `token` belonged to the fallback; a text token then keeps in its bytes the part
    // after the fallback, which the caller reads as text.
    bool Consume(RtfToken& token) noexcept;

private:
    int left_ = 0;
};

} // namespace quillory::rtf
