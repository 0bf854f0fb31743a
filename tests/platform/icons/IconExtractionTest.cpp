// The icon extraction: counts and chosen images of each container kind, and damaged files
// that must give fewer icons or none, never a crash or a read outside the file.
#include "platform/IconExtraction.h"
#include "bench/PathologicalInputs.h"
#include "platform/qt/IconImages.h"

#include <QColor>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

namespace quillory {
namespace {

std::filesystem::path Fixture(const char* name)
{
    return std::filesystem::path(QUILLORY_TEST_DATA) / "icons" / name;
}

struct ExpectedIcon {
    int size;
    QColor colour;
};

struct LibraryCase {
    const char* file;
    IconContainer container;
    std::vector<ExpectedIcon> icons;
};

// The fixtures' images are solid colours (tools/testdata/make-icon-fixtures): the colour says
// which image of a group was chosen.
TEST(IconExtraction, ReadsEveryContainerAndChoosesTheImageNearest32)
{
    const std::vector<ExpectedIcon> groups = {{32, Qt::green}, {48, Qt::blue}, {32, Qt::yellow}};
    const LibraryCase cases[] = {
        {"three.ico", IconContainer::IcoFile, {{16, Qt::red}, {32, Qt::green}, {48, Qt::blue}}},
        {"groups16.icl", IconContainer::NeModule, groups},
        {"groups32.icl", IconContainer::PeModule, groups},
    };
    for (const LibraryCase& c : cases) {
        SCOPED_TRACE(c.file);
        const IconLibrary library = IconLibrary::FromFile(Fixture(c.file));
        EXPECT_EQ(library.Container(), c.container);
        ASSERT_EQ(library.Count(), int(c.icons.size()));
        for (int i = 0; i < library.Count(); ++i) {
            SCOPED_TRACE(i);
            const QImage image = IconImage(library, i);
            ASSERT_FALSE(image.isNull());
            EXPECT_EQ(image.size(), QSize(c.icons[i].size, c.icons[i].size));
            EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2), c.icons[i].colour);
        }
        EXPECT_FALSE(library.IconAt(-1));
        EXPECT_FALSE(library.IconAt(library.Count()));
    }
}

TEST(IconExtraction, DamagedFilesLoseOnlyWhatIsDamaged)
{
    const struct {
        const char* file;
        int count;
    } cases[] = {
        {"bad-offset.ico", 2},       // the image beyond the end is left out
        {"short-directory.ico", 0},  // 65535 entries claimed, the images missing
        {"cut.icl", 0},              // resource directory cut off
        {"loop.icl", 0},             // type directories pointing back at the root
        {"bad-shift.icl", 0},        // an alignment shift beyond any file
        {"not-an-icon.exe", 0},      // a header offset far beyond the end
        {"missing.icl", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const IconLibrary library = IconLibrary::FromFile(Fixture(c.file));
        EXPECT_EQ(library.Count(), c.count);
        for (int i = 0; i < library.Count(); ++i)
            EXPECT_FALSE(IconImage(library, i).isNull());
    }
}

// Every prefix of a good library is a file cut short somewhere: none may read past its end
// (the sanitizer build checks that) and none may claim more icons than the whole file.
TEST(IconExtraction, EveryTruncationOfALibraryIsSafe)
{
    for (const char* name : {"groups16.icl", "groups32.icl", "three.ico"}) {
        const IconLibrary whole = IconLibrary::FromFile(Fixture(name));
        std::vector<std::uint8_t> bytes;
        for (int i = 0; i < whole.Count(); ++i)
            ASSERT_TRUE(whole.IconAt(i));
        std::ifstream in(Fixture(name), std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
        for (std::size_t cut = 0; cut < bytes.size(); cut += 7) {
            const IconLibrary part(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + cut));
            ASSERT_LE(part.Count(), whole.Count()) << name << " cut at " << cut;
            for (int i = 0; i < part.Count(); ++i)
                ASSERT_TRUE(part.IconAt(i));
        }
    }
}

// A module of many sections with an icon in each: every image must come from its own section,
// whatever the order of the section table (a module that took a walk of the whole table for
// every resource name read in quadratic time).
TEST(IconExtraction, EveryIconOfAModuleWithManySectionsIsFoundInItsSection)
{
    constexpr int kSections = 40;
    constexpr int kGroups = 100;
    const std::vector<std::uint8_t> ascending = bench::PeModuleWithManySections(kSections, kGroups);
    // The same sections listed last to first.
    std::vector<std::uint8_t> descending = ascending;
    const std::size_t table = 0x40 + 24 + 224;
    for (int i = 0; i < kSections; ++i)
        std::copy_n(ascending.begin() + std::ptrdiff_t(table + std::size_t(kSections - 1 - i) * 40), 40,
                    descending.begin() + std::ptrdiff_t(table + std::size_t(i) * 40));
    for (const auto& bytes : {ascending, descending}) {
        const IconLibrary library(bytes);
        EXPECT_EQ(library.Container(), IconContainer::PeModule);
        ASSERT_EQ(library.Count(), kGroups);
        for (int i = 0; i < kGroups; ++i) {
            SCOPED_TRACE(i);
            const auto icon = library.IconAt(i);
            ASSERT_TRUE(icon);
            ASSERT_EQ(icon->size(), 22 + bench::kSectionImageSize);
            const std::uint8_t* section = icon->data() + 22 + 40;
            EXPECT_EQ(section[0] | section[1] << 8, i % (kSections - 1));
            EXPECT_EQ(library.InfoAt(i)->bitCount, 32);
        }
    }
}

TEST(IconExtraction, GroupImageChoice)
{
    using Infos = std::vector<IconImageInfo>;
    const struct {
        Infos images;
        std::optional<std::size_t> chosen;
    } cases[] = {
        {{}, std::nullopt},
        {{{16, 16, 32}, {32, 32, 8}, {32, 32, 32}, {48, 48, 32}}, 2},  // 32 x 32 of most colours
        {{{16, 16, 32}, {48, 48, 32}}, 1},                            // equally near: the larger
        {{{256, 256, 32}, {24, 24, 32}}, 1},                          // the nearest
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseGroupImage(c.images), c.chosen);
}

} // namespace
} // namespace quillory
