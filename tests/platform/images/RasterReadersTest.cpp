// Our PCX and TGA readers against ImageMagick's reading of the same fixtures (each `X.pcx` or
// `X.tga` has `X-pcx.expected.png` beside it), hand-made layouts ImageMagick does not write, and
// headers no picture comes from. The TGA fixtures are written with rows from the top: this
// ImageMagick writes rows in that order whatever its header says, and reads them back alike.
#include "platform/RasterReaders.h"

#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace quillory {
namespace {

const std::filesystem::path kFolder = std::filesystem::path(QUILLORY_TEST_DATA) / "images";

std::vector<std::uint8_t> Bytes(const std::string& name)
{
    std::ifstream in(kFolder / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::optional<RasterImage> Read(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    return name.ends_with(".pcx") ? ReadPcx(bytes) : ReadTga(bytes);
}

// Compares every pixel; a failure names the first one that differs.
void ExpectPixels(const RasterImage& image, const QImage& expected, const std::string& name)
{
    ASSERT_EQ(image.width, expected.width()) << name;
    ASSERT_EQ(image.height, expected.height()) << name;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t got = image.pixels[std::size_t(y * image.width + x)];
            const QRgb want = expected.pixel(x, y);
            ASSERT_EQ(got, std::uint32_t(want)) << name << " pixel " << x << "," << y;
        }
}

TEST(RasterReaders, ReadEveryFixtureAsImageMagickDoes)
{
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kFolder)) {
        const std::string name = entry.path().filename().string();
        if (!name.ends_with(".pcx") && !name.ends_with(".tga"))
            continue;
        const std::string stem = name.substr(0, name.size() - 4);
        const QImage expected = QImage(QString::fromStdString((kFolder / (stem + "-" + name.substr(name.size() - 3)
                                                                           + ".expected.png")).string()))
                                    .convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(expected.isNull()) << name;
        const auto image = Read(name, Bytes(name));
        ASSERT_TRUE(image) << name;
        ExpectPixels(*image, expected, name);
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

TEST(RasterReaders, TgaRowAndColumnOrderFollowTheDescriptor)
{
    auto bytes = Bytes("rgb24.tga");
    ASSERT_EQ(bytes[17], 0x20); // rows from the top, columns from the left
    const RasterImage topDown = *ReadTga(bytes);
    bytes[17] = 0x10; // rows from the bottom, columns from the right
    const RasterImage flipped = *ReadTga(bytes);
    const int w = topDown.width, h = topDown.height;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ASSERT_EQ(flipped.pixels[std::size_t(y * w + x)], topDown.pixels[std::size_t((h - 1 - y) * w + w - 1 - x)]);
}

// A 128-byte PCX header of our own for the layouts ImageMagick does not write.
std::vector<std::uint8_t> PcxHeader(int bits, int planes, int width, int height, int bytesPerLine)
{
    std::vector<std::uint8_t> h(128, 0);
    h[0] = 0x0A;
    h[1] = 5;
    h[2] = 1;
    h[3] = std::uint8_t(bits);
    h[8] = std::uint8_t(width - 1);
    h[10] = std::uint8_t(height - 1);
    h[65] = std::uint8_t(planes);
    h[66] = std::uint8_t(bytesPerLine);
    for (int i = 0; i < 16; ++i) { // palette entry i: (i*16, 0, 255 - i*16)
        h[16 + 3 * std::size_t(i)] = std::uint8_t(i * 16);
        h[18 + 3 * std::size_t(i)] = std::uint8_t(255 - i * 16);
    }
    return h;
}

TEST(RasterReaders, PcxOneBitPicturesInOneOrFourPlanes)
{
    // Monochrome: 0 black, 1 white. Eight pixels 10110000, one byte per line, plain runs.
    auto mono = PcxHeader(1, 1, 8, 1, 1);
    mono.push_back(0xB0);
    const RasterImage m = *ReadPcx(mono);
    const std::uint32_t black = 0xFF000000, white = 0xFFFFFFFF;
    EXPECT_EQ(m.pixels, (std::vector<std::uint32_t>{white, black, white, white, black, black, black, black}));

    // Sixteen colours in four planes, one byte each: pixel 0 has index 0b1010 = 10, pixel 1
    // index 0b0101 = 5.
    auto ega = PcxHeader(1, 4, 2, 1, 1);
    for (std::uint8_t plane : {0x40, 0x80, 0x40, 0x80})
        ega.push_back(plane);
    const RasterImage e = *ReadPcx(ega);
    EXPECT_EQ(e.pixels, (std::vector<std::uint32_t>{0xFFA0005Fu, 0xFF5000AFu}));

    // A 256-colour picture without its trailing palette is grey.
    auto grey = PcxHeader(8, 1, 2, 1, 2);
    grey.insert(grey.end(), {0xC2, 0x40});
    EXPECT_EQ(ReadPcx(grey)->pixels, (std::vector<std::uint32_t>{0xFF404040u, 0xFF404040u}));
}

TEST(RasterReaders, RefuseHeadersOfNoPictureAndSurviveShortData)
{
    const auto pcx = Bytes("rgb24.pcx");
    const auto tga = Bytes("rgb24.tga");
    const auto changed = [](std::vector<std::uint8_t> bytes, std::size_t at, std::uint8_t value) {
        bytes[at] = value;
        return bytes;
    };
    const struct { const char* name; std::vector<std::uint8_t> bytes; bool pcx; } refused[] = {
        {"PCX without its mark", changed(pcx, 0, 0x0B), true},
        {"PCX of 3 bits", changed(pcx, 3, 3), true},
        {"PCX whose right edge lies left of its left edge", changed(changed(pcx, 8, 0), 4, 5), true},
        {"PCX lines shorter than the width", changed(pcx, 66, 1), true},
        {"PCX header cut short", std::vector<std::uint8_t>(pcx.begin(), pcx.begin() + 100), true},
        {"TGA of no image type", changed(tga, 2, 0), false},
        {"TGA of 12 bits", changed(tga, 16, 12), false},
        {"TGA of zero width", changed(changed(tga, 12, 0), 13, 0), false},
        {"TGA of 65535 x 65535", changed(changed(changed(changed(tga, 12, 0xFF), 13, 0xFF), 14, 0xFF), 15, 0xFF), false},
        {"TGA colour map beyond the file", changed(changed(Bytes("palette8.tga"), 5, 0xFF), 6, 0xFF), false},
        {"TGA header cut short", std::vector<std::uint8_t>(tga.begin(), tga.begin() + 10), false},
    };
    for (const auto& row : refused)
        EXPECT_FALSE(row.pcx ? ReadPcx(row.bytes) : ReadTga(row.bytes)) << row.name;

    // Data that ends early gives the picture with the rest black.
    for (const std::string name : {"rgb24.pcx", "rgb24rle.tga", "rgb24.tga"}) {
        auto bytes = Bytes(name);
        const RasterImage whole = *Read(name, bytes);
        bytes.resize(name.ends_with(".pcx") ? 140 : 30);
        const auto cut = Read(name, bytes);
        ASSERT_TRUE(cut) << name;
        EXPECT_EQ(cut->pixels.size(), whole.pixels.size()) << name;
        EXPECT_NE(cut->pixels, whole.pixels) << name;
    }
}

} // namespace
} // namespace quillory
