// Windows code pages of outside text (RTF's \ansicpg and \fcharset, old files) decoded to UTF-8
// through ICU's converters: the single-byte pages 874 and 1250-1258, and the double-byte 932, 936,
// 949 and 950, whose characters take a lead byte and a trail byte.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace quillory {

inline constexpr int DefaultCodePage = 1252;

// The code page that an RTF \fcharset names; 0 when it names none (ANSI, default, symbol, OEM
// and Mac sets leave the document's code page in force).
int CodePageOfCharset(int charset) noexcept;
// True for the code pages that the decoder knows.
bool KnownCodePage(int codePage) noexcept;

// Decodes bytes of one code page, a byte at a time as RTF gives them (\'hh, or raw bytes), into
// UTF-8. A lead byte of a double-byte page waits for its trail byte.
class CodePageDecoder {
public:
    // An unknown code page decodes as cp1252.
    explicit CodePageDecoder(int codePage = DefaultCodePage);
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;

    int codePage() const noexcept { return codePage_; }
    bool doubleByte() const noexcept { return doubleByte_; }
    bool pending() const noexcept { return lead_ != 0; }

    // Appends the UTF-8 of `byte` to `out`, or keeps it as the lead of a pair.
    void Feed(std::uint8_t byte, std::string& out);
    // What Feed appends for a byte from 0x80 of a single-byte page, without the copy.
    std::string_view SingleByteUtf8(std::uint8_t byte) const noexcept { return high_[std::size_t(byte - 0x80)]; }
    // A lead byte without its trail becomes U+FFFD.
    void Flush(std::string& out);
    // Forgets a waiting lead byte without output.
    void Reset() noexcept { lead_ = 0; }

private:
    struct Converter;
    int codePage_;
    bool doubleByte_ = false;
    std::uint8_t lead_ = 0;
    // Single-byte pages: the UTF-8 of each byte from 0x80, found once.
    std::array<std::string, 128> high_;
    std::array<bool, 256> isLead_{};
    std::unique_ptr<Converter> converter_;
};

// The UTF-8 of a whole text in one code page.
std::string DecodeCodePage(std::string_view bytes, int codePage);

} // namespace quillory
