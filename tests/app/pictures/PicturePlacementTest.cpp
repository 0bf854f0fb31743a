// The size an inserted picture is shown at and the pixels kept for it.
#include "app/PicturePlacement.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

TEST(PicturePlacement, ScalesNarrowsToTheTextAndStoresWhatTheSizeNeeds)
{
    constexpr int kText = 8480; // the text width of a Letter page with the default margins
    const struct {
        const char* name;
        int width, height, percent;
        bool keep;
        PicturePlacement expected;
    } rows[] = {
        {"an icon at 100 percent", 32, 32, 100, false, {480, 480, 32, 32, false}},
        {"halved, fractions dropped", 33, 21, 50, false, {240, 150, 33, 21, false}},
        {"doubled", 40, 30, 200, false, {1200, 900, 40, 30, false}},
        // 2400 pixels are 36000 twips: narrowed to the text, 8480 twips need 1177 pixels.
        {"a photo wider than the page", 2400, 1600, 100, false, {kText, 5653, 1177, 784, true}},
        {"the same, keeping all pixels", 2400, 1600, 100, true, {kText, 5653, 2400, 1600, false}},
        {"a photo scaled down to fit the text", 2400, 1600, 25, false, {kText, 5653, 1177, 784, true}},
        {"a thin sliver keeps a pixel of height", 4000, 1, 100, false, {kText, 2, 1177, 1, true}},
        {"a picture of no pixels", 0, 0, 100, false, {15, 15, 1, 1, false}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(PlacePicture(row.width, row.height, row.percent, kText, row.keep), row.expected) << row.name;
}

} // namespace
} // namespace quillory
