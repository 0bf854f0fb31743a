// The RTF reader's pictures and objects: hex or binary picture data turned into the model's
// graphics (metafile with its placeable header, DIB as a BMP file image, device bitmap),
// pictures named by file, and application-object placeholders.
#include "richtext/rtf/RtfReaderBuilder.h"
#include "richtext/rtf/DibImage.h"

#include "platform/Utf8.h"
#include "richtext/model/EncodedPicture.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>

namespace quillory::rtf {
namespace {

constexpr size_t kPlaceableHeaderSize = 22;
constexpr size_t kBmpFileHeaderSize = 14;
constexpr std::uintmax_t kMaxPictureFile = 64u << 20;

void PutLE16(std::string& out, uint32_t value)
{
    out += char(value & 0xFF);
    out += char((value >> 8) & 0xFF);
}

void PutLE32(std::string& out, uint32_t value)
{
    PutLE16(out, value & 0xFFFF);
    PutLE16(out, value >> 16);
}

uint32_t LE16(std::span<const uint8_t> bytes, size_t at)
{
    return at + 2 <= bytes.size() ? uint32_t(bytes[at] | bytes[at + 1] << 8) : 0;
}

uint32_t LE32(std::span<const uint8_t> bytes, size_t at)
{
    return at + 4 <= bytes.size() ? LE16(bytes, at) | LE16(bytes, at + 2) << 16 : 0;
}

// The placeable-metafile header that the writer leaves out: key, bounding box 0,0,\picw,\pich
// in 2540 units per inch, and the checksum over its first ten words.
std::string PlaceableHeader(int32_t width, int32_t height)
{
    std::string header;
    PutLE32(header, 0x9AC6CDD7u);
    PutLE16(header, 0);
    PutLE16(header, 0);
    PutLE16(header, 0);
    PutLE16(header, uint32_t(width) & 0xFFFF);
    PutLE16(header, uint32_t(height) & 0xFFFF);
    PutLE16(header, 2540);
    PutLE32(header, 0);
    uint32_t checksum = 0;
    for (size_t i = 0; i < 20; i += 2)
        checksum ^= uint8_t(header[i]) | uint8_t(header[i + 1]) << 8;
    PutLE16(header, checksum);
    return header;
}

// Display size in twips: the goal size scaled, or the picture's own size when no goal is given.
int32_t DisplaySize(int32_t goal, int32_t own, int32_t scale, bool metafile)
{
    int64_t twips = goal > 0 ? goal : metafile ? int64_t{own} * 1440 / 2540 : int64_t{own} * 15;
    if (scale > 0)
        twips = twips * scale / 100;
    // Never none: the writer's \picwgoal0 would read back as "not given", and so as the size the
    // picture's own measures give. (Layout shows a picture too small to see at its own size.)
    return int32_t(std::clamp<int64_t>(twips, 1, 1 << 24));
}

bool ContainsNoCase(std::string_view text, std::string_view part)
{
    return std::search(text.begin(), text.end(), part.begin(), part.end(), [](char a, char b) {
               return std::tolower(uint8_t(a)) == std::tolower(uint8_t(b));
           }) != text.end();
}

std::unique_ptr<TGraphic> LoadPictureFile(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) || std::filesystem::file_size(path, error) > kMaxPictureFile)
        return nullptr;
    std::ifstream in(path, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), {}};
    if (!in.good() && !in.eof())
        return nullptr;
    auto graphic = std::make_unique<TGraphic>();
    if (bytes.starts_with("BM")) {
        graphic->kind = GraphicKind::Dib;
        const auto dib = std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        graphic->width = int32_t(LE32(dib, 18));
        graphic->height = int32_t(LE32(dib, 22));
    } else if (bytes.starts_with("\xD7\xCD\xC6\x9A")) {
        graphic->kind = GraphicKind::Metafile;
    } else {
        return nullptr;
    }
    graphic->bytes = std::move(bytes);
    return graphic;
}

} // namespace

