// Pattern search and the word walk of the spell checker.
#include "richtext/edit/TextFinder.h"

#include "richtext/edit/RangeEditing.h"

#include <algorithm>

namespace quillory {

namespace {

constexpr unsigned char kApostrophe = '\'';
constexpr unsigned char kRightQuote = 0x92; // the typographic apostrophe of cp1252

bool isApostrophe(unsigned char c) { return c == kApostrophe || c == kRightQuote; }

// Word characters for the whole-word option of the find dialogs: letters and digits.
bool isAlphanumeric(unsigned char c) { return IsWordCharacter(c) || (c >= '0' && c <= '9'); }

} // namespace

bool IsWordCharacter(unsigned char c) noexcept
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == 138 || c == 140 || c == 154
        || c == 156 || c == 159 || c >= 192;
}

unsigned char LowerCp1252(unsigned char c) noexcept
{
    if (c >= 'A' && c <= 'Z')
        return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 32;
    switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
    }
}

TWPTextFinder::TWPTextFinder(std::string_view pattern, FindOptions options) : options_(options)
{
    const std::size_t star = pattern.find('*');
    if (star != std::string_view::npos && star < kMaxPart) {
        split_ = true;
        before_ = pattern.substr(0, star);
        after_ = pattern.substr(star + 1, kMaxPart);
    } else {
        before_ = pattern.substr(0, kMaxPart);
    }
}

bool TWPTextFinder::matchesAt(std::string_view text, std::size_t at, std::string_view part, bool wildcards) const
{
    if (at + part.size() > text.size())
        return false;
    for (std::size_t i = 0; i < part.size(); ++i) {
        const auto p = static_cast<unsigned char>(part[i]);
        if (wildcards && p == '*')
            continue;
        const auto t = static_cast<unsigned char>(text[at + i]);
        if (options_.matchCase ? p != t : LowerCp1252(p) != LowerCp1252(t))
            return false;
    }
    return true;
}

bool TWPTextFinder::isWholeWord(std::string_view text, std::size_t start, std::size_t length) const
{
    const bool startsWord = start == 0 || !isAlphanumeric(static_cast<unsigned char>(text[start - 1]));
    const std::size_t end = start + length;
    const bool endsWord = end >= text.size() || !isAlphanumeric(static_cast<unsigned char>(text[end]));
    return startsWord && endsWord;
}

std::optional<FoundRange> TWPTextFinder::FindInText(std::string_view text, long from) const
{
    // The nearest place of the part after the `*` at or after a given place. Places asked for
    // only grow while scanning forwards, so one remembered answer keeps the scan linear.
    std::size_t askedFrom = std::string_view::npos, answer = std::string_view::npos;
    auto afterPartFrom = [&](std::size_t start) -> std::size_t {
        if (askedFrom != std::string_view::npos && start >= askedFrom
            && (answer == std::string_view::npos || answer >= start))
            return answer;
        askedFrom = start;
        answer = std::string_view::npos;
        for (std::size_t j = start; j + after_.size() <= text.size(); ++j)
            if (matchesAt(text, j, after_, true)) {
                answer = j;
                break;
            }
        return answer;
    };
    auto matchAt = [&](std::size_t at) -> std::optional<std::size_t> {
        if (!matchesAt(text, at, before_, false))
            return std::nullopt;
        std::size_t length = before_.size();
        if (split_ && before_.empty()) {
            // "*abc": nothing has to come first, so the match is the part after alone.
            if (!matchesAt(text, at, after_, true))
                return std::nullopt;
            length = after_.size();
        } else if (split_ && !after_.empty()) {
            const std::size_t j = afterPartFrom(at + before_.size());
            if (j == std::string_view::npos)
                return std::nullopt;
            length = j + after_.size() - at;
        }
        if (length == 0 || (options_.wholeWord && !isWholeWord(text, at, length)))
            return std::nullopt;
        return length;
    };

    if (!options_.backwards) {
        for (std::size_t at = std::size_t(std::max(from, 0L)); at < text.size(); ++at)
            if (auto length = matchAt(at))
                return FoundRange{long(at), long(*length)};
        return std::nullopt;
    }
    const long limit = std::min<long>(from, long(text.size()));
    for (long at = limit - 1; at >= 0; --at) {
        askedFrom = std::string_view::npos; // going backwards the remembered answer does not hold
        if (auto length = matchAt(std::size_t(at)); length && at + long(*length) <= limit)
            return FoundRange{at, long(*length)};
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

std::optional<FoundRange> FindNextWord(const TWPRTFText& document, long from)
{
    const ParagraphSpot spot = LocatePosition(document, from);
    long paragraphStart = PositionOfParagraph(document, spot.paragraph);
    int offset = spot.offset;
    for (TParagraph* paragraph = spot.paragraph; paragraph; paragraph = paragraph->next()) {
        const ParagraphContent content = ReadParagraph(*paragraph);
        const int size = int(content.text.size());
        auto wordAt = [&](int i) {
            if (i < 0 || i >= size)
                return false;
            if (!content.attrs.empty()) {
                const TAttr& attr = content.attrs[std::size_t(i)];
                if (attr.hasFlag(AttrFlag::Hidden) || attr.hasFlag(AttrFlag::Object))
                    return false;
            }
            return IsWordCharacter(static_cast<unsigned char>(content.text[std::size_t(i)]));
        };
        int i = offset;
        while (i < size && !wordAt(i))
            ++i;
        if (i < size) {
            int end = i;
            while (end < size) {
                if (wordAt(end))
                    ++end;
                else if (isApostrophe(static_cast<unsigned char>(content.text[std::size_t(end)])) && wordAt(end + 1))
                    end += 2;
                else
                    break;
            }
            return FoundRange{paragraphStart + i, end - i};
        }
        paragraphStart += size + 1;
        offset = 0;
    }
    return std::nullopt;
}

} // namespace quillory
