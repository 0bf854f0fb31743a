// Pattern search and the word walk of the spell checker.
#include "richtext/edit/TextFinder.h"

#include "platform/Utf8.h"
#include "richtext/edit/RangeEditing.h"

#include <algorithm>

namespace quillory {

namespace {

constexpr std::size_t npos = std::string_view::npos;
constexpr char32_t kTypographicApostrophe = 0x2019;

// The offset after the first `count` characters of `text`.
std::size_t CharactersPrefix(std::string_view text, std::size_t count)
{
    std::size_t at = 0;
    for (std::size_t n = 0; n < count && at < text.size(); ++n)
        at = NextCharBoundary(text, at);
    return at;
}

// A paragraph's text as the pattern meets it: case-folded unless case is matched, with the way
// back from each of its bytes to the character of the original that it came from.
class ComparedText {
public:
    ComparedText(std::string_view original, bool fold) : view_(original)
    {
        if (!fold)
            return;
        // Most text is ASCII: folded byte for byte into a reused buffer, offsets unchanged.
        thread_local std::string ascii;
        ascii.resize(original.size());
        for (std::size_t i = 0; i < original.size(); ++i) {
            const auto c = static_cast<unsigned char>(original[i]);
            if (c >= 0x80) {
                folded_ = FoldCaseKeepingOffsets(original);
                view_ = folded_.text;
                mapped_ = true;
                return;
            }
            ascii[i] = char(c - 'A' < 26u ? c + 32 : c);
        }
        view_ = ascii;
    }
    ComparedText(const ComparedText&) = delete;
    ComparedText& operator=(const ComparedText&) = delete;

