// Font, colour and tab tables of the document header.
#include "richtext/model/TextHeader.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

TEST(TextHeader, DefaultsMatchANewDocument)
{
    TTextHeader header;
    EXPECT_EQ(header.fontCount(), 1);
    EXPECT_EQ(header.font(0)->name, "Arial");
    EXPECT_EQ(header.font(0)->pitchFamily, 0x22);
    EXPECT_EQ(header.colors[2], (RGBColor{0, 128, 0}));
    EXPECT_EQ(header.colors[13], (RGBColor{192, 192, 192}));
    EXPECT_EQ(header.colors[15], (RGBColor{0, 0, 0}));
    EXPECT_EQ(header.usableWidthTwips(), 12240 - 2 * 1880);
}

TEST(TextHeader, FontsAreFoundWithoutLetterCaseAndLimitedTo99)
{
    TTextHeader header;
    EXPECT_EQ(header.addFont("ARIAL"), 0);
    EXPECT_EQ(header.addFont("Times New Roman", 0x12), 1);
    EXPECT_EQ(header.findFont("times new roman"), 1);
    const std::string longName(40, 'x');
    EXPECT_EQ(header.addFont(longName), 2);
    EXPECT_EQ(header.font(2)->name.size(), 31u);
    EXPECT_EQ(header.addFont(longName.substr(0, 35)), 2) << "names compare after the cut";
    EXPECT_EQ(header.addFont(""), 0);

    for (int i = header.fontCount(); i < MaxFonts; ++i)
        ASSERT_EQ(header.addFont("Font" + std::to_string(i)), i);
    EXPECT_EQ(header.addFont("One Too Many"), 99);
    EXPECT_EQ(header.fontCount(), 99);
    EXPECT_EQ(header.findFont("One Too Many"), -1);
    EXPECT_EQ(header.font(99), nullptr);
}

TEST(TextHeader, TabStopsAreReusedAndLimitedTo64)
{
    TTextHeader header;
    header.resolutionX = 96;
    EXPECT_EQ(header.addTab(720, TTabKind::tkLeft), 0);
    EXPECT_EQ(header.addTab(360, TTabKind::tkRight), 1);
    EXPECT_EQ(header.addTab(720, TTabKind::tkLeft), 0);
    EXPECT_EQ(header.addTab(720, TTabKind::tkCenter), 2) << "same place, other kind";
    EXPECT_EQ(header.tab(0).pixels, 48);
    EXPECT_EQ(header.tabOrder(), (std::vector<int>{1, 0, 2}));

    for (int i = 3; i < TabCount; ++i)
        ASSERT_EQ(header.addTab(1000 + i, TTabKind::tkLeft), i);
    EXPECT_EQ(header.addTab(9999, TTabKind::tkLeft), -1);

    int compactions = 0;
    header.compactTabs = [&](TTextHeader& h) {
        ++compactions;
        h.removeTab(5);
    };
    EXPECT_EQ(header.addTab(9999, TTabKind::tkLeft), 5);
    EXPECT_EQ(header.addTab(9999, TTabKind::tkLeft), 5);
    EXPECT_EQ(compactions, 1);
}

} // namespace
} // namespace quillory
