// \uN and its fallback.
#include "richtext/rtf/RtfUnicode.h"

#include "platform/Cp1252.h"

#include <algorithm>

namespace quillory::rtf {

std::optional<uint8_t> UnicodeInsertion(int32_t n, int unicodeSkip, bool& skipFallback) noexcept
{
    skipFallback = false;
    if (n < -32768 || n > 0xFFFF)
        return std::nullopt;
    const char32_t character = char32_t(n < 0 ? n + 65536 : n);
    if (const auto byte = UnicodeToCp1252(character)) {
        skipFallback = true;
        return uint8_t(*byte);
    }
    if (unicodeSkip == 0)
        return uint8_t('?');
    return std::nullopt;
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