    std::string_view text() const noexcept { return view_; }
    std::size_t Original(std::size_t at) const { return mapped_ ? std::size_t(folded_.origin[at]) : at; }
    // The first byte that comes from the original's `offset` or later.
    std::size_t FromOriginal(std::size_t offset) const
    {
        if (!mapped_)
            return std::min(offset, view_.size());
        const auto& origin = folded_.origin;
        const auto at = std::lower_bound(origin.begin(), origin.end(), int(std::min(offset, std::size_t(origin.back()))));
        return std::min(std::size_t(at - origin.begin()), view_.size());
    }

private:
    std::string_view view_;
    FoldedText folded_;
    bool mapped_ = false;
};

// The first / last place at or after / at or before `at` where `part` could begin: where the
// text up to its first wildcard stands, or at any character when it begins with one.
std::size_t NextStart(std::string_view text, std::string_view part, std::size_t at)
{
    if (part.front() != '*')
        return text.find(part.substr(0, part.find('*')), at);
    while (at < text.size() && IsUtf8Continuation(static_cast<unsigned char>(text[at])))
        ++at;
    return at < text.size() ? at : npos;
}

std::size_t PrevStart(std::string_view text, std::string_view part, std::size_t at)
{
    if (part.front() != '*')
        return text.rfind(part.substr(0, part.find('*')), at);
    while (at > 0 && IsUtf8Continuation(static_cast<unsigned char>(text[at])))
        --at;
    return at;
}

bool OnClusterBoundaries(std::string_view text, std::size_t start, std::size_t end)
{
    return GraphemeBoundaryAtOrBefore(text, start) == start && GraphemeBoundaryAtOrBefore(text, end) == end;
}

// Word characters for the whole-word option of the find dialogs: letters, marks and digits.
bool IsWholeWord(std::string_view text, std::size_t start, std::size_t end)
{
    const bool startsWord = start == 0 || !IsWordCharacter(DecodeUtf8At(text, PrevCharBoundary(text, start)));
    const bool endsWord = end >= text.size() || !IsWordCharacter(DecodeUtf8At(text, end));
    return startsWord && endsWord;
}

} // namespace

TWPTextFinder::TWPTextFinder(std::string_view pattern, FindOptions options) : options_(options)
{
    const std::size_t cut = CharactersPrefix(pattern, kMaxPart);
    const std::size_t star = pattern.find('*');
    std::string_view before = pattern.substr(0, cut), after;
    if (star < cut) {
        split_ = true;
        before = pattern.substr(0, star);
        after = pattern.substr(star + 1);
        after = after.substr(0, CharactersPrefix(after, kMaxPart));
    }
    before_ = options.matchCase ? std::string(before) : FoldCase(before);
    after_ = options.matchCase ? std::string(after) : FoldCase(after);
}

std::string_view TWPTextFinder::Literal() const noexcept
{
    if (!before_.empty() || !split_)
        return before_;
    const std::string_view after = after_;
    return after.substr(0, after.find('*'));
}

std::optional<std::size_t> TWPTextFinder::partEnd(std::string_view text, std::size_t at, std::string_view part) const
{
    for (const char p : part) {
        if (at >= text.size())
            return std::nullopt;
        if (p == '*')
            at = NextGraphemeBoundary(text, at);
        else if (text[at++] != p)
            return std::nullopt;
    }
    return at;
}

std::optional<FoundRange> TWPTextFinder::FindInText(std::string_view original, long from) const
{
    if (before_.empty() && after_.empty())
        return std::nullopt;
    const ComparedText compared(original, !options_.matchCase);
    const std::string_view text = compared.text();
    // A match begins with the part before; when that is empty, with the part after.
    const std::string_view first = before_.empty() ? std::string_view(after_) : std::string_view(before_);

    // The nearest place of the part after the `*` at or after a given place, and its end. Places
    // asked for only grow while scanning forwards, so one remembered answer keeps the scan linear.
    std::size_t askedFrom = npos, answer = npos, answerEnd = npos;
    auto afterPartFrom = [&](std::size_t start) {
        if (askedFrom != npos && start >= askedFrom && (answer == npos || answer >= start))
            return answerEnd;
        askedFrom = start;
        answer = answerEnd = npos;
        for (std::size_t j = NextStart(text, after_, start); j != npos; j = NextStart(text, after_, j + 1))
            if (const auto end = partEnd(text, j, after_)) {
                answer = j;
                answerEnd = *end;
                break;
            }
        return answerEnd;
    };
    // The end of the match that begins at `at`, in the compared text.
    auto matchAt = [&](std::size_t at) -> std::optional<std::size_t> {
        if (text.compare(at, before_.size(), before_) != 0)
            return std::nullopt;
        std::size_t end = at + before_.size();
        if (split_ && before_.empty()) {
            // "*abc": nothing has to come first, so the match is the part after alone.
            const auto afterEnd = partEnd(text, at, after_);
            if (!afterEnd)
                return std::nullopt;
            end = *afterEnd;
        } else if (split_ && !after_.empty()) {
            end = afterPartFrom(end);
            if (end == npos)
                return std::nullopt;
        }
        return end > at ? std::optional(end) : std::nullopt;
    };
    // The match in the original's offsets, when it takes whole characters (a malformed byte of a
    // pattern may match part of one), lies on clusters and, if asked, makes whole words.
    auto accepted = [&](std::size_t at, std::size_t end) -> std::optional<FoundRange> {
        const std::size_t start = compared.Original(at), stop = compared.Original(end);
        if (stop <= start || compared.FromOriginal(start) != at || compared.FromOriginal(stop) != end)
            return std::nullopt;
        if (!OnClusterBoundaries(original, start, stop) || (options_.wholeWord && !IsWholeWord(original, start, stop)))
            return std::nullopt;
        return FoundRange{long(start), long(stop - start)};
    };

    if (!options_.backwards) {
        for (std::size_t at = NextStart(text, first, compared.FromOriginal(std::size_t(std::max(from, 0L)))); at != npos;
             at = NextStart(text, first, at + 1))
            if (const auto end = matchAt(at))
                if (const auto found = accepted(at, *end))
                    return found;
        return std::nullopt;
    }
    const std::size_t limit = std::min(std::size_t(std::max(from, 0L)), original.size());
    for (std::size_t before = compared.FromOriginal(limit); before > 0;) {
        const std::size_t at = PrevStart(text, first, before - 1);
        if (at == npos)
            break;
        askedFrom = npos;  // going backwards the remembered answer does not hold
        if (const auto end = matchAt(at); end && compared.Original(*end) <= limit)
            if (const auto found = accepted(at, *end))
                return found;
        before = at;
    }
    return std::nullopt;
}

std::optional<FoundRange> TWPTextFinder::Find(const TWPRTFText& document, long from) const
{
    if (before_.empty() && (!split_ || after_.empty()))
        return std::nullopt;
    const ParagraphSpot spot = LocatePosition(document, from);
    long paragraphStart = PositionOfParagraph(document, spot.paragraph);
    if (!options_.backwards) {
        long offset = spot.offset;
        for (TParagraph* paragraph = spot.paragraph; paragraph; paragraph = paragraph->next()) {
            const std::string text = paragraph->text();
            if (auto found = FindInText(text, offset))
                return FoundRange{paragraphStart + found->start, found->length};
            paragraphStart += long(text.size()) + 1;
            offset = 0;
        }
        return std::nullopt;
    }
    long offset = spot.offset;
    for (TParagraph* paragraph = spot.paragraph; paragraph; paragraph = paragraph->prev()) {
        const std::string text = paragraph->text();
        if (auto found = FindInText(text, offset))
            return FoundRange{paragraphStart + found->start, found->length};
        if (TParagraph* previous = paragraph->prev()) {
            paragraphStart -= previous->length() + 1;
            offset = previous->length();
        }
    }
    return std::nullopt;
}

std::optional<FoundRange> TWPTextFinder::FindInDocument(const TWPRTFText& document) const
{
    return Find(document, options_.backwards ? document.characterCount() : 0);
}

std::optional<FoundRange> FindNextWordIn(const ParagraphContent& content, std::size_t offset)
{
    const std::string_view text = content.text;
    const std::size_t size = text.size();
    // The end of the letter at `i` (a letter of any script or a mark), or `i` when there is
    // none: digits, punctuation, hidden text and placeholders end a word.
    auto letterEnd = [&](std::size_t i) {
        if (i >= size)
            return i;
        if (i < content.attrs.size()) {
            const TAttr& attr = content.attrs[i];
            if (attr.hasFlag(AttrFlag::Hidden) || attr.hasFlag(AttrFlag::Object))
                return i;
        }
        int length = 1;
        const char32_t c = DecodeUtf8At(text, i, length);
        const bool letter = c < 0x80 ? IsLetter(c) : IsWordCharacter(c);
        return letter ? i + std::size_t(length) : i;
    };
    std::size_t i = offset;
    while (i < size && letterEnd(i) == i)
        i = NextCharBoundary(text, i);
    if (i >= size)
        return std::nullopt;
    std::size_t end = i;
    bool ascii = true;
    while (end < size) {
        if (const std::size_t next = letterEnd(end); next > end) {
            ascii = ascii && next == end + 1;
            end = next;
            continue;
        }
        int length = 1;
        const char32_t c = DecodeUtf8At(text, end, length);
        const std::size_t after = end + std::size_t(length);
        if ((c == '\'' || c == kTypographicApostrophe) && letterEnd(after) > after)
            end = after;
        else
            break;
    }
    // Scripts written without spaces (Thai, Chinese, Japanese) hold several words in one run of
    // letters: Unicode's word boundaries split them. Runs of ASCII letters need no such split.
    if (!ascii)
        end = std::clamp(NextWordBoundary(text, i), NextCharBoundary(text, i), end);
    return FoundRange{long(i), long(end - i)};
}

std::optional<FoundRange> FindNextWord(const TWPRTFText& document, long from)
{
    const ParagraphSpot spot = LocatePosition(document, from);
    long paragraphStart = PositionOfParagraph(document, spot.paragraph);
    std::size_t offset = std::size_t(std::max(spot.offset, 0));
    for (TParagraph* paragraph = spot.paragraph; paragraph; paragraph = paragraph->next()) {
        const ParagraphContent content = ReadParagraph(*paragraph);
        if (const auto found = FindNextWordIn(content, offset))
            return FoundRange{paragraphStart + found->start, found->length};
        paragraphStart += long(content.text.size()) + 1;
        offset = 0;
    }
    return std::nullopt;
}

} // namespace quillory