std::optional<std::string> BmpFromDib(std::span<const uint8_t> dib)
{
    const uint32_t headerSize = LE32(dib, 0);
    if (headerSize < 12 || headerSize > dib.size())
        return std::nullopt;
    const bool core = headerSize == 12;
    const uint32_t bitCount = core ? LE16(dib, 10) : LE16(dib, 14);
    const uint32_t compression = core ? 0 : LE32(dib, 16);
    uint64_t colours = core || headerSize < 36 ? 0 : LE32(dib, 32);
    if (colours == 0 && bitCount <= 8)
        colours = uint64_t{1} << bitCount;
    const uint64_t masks = headerSize == 40 ? (compression == 3 ? 12 : compression == 6 ? 16 : 0) : 0;
    const uint64_t bitsOffset = kBmpFileHeaderSize + headerSize + masks + colours * (core ? 3 : 4);
    if (bitsOffset - kBmpFileHeaderSize > dib.size())
        return std::nullopt;
    std::string bmp = "BM";
    PutLE32(bmp, uint32_t(kBmpFileHeaderSize + dib.size()));
    PutLE32(bmp, 0);
    PutLE32(bmp, uint32_t(bitsOffset));
    bmp.append(reinterpret_cast<const char*>(dib.data()), dib.size());
    return bmp;
}

bool RtfBuilder::ObjectRoom() const noexcept
{
    return doc_.objects().size() < kMaxObjects;
}

void RtfBuilder::OnPictureProperty(RtfKeywordId id, int32_t n)
{
    using I = RtfKeywordId;
    PictureState& p = picture_;
    switch (id) {
    case I::Metafile: p.kind = PictureKind::Metafile; break;
    case I::Dib: p.kind = PictureKind::Dib; break;
    case I::DeviceBitmap: p.kind = PictureKind::DeviceBitmap; break;
    case I::Png: p.kind = PictureKind::Png; break;
    case I::Jpeg: p.kind = PictureKind::Jpeg; break;
    case I::PicWidth: p.width = n; break;
    case I::PicHeight: p.height = n; break;
    case I::PicGoalWidth: p.goalWidth = n; break;
    case I::PicGoalHeight: p.goalHeight = n; break;
    case I::BitsPixel: p.bitsPerPixel = n; break;
    case I::Planes: p.planes = n; break;
    case I::WidthBytes: p.widthBytes = n; break;
    case I::ScaleX: p.scaleX = n; break;
    case I::ScaleY: p.scaleY = n; break;
    case I::ObjectTag: objectTag_ = n; break;
    case I::ObjectWidth: objectWidth_ = n; break;
    case I::ObjectHeight: objectHeight_ = n; break;
    default: break;
    }
}

void RtfBuilder::StartPicture()
{
    picture_ = PictureState{};
}

void RtfBuilder::OnPictureData(std::span<const uint8_t> bytes)
{
    if (g_.destination == Destination::PictureHex)
        picture_.data.insert(picture_.data.end(), bytes.begin(), bytes.end());
}

void RtfBuilder::InsertPlaceholder(TTextObject& object)
{
    TAttr attr = g_.attr;
    attr.flags |= AttrFlag::Object;
    attr.tag = object.tag;
    out_.Append(CharCode::Object, attr);
}

