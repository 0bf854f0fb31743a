// Grapheme and word boundaries through ICU's break iterators over UTF-8, and ICU's character
// properties. Text that is plain ASCII around a position is answered without ICU: most text is.
#include "platform/UnicodeText.h"

#include "platform/Utf8.h"

#include <unicode/ubrk.h>
#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/uscript.h>
#include <unicode/utext.h>

#include <memory>

namespace quillory {

namespace {

struct BreakIteratorClose {
    void operator()(UBreakIterator* iterator) const noexcept { ubrk_close(iterator); }
};
using BreakIterator = std::unique_ptr<UBreakIterator, BreakIteratorClose>;

// Opening an iterator reads its rules; each thread keeps one of each kind for reuse. They hold
// no text between calls, so nothing of one call is seen by the next.
UBreakIterator* IteratorOver(UBreakIteratorType type, std::string_view utf8, UText* text)
{
    thread_local BreakIterator characters;
    thread_local BreakIterator words;
    BreakIterator& slot = type == UBRK_CHARACTER ? characters : words;
    UErrorCode status = U_ZERO_ERROR;
    if (!slot) {
        slot.reset(ubrk_open(type, "", nullptr, 0, &status));
        if (U_FAILURE(status)) {
            slot.reset();
            return nullptr;
        }
    }
    status = U_ZERO_ERROR;
    utext_openUTF8(text, utf8.data(), std::int64_t(utf8.size()), &status);
    if (U_FAILURE(status))
        return nullptr;
    ubrk_setUText(slot.get(), text, &status);
    return U_FAILURE(status) ? nullptr : slot.get();
}

bool Ascii(std::string_view utf8, std::size_t at) noexcept
{
    return at < utf8.size() && static_cast<unsigned char>(utf8[at]) < 0x80;
}

// Asks ICU for the boundary after (forward) or before `at`; falls back to character steps.
std::size_t Boundary(UBreakIteratorType type, std::string_view utf8, std::size_t at, bool forward)
{
    UText text = UTEXT_INITIALIZER;
    UBreakIterator* iterator = IteratorOver(type, utf8, &text);
    std::size_t result = forward ? NextCharBoundary(utf8, at) : PrevCharBoundary(utf8, at);
    if (iterator) {
        const std::int32_t found = forward ? ubrk_following(iterator, std::int32_t(at))
                                           : ubrk_preceding(iterator, std::int32_t(at));
        // None before: the place lies in the first cluster (ICU takes a malformed sequence as one
        // character, where the seam steps byte by byte); none after: in the last.
        result = found != UBRK_DONE ? std::size_t(found) : forward ? utf8.size() : 0;
    }
    utext_close(&text);
    return std::min(result, utf8.size());
}

} // namespace

std::size_t NextGraphemeBoundary(std::string_view utf8, std::size_t at)
{
    if (at >= utf8.size())
        return utf8.size();
    // An ASCII character followed by another ASCII character (or the end) is a cluster of its own,
    // but for CR LF.
    if (Ascii(utf8, at) && (at + 1 == utf8.size() || Ascii(utf8, at + 1)))
        return utf8[at] == '\r' && at + 1 < utf8.size() && utf8[at + 1] == '\n' ? at + 2 : at + 1;
    return Boundary(UBRK_CHARACTER, utf8, at, true);
}

std::size_t PrevGraphemeBoundary(std::string_view utf8, std::size_t at)
{
    at = std::min(at, utf8.size());
    if (at == 0)
        return 0;
    // ICU moves a place inside a character to the character's start before it looks back.
    if (const std::size_t start = CharBoundaryAtOrBefore(utf8, at); start != at)
        return GraphemeBoundaryAtOrBefore(utf8, start);
    // An ASCII character between ASCII (or the text's ends) is a cluster of its own, but for CR
    // LF; after a character beyond ASCII it may belong to that one's cluster (a prepended sign).
    if (Ascii(utf8, at - 1) && (at == utf8.size() || Ascii(utf8, at)) && (at == 1 || Ascii(utf8, at - 2))
        && !(utf8[at - 1] == '\n' && at >= 2 && utf8[at - 2] == '\r'))
        return at - 1;
    return Boundary(UBRK_CHARACTER, utf8, at, false);
}

std::size_t GraphemeBoundaryAtOrBefore(std::string_view utf8, std::size_t at)
{
    if (at >= utf8.size())
        return utf8.size();
    at = CharBoundaryAtOrBefore(utf8, at);
    if (at == 0)
        return 0;
    if (Ascii(utf8, at) && Ascii(utf8, at - 1) && !(utf8[at - 1] == '\r' && utf8[at] == '\n'))
        return at;
    // The cluster boundaries that a forward walk meets, from the one before: ICU may step back
    // further than one cluster where a malformed sequence is one character to it.
    std::size_t before = PrevGraphemeBoundary(utf8, at);
    for (std::size_t next = NextGraphemeBoundary(utf8, before); next > before && next <= at;
         next = NextGraphemeBoundary(utf8, before))
        before = next;
    return before;
}

std::size_t NextWordBoundary(std::string_view utf8, std::size_t at)
{
    if (at >= utf8.size())
        return utf8.size();
    return Boundary(UBRK_WORD, utf8, at, true);
}

std::size_t PrevWordBoundary(std::string_view utf8, std::size_t at)
{
    at = std::min(at, utf8.size());
    if (at == 0)
        return 0;
    return Boundary(UBRK_WORD, utf8, at, false);
}

bool IsLetter(char32_t c) noexcept
{
    if (c < 0x80)
        return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
    return u_isalpha(UChar32(c));
}

bool IsWordCharacter(char32_t c) noexcept
{
    if (c < 0x80)
        return IsLetter(c) || (c >= '0' && c <= '9');
    const auto category = u_charType(UChar32(c));
    return u_isalnum(UChar32(c)) || category == U_NON_SPACING_MARK || category == U_COMBINING_SPACING_MARK
        || category == U_ENCLOSING_MARK;
}

char32_t FoldCase(char32_t c) noexcept
{
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + 32 : c;
    return char32_t(u_foldCase(UChar32(c), U_FOLD_CASE_DEFAULT));
}

FoldedText FoldCaseKeepingOffsets(std::string_view utf8)
{
    FoldedText folded;
    folded.text.reserve(utf8.size());
    folded.origin.reserve(utf8.size() + 1);
    for (std::size_t at = 0; at < utf8.size();) {
        int length = 1;
        const char32_t c = DecodeUtf8At(utf8, at, length);
        const std::size_t before = folded.text.size();
        if (c == ReplacementCharacter && length == 1)
            folded.text += utf8[at]; // a malformed byte matches only itself
        else
            AppendUtf8(folded.text, FoldCase(c));
        folded.origin.insert(folded.origin.end(), folded.text.size() - before, int(at));
        at += std::size_t(length);
    }
    folded.origin.push_back(int(utf8.size()));
    return folded;
}

std::string FoldCase(std::string_view utf8)
{
    std::string folded;
    folded.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[at]);
        if (byte < 0x80) {
            folded += char(byte >= 'A' && byte <= 'Z' ? byte + 32 : byte);
            ++at;
            continue;
        }
        int length = 1;
        const char32_t c = DecodeUtf8At(utf8, at, length);
        if (c == ReplacementCharacter && length == 1)
            folded += utf8[at];
        else
            AppendUtf8(folded, FoldCase(c));
        at += std::size_t(length);
    }
    return folded;
}

