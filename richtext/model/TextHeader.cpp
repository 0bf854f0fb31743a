// Font, colour and tab tables of a document.
#include "richtext/model/TextHeader.h"

#include <algorithm>
#include <cctype>

namespace quillory {

namespace {

bool equalNoCase(std::string_view a, std::string_view b) noexcept
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

} // namespace

TTextHeader::TTextHeader() : colors(defaultColors())
{
    fonts_.push_back({"Arial", 0x22, 0});
}

std::array<RGBColor, ColorCount> TTextHeader::defaultColors()
{
    return {{{0, 0, 0}, {255, 0, 0}, {0, 128, 0}, {0, 0, 255},
             {255, 255, 0}, {255, 0, 255}, {128, 0, 128}, {128, 0, 0},
             {0, 255, 0}, {0, 255, 255}, {0, 128, 128}, {0, 0, 128},
             {255, 255, 255}, {192, 192, 192}, {128, 128, 128}, {0, 0, 0}}};
}

const FontEntry* TTextHeader::font(int index) const noexcept
{
    if (index < 0 || index >= fontCount())
        return nullptr;
    return &fonts_[std::size_t(index)];
}

int TTextHeader::findFont(std::string_view name) const noexcept
{
    name = name.substr(0, MaxFontName);
    for (std::size_t i = 0; i < fonts_.size(); ++i)
        if (equalNoCase(fonts_[i].name, name))
            return int(i);
    return -1;
}

int TTextHeader::addFont(std::string_view name, std::uint8_t pitchFamily, std::uint8_t charset)
{
    name = name.substr(0, MaxFontName);
    if (name.empty())
        return 0; // an empty name would end the table
    if (int found = findFont(name); found >= 0)
        return found;
    if (fontCount() >= MaxFonts)
        return MaxFonts;
    fonts_.push_back({std::string(name), pitchFamily, charset});
    return fontCount() - 1;
}

std::vector<int> TTextHeader::tabOrder() const
{
    std::vector<int> order;
    for (int i = 0; i < TabCount; ++i)
        if (tabUsed(i))
            order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        return tabs_[std::size_t(a)].position < tabs_[std::size_t(b)].position;
    });
    return order;
}

int TTextHeader::addTab(std::int32_t position, TTabKind kind)
{
    for (int i = 0; i < TabCount; ++i)
        if (tabUsed(i) && tabs_[std::size_t(i)].position == position && tabs_[std::size_t(i)].kind == kind)
            return i;
    auto firstFree = [this] {
        for (int i = 0; i < TabCount; ++i)
            if (!tabUsed(i))
                return i;
        return -1;
    };
    int index = firstFree();
    if (index < 0 && compactTabs) {
        compactTabs(*this);
        index = firstFree();
    }
    if (index < 0)
        return -1;
    tabs_[std::size_t(index)] = {position, position * resolutionX / TwipsPerInch, kind};
    tabsDefined_ |= std::uint64_t(1) << index;
    return index;
}

void TTextHeader::removeTab(int index) noexcept
{
    if (index >= 0 && index < TabCount)
        tabsDefined_ &= ~(std::uint64_t(1) << index);
}

} // namespace quillory
