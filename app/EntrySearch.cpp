// The walk over the diary's entries and the matching of one entry's text.
#include "app/EntrySearch.h"

#include "app/EntryFiles.h"
#include "app/EntryStore.h"
#include "app/EntryText.h"
#include "platform/Error.h"

#include <algorithm>
#include <array>
#include <system_error>

namespace quillory {

namespace {

constexpr std::size_t kContextBefore = 30;
constexpr std::size_t kContextWidth = 80;
constexpr char kEllipsis = '\x85';  // "…" in cp1252

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) < 32 || c == ' ';
}

} // namespace

EntryQuery::EntryQuery(std::string_view pattern) : finder_(pattern, FindOptions{})
{
    // Every match begins with the part before the first `*` (cut as the finder cuts it); when
    // that is empty, the part after holds a literal up to its own first `*`.
    const std::size_t star = pattern.find('*');
    std::string_view literal = pattern.substr(0, TWPTextFinder::kMaxPart);
    if (star != std::string_view::npos && star < TWPTextFinder::kMaxPart) {
        literal = pattern.substr(0, star);
        if (literal.empty()) {
            literal = pattern.substr(star + 1, TWPTextFinder::kMaxPart);
            literal = literal.substr(0, literal.find('*'));
        }
    }
    for (const char c : literal)
        needle_ += char(LowerCp1252(static_cast<unsigned char>(c)));
}

std::optional<FoundRange> EntryQuery::FindInParagraph(std::string_view text) const
{
    if (!needle_.empty()) {
        if (text.size() < needle_.size())
            return std::nullopt;
        static const auto lower = [] {
            std::array<char, 256> table{};
            for (int c = 0; c < 256; ++c)
                table[std::size_t(c)] = char(LowerCp1252(static_cast<unsigned char>(c)));
            return table;
        }();
        thread_local std::string lowered;
        lowered.resize(text.size());
        for (std::size_t i = 0; i < text.size(); ++i)
            lowered[i] = lower[static_cast<unsigned char>(text[i])];
        if (lowered.find(needle_) == std::string::npos)
            return std::nullopt;
    }
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

std::string MatchContext(std::string_view paragraph, long start, long length)
{
    const std::size_t matchStart = std::min<std::size_t>(std::size_t(std::max(start, 0L)), paragraph.size());
    const std::size_t matchEnd = std::min<std::size_t>(matchStart + std::size_t(std::max(length, 0L)), paragraph.size());
    std::size_t from = matchStart > kContextBefore ? matchStart - kContextBefore : 0;
    std::size_t to = std::max(matchEnd, std::min(paragraph.size(), from + kContextWidth));
    // Whole words at the edges where a blank allows it.
    if (from > 0) {
        const std::size_t blank = paragraph.substr(0, matchStart).find(' ', from);
        if (blank != std::string_view::npos)
            from = blank + 1;
    }
    if (to < paragraph.size()) {
        const std::size_t blank = paragraph.substr(0, to).rfind(' ');
        if (blank != std::string_view::npos && blank >= matchEnd)
            to = blank;
    }
    std::string line;
    if (from > 0)
        line += kEllipsis;
    for (std::size_t i = from; i < to; ++i)
        line += IsBlank(paragraph[i]) ? ' ' : paragraph[i];
    if (to < paragraph.size())
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
