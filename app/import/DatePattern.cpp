// Matching note names against a date pattern by backtracking over its few tokens.
#include "app/import/DatePattern.h"

#include "platform/Error.h"

#include <array>
#include <cctype>

namespace quillory {

namespace {

constexpr std::array<std::string_view, 12> kMonths = {"january", "february", "march",     "april",
                                                      "may",     "june",     "july",      "august",
                                                      "september", "october", "november", "december"};

bool StartsNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i])
            return false;
    }
    return true;
}

} // namespace

DatePattern::DatePattern(std::string_view pattern)
{
    struct Word {
        std::string_view text;
        Kind kind;
    };
    // Longest first, so that "MMMM" is not read as two "MM".
    static constexpr Word kWords[] = {{"YYYY", Kind::Year},     {"MMMM", Kind::MonthName}, {"MMM", Kind::MonthShort},
                                      {"MM", Kind::Month2},     {"M", Kind::Month1},       {"DD", Kind::Day2},
                                      {"D", Kind::Day1},        {"dddd", Kind::Weekday},   {"ddd", Kind::Weekday}};
    bool year = false, month = false, day = false;
    for (std::size_t at = 0; at < pattern.size();) {
        bool matched = false;
        for (const Word& word : kWords) {
            if (pattern.substr(at, word.text.size()) == word.text) {
                tokens_.push_back({word.kind, {}});
                year |= word.kind == Kind::Year;
                month |= word.kind == Kind::Month2 || word.kind == Kind::Month1 || word.kind == Kind::MonthName
                      || word.kind == Kind::MonthShort;
                day |= word.kind == Kind::Day2 || word.kind == Kind::Day1;
                at += word.text.size();
                matched = true;
                break;
            }
        }
        if (matched)
            continue;
        if (pattern[at] == '/')
            ++components_;
        if (tokens_.empty() || tokens_.back().kind != Kind::Literal)
            tokens_.push_back({Kind::Literal, {}});
        tokens_.back().text += pattern[at];
        ++at;
    }
    if (!year || !month || !day)
        throw Error("The pattern " + std::string(pattern) + " needs a year (YYYY), a month (MM) and a day (DD)");
}

std::optional<Day> DatePattern::Match(std::string_view path) const
{
    // The last components of the path, as many as the pattern spans.
    std::size_t from = path.size();
    for (int i = 0; i < components_; ++i) {
        const std::size_t slash = from == 0 ? std::string_view::npos : path.rfind('/', from - 1);
        if (slash == std::string_view::npos) {
            if (i + 1 < components_)
                return std::nullopt;
            from = 0;
            break;
        }
        from = slash;
    }
    if (from > 0)
        ++from;  // past the '/'
    Day day;
    if (!MatchFrom(0, path.substr(from), {}, day))
        return std::nullopt;
    return day;
}

bool DatePattern::MatchFrom(std::size_t token, std::string_view rest, Parts parts, Day& result) const
{
    if (token == tokens_.size()) {
        if (!rest.empty())
            return false;
        const auto day = Day::FromDate(parts.year, parts.month, parts.day);
        if (day)
            result = *day;
        return day.has_value();
    }
    const Token& t = tokens_[token];
    const auto digits = [&](std::size_t least, std::size_t most, int Parts::*field) {
        for (std::size_t count = most; count >= least; --count) {
            if (rest.size() < count)
                continue;
            int value = 0;
            bool all = true;
            for (std::size_t i = 0; i < count && all; ++i) {
                all = std::isdigit(static_cast<unsigned char>(rest[i]));
                value = value * 10 + (rest[i] - '0');
            }
            if (!all)
                continue;
            Parts next = parts;
            next.*field = value;
            if (MatchFrom(token + 1, rest.substr(count), next, result))
                return true;
        }
        return false;
    };
    switch (t.kind) {
    case Kind::Literal:
        return rest.substr(0, t.text.size()) == t.text && MatchFrom(token + 1, rest.substr(t.text.size()), parts, result);
    case Kind::Year:
        return digits(4, 4, &Parts::year);
    case Kind::Month2:
        return digits(2, 2, &Parts::month);
    case Kind::Month1:
        return digits(1, 2, &Parts::month);
    case Kind::Day2:
        return digits(2, 2, &Parts::day);
    case Kind::Day1:
        return digits(1, 2, &Parts::day);
    case Kind::MonthName:
    case Kind::MonthShort:
        for (std::size_t m = 0; m < kMonths.size(); ++m) {
            const std::string_view name = t.kind == Kind::MonthName ? kMonths[m] : kMonths[m].substr(0, 3);
            if (StartsNoCase(rest, name)) {
                Parts next = parts;
                next.month = int(m) + 1;
                if (MatchFrom(token + 1, rest.substr(name.size()), next, result))
                    return true;
            }
        }
        return false;
    case Kind::Weekday: {
        std::size_t letters = 0;
        while (letters < rest.size() && std::isalpha(static_cast<unsigned char>(rest[letters])))
            ++letters;
        for (std::size_t count = letters; count >= 3; --count) {
            if (MatchFrom(token + 1, rest.substr(count), parts, result))
                return true;
        }
        return false;
    }
    }
    return false;
}

} // namespace quillory
