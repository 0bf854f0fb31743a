// Parsing the search query, and the folded form of text that its terms are matched against.
#include "app/SearchQuery.h"

#include "platform/NormalForm.h"
#include "platform/UnicodeText.h"
#include "platform/Utf8.h"

#include <algorithm>

namespace quillory {

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// A tag's characters after '#': letters and digits of any script, marks, '-' and '_'.
bool IsTagCharacter(char32_t c)
{
    return c == '-' || c == '_' || IsWordCharacter(c);
}

// The query's tokens: runs of non-blanks, where a double quote opens a phrase that runs to the
// next quote (or the end, while it is still being typed) blanks and all.
std::vector<std::string_view> Tokens(std::string_view text)
{
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsSpace(text[i]))
            ++i;
        if (i >= text.size())
            break;
        const std::size_t start = i;
        bool quoted = false;
        while (i < text.size() && (quoted || !IsSpace(text[i]))) {
            if (text[i] == '"')
                quoted = !quoted;
            ++i;
        }
        tokens.push_back(text.substr(start, i - start));
    }
    return tokens;
}

// `key` split at each `*`, empty parts dropped; a phrase is one part.
std::vector<std::string> Parts(const std::string& key, bool phrase)
{
    std::vector<std::string> parts;
    if (phrase) {
        if (!key.empty())
            parts.push_back(key);
        return parts;
    }
    std::size_t start = 0;
    while (start <= key.size()) {
        const std::size_t star = std::min(key.find('*', start), key.size());
        if (star > start)
            parts.push_back(key.substr(start, star - start));
        start = star + 1;
    }
    return parts;
}

void AddTerm(SearchQuery& query, std::string_view text, bool phrase, bool excluded)
{
    QueryTerm term;
    term.excluded = excluded;
    const std::string folded = SearchKey(text, false);
    const std::string plain = SearchKey(text, true);
    term.parts = Parts(plain, phrase);
    if (folded != plain)
        term.accented = Parts(folded, phrase);
    // Accents alone ("-´") leave nothing to look for in the text without them.
    if (!term.parts.empty() && (term.plain() || term.accented.size() == term.parts.size()))
        query.terms.push_back(std::move(term));
}

// "#tag": '#' and a letter, then tag characters; true when `token` is one, its name in `name`.
bool IsTagToken(std::string_view token, std::string& name)
{
    if (token.size() < 2 || token[0] != '#' || !IsLetter(DecodeUtf8At(token, 1)))
        return false;
    for (std::size_t at = 1; at < token.size();) {
        int length = 1;
        if (!IsTagCharacter(DecodeUtf8At(token, at, length)))
            return false;
        at += std::size_t(length);
    }
    name = FoldCase(token.substr(1));
    return true;
}

} // namespace

bool SearchQuery::AsksAnything() const noexcept
{
    return !terms.empty() || !tags.empty() || !excludedTags.empty() || from != Day::First() || until != Day::Last();
}

bool SearchQuery::HasPositive() const noexcept
{
    return !tags.empty() || std::any_of(terms.begin(), terms.end(), [](const QueryTerm& t) { return !t.excluded; });
}

std::optional<Day> ParseQueryDay(std::string_view text, bool end)
{
    std::string digits;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9')
            digits += c;
        else if (c != '-' || (i != 4 && i != 7))
            return std::nullopt;
    }
    // With dashes the parts must stand where YYYY-MM-DD puts them.
    if (text.find('-') != std::string_view::npos && text.size() != 7 && text.size() != 10)
        return std::nullopt;
    if (digits.size() != 4 && digits.size() != 6 && digits.size() != 8)
        return std::nullopt;
    const int year = std::stoi(digits.substr(0, 4));
    const int month = digits.size() >= 6 ? std::stoi(digits.substr(4, 2)) : (end ? 12 : 1);
    int day = digits.size() == 8 ? std::stoi(digits.substr(6, 2)) : 1;
    if (digits.size() < 8 && end)
        day = DaysInMonth(year, month);
    return Day::FromDate(year, month, day);
}

SearchQuery ParseQuery(std::string_view typed)
{
    SearchQuery query;
    const std::string text = ComposedNormalForm(typed);
    for (std::string_view token : Tokens(text)) {
        bool excluded = false;
        if (token.size() > 1 && token[0] == '-') {
            excluded = true;
            token.remove_prefix(1);
        }
        std::string tag;
        if (token.front() == '"') {
            std::string_view phrase = token.substr(1);
            if (!phrase.empty() && phrase.back() == '"')
                phrase.remove_suffix(1);
            AddTerm(query, phrase, true, excluded);
        } else if (IsTagToken(token, tag)) {
            (excluded ? query.excludedTags : query.tags).push_back(tag);
        } else if (!excluded && (token.rfind("from:", 0) == 0 || token.rfind("until:", 0) == 0)) {
            const bool until = token[0] == 'u';
            const std::string_view value = token.substr(until ? 6 : 5);
            if (const auto day = ParseQueryDay(value, until))
                (until ? query.until : query.from) = *day;
            else
                query.problems.push_back(std::string(token));
        } else if (token != "-") {
            AddTerm(query, token, false, excluded);
        }
    }
    return query;
}

std::string SearchKey(std::string_view utf8, bool plain, std::vector<int>* origin)
{
    std::string key;
    key.reserve(utf8.size());
    if (origin) {
        origin->clear();
        origin->reserve(utf8.size() + 1);
    }
    for (std::size_t at = 0; at < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[at]);
        const std::size_t before = key.size();
        int length = 1;
        if (byte < 0x80) {
            key += char(byte >= 'A' && byte <= 'Z' ? byte + 32 : byte);
        } else {
            const char32_t c = DecodeUtf8At(utf8, at, length);
            if (c == ReplacementCharacter && length == 1)
                key += utf8[at];  // a malformed byte matches only itself
            else if (!(plain && IsCombiningAccent(c)))
                AppendUtf8(key, plain ? WithoutAccents(FoldCase(c)) : FoldCase(c));
        }
        if (origin)
            origin->insert(origin->end(), key.size() - before, int(at));
        at += std::size_t(length);
    }
    if (origin)
        origin->push_back(int(utf8.size()));
    return key;
}

} // namespace quillory
