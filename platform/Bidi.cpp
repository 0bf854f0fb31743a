// Embedding levels by ICU's bidi algorithm over the line's text as UTF-16, mapped back to bytes.
#include "platform/Bidi.h"

#include "platform/Utf8.h"

#include <unicode/ubidi.h>

#include <algorithm>
#include <memory>

namespace quillory {

namespace {

struct BidiClose {
    void operator()(UBiDi* bidi) const noexcept { ubidi_close(bidi); }
};

} // namespace

std::vector<std::uint8_t> BidiLevels(std::string_view utf8, bool rightToLeft)
{
    const std::uint8_t paragraph = rightToLeft ? 1 : 0;
    std::vector<std::uint8_t> levels(utf8.size(), paragraph);
    if (utf8.empty())
        return levels;
    std::u16string units;
    std::vector<std::size_t> startOf; // the byte each UTF-16 unit came from
    units.reserve(utf8.size());
    startOf.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        int length = 1;
        const char32_t c = DecodeUtf8At(utf8, at, length);
        if (c >= 0x10000) {
            units += HighSurrogate(c);
            units += LowSurrogate(c);
            startOf.insert(startOf.end(), 2, at);
        } else {
            units += char16_t(c);
            startOf.push_back(at);
        }
        at += std::size_t(length);
    }
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UBiDi, BidiClose> bidi(ubidi_openSized(std::int32_t(units.size()), 0, &status));
    if (U_FAILURE(status) || !bidi)
        return levels;
    ubidi_setPara(bidi.get(), reinterpret_cast<const UChar*>(units.data()), std::int32_t(units.size()), paragraph,
                  nullptr, &status);
    if (U_FAILURE(status))
        return levels;
    const UBiDiLevel* resolved = ubidi_getLevels(bidi.get(), &status);
    if (U_FAILURE(status) || !resolved)
        return levels;
    for (std::size_t unit = 0; unit < units.size(); ++unit) {
        const std::size_t from = startOf[unit];
        const std::size_t to = unit + 1 < units.size() ? startOf[unit + 1] : utf8.size();
        std::fill(levels.begin() + std::ptrdiff_t(from), levels.begin() + std::ptrdiff_t(std::max(from, to)),
                  std::uint8_t(resolved[unit]));
    }
    return levels;
}

std::vector<int> VisualRunOrder(const std::vector<std::uint8_t>& levels)
{
    std::vector<int> order(levels.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    if (levels.empty())
        return order;
    const std::uint8_t highest = *std::max_element(levels.begin(), levels.end());
    std::uint8_t lowestOdd = 0xFF;
    for (std::uint8_t level : levels)
        if (level & 1)
            lowestOdd = std::min(lowestOdd, level);
    // From the highest level down to the lowest odd one, every sequence of runs at that level or
    // above is reversed (rule L2).
    for (int level = highest; level >= int(lowestOdd) && level > 0; --level) {
        for (std::size_t i = 0; i < order.size();) {
            if (levels[std::size_t(order[i])] < level) {
                ++i;
                continue;
            }
            std::size_t j = i;
            while (j < order.size() && levels[std::size_t(order[j])] >= level)
                ++j;
            std::reverse(order.begin() + std::ptrdiff_t(i), order.begin() + std::ptrdiff_t(j));
            i = j;
        }
    }
    return order;
}

} // namespace quillory
