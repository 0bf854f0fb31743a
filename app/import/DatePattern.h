// Names of daily notes by a date pattern, as note-taking programs let users choose them:
// YYYY (year), MM / M (month number), MMMM / MMM (English month name or its first three
// letters), DD / D (day), dddd / ddd (weekday name, not checked); anything else stands for
// itself, '/' between folders.
#pragma once

#include "platform/Day.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

class DatePattern {
public:
    // Throws quillory::Error for a pattern without a year, a month and a day.
    explicit DatePattern(std::string_view pattern);

    // The day that `path` (relative, '/' between folders) names: its last components, as many
    // as the pattern has, must match the pattern whole. Letters of names match in any case.
    std::optional<Day> Match(std::string_view path) const;

    // How many path components the pattern spans.
    int Components() const noexcept { return components_; }

private:
    enum class Kind { Literal, Year, Month2, Month1, MonthName, MonthShort, Day2, Day1, Weekday };
    struct Token {
        Kind kind;
        std::string text;  // of a literal
    };
    struct Parts {
        int year = 0, month = 0, day = 0;
    };
    bool MatchFrom(std::size_t token, std::string_view rest, Parts parts, Day& result) const;

    std::vector<Token> tokens_;
    int components_ = 1;
};

} // namespace quillory
