// PCX files: a 128-byte header, run-length encoded scan lines of one or more planes, and for
// 256-colour pictures a palette after the data.
#include "platform/RasterReaders.h"

#include <algorithm>

namespace quillory {
namespace {

constexpr std::size_t kHeaderSize = 128;

std::uint32_t LE16(std::span<const std::uint8_t> b, std::size_t at) noexcept
{
    return std::uint32_t(b[at] | b[at + 1] << 8);
}

std::uint32_t Rgb(const std::uint8_t* rgb) noexcept
{
    return 0xFF000000u | std::uint32_t(rgb[0]) << 16 | std::uint32_t(rgb[1]) << 8 | rgb[2];
}

// The plane bytes of all scan lines, in file order; the runs may cross line ends.
std::vector<std::uint8_t> Unpack(std::span<const std::uint8_t> data, std::size_t total, bool encoded)
{
    std::vector<std::uint8_t> out(total, 0);
    std::size_t at = 0, put = 0;
    while (put < total && at < data.size()) {
        const std::uint8_t c = data[at++];
        if (encoded && (c & 0xC0) == 0xC0) {
            if (at >= data.size())
                break;
            const std::size_t count = std::min<std::size_t>(c & 0x3F, total - put);
            std::fill_n(out.begin() + std::ptrdiff_t(put), count, data[at++]);
            put += count;
        } else {
            out[put++] = c;
        }
    }
    return out;
}

} // namespace

std::optional<RasterImage> ReadPcx(std::span<const std::uint8_t> file)
{
    if (file.size() < kHeaderSize || file[0] != 0x0A || file[2] > 1)
        return std::nullopt;
    const int bits = file[3];
    const int planes = file[65];
    const std::uint32_t xMin = LE16(file, 4), yMin = LE16(file, 6), xMax = LE16(file, 8), yMax = LE16(file, 10);
    const std::size_t bytesPerLine = LE16(file, 66);
    if (xMax < xMin || yMax < yMin)
        return std::nullopt;
    const int width = int(xMax - xMin + 1), height = int(yMax - yMin + 1);
    const bool indexed = planes == 1 && (bits == 1 || bits == 2 || bits == 4 || bits == 8);
    const bool planar = bits == 1 && planes >= 2 && planes <= 4;
    const bool rgb = bits == 8 && (planes == 3 || planes == 4);
    if ((!indexed && !planar && !rgb) || std::int64_t(width) * height > kMaxRasterPixels
        || bytesPerLine * 8 < std::size_t(width) * std::size_t(bits))
        return std::nullopt;

    const std::size_t lineBytes = bytesPerLine * std::size_t(planes);
    // A header naming far more than the data could hold (a run of two bytes gives at most 63)
    // is no picture, and would only cost memory and time.
    const std::uint64_t data = file.size() - kHeaderSize;
    const std::uint64_t most = file[2] == 1 ? (data / 2 + 1) * 63 : data * kShortDataSlack + kShortDataSlack;
    if (std::uint64_t(lineBytes) * std::uint64_t(height) > most)
        return std::nullopt;
    const std::vector<std::uint8_t> lines =
        Unpack(file.subspan(kHeaderSize), lineBytes * std::size_t(height), file[2] == 1);

    // The 16-colour palette of the header serves up to 4 bits; 8 bits bring 256 colours after a
    // 0x0C byte at the end of the file, and a grey ramp stands in when they are missing.
    std::uint32_t palette[256];
    for (int i = 0; i < 16; ++i)
        palette[i] = Rgb(&file[16 + 3 * std::size_t(i)]);
    if (bits == 1 && planes == 1) {
        palette[0] = 0xFF000000u;
        palette[1] = 0xFFFFFFFFu;
    }
    if (indexed && bits == 8) {
        const bool trailer = file.size() >= kHeaderSize + 769 && file[file.size() - 769] == 0x0C;
        for (int i = 0; i < 256; ++i)
            palette[i] = trailer ? Rgb(&file[file.size() - 768 + 3 * std::size_t(i)])
                                 : 0xFF000000u | std::uint32_t(i) * 0x010101u;
    }

    RasterImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(std::size_t(width) * std::size_t(height));
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* line = lines.data() + std::size_t(y) * lineBytes;
        std::uint32_t* row = image.pixels.data() + std::size_t(y) * std::size_t(width);
        for (int x = 0; x < width; ++x) {
            if (rgb) {
                const std::uint32_t alpha = planes == 4 ? line[3 * bytesPerLine + std::size_t(x)] : 0xFF;
                row[x] = alpha << 24 | std::uint32_t(line[std::size_t(x)]) << 16
                    | std::uint32_t(line[bytesPerLine + std::size_t(x)]) << 8 | line[2 * bytesPerLine + std::size_t(x)];
            } else if (planar) {
                int index = 0;
                for (int p = 0; p < planes; ++p)
                    index |= (line[std::size_t(p) * bytesPerLine + std::size_t(x / 8)] >> (7 - x % 8) & 1) << p;
                row[x] = palette[index];
            } else {
                const std::size_t bit = std::size_t(x) * std::size_t(bits);
                const int index = line[bit / 8] >> (8 - bits - int(bit % 8)) & ((1 << bits) - 1);
                row[x] = palette[index];
            }
        }
    }
    return image;
}

} // namespace quillory
