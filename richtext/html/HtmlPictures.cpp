// data: URIs and BMP files for the HTML reader and writer; see HtmlPictures.h.
#include "richtext/html/HtmlPictures.h"

#include "richtext/html/HtmlStyle.h"
#include "richtext/model/EncodedPicture.h"

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace quillory::html {
namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::uintmax_t kMaxPictureFile = 64u << 20;

int Base64Value(unsigned char c) noexcept
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+' || c == '-')
        return 62;
    if (c == '/' || c == '_')
        return 63;
    return -1;
}

std::int32_t ReadInt32(std::string_view bytes, std::size_t at) noexcept
{
    if (at + 4 > bytes.size())
        return 0;
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + std::size_t(i)]);
    return static_cast<std::int32_t>(value);
}

std::int32_t ReadInt16(std::string_view bytes, std::size_t at) noexcept
{
    if (at + 2 > bytes.size())
        return 0;
    return static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8);
}

std::string_view KindType(GraphicKind kind) noexcept
{
    switch (kind) {
    case GraphicKind::Metafile: return "image/wmf";
    case GraphicKind::DeviceBitmap: return "image/x-device-bitmap";
    case GraphicKind::Png: return "image/png";
    case GraphicKind::Jpeg: return "image/jpeg";
    case GraphicKind::Dib: break;
    }
    return "image/bmp";
}

} // namespace

std::string Base64Encode(std::string_view bytes)
{
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t group = (static_cast<unsigned char>(bytes[i]) << 16)
            | (static_cast<unsigned char>(bytes[i + 1]) << 8) | static_cast<unsigned char>(bytes[i + 2]);
        for (int shift = 18; shift >= 0; shift -= 6)
            text += kAlphabet[(group >> shift) & 63];
    }
    const std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        std::uint32_t group = static_cast<unsigned char>(bytes[i]) << 16;
        if (rest == 2)
            group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        text += kAlphabet[(group >> 18) & 63];
        text += kAlphabet[(group >> 12) & 63];
        text += rest == 2 ? kAlphabet[(group >> 6) & 63] : '=';
        text += '=';
    }
    return text;
}

std::string Base64Decode(std::string_view text)
{
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3);
    std::uint32_t group = 0;
    int bits = 0;
    for (unsigned char c : text) {
        if (c == '=')
            break;
        const int value = Base64Value(c);
        if (value < 0)
            continue;
        group = (group << 6) | std::uint32_t(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes += static_cast<char>((group >> bits) & 0xFF);
        }
    }
    return bytes;
}

std::string DataUri(const TGraphic& graphic)
{
    std::string uri = "data:";
    uri += KindType(graphic.kind);
    uri += ";w=" + std::to_string(graphic.width) + ";h=" + std::to_string(graphic.height);
    if (graphic.kind == GraphicKind::DeviceBitmap) {
        uri += ";bpp=" + std::to_string(graphic.bitsPerPixel) + ";planes=" + std::to_string(graphic.planes)
            + ";wb=" + std::to_string(graphic.widthBytes);
    }
    uri += ";base64,";
    uri += Base64Encode(graphic.bytes);
    return uri;
}

std::unique_ptr<TGraphic> GraphicFromDataUri(std::string_view uri)
{
    if (LowerCase(uri.substr(0, 5)) != "data:")
        return nullptr;
    const std::size_t comma = uri.find(',');
    if (comma == std::string_view::npos)
        return nullptr;
    const std::string header = LowerCase(uri.substr(5, comma - 5));
    std::string_view rest = header;
    const std::size_t typeEnd = rest.find(';');
    const std::string_view type = rest.substr(0, typeEnd);
    rest = typeEnd == std::string_view::npos ? std::string_view() : rest.substr(typeEnd + 1);

    auto graphic = std::make_unique<TGraphic>();
    bool base64 = false;
    bool sized = false;
    while (!rest.empty()) {
        const std::size_t end = rest.find(';');
        const std::string_view parameter = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (parameter == "base64") {
            base64 = true;
            continue;
        }
        const std::size_t equals = parameter.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view name = parameter.substr(0, equals);
        const std::string_view text = parameter.substr(equals + 1);
        std::int32_t value = 0;
        if (std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc())
            continue;
        if (name == "w")
            graphic->width = value, sized = true;
        else if (name == "h")
            graphic->height = value;
        else if (name == "bpp")
            graphic->bitsPerPixel = value;
        else if (name == "planes")
            graphic->planes = value;
        else if (name == "wb")
            graphic->widthBytes = value;
    }
    if (!base64)
        return nullptr;
    std::string bytes = Base64Decode(uri.substr(comma + 1));
    if (type == "image/bmp" || type == "image/x-bmp") {
        auto bmp = GraphicFromBmp(std::move(bytes));
        if (bmp && sized) {
            bmp->width = graphic->width;
            bmp->height = graphic->height;
        }
        return bmp;
    }
    if (type == "image/wmf" || type == "image/x-wmf") {
        graphic->kind = GraphicKind::Metafile;
    } else if (type == "image/x-device-bitmap") {
        graphic->kind = GraphicKind::DeviceBitmap;
    } else if (type == "image/png" || type == "image/jpeg" || type == "image/jpg") {
        // The bytes decide the kind and their header the size.
        const auto kind = EncodedPictureKind(bytes);
        const auto size = kind ? EncodedPictureSize(*kind, bytes) : std::nullopt;
        if (!size)
            return nullptr;
        graphic->kind = *kind;
        graphic->width = size->width;
        graphic->height = size->height;
    } else {
        return nullptr;
    }
    graphic->bytes = std::move(bytes);
    return graphic;
}

std::unique_ptr<TGraphic> GraphicFromBmp(std::string bytes)
{
    // A file header of 14 bytes, then an info header of at least 12.
    if (bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M')
        return nullptr;
    auto graphic = std::make_unique<TGraphic>();
    graphic->kind = GraphicKind::Dib;
    const std::int32_t infoSize = ReadInt32(bytes, 14);
    if (infoSize == 12) { // the old core header has 16-bit sizes
        graphic->width = ReadInt16(bytes, 18);
        graphic->height = ReadInt16(bytes, 20);
        graphic->planes = ReadInt16(bytes, 22);
        graphic->bitsPerPixel = ReadInt16(bytes, 24);
    } else {
        graphic->width = ReadInt32(bytes, 18);
        graphic->height = ReadInt32(bytes, 22);
        graphic->planes = ReadInt16(bytes, 26);
        graphic->bitsPerPixel = ReadInt16(bytes, 28);
    }
    if (graphic->height < 0)
        graphic->height = graphic->height == INT32_MIN ? 0 : -graphic->height; // top-down rows
    graphic->bytes = std::move(bytes);
    return graphic;
}

std::unique_ptr<TGraphic> LoadBmpFile(const std::string& path)
{
    if (path.size() < 4 || LowerCase(path.substr(path.size() - 4)) != ".bmp")
        return nullptr;
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error || size > kMaxPictureFile)
        return nullptr;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return nullptr;
    std::string bytes{std::istreambuf_iterator<char>(in), {}};
    return GraphicFromBmp(std::move(bytes));
}

} // namespace quillory::html
