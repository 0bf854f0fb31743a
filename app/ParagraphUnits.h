// The paragraph dialog's numbers: twips shown as inches, centimetres or points, and typed text
// read back into twips.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillory {

// The unit of the indent edits. Twips is what a unit box showing neither "Inch" nor "Cm" means.
enum class IndentUnit { Inch, Cm, Twips };
// Indents are shown in the indent unit; spacing always in points.
enum class ValueKind { Indent, Points };

inline constexpr double kTwipsPerInch = 1440.0;
inline constexpr double kTwipsPerCm = 566.929;

// Inches and centimetres with two decimals, points and twips as whole numbers; `separator`
// stands for the decimal point.
std::string TwipsToText(int twips, ValueKind kind, IndentUnit unit, char separator = '.');

// The text as twips: empty is 0; a number (with `separator` or '.' as decimal point) is
// converted and rounded to the nearest twip, halves to even. Nothing when the text is not a
// number.
std::optional<int> TextToTwips(std::string_view text, ValueKind kind, IndentUnit unit, char separator = '.');

// The framework's conversion error for a text that is not a number.
std::string NotAFloatMessage(std::string_view text);

} // namespace quillory
