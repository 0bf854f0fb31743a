// Folding an entry's text for the search, its tags and words, and matching a query against it.
#include "app/SearchableText.h"

#include "app/EntrySearch.h"
#include "app/EntryText.h"
#include "platform/UnicodeText.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <cstring>

namespace quillory {

namespace {

constexpr std::size_t npos = std::string_view::npos;
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";  // "…"

bool IsAscii(std::string_view text)
{
    return std::none_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

std::size_t Find(std::string_view haystack, std::string_view needle, std::size_t from)
{
    if (from > haystack.size())
        return npos;
    const void* found = memmem(haystack.data() + from, haystack.size() - from, needle.data(), needle.size());
    return found ? std::size_t(static_cast<const char*>(found) - haystack.data()) : npos;
}

// Whether the letters of `text` from `at` are those of `accented` (its accents included), where
// `plain` was found there: `accents` gives the letters that had accents.
bool AccentsAgree(const std::vector<AccentedLetter>& accents, std::size_t at,
                  std::string_view plain, std::string_view accented)
{
    auto accent = std::lower_bound(accents.begin(), accents.end(), at,
                                   [](const AccentedLetter& a, std::size_t offset) { return a.at < offset; });
    std::size_t p = 0, f = 0;
    while (p < plain.size() && f < accented.size()) {
        int plainLength = 1, foldedLength = 1;
        const char32_t base = DecodeUtf8At(plain, p, plainLength);
        const char32_t wanted = DecodeUtf8At(accented, f, foldedLength);
        f += std::size_t(foldedLength);
        if (IsCombiningAccent(wanted))
            continue;  // a mark the typed text could not compose: its letter decides
        const std::size_t offset = at + p;
        while (accent != accents.end() && accent->at < offset)
            ++accent;
        const char32_t actual = accent != accents.end() && accent->at == offset ? accent->folded : base;
        if (actual != wanted)
            return false;
        p += std::size_t(plainLength);
    }
    return true;
}

// The first place at or after `from` where the term's parts occur in order within one line
// ('\n' ends a line): [start, end), or start == npos. `accents` is null where the haystack holds
// the accents itself (a paragraph's folded text) or the term has none.
std::pair<std::size_t, std::size_t> FindTerm(std::string_view haystack, const std::vector<std::string>& parts,
                                             std::size_t from, const QueryTerm* accentedTerm = nullptr,
                                             const std::vector<AccentedLetter>* accents = nullptr)
{
    // The next place of part `i` in `line` from `at` whose accents agree.
    const auto findPart = [&](std::string_view line, std::size_t i, std::size_t at) {
        for (std::size_t found = Find(line, parts[i], at); found != npos; found = Find(line, parts[i], found + 1))
            if (!accents || AccentsAgree(*accents, found, parts[i], accentedTerm->accented[i]))
                return found;
        return npos;
    };
    while (from <= haystack.size()) {
        const std::size_t first = findPart(haystack, 0, from);
        if (first == npos || parts.size() == 1)
            return {first, first == npos ? npos : first + parts[0].size()};
        // The earliest first part leaves the most room for the others: if they are not in its
        // line after it, no later start in that line has them either.
        std::size_t lineEnd = haystack.find('\n', first);
        if (lineEnd == npos)
            lineEnd = haystack.size();
        const std::string_view line = haystack.substr(0, lineEnd);
        std::size_t at = first + parts[0].size();
        bool all = true;
        for (std::size_t i = 1; i < parts.size() && all; ++i) {
            const std::size_t next = findPart(line, i, at);
            all = next != npos;
            if (all)
                at = next + parts[i].size();
        }
        if (all)
            return {first, at};
        from = lineEnd + 1;
    }
    return {npos, npos};
}

bool IsTagCharacter(char32_t c)
{
    return c == '-' || c == '_' || IsWordCharacter(c);
}

// Calls `found(start, length, name)` for each tag of the paragraph; `name` without '#', as written.
template <typename Found>
void ScanTags(std::string_view text, Found&& found)
{
    for (std::size_t hash = text.find('#'); hash != npos; hash = text.find('#', hash + 1)) {
        if (hash > 0) {
            const std::size_t before = CharBoundaryAtOrBefore(text, hash - 1);
            const char32_t c = DecodeUtf8At(text, before);
            if (c == '_' || c == '#' || c == '&' || c == '/' || IsWordCharacter(c))
                continue;
        }
        if (hash + 1 >= text.size() || !IsLetter(DecodeUtf8At(text, hash + 1)))
            continue;
        std::size_t end = hash + 1;
        while (end < text.size()) {
            int length = 1;
            if (!IsTagCharacter(DecodeUtf8At(text, end, length)))
                break;
            end += std::size_t(length);
        }
        while (text[end - 1] == '-' || text[end - 1] == '_')
            --end;
        found(hash, end - hash, text.substr(hash + 1, end - hash - 1));
        hash = end - 1;
    }
}

void AppendKey(std::string& out, std::string key)
{
    std::replace(key.begin(), key.end(), '\n', ' ');
    out += key;
    out += '\n';
}

} // namespace

std::size_t SearchableText::Bytes() const noexcept
{
    std::size_t bytes = sizeof(*this) + text.capacity() + accents.capacity() * sizeof(AccentedLetter)
                        + tags.capacity() * sizeof(std::string);
    for (const std::string& tag : tags)
        bytes += tag.capacity() > 15 ? tag.capacity() : 0;
    return bytes;
}

std::vector<std::string> TagsIn(std::string_view paragraph)
{
    std::vector<std::string> tags;
    ScanTags(paragraph, [&](std::size_t, std::size_t, std::string_view name) { tags.push_back(FoldCase(name)); });
    return tags;
}

std::uint32_t CountWords(std::string_view text)
{
    std::uint32_t words = 0;
    bool inWord = false;
    for (std::size_t at = 0; at < text.size();) {
        int length = 1;
        const char32_t c = DecodeUtf8At(text, at, length);
        if (IsWordCharacter(c)) {
            if (BreaksAroundIdeograph(c))
                ++words, inWord = false;
            else if (!inWord)
                ++words, inWord = true;
        } else if (inWord && (c == '\'' || c == 0x2019)) {
            // An apostrophe joins the letters around it (don't, l'été).
            const std::size_t next = at + std::size_t(length);
            inWord = next < text.size() && IsWordCharacter(DecodeUtf8At(text, next));
        } else {
            inWord = false;
        }
        at += std::size_t(length);
    }
    return words;
}

SearchableText MakeSearchableText(std::string_view content)
{
    SearchableText entry;
    entry.text.reserve(content.size() / 2);
    ForEachEntryParagraph(content, [&](std::string_view text) {
        if (IsAscii(text)) {
            AppendKey(entry.text, SearchKey(text, true));
        } else {
            // As SearchKey folds without accents, noting each letter that had them.
            std::string key;
            for (std::size_t at = 0; at < text.size();) {
                int length = 1;
                const char32_t c = DecodeUtf8At(text, at, length);
                at += std::size_t(length);
                if (c == ReplacementCharacter && length == 1) {
                    key += text[at - 1];
                    continue;
                }
                if (IsCombiningAccent(c))
                    continue;
                const char32_t folded = FoldCase(c);
                const char32_t base = WithoutAccents(folded);
                if (base != folded)
                    entry.accents.push_back(AccentedLetter{std::uint32_t(entry.text.size() + key.size()), folded});
                AppendUtf8(key, base);
            }
            AppendKey(entry.text, std::move(key));
        }
        if (text.find('#') != npos)
            for (std::string& tag : TagsIn(text))
                entry.tags.push_back(std::move(tag));
        entry.words += CountWords(text);
        return false;
    });
    entry.text.shrink_to_fit();
    entry.accents.shrink_to_fit();
    std::sort(entry.tags.begin(), entry.tags.end());
    entry.tags.erase(std::unique(entry.tags.begin(), entry.tags.end()), entry.tags.end());
    entry.tags.shrink_to_fit();
    return entry;
}

bool Matches(const SearchQuery& query, const SearchableText& entry)
{
    const auto hasTag = [&](const std::string& tag) { return std::binary_search(entry.tags.begin(), entry.tags.end(), tag); };
    if (!std::all_of(query.tags.begin(), query.tags.end(), hasTag) || std::any_of(query.excludedTags.begin(), query.excludedTags.end(), hasTag))
        return false;
    for (const QueryTerm& term : query.terms) {
        const bool found = term.plain() ? FindTerm(entry.text, term.parts, 0).first != npos
                                        : FindTerm(entry.text, term.parts, 0, &term, &entry.accents).first != npos;
        if (found == term.excluded)
            return false;
    }
    return true;
}

std::vector<TextSpan> HitsInParagraph(const SearchQuery& query, std::string_view paragraph)
{
    std::vector<TextSpan> hits;
    std::vector<int> foldedOrigin, plainOrigin;
    std::string folded, plain;
    // The end of a hit moved to the end of its cluster: a plain word's match takes the accent
    // that follows it in decomposed text.
    const auto add = [&](std::size_t start, std::size_t end) {
        if (GraphemeBoundaryAtOrBefore(paragraph, end) != end)
            end = NextGraphemeBoundary(paragraph, end);
        hits.push_back(TextSpan{start, end - start});
    };
    for (const QueryTerm& term : query.terms) {
        if (term.excluded)
            continue;
        std::string& key = term.plain() ? plain : folded;
        std::vector<int>& origin = term.plain() ? plainOrigin : foldedOrigin;
        if (origin.empty()) {
            key = SearchKey(paragraph, term.plain(), &origin);
            std::replace(key.begin(), key.end(), '\n', ' ');
        }
        const auto& parts = term.plain() ? term.parts : term.accented;
        for (auto hit = FindTerm(key, parts, 0); hit.first != npos; hit = FindTerm(key, parts, hit.second))
            add(std::size_t(origin[hit.first]), std::size_t(origin[hit.second]));
    }
    if (!query.tags.empty())
        ScanTags(paragraph, [&](std::size_t start, std::size_t length, std::string_view name) {
            if (std::find(query.tags.begin(), query.tags.end(), FoldCase(name)) != query.tags.end())
                add(start, start + length);
        });
    std::sort(hits.begin(), hits.end(), [](const TextSpan& a, const TextSpan& b) { return a.start < b.start; });
    // Overlapping hits (one word inside another) are marked once.
    std::vector<TextSpan> merged;
    for (const TextSpan& hit : hits) {
        if (!merged.empty() && hit.start < merged.back().start + merged.back().length)
            merged.back().length = std::max(merged.back().start + merged.back().length, hit.start + hit.length) - merged.back().start;
        else
            merged.push_back(hit);
    }
    return merged;
}

MarkedLine MarkLine(std::string_view paragraph, const std::vector<TextSpan>& hits)
{
    const TextSpan anchor = hits.empty() ? TextSpan{} : hits.front();
    const auto [from, to] = MatchContextSpan(paragraph, long(anchor.start), long(anchor.length));
    MarkedLine line;
    if (from > 0)
        line.text += kEllipsis;
    const std::size_t shift = line.text.size();
    // Blanks and control characters are ASCII: never a byte inside a longer character.
    for (std::size_t i = from; i < to; ++i)
        line.text += static_cast<unsigned char>(paragraph[i]) < 32 ? ' ' : paragraph[i];
    if (to < paragraph.size())
        line.text += kEllipsis;
    for (const TextSpan& hit : hits) {
        const std::size_t start = std::max(hit.start, from), end = std::min(hit.start + hit.length, to);
        if (start < end)
            line.marks.push_back(TextSpan{start - from + shift, end - start});
    }
    return line;
}

std::vector<ParagraphHit> FindParagraphHits(const SearchQuery& query, std::string_view content, std::size_t limit)
{
    std::vector<ParagraphHit> found;
    const bool wantsText = query.HasPositive();
    std::size_t index = 0;
    ForEachEntryParagraph(content, [&](std::string_view text) {
        if (!wantsText) {
            if (text.find_first_not_of(" \t\v\f\r\n") == npos) {
                ++index;
                return false;
            }
            found.push_back(ParagraphHit{index, TextSpan{}, MarkLine(text, {})});
            return true;
        }
        const auto hits = HitsInParagraph(query, text);
        if (!hits.empty())
            found.push_back(ParagraphHit{index, hits.front(), MarkLine(text, hits)});
        ++index;
        return found.size() >= limit;
    });
    return found;
}

} // namespace quillory