// A picture whose group closed. Failing to build its graphic leaves an object without one.
void RtfBuilder::FinishPicture(Destination which)
{
    PictureState picture = std::move(picture_);
    picture_ = PictureState{};
    if (!InBody() || !ObjectRoom())
        return;
    if (which == Destination::PictureFile) {
        picture_.fileName = std::move(picture.fileName);
        picture_.goalWidth = picture.goalWidth;
        picture_.goalHeight = picture.goalHeight;
        picture_.width = picture.width;
        picture_.height = picture.height;
        picture_.scaleX = picture.scaleX;
        picture_.scaleY = picture.scaleY;
        FinishFilePicture();
        picture_ = PictureState{};
        return;
    }
    if (picture.kind == PictureKind::None)
        return; // a kind the model cannot hold (EMF, Macintosh PICT ...)

    const std::span<const uint8_t> data = picture.data;
    auto graphic = std::make_unique<TGraphic>();
    graphic->width = picture.width;
    graphic->height = picture.height;
    graphic->bitsPerPixel = picture.bitsPerPixel;
    graphic->planes = picture.planes;
    graphic->widthBytes = picture.widthBytes;
    bool built = !data.empty();
    switch (picture.kind) {
    case PictureKind::Metafile:
        graphic->kind = GraphicKind::Metafile;
        graphic->bytes = PlaceableHeader(picture.width, picture.height);
        graphic->bytes.append(reinterpret_cast<const char*>(data.data()), data.size());
        break;
    case PictureKind::Dib:
        graphic->kind = GraphicKind::Dib;
        if (auto bmp = BmpFromDib(data)) {
            graphic->bytes = std::move(*bmp);
            // The info header's measures are the picture's, and the ones the writer gives:
            // \picw, \pich and the \wbm words only repeat them (or say otherwise by mistake).
            if (data.size() >= 16 && LE32(data, 0) >= 16) {
                const int64_t height = int32_t(LE32(data, 8));
                graphic->width = int32_t(LE32(data, 4));
                graphic->height = int32_t(std::min<int64_t>(height < 0 ? -height : height, INT32_MAX));
                graphic->planes = int32_t(LE32(data, 12) & 0xFFFF);
                graphic->bitsPerPixel = int32_t(LE32(data, 12) >> 16);
            }
            if (!graphic->width)
                graphic->width = int32_t(LE32(data, 4));
            if (!graphic->height)
                graphic->height = int32_t(LE32(data, 8));
        } else {
            built = false;
        }
        break;
    case PictureKind::DeviceBitmap:
        graphic->kind = GraphicKind::DeviceBitmap;
        graphic->bytes.assign(reinterpret_cast<const char*>(data.data()), data.size());
        break;
    case PictureKind::Png:
    case PictureKind::Jpeg: {
        // The bytes say what they are: a writer that labels a JPEG as PNG still gets its photo.
        graphic->bytes.assign(reinterpret_cast<const char*>(data.data()), data.size());
        const auto kind = EncodedPictureKind(graphic->bytes);
        const auto size = kind ? EncodedPictureSize(*kind, graphic->bytes) : std::nullopt;
        if (size) {
            graphic->kind = *kind;
            // \picw of these pictures is in pixels for some writers and in hundredths of a
            // millimetre for others; the picture's own header is certain.
            picture.width = graphic->width = size->width;
            picture.height = graphic->height = size->height;
        } else {
            built = false;
        }
        break;
    }
    case PictureKind::None:
        break;
    }
    if (g_.shapePicture && !built)
        return; // its stand-in in \nonshppict takes its place
    if (g_.shapePicture)
        shapePictureTaken_ = true;
    const bool metafile = picture.kind == PictureKind::Metafile;
    TTextObject& object = AddObject(built ? std::move(graphic) : nullptr);
    object.width = DisplaySize(picture.goalWidth, picture.width, picture.scaleX, metafile);
    object.height = DisplaySize(picture.goalHeight, picture.height, picture.scaleY, metafile);
    InsertPlaceholder(object);
}

// \shppict holds a picture in a form older readers lack, \nonshppict the same picture as a
// metafile or bitmap for them: the stand-in is read only when the picture before it was not.
void RtfBuilder::OnShapePicture(RtfKeywordId id)
{
    if (id == RtfKeywordId::ShapePicture) {
        g_.shapePicture = true;
        shapePictureTaken_ = false;
        return;
    }
    if (shapePictureTaken_)
        g_.destination = Destination::Skip;
    shapePictureTaken_ = false;
}

