// The RTF writer's pictures, application objects and footnotes.
#include "richtext/rtf/RtfWriter.h"

#include <cstring>
#include <optional>
#include <string>

namespace quillory {

namespace {

constexpr std::size_t PlaceableHeaderSize = 22;
constexpr std::size_t BmpFileHeaderSize = 14;
constexpr std::uint32_t PlaceableKey = 0x9AC6CDD7;

std::uint32_t readLE32(std::string_view bytes, std::size_t at) noexcept
{
    if (at + 4 > bytes.size())
        return 0;
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + std::size_t(i)]);
    return value;
}

void appendLE(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += char((value >> (8 * i)) & 0xFF);
}

// The info header, palette and bits of a device bitmap, as a DIB (bottom-up rows padded to
// 32 bits). Only the layouts whose pixels need no device palette are converted.
std::optional<std::string> deviceBitmapAsDib(const TGraphic& g)
{
    const int bits = g.bitsPerPixel * std::max(g.planes, 1);
    if ((bits != 1 && bits != 24 && bits != 32) || g.width <= 0 || g.height <= 0 || g.widthBytes <= 0)
        return std::nullopt;
    const std::size_t rowIn = std::size_t(g.widthBytes);
    if (rowIn * std::size_t(g.height) > g.bytes.size() || rowIn < (std::size_t(g.width) * bits + 7) / 8)
        return std::nullopt;
    const std::size_t rowOut = ((std::size_t(g.width) * bits + 31) / 32) * 4;
    std::string dib;
    appendLE(dib, 40, 4);
    appendLE(dib, std::uint32_t(g.width), 4);
    appendLE(dib, std::uint32_t(g.height), 4);
    appendLE(dib, 1, 2);
    appendLE(dib, std::uint32_t(bits), 2);
    appendLE(dib, 0, 4); // no compression
    appendLE(dib, std::uint32_t(rowOut * std::size_t(g.height)), 4);
    appendLE(dib, 0, 4);
    appendLE(dib, 0, 4);
    appendLE(dib, bits == 1 ? 2 : 0, 4);
    appendLE(dib, 0, 4);
    if (bits == 1) {
        appendLE(dib, 0x000000, 4);
        appendLE(dib, 0xFFFFFF, 4);
    }
    const std::size_t copied = std::min(rowIn, rowOut);
    for (int y = g.height - 1; y >= 0; --y) {
        dib.append(g.bytes, std::size_t(y) * rowIn, copied);
        dib.append(rowOut - copied, '\0');
    }
    return dib;
}

} // namespace

void TWPRTFWriter::EmitHex(std::string_view bytes)
{
    static constexpr char hex[] = "0123456789abcdef";
    std::string chunk;
    chunk.reserve(4096);
    for (unsigned char c : bytes) {
        chunk += hex[c >> 4];
        chunk += hex[c & 15];
        if (chunk.size() >= 4096) {
            Put(chunk);
            chunk.clear();
        }
    }
    Put(chunk);
}

