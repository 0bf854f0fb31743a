// The lexer's two inner loops, sixteen bytes at a time: the letters of a control word and a
// run of text. In a document most runs of text are a few words between control words, and most
// words are one to five letters, so a loop over single bytes ends at a different count nearly
// every time and the processor mispredicts its end; one comparison of sixteen bytes finds the
// end in a fixed number of steps. Where SSE2 is missing, or fewer than sixteen bytes are left,
// the same answer comes from a loop over single bytes.
#pragma once

#include "richtext/rtf/RtfWordKey.h"

#include <bit>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillory::rtf {

constexpr bool IsRtfLower(uint8_t c) noexcept { return c >= 'a' && c <= 'z'; }

// A byte that ends a run of text: a backslash, a brace, or a raw CR, LF or TAB.
constexpr bool EndsRtfText(uint8_t c) noexcept
{
    return c == '\\' || c == '{' || c == '}' || c == 13 || c == 10 || c == 9;
}

// A byte the reader cannot append as it is with the run around it: a control character or DEL,
// inserted one by one, or a byte from 0x80 up, which the code page in force decodes.
constexpr bool IsRtfSpecialByte(uint8_t c) noexcept { return c < 32 || c >= 127; }

// How many of the `available` bytes at `bytes` are lowercase letters, counted from the first.
inline size_t LowercaseRunLength(const uint8_t* bytes, size_t available) noexcept
{
    size_t at = 0;
#if defined(__SSE2__)
    while (available - at >= 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
        // Letters become 0..25 and every other byte something larger (unsigned).
        const __m128i offset = _mm_sub_epi8(chunk, _mm_set1_epi8('a'));
        const __m128i letters = _mm_cmpeq_epi8(_mm_min_epu8(offset, _mm_set1_epi8(25)), offset);
        const unsigned others = ~unsigned(_mm_movemask_epi8(letters)) & 0xFFFFu;
        if (others != 0)
            return at + size_t(std::countr_zero(others));
        at += 16;
    }
#endif
    while (at < available && IsRtfLower(bytes[at]))
        ++at;
    return at;
}

// The letters of a control word: how many of the `available` bytes at `bytes` are lowercase
// letters, counted from the first, and the key of the word they make (RtfWordKey). With SSE2
// the key is cut out of the same sixteen bytes the letters were found in.
[[gnu::always_inline]] inline size_t ReadRtfLetters(const uint8_t* bytes, size_t available, RtfWordKey& key) noexcept
{
#if defined(__SSE2__)
    if constexpr (std::endian::native == std::endian::little) {
        if (available >= 16) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
            const __m128i offset = _mm_sub_epi8(chunk, _mm_set1_epi8('a'));
            const __m128i letters = _mm_cmpeq_epi8(_mm_min_epu8(offset, _mm_set1_epi8(25)), offset);
            const unsigned others = ~unsigned(_mm_movemask_epi8(letters)) & 0xFFFFu;
            if (others != 0) {
                const int length = std::countr_zero(others);
                // The key keeps the bytes before the first that is no letter.
                const __m128i positions = _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
                const __m128i inside = _mm_cmplt_epi8(positions, _mm_set1_epi8(char(length)));
                static_assert(sizeof(RtfWordKey) == 16);
                _mm_storeu_si128(reinterpret_cast<__m128i*>(&key), _mm_and_si128(chunk, inside));
                return size_t(length);
            }
        }
    }
#endif
    const size_t length = LowercaseRunLength(bytes, available);
    key = RtfWordKeyAt(bytes, length, available);
    return length;
}

// How many of the `available` bytes at `bytes` belong to a run of text, that is, come before
// the first byte that EndsRtfText. `specialBytes` is set when the run holds an
// IsRtfSpecialByte (and left alone otherwise). Always inlined into the lexer's scan, which
// would otherwise call it for every run of text.
[[gnu::always_inline]] inline size_t TextRunLength(const uint8_t* bytes, size_t available, bool& specialBytes) noexcept
{
    size_t at = 0;
#if defined(__SSE2__)
    while (available - at >= 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
        // Every byte that ends text or is special: below 32, DEL, a backslash, a brace, and
        // (the top bit of the chunk itself) every byte from 0x80 up.
        const __m128i below32 = _mm_cmpeq_epi8(_mm_min_epu8(chunk, _mm_set1_epi8(31)), chunk);
        const __m128i marks = _mm_or_si128(
            _mm_or_si128(below32, _mm_cmpeq_epi8(chunk, _mm_set1_epi8(127))),
            _mm_or_si128(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('\\')),
                         _mm_or_si128(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('{')),
                                      _mm_cmpeq_epi8(chunk, _mm_set1_epi8('}')))));
        unsigned found = unsigned(_mm_movemask_epi8(_mm_or_si128(marks, chunk)));
        while (found != 0) {
            const size_t end = at + size_t(std::countr_zero(found));
            if (EndsRtfText(bytes[end]))
                return end;
            specialBytes = true; // a special byte inside the run: look on past it
            found &= found - 1;
        }
        at += 16;
    }
#endif
    for (; at < available; ++at) {
        const uint8_t c = bytes[at];
        if (EndsRtfText(c))
            break;
        if (IsRtfSpecialByte(c))
            specialBytes = true;
    }
    return at;
}

} // namespace quillory::rtf