// A picture named by file: the name is the text between double quotes.
void RtfBuilder::FinishFilePicture()
{
    const std::string& text = picture_.fileName;
    const size_t open = text.find('"');
    const size_t close = open == std::string::npos ? open : text.find('"', open + 1);
    std::string name = close == std::string::npos ? text : text.substr(open + 1, close - open - 1);
    // No file name holds a double quote, and the writer leaves a stray one out: one kept here
    // would make a name that reads back as none.
    std::erase(name, '"');
    name.resize(CharBoundaryAtOrBefore(name, std::min<size_t>(name.size(), kMaxPictureFileName)));
    if (name.empty())
        return;
    TTextObject* object = FindObjectByFileName(name);
    if (!object)
        object = &AddObject(nullptr);
    object->fileName = name;
    objects_.byFileName.emplace(name, object);
    object->width = DisplaySize(picture_.goalWidth, picture_.width, picture_.scaleX, false);
    object->height = DisplaySize(picture_.goalHeight, picture_.height, picture_.scaleY, false);
    InsertPlaceholder(*object);
    if (object->graphic)
        return;
    if (doc_.onProvideObject) {
        doc_.onProvideObject(object->tag, *object);
    } else if (ContainsNoCase(name, ".bmp") || ContainsNoCase(name, ".wmf")) {
        object->graphic = LoadPictureFile(name);
        if (!object->graphic && !pictureFolder_.empty() && ContainsNoCase(name, ".bmp"))
            object->graphic = LoadPictureFile(pictureFolder_ + name);
    } else if (!pictureFolder_.empty()) {
        object->graphic = LoadPictureFile(pictureFolder_ + name + ".bmp");
    }
}

// The placeholder character of an application object (\wpobjtag ... \'01).
void RtfBuilder::InsertObjectChar()
{
    const int tag = objectTag_;
    const int width = objectWidth_;
    const int height = objectHeight_;
    objectTag_ = objectWidth_ = objectHeight_ = 0;
    TTextObject* object = tag > 0 && tag <= 0xFFFF ? FindObject(tag) : nullptr;
    if (!object) {
        if (!ObjectRoom())
            return;
        object = &AddObject(nullptr, tag);
        object->isApplicationObject = true;
    }
    object->width = width;
    object->height = height;
    InsertPlaceholder(*object);
    if (!object->graphic && doc_.onProvideObject)
        doc_.onProvideObject(object->tag, *object);
}

void RtfBuilder::IndexObjects()
{
    if (objects_.built)
        return;
    objects_.built = true;
    // In list order, so that the first of equal tags or names is found, as the document finds it.
    for (const auto& object : doc_.objects()) {
        objects_.byTag.emplace(object->tag, object.get());
        if (!object->fileName.empty())
            objects_.byFileName.emplace(object->fileName, object.get());
        objects_.highestTag = std::max<int>(objects_.highestTag, object->tag);
    }
}

// The tag is the one given, else the next above the highest (the document searches for a gap
// itself once the tags have reached the top).
TTextObject& RtfBuilder::AddObject(std::unique_ptr<TGraphic> graphic, int tag)
{
    IndexObjects();
    if (tag <= 0 || tag > 0xFFFF)
        tag = objects_.highestTag < 0xFFFF ? objects_.highestTag + 1 : 0;
    TTextObject& object = doc_.addObject(std::move(graphic), tag);
    objects_.byTag.emplace(object.tag, &object);
    objects_.highestTag = std::max<int>(objects_.highestTag, object.tag);
    return object;
}

TTextObject* RtfBuilder::FindObject(int tag)
{
    IndexObjects();
    const auto found = objects_.byTag.find(tag);
    return found == objects_.byTag.end() ? nullptr : found->second;
}

TTextObject* RtfBuilder::FindObjectByFileName(const std::string& name)
{
    IndexObjects();
    const auto found = objects_.byFileName.find(name);
    return found == objects_.byFileName.end() ? nullptr : found->second;
}

} // namespace quillory::rtf
