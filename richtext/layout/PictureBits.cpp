// DIB file headers and device-dependent bitmap pixels, checked against the bytes at hand.
#include "richtext/layout/PictureBits.h"

#include <algorithm>

namespace quillory {

namespace {

constexpr std::int64_t MaxPixels = 64LL * 1024 * 1024;

std::uint32_t read32(std::string_view b, std::size_t at)
{
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8
        | std::uint32_t(std::uint8_t(b[at + 2])) << 16 | std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}

std::uint16_t read16(std::string_view b, std::size_t at)
{
    return std::uint16_t(std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8);
}

void put32(std::string& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(char((v >> (8 * i)) & 0xFF));
}

// The 16 colours of a 4-bit device.
constexpr std::uint32_t Vga16[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                     0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                     0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

} // namespace

std::optional<std::string> BmpFileFromDib(std::string_view bytes)
{
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M')
        return std::string(bytes);
    if (bytes.size() < 12)
        return std::nullopt;
    const std::uint32_t headerSize = read32(bytes, 0);
    std::uint32_t colors = 0, bits = 0, compression = 0;
    if (headerSize == 12) { // the old core header: 3-byte colour entries
        bits = read16(bytes, 10);
        colors = bits <= 8 ? (1u << bits) * 3 : 0;
    } else if (headerSize >= 40 && headerSize <= 124 && bytes.size() >= 40) {
        bits = read16(bytes, 14);
        compression = read32(bytes, 16);
        const std::uint32_t used = read32(bytes, 32);
        const std::uint32_t count = used ? used : (bits <= 8 ? 1u << bits : 0);
        if (count > 256 && bits <= 8)
            return std::nullopt;
        colors = std::min<std::uint32_t>(count, 4096) * 4;
        if (headerSize == 40 && (compression == 3 || compression == 6))
            colors += compression == 3 ? 12 : 16; // the colour masks follow the header
    } else {
        return std::nullopt;
    }
    const std::uint64_t offset = 14ull + headerSize + colors;
    if (offset > bytes.size() || bits == 0 || bits > 32)
        return std::nullopt;
    std::string out;
    out.reserve(bytes.size() + 14);
    out += "BM";
    put32(out, std::uint32_t(bytes.size() + 14));
    put32(out, 0);
    put32(out, std::uint32_t(offset));
    out.append(bytes);
    return out;
}

std::optional<PixelImage> DecodeDeviceBitmap(const TGraphic& g)
{
    const int bpp = g.bitsPerPixel * std::max(1, g.planes);
    if (g.width <= 0 || g.height <= 0 || std::int64_t(g.width) * g.height > MaxPixels)
        return std::nullopt;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return std::nullopt;
    const std::int64_t minimum = (std::int64_t(g.width) * bpp + 7) / 8;
    const std::int64_t stride = g.widthBytes > 0 ? g.widthBytes : (std::int64_t(g.width) * bpp + 15) / 16 * 2;
    if (stride < minimum || stride * g.height > std::int64_t(g.bytes.size()))
        return std::nullopt;

    PixelImage image;
    image.width = g.width;
    image.height = g.height;
    image.pixels.resize(std::size_t(g.width) * std::size_t(g.height));
    const auto* data = reinterpret_cast<const std::uint8_t*>(g.bytes.data());
    for (int y = 0; y < g.height; ++y) {
        const std::uint8_t* row = data + stride * y;
        std::uint32_t* out = image.pixels.data() + std::size_t(y) * std::size_t(g.width);
        for (int x = 0; x < g.width; ++x) {
            std::uint32_t rgb = 0;
            switch (bpp) {
            case 1: rgb = (row[x / 8] >> (7 - x % 8)) & 1 ? 0xFFFFFF : 0; break;
            case 4: rgb = Vga16[(row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F]; break;
            case 8: rgb = row[x] * 0x010101u; break; // no palette comes with the bits: grey levels
            case 16: {
                const std::uint16_t v = std::uint16_t(row[2 * x] | row[2 * x + 1] << 8);
                const std::uint32_t r = (v >> 10) & 31, gr = (v >> 5) & 31, b = v & 31;
                rgb = (r * 255 / 31) << 16 | (gr * 255 / 31) << 8 | (b * 255 / 31);
                break;
            }
            case 24: rgb = std::uint32_t(row[3 * x + 2]) << 16 | std::uint32_t(row[3 * x + 1]) << 8 | row[3 * x]; break;
            case 32: rgb = std::uint32_t(row[4 * x + 2]) << 16 | std::uint32_t(row[4 * x + 1]) << 8 | row[4 * x]; break;
            }
            out[x] = 0xFF000000u | rgb;
        }
    }
    return image;
}

} // namespace quillory
