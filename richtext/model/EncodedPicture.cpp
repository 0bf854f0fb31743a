// Signatures and header sizes of PNG and JPEG pictures; see EncodedPicture.h.
#include "richtext/model/EncodedPicture.h"

namespace quillory {
namespace {

constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1A\n";

std::uint32_t BE16(std::string_view b, std::size_t at) noexcept
{
    return std::uint32_t(std::uint8_t(b[at])) << 8 | std::uint8_t(b[at + 1]);
}

std::uint32_t BE32(std::string_view b, std::size_t at) noexcept
{
    return BE16(b, at) << 16 | BE16(b, at + 2);
}

std::optional<PixelSize> Checked(std::uint32_t width, std::uint32_t height) noexcept
{
    // PNG allows sides up to 2^31 - 1; nothing larger is a picture anyone keeps in a diary.
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return std::nullopt;
    return PixelSize{std::int32_t(width), std::int32_t(height)};
}

std::optional<PixelSize> PngSize(std::string_view b) noexcept
{
    if (b.size() < 24 || !b.starts_with(kPngSignature) || b.substr(12, 4) != "IHDR")
        return std::nullopt;
    return Checked(BE32(b, 16), BE32(b, 20));
}

// Walks the marker segments up to the first start-of-frame (SOF0..SOF15 without DHT, JPG and
// DAC, which share the range).
std::optional<PixelSize> JpegSize(std::string_view b) noexcept
{
    if (b.size() < 4 || std::uint8_t(b[0]) != 0xFF || std::uint8_t(b[1]) != 0xD8)
        return std::nullopt;
    std::size_t at = 2;
    while (at + 4 <= b.size()) {
        if (std::uint8_t(b[at]) != 0xFF)
            return std::nullopt;
        const std::uint8_t marker = std::uint8_t(b[at + 1]);
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) { // no length follows
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA)
            return std::nullopt; // the image ended or its data began before any frame header
        const std::uint32_t length = BE16(b, at + 2);
        if (length < 2)
            return std::nullopt;
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (length < 7 || at + 9 > b.size())
                return std::nullopt;
            return Checked(BE16(b, at + 7), BE16(b, at + 5));
        }
        at += 2 + length;
    }
    return std::nullopt;
}

} // namespace

std::optional<GraphicKind> EncodedPictureKind(std::string_view bytes) noexcept
{
    if (bytes.starts_with(kPngSignature))
        return GraphicKind::Png;
    if (bytes.size() >= 3 && std::uint8_t(bytes[0]) == 0xFF && std::uint8_t(bytes[1]) == 0xD8
        && std::uint8_t(bytes[2]) == 0xFF)
        return GraphicKind::Jpeg;
    return std::nullopt;
}

std::optional<PixelSize> EncodedPictureSize(GraphicKind kind, std::string_view bytes) noexcept
{
    switch (kind) {
    case GraphicKind::Png: return PngSize(bytes);
    case GraphicKind::Jpeg: return JpegSize(bytes);
    default: return std::nullopt;
    }
}

} // namespace quillory
