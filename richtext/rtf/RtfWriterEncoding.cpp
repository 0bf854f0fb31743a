// The code pages of fonts, turned round for the writer.
#include "richtext/rtf/RtfWriterEncoding.h"

#include "platform/CodePages.h"
#include "platform/Cp1252.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <string>

namespace quillory {

namespace {

constexpr int SymbolCharset = 2;

} // namespace

RtfFontEncoding::RtfFontEncoding(int charset) : symbol_(charset == SymbolCharset)
{
    const int codePage = CodePageOfCharset(charset);
    if (codePage == 0 || codePage == DefaultCodePage)
        return;
    CodePageDecoder decoder(codePage);
    if (decoder.codePage() == DefaultCodePage)
        return;
    // A double-byte page would need lead and trail bytes; \u says the same to every reader
    // that knows such a page at all.
    if (decoder.doubleByte()) {
        kind_ = Kind::UnicodeOnly;
        return;
    }
    kind_ = Kind::SingleByte;
    std::string utf8;
    for (int byte = 0x80; byte < 0x100; ++byte) {
        utf8.clear();
        decoder.Feed(std::uint8_t(byte), utf8);
        int length = 0;
        const char32_t c = DecodeUtf8At(utf8, 0, length);
        if (std::size_t(length) == utf8.size() && c != ReplacementCharacter)
            bytes_.emplace_back(c, static_cast<unsigned char>(byte));
    }
    std::sort(bytes_.begin(), bytes_.end());
}

std::optional<unsigned char> RtfFontEncoding::ByteOf(char32_t c) const noexcept
{
    if (c < 0x80)
        return static_cast<unsigned char>(c);
    switch (kind_) {
    case Kind::Cp1252:
        return UnicodeToCp1252(c);
    case Kind::SingleByte: {
        const auto at = std::lower_bound(bytes_.begin(), bytes_.end(), std::pair{c, static_cast<unsigned char>(0)});
        if (at != bytes_.end() && at->first == c)
            return at->second;
        return std::nullopt;
    }
    case Kind::UnicodeOnly:
        break;
    }
    return std::nullopt;
}

} // namespace quillory
