// The paragraph dialog's unit conversions.
#include "app/ParagraphUnits.h"

#include <charconv>
#include <climits>
#include <cmath>

namespace quillory {

namespace {

// Round to nearest, halves to even, as the dialog always rounded.
double RoundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5)
        return floor + 1;
    if (fraction < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::string TwipsToText(int twips, ValueKind kind, IndentUnit unit, char separator)
{
    if (kind == ValueKind::Points)
        return std::to_string(static_cast<long long>(RoundHalfEven(twips / kTwipsPerInch * 72.0)));
    if (unit == IndentUnit::Twips)
        return std::to_string(twips);
    const double value = twips / (unit == IndentUnit::Inch ? kTwipsPerInch : kTwipsPerCm);
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    std::string text(buffer, result.ptr);
    for (char& c : text)
        if (c == '.')
            c = separator;
    return text;
}

std::optional<int> TextToTwips(std::string_view text, ValueKind kind, IndentUnit unit, char separator)
{
    text = Trimmed(text);
    if (text.empty())
        return 0;
    std::string number(text);
    for (char& c : number)
        if (c == separator)
            c = '.';
    std::string_view digits = number;
    if (digits.size() > 1 && digits.front() == '+' && digits[1] != '-')
        digits.remove_prefix(1);
    double value = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec != std::errc() || result.ptr != digits.data() + digits.size() || !std::isfinite(value))
        return std::nullopt;
    double twips = value;
    if (kind == ValueKind::Points)
        twips = value * (1.0 / 72.0) * kTwipsPerInch;
    else if (unit == IndentUnit::Inch)
        twips = value * kTwipsPerInch;
    else if (unit == IndentUnit::Cm)
        twips = value * kTwipsPerCm;
    twips = RoundHalfEven(twips);
    if (twips > INT_MAX || twips < INT_MIN)
        return std::nullopt; // no twip count of a paragraph
    return int(twips);
}

std::string NotAFloatMessage(std::string_view text)
{
    return "'" + std::string(text) + "' is not a valid floating point value";
}

} // namespace quillory
