// TGA files: an 18-byte header, an image id, an optional colour map, then the pixels, plain or
// in run-length packets, bottom row first unless the descriptor says otherwise.
#include "platform/RasterReaders.h"

#include <algorithm>

namespace quillory {
namespace {

constexpr std::size_t kHeaderSize = 18;

std::uint32_t LE16(std::span<const std::uint8_t> b, std::size_t at) noexcept
{
    return std::uint32_t(b[at] | b[at + 1] << 8);
}

// One stored pixel or colour-map entry of `bytes` bytes as 0xAARRGGBB.
std::uint32_t Colour(const std::uint8_t* p, int bytes, bool grey, bool alphaBit) noexcept
{
    switch (bytes) {
    case 1:
        return 0xFF000000u | std::uint32_t(p[0]) * 0x010101u;
    case 2: {
        if (grey) // grey and alpha
            return std::uint32_t(p[1]) << 24 | std::uint32_t(p[0]) * 0x010101u;
        const std::uint32_t v = std::uint32_t(p[0] | p[1] << 8);
        const auto five = [](std::uint32_t c) { return (c << 3) | (c >> 2); };
        const std::uint32_t alpha = alphaBit && !(v & 0x8000) ? 0 : 0xFF;
        return alpha << 24 | five(v >> 10 & 31) << 16 | five(v >> 5 & 31) << 8 | five(v & 31);
    }
    case 3:
        return 0xFF000000u | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
    default:
        return std::uint32_t(p[3]) << 24 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
    }
}

} // namespace

std::optional<RasterImage> ReadTga(std::span<const std::uint8_t> file)
{
    if (file.size() < kHeaderSize)
        return std::nullopt;
    const int mapType = file[1];
    const int type = file[2];
    const std::uint32_t mapFirst = LE16(file, 3), mapLength = LE16(file, 5);
    const int mapBits = file[7];
    const int width = int(LE16(file, 12)), height = int(LE16(file, 14));
    const int depth = file[16];
    const int descriptor = file[17];
    const int alphaBits = descriptor & 15;
    const bool rle = type >= 9;
    const int base = rle ? type - 8 : type;
    const bool mapped = base == 1, grey = base == 3;

    if ((base != 1 && base != 2 && base != 3) || mapType > 1 || width == 0 || height == 0
        || std::int64_t(width) * height > kMaxRasterPixels)
        return std::nullopt;
    if (mapped ? (mapType != 1 || (depth != 8 && depth != 16)) : grey ? (depth != 8 && depth != 16)
                                                                   : (depth != 15 && depth != 16 && depth != 24 && depth != 32))
        return std::nullopt;
    const int mapEntryBytes = (mapBits + 7) / 8;
    if (mapType == 1 && (mapEntryBytes < 2 || mapEntryBytes > 4))
        return std::nullopt;

    std::size_t at = kHeaderSize + file[0];
    std::vector<std::uint32_t> map;
    if (mapType == 1) {
        const std::size_t mapBytes = std::size_t(mapLength) * std::size_t(mapEntryBytes);
        if (at + mapBytes > file.size())
            return std::nullopt;
        map.reserve(mapLength);
        for (std::size_t i = 0; i < mapLength; ++i)
            map.push_back(Colour(&file[at + i * std::size_t(mapEntryBytes)], mapEntryBytes, false, alphaBits == 1));
        at += mapBytes;
    }

    const int pixelBytes = (depth + 7) / 8;
    // A header naming far more pixels than the data could hold (a run packet gives at most 128)
    // is no picture, and would only cost memory and time.
    const std::uint64_t data = file.size() - at;
    const std::uint64_t most = rle ? (data / std::uint64_t(1 + pixelBytes) + 1) * 128
                                   : data / std::uint64_t(pixelBytes) * kShortDataSlack + kShortDataSlack;
    if (std::uint64_t(width) * std::uint64_t(height) > most)
        return std::nullopt;
    const auto decode = [&](const std::uint8_t* p) -> std::uint32_t {
        if (!mapped)
            return Colour(p, pixelBytes, grey, alphaBits == 1);
        const std::uint32_t index = pixelBytes == 1 ? p[0] : std::uint32_t(p[0] | p[1] << 8);
        return index >= mapFirst && index - mapFirst < map.size() ? map[index - mapFirst] : 0xFF000000u;
    };

    // Pixels in file order; what the data does not reach stays black.
    const std::size_t count = std::size_t(width) * std::size_t(height);
    std::vector<std::uint32_t> stored(count, 0xFF000000u);
    std::size_t put = 0;
    while (put < count && at + std::size_t(pixelBytes) <= file.size()) {
        if (!rle) {
            stored[put++] = decode(&file[at]);
            at += std::size_t(pixelBytes);
            continue;
        }
        const std::uint8_t packet = file[at++];
        const std::size_t run = std::min<std::size_t>((packet & 0x7F) + 1u, count - put);
        if (packet & 0x80) {
            if (at + std::size_t(pixelBytes) > file.size())
                break;
            std::fill_n(stored.begin() + std::ptrdiff_t(put), run, decode(&file[at]));
            at += std::size_t(pixelBytes);
            put += run;
        } else {
            for (std::size_t i = 0; i < run && at + std::size_t(pixelBytes) <= file.size(); ++i, at += std::size_t(pixelBytes))
                stored[put++] = decode(&file[at]);
        }
    }

    // 32-bit pictures whose alpha is all zero come from writers that leave it unset: they are
    // opaque, not invisible.
    const bool alpha = (depth == 32 && alphaBits > 0) || (grey && depth == 16) || (depth == 16 && alphaBits == 1)
        || (mapped && alphaBits > 0);
    if (!alpha || std::all_of(stored.begin(), stored.end(), [](std::uint32_t p) { return (p >> 24) == 0; }))
        for (std::uint32_t& p : stored)
            p |= 0xFF000000u;

    RasterImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(count);
    const bool topDown = descriptor & 0x20, rightToLeft = descriptor & 0x10;
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* from = stored.data() + std::size_t(topDown ? y : height - 1 - y) * std::size_t(width);
        std::uint32_t* to = image.pixels.data() + std::size_t(y) * std::size_t(width);
        if (rightToLeft)
            std::reverse_copy(from, from + width, to);
        else
            std::copy_n(from, width, to);
    }
    return image;
}

} // namespace quillory
