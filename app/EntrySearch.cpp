// The walk over the diary's entries and the matching of one entry's text.
#include "app/EntrySearch.h"

#include "app/EntryFiles.h"
#include "app/EntryStore.h"
#include "app/EntryText.h"
#include "platform/Error.h"
#include "platform/UnicodeText.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <system_error>

namespace quillory {

namespace {

constexpr std::size_t kContextBefore = 30;  // characters
constexpr std::size_t kContextWidth = 80;
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";  // "…" in UTF-8

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) < 32 || c == ' ';
}

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

EntryQuery::EntryQuery(std::string_view pattern)
    : finder_(pattern, FindOptions{}), needle_(finder_.Literal()), asciiNeedle_(IsAscii(needle_))
{
}

// Whether the text may hold the literal of every match: false only when it certainly does not.
bool EntryQuery::mayHold(std::string_view text) const
{
    if (!asciiNeedle_)
        return FoldCase(text).find(needle_) != std::string::npos;
    // An ASCII literal is looked for in the text with its ASCII letters folded, which costs no
    // more than reading it; other characters cannot be part of such a match, but for the two
    // that fold into ASCII letters: the Kelvin sign and the long s.
    thread_local std::string folded;
    folded.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        folded[i] = char(c - 'A' < 26u ? c + 32 : c);
    }
    return folded.find(needle_) != std::string::npos || text.find("\xE2\x84\xAA") != std::string_view::npos
        || text.find("\xC5\xBF") != std::string_view::npos;
}

std::optional<FoundRange> EntryQuery::FindInParagraph(std::string_view text) const
{
    if (!needle_.empty() && !mayHold(text))
        return std::nullopt;
    return finder_.FindInText(text, 0);
}

std::optional<TextMatch> FindInEntry(std::string_view content, const EntryQuery& query)
{
    std::optional<TextMatch> match;
    std::size_t index = 0;
    ForEachEntryParagraph(content, [&](std::string_view text) {
        if (const auto found = query.FindInParagraph(text)) {
            match = TextMatch{index, found->start, found->length, MatchContext(text, found->start, found->length)};
            return true;
        }
        ++index;
        return false;
    });
    return match;
}

ContextSpan MatchContextSpan(std::string_view paragraph, long start, long length)
{
    const std::size_t size = paragraph.size();
    const std::size_t matchStart = CharBoundaryAtOrBefore(paragraph, std::min<std::size_t>(std::size_t(std::max(start, 0L)), size));
    const std::size_t matchEnd = std::min<std::size_t>(matchStart + std::size_t(std::max(length, 0L)), size);
    // Counted in clusters, so that no letter loses its accents and no emoji is cut in two.
    std::size_t from = matchStart;
    for (std::size_t n = 0; n < kContextBefore && from > 0; ++n)
        from = PrevGraphemeBoundary(paragraph, from);
    std::size_t to = from;
    for (std::size_t n = 0; n < kContextWidth && to < size; ++n)
        to = NextGraphemeBoundary(paragraph, to);
    to = std::max(to, matchEnd);
    // Whole words at the edges where a blank allows it.
    if (from > 0) {
        const std::size_t blank = paragraph.substr(0, matchStart).find(' ', from);
        if (blank != std::string_view::npos)
            from = blank + 1;
    }
    if (to < size) {
        const std::size_t blank = paragraph.substr(0, to).rfind(' ');
        if (blank != std::string_view::npos && blank >= matchEnd)
            to = blank;
    }
    return ContextSpan{from, to};
}

std::string MatchContext(std::string_view paragraph, long start, long length)
{
    const std::size_t size = paragraph.size();
    const auto [from, to] = MatchContextSpan(paragraph, start, length);
    std::string line;
    if (from > 0)
        line += kEllipsis;
    // Blanks and control characters are ASCII: never a byte inside a longer character.
    for (std::size_t i = from; i < to; ++i)
        line += IsBlank(paragraph[i]) ? ' ' : paragraph[i];
    if (to < size)
        line += kEllipsis;
    return line;
}

void SearchEntries(Day from, Day until, const EntryQuery& query, std::string_view password, const SearchHooks& hooks)
{
    for (const Day day : EntryDaysBetween(from, until)) {
        if (hooks.cancelled && hooks.cancelled())
            return;
        if (hooks.visiting)
            hooks.visiting(day);
        std::string content;
        try {
            content = ReadEntry(day, password);
        } catch (const std::exception& error) {
            // A file gone since the listing matches nothing, like an empty one; a file that is
            // there but cannot be read is reported.
            if (hooks.unreadable && EntryFileExists(day))
                hooks.unreadable(day, error.what());
            continue;
        }
        if (const auto match = FindInEntry(content, query); match && hooks.found && !hooks.found(day, *match))
            return;
    }
}

} // namespace quillory
