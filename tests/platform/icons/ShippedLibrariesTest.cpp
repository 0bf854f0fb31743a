// The icon libraries that the build draws for the program folder: each one read back by the
// program's own reader, with its icons whole and of the palette's size.
#include "platform/IconExtraction.h"
#include "platform/qt/IconImages.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace quillory {
namespace {

TEST(ShippedIconLibraries, EachHoldsAtLeastFortyIconsOf32Pixels)
{
    const std::filesystem::path data(QUILLORY_DIST_DATA);
    for (const char* file : {"icons/activity.icl", "icons/events.icl", "icons/holiday.icl", "icons/misc1.icl",
                             "icons/misc2.icl", "BonusIcons/Animals.icl", "BonusIcons/Food and Drink.icl"}) {
        SCOPED_TRACE(file);
        const IconLibrary library = IconLibrary::FromFile(data / file);
        EXPECT_EQ(library.Container(), IconContainer::PeModule);
        EXPECT_GE(library.Count(), 40);
        for (int i = 0; i < library.Count(); ++i) {
            const QImage icon = IconImage(library, i);
            ASSERT_EQ(icon.size(), QSize(32, 32)) << i;
            // Drawn, not blank: the emoji font was there.
            int drawn = 0;
            for (int y = 0; y < 32; ++y) {
                for (int x = 0; x < 32; ++x)
                    drawn += qAlpha(icon.pixel(x, y)) > 0;
            }
            EXPECT_GT(drawn, 100) << i;
        }
    }
}

} // namespace
} // namespace quillory
