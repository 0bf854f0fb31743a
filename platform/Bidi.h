// Text that mixes directions, after Unicode's bidirectional algorithm (through ICU): the embedding
// level of each byte of a line, from which the layout orders its pieces from left to right.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace quillory {

// The resolved embedding level of each byte of a line of UTF-8 (all bytes of a character share
// one; odd levels run right to left), the paragraph's own level 1 when `rightToLeft`, else 0.
// Blanks at the line's end take the paragraph's level. A malformed byte counts as U+FFFD.
std::vector<std::uint8_t> BidiLevels(std::string_view utf8, bool rightToLeft);

// The visual order of the runs of a line: `levels` holds one level per run in logical order;
// the result lists the runs' logical indexes from left to right.
std::vector<int> VisualRunOrder(const std::vector<std::uint8_t>& levels);

} // namespace quillory
