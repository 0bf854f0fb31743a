// A control word's letters packed into two numbers: what the keyword lookup hashes and compares.
// The lexer builds the key while it reads a word, so that finding the keyword takes two
// multiplications and two comparisons instead of another pass over the letters.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace quillory::rtf {

// The first sixteen bytes of a word, little-endian, zero after its end. No keyword is longer
// than that or holds a zero byte, so equal keys are equal words; a longer word gets the empty
// key, which no keyword has.
struct RtfWordKey {
    uint64_t low = 0;
    uint64_t high = 0;
    friend constexpr bool operator==(const RtfWordKey&, const RtfWordKey&) = default;
};

inline constexpr size_t kRtfWordKeyLength = 16;

// The key of a word held anywhere, byte by byte.
constexpr RtfWordKey MakeRtfWordKey(std::string_view word) noexcept
{
    RtfWordKey key;
    if (word.size() > kRtfWordKeyLength)
        return key;
    for (size_t i = 0; i < word.size(); ++i) {
        const uint64_t byte = uint8_t(word[i]);
        (i < 8 ? key.low : key.high) |= byte << (8 * (i % 8));
    }
    return key;
}

// The key of the `length` bytes at `bytes`, of which `available` may be read. With sixteen
// readable bytes on a little-endian machine it is two loads and two masks: the common case
// inside a document, where a word is never the last thing in it.
inline RtfWordKey RtfWordKeyAt(const uint8_t* bytes, size_t length, size_t available) noexcept
{
    if (length > kRtfWordKeyLength)
        return {};
    if constexpr (std::endian::native == std::endian::little) {
        if (available >= kRtfWordKeyLength) {
            RtfWordKey key;
            std::memcpy(&key.low, bytes, 8);
            std::memcpy(&key.high, bytes + 8, 8);
            // Bytes beyond the word are cleared; a shift by 64 would be undefined.
            const auto keep = [](size_t count) {
                return count >= 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * count)) - 1;
            };
            key.low &= keep(length);
            key.high &= length > 8 ? keep(length - 8) : 0;
            return key;
        }
    }
    return MakeRtfWordKey(std::string_view(reinterpret_cast<const char*>(bytes), length));
}

} // namespace quillory::rtf