char32_t WithoutAccents(char32_t c) noexcept
{
    // Letters with accents lie in the Latin, Greek and Cyrillic blocks and in Latin and Greek
    // Extended; everything else is kept, so that no other script loses a distinction.
    if (c < 0xC0 || (c >= 0x530 && c < 0x1E00) || c >= 0x2000)
        return c;
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfd = unorm2_getNFDInstance(&status);
    if (U_FAILURE(status))
        return c;
    UChar parts[8];
    const int32_t length = unorm2_getDecomposition(nfd, UChar32(c), parts, 8, &status);
    if (U_FAILURE(status) || length < 2)
        return c;
    // The base and only combining marks after it: a letter with accents. A base outside the
    // Basic Multilingual Plane never decomposes from these blocks.
    for (int32_t i = 1; i < length; ++i)
        if (u_charType(parts[i]) != U_NON_SPACING_MARK)
            return c;
    return char32_t(parts[0]);
}

bool IsCombiningAccent(char32_t c) noexcept
{
    return c >= 0x300 && c <= 0x36F;
}

bool IsRightToLeft(char32_t c) noexcept
{
    if (c < 0x590)
        return false;
    const auto direction = u_charDirection(UChar32(c));
    return direction == U_RIGHT_TO_LEFT || direction == U_RIGHT_TO_LEFT_ARABIC;
}

bool NeedsShaping(char32_t c) noexcept
{
    if (c < 0x300)
        return false;
    if (IsRightToLeft(c))
        return true;
    const auto category = u_charType(UChar32(c));
    if (category == U_NON_SPACING_MARK || category == U_COMBINING_SPACING_MARK || category == U_ENCLOSING_MARK
        || category == U_FORMAT_CHAR)
        return true;
    // Emoji that join with modifiers, flags and keycaps.
    if (u_hasBinaryProperty(UChar32(c), UCHAR_EMOJI_PRESENTATION) || u_hasBinaryProperty(UChar32(c), UCHAR_REGIONAL_INDICATOR)
        || u_hasBinaryProperty(UChar32(c), UCHAR_EMOJI_MODIFIER))
        return true;
    UErrorCode status = U_ZERO_ERROR;
    switch (uscript_getScript(UChar32(c), &status)) {
    case USCRIPT_DEVANAGARI: case USCRIPT_BENGALI: case USCRIPT_GURMUKHI: case USCRIPT_GUJARATI:
    case USCRIPT_ORIYA: case USCRIPT_TAMIL: case USCRIPT_TELUGU: case USCRIPT_KANNADA:
    case USCRIPT_MALAYALAM: case USCRIPT_SINHALA: case USCRIPT_THAI: case USCRIPT_LAO:
    case USCRIPT_TIBETAN: case USCRIPT_MYANMAR: case USCRIPT_KHMER: case USCRIPT_MONGOLIAN:
        return true;
    default:
        return false;
    }
}

bool BreaksAroundIdeograph(char32_t c) noexcept
{
    if (c < 0x1100)
        return false;
    const auto lineBreak = u_getIntPropertyValue(UChar32(c), UCHAR_LINE_BREAK);
    return lineBreak == U_LB_IDEOGRAPHIC || lineBreak == U_LB_CONDITIONAL_JAPANESE_STARTER
        || lineBreak == U_LB_H2 || lineBreak == U_LB_H3;
}

bool StartsRightToLeft(std::string_view utf8) noexcept
{
    for (std::size_t at = 0; at < utf8.size();) {
        int length = 1;
        const char32_t c = DecodeUtf8At(utf8, at, length);
        at += std::size_t(length);
        if (c < 0x80 && !IsLetter(c))
            continue;
        const auto direction = u_charDirection(UChar32(c));
        if (direction == U_LEFT_TO_RIGHT)
            return false;
        if (direction == U_RIGHT_TO_LEFT || direction == U_RIGHT_TO_LEFT_ARABIC)
            return true;
    }
    return false;
}

} // namespace quillory
