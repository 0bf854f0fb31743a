// ICU's converters for the Windows code pages; each single-byte page becomes a table on first use.
#include "platform/CodePages.h"

#include "platform/Cp1252.h"
#include "platform/Utf8.h"

#include <unicode/ucnv.h>

#include <algorithm>

namespace quillory {

namespace {

struct CharsetPage {
    int charset;
    int codePage;
};

// RTF \fcharset values with a Windows code page of their own.
constexpr CharsetPage kCharsetPages[] = {
    {128, 932},  {129, 949},  {130, 1361}, {134, 936},  {136, 950},  {161, 1253}, {162, 1254},
    {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257}, {204, 1251}, {222, 874},  {238, 1250},
};

constexpr int kKnownPages[] = {874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258};

std::string IcuName(int codePage)
{
    switch (codePage) {
    case 932: return "windows-31j";
    case 936: return "windows-936-2000";
    case 949: return "windows-949-2000";
    case 950: return "windows-950-2000";
    case 874: return "windows-874-2000";
    default: return "windows-" + std::to_string(codePage);
    }
}

bool IsDoubleBytePage(int codePage) noexcept
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

} // namespace

struct CodePageDecoder::Converter {
    UConverter* handle = nullptr;
    ~Converter()
    {
        if (handle)
            ucnv_close(handle);
    }
    // The UTF-8 of one or two bytes; empty when they do not make a whole character.
    std::string Decode(const char* bytes, int count, bool& truncated)
    {
        truncated = false;
        UChar units[8];
        UErrorCode status = U_ZERO_ERROR;
        ucnv_reset(handle);
        const int32_t length = ucnv_toUChars(handle, units, 8, bytes, count, &status);
        if (status == U_TRUNCATED_CHAR_FOUND) {
            truncated = true;
            return {};
        }
        if (U_FAILURE(status) || length <= 0)
            return {};
        // ICU substitutes U+001A (SUB) for an unmapped byte of some pages (932 0x80, 0xA0, a lead
        // byte with a bad trail): a control code must never stand for a lost character.
        std::replace(units, units + length, UChar(0x1A), UChar(ReplacementCharacter));
        return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(units), std::size_t(length)));
    }
};

int CodePageOfCharset(int charset) noexcept
{
    for (const auto& entry : kCharsetPages)
        if (entry.charset == charset)
            return KnownCodePage(entry.codePage) ? entry.codePage : 0;
    return 0;
}

bool KnownCodePage(int codePage) noexcept
{
    return std::find(std::begin(kKnownPages), std::end(kKnownPages), codePage) != std::end(kKnownPages);
}

CodePageDecoder::CodePageDecoder(int codePage) : codePage_(KnownCodePage(codePage) ? codePage : DefaultCodePage)
{
    if (codePage_ != DefaultCodePage) {
        UErrorCode status = U_ZERO_ERROR;
        auto converter = std::make_unique<Converter>();
        converter->handle = ucnv_open(IcuName(codePage_).c_str(), &status);
        if (U_FAILURE(status) || !converter->handle) {
            codePage_ = DefaultCodePage;
        } else {
            // Unmapped bytes become U+FFFD, never a silent loss of the character's place.
            status = U_ZERO_ERROR;
            ucnv_setToUCallBack(converter->handle, UCNV_TO_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr, &status);
            converter_ = std::move(converter);
        }
    }
    doubleByte_ = converter_ && IsDoubleBytePage(codePage_);
    if (doubleByte_) {
        // The substitution callback turns a lone lead byte into a character, so the lead bytes
        // are asked for, not found by decoding them.
        UBool starters[256] = {};
        UErrorCode status = U_ZERO_ERROR;
        ucnv_getStarters(converter_->handle, starters, &status);
        for (int byte = 0x80; byte < 0x100 && U_SUCCESS(status); ++byte)
            isLead_[std::size_t(byte)] = starters[byte];
    }
    for (int byte = 0x80; byte < 0x100; ++byte) {
        std::string& utf8 = high_[std::size_t(byte - 0x80)];
        if (!converter_) {
            AppendUtf8(utf8, Cp1252ToUnicode(std::uint8_t(byte)));
            continue;
        }
        if (isLead_[std::size_t(byte)])
            continue;
        const char single = char(byte);
        bool truncated = false;
        utf8 = converter_->Decode(&single, 1, truncated);
        if (utf8.empty())
            AppendUtf8(utf8, ReplacementCharacter);
    }
}

CodePageDecoder::~CodePageDecoder() = default;

void CodePageDecoder::Feed(std::uint8_t byte, std::string& out)
{
    if (lead_) {
        const char pair[2] = {char(lead_), char(byte)};
        lead_ = 0;
        bool truncated = false;
        std::string utf8 = converter_->Decode(pair, 2, truncated);
        if (utf8.empty())
            AppendUtf8(utf8, ReplacementCharacter);
        out += utf8;
        return;
    }
    if (byte < 0x80) {
        out += char(byte);
        return;
    }
    if (isLead_[byte]) {
        lead_ = byte;
        return;
    }
    out += high_[std::size_t(byte - 0x80)];
}

void CodePageDecoder::Flush(std::string& out)
{
    if (lead_)
        AppendUtf8(out, ReplacementCharacter);
    lead_ = 0;
}

std::string DecodeCodePage(std::string_view bytes, int codePage)
{
    CodePageDecoder decoder(codePage);
    std::string out;
    out.reserve(bytes.size());
    for (char byte : bytes)
        decoder.Feed(std::uint8_t(byte), out);
    decoder.Flush(out);
    return out;
}

} // namespace quillory