void TWPRTFWriter::WritePicture(const TTextObject& object)
{
    const TGraphic& g = *object.graphic;
    Emit("{\\pict");
    auto sizes = [&](long width, long height) {
        EmitNumbered("\\picw", width);
        EmitNumbered("\\pich", height);
        EmitNumbered("\\picwgoal", object.width);
        EmitNumbered("\\pichgoal", object.height);
        Emit("\r\n");
    };
    auto dib = [&](std::string_view info) {
        // The width, planes and bit count are those of the info header when it has them.
        long width = g.width, height = g.height, planes = g.planes, bits = g.bitsPerPixel;
        if (info.size() >= 16 && readLE32(info, 0) >= 16) {
            width = long(std::int32_t(readLE32(info, 4)));
            const long rawHeight = long(std::int32_t(readLE32(info, 8)));
            height = rawHeight < 0 ? -rawHeight : rawHeight;
            planes = long(readLE32(info, 12) & 0xFFFF);
            bits = long(readLE32(info, 12) >> 16);
        }
        EmitNumbered("\\dibitmap0\\wbmbitspixel", bits);
        EmitNumbered("\\wbmplanes", planes);
        EmitNumbered("\\wbmwidthbytes", (width * bits + 7) / 8);
        sizes(width, height);
        Flush();
        EmitHex(info);
    };
    switch (g.kind) {
    case GraphicKind::Metafile: {
        std::string_view bytes = g.bytes;
        // Only a placeable header is left out; a bare metafile keeps all of its records.
        if (bytes.size() >= PlaceableHeaderSize && readLE32(bytes, 0) == PlaceableKey)
            bytes.remove_prefix(PlaceableHeaderSize);
        Emit("\\wmetafile8");
        sizes(g.width, g.height);
        Flush();
        EmitHex(bytes);
        break;
    }
    case GraphicKind::DeviceBitmap: {
        if (options.writeBitmapAsDib) {
            if (auto converted = deviceBitmapAsDib(g)) {
                dib(*converted);
                break;
            }
        }
        EmitNumbered("\\wbitmap0\\wbmbitspixel", g.bitsPerPixel);
        EmitNumbered("\\wbmplanes", g.planes);
        EmitNumbered("\\wbmwidthbytes", g.widthBytes);
        sizes(g.width, g.height);
        Flush();
        EmitHex(g.bytes);
        break;
    }
    case GraphicKind::Dib: {
        std::string_view bytes = g.bytes;
        if (bytes.size() >= BmpFileHeaderSize && bytes.substr(0, 2) == "BM")
            bytes.remove_prefix(BmpFileHeaderSize);
        dib(bytes);
        break;
    }
    case GraphicKind::Png:
    case GraphicKind::Jpeg:
        // Written in their own form: a photo stays a JPEG, and other word processors read both.
        Emit(g.kind == GraphicKind::Png ? "\\pngblip" : "\\jpegblip");
        sizes(g.width, g.height);
        Flush();
        EmitHex(g.bytes);
        break;
    }
    Emit('}');
}

int TWPRTFWriter::WriteObject(int tag, bool)
{
    const TTextObject* object = document_.findObject(tag);
    if (!object)
        return result_;
    if (!object->fileName.empty() && options.helpReferences) {
        Emit("\\{bmc ");
        Emit(object->fileName);
        Emit("\\}");
    } else if (!object->fileName.empty()) {
        Emit("{\\*\\picfile");
        if (object->graphic) {
            EmitNumbered("\\picw", object->graphic->width);
            EmitNumbered("\\pich", object->graphic->height);
        }
        EmitNumbered("\\picwgoal", object->width);
        EmitNumbered("\\pichgoal", object->height);
        Emit(" \"");
        // The name ends at a double quote, which no file name holds; a stray one is left out.
        std::string name = object->fileName;
        std::erase(name, '"');
        EscapeInto(name);
        Emit("\"}");
    } else if (!object->graphic) {
        if (object->tag) {
            EmitNumbered("\\wpobjtag", object->tag);
            EmitNumbered("\\wpobjw", object->width);
            EmitNumbered("\\wpobjh", object->height);
            Emit(" \\'01");
        }
    } else {
        WritePicture(*object);
    }
    return Flush();
}

int TWPRTFWriter::WriteFootnote(int number)
{
    const TFootnote* footnote = document_.findFootnote(number);
    if (!footnote)
        return result_;
    // Codes up to 3 are placeholders: as a mark one would be read back as an object. A carriage
    // return is no character to the reader. The mark is written as text is, so that a soft line
    // break comes back as one.
    const auto code = static_cast<unsigned char>(footnote->mark);
    const char mark = code <= CharCode::Reserved || code == '\r' ? '?' : footnote->mark;
    Emit("{\\cs16\\super ");
    WriteText(&mark, 1);
    if (!footnote->explicitNumber || footnote->ownMark) {
        Emit("{\\*\\footnote \\pard\\plain \\s15\\widctlpar \\f4\\fs20\\lang1031 {\\cs16\\super ");
    } else {
        EmitNumbered("{\\*\\footnote \\wpfnnr", footnote->explicitNumber);
        Emit(" \\pard\\plain \\s15\\widctlpar \\f4\\fs20\\lang1031 {\\cs16\\super\t");
    }
    WriteText(&mark, 1);
    Emit("} ");
    // Stored RTF text is RTF already; plain text is escaped so that its braces cannot end the
    // footnote's group.
    if (!footnote->rtfText.empty()) {
        Emit(footnote->rtfText);
    } else {
        const RtfFontEncoding* run = encoding_;
        encoding_ = &EncodingOfFont(FootnoteFont);
        EscapeInto(footnote->text);
        encoding_ = run;
    }
    Emit("}}");
    return Flush();
}

} // namespace quillory
