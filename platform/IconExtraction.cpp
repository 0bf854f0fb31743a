// Reading icons out of .ico files and the resources of NE and PE modules. Every read goes
// through Bytes, which answers a read past the end with "nothing" instead of touching memory
// outside the file; so a hostile file can only make icons go missing.
#include "platform/IconExtraction.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <system_error>
#include <utility>

namespace quillory {

namespace {

// Little-endian reads of a byte run, each checked against its end.
class Bytes {
public:
    explicit Bytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t size() const noexcept { return bytes_.size(); }
    bool Has(std::size_t offset, std::size_t count) const noexcept
    {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }
    std::optional<unsigned> U8(std::size_t at) const noexcept
    {
        if (!Has(at, 1))
            return std::nullopt;
        return bytes_[at];
    }
    std::optional<unsigned> U16(std::size_t at) const noexcept
    {
        if (!Has(at, 2))
            return std::nullopt;
        return unsigned(bytes_[at]) | unsigned(bytes_[at + 1]) << 8;
    }
    std::optional<std::uint32_t> U32(std::size_t at) const noexcept
    {
        if (!Has(at, 4))
            return std::nullopt;
        return std::uint32_t(bytes_[at]) | std::uint32_t(bytes_[at + 1]) << 8 | std::uint32_t(bytes_[at + 2]) << 16
            | std::uint32_t(bytes_[at + 3]) << 24;
    }

private:
    std::span<const std::uint8_t> bytes_;
};

constexpr unsigned kResourceIcon = 3;
constexpr unsigned kResourceGroupIcon = 14;
constexpr std::size_t kIconDirSize = 6;
constexpr std::size_t kIcoEntrySize = 16;
constexpr std::size_t kGroupEntrySize = 14;
constexpr std::size_t kDibHeaderSize = 40;
// The smallest image worth handing on: a PNG signature, or a DIB's info header.
constexpr std::size_t kMinImageSize = 8;
// Group entries looked at in one library, at most.
constexpr std::size_t kMaxGroupEntries = std::size_t(1) << 20;

int Dimension(unsigned stored) noexcept { return stored == 0 ? 256 : int(stored); }

// The bit count an image's own header gives, for directories that leave it 0.
int ImageBitCount(const Bytes& bytes, std::size_t offset, std::size_t size, int stated)
{
    if (stated != 0 || size < kDibHeaderSize)
        return stated;
    if (bytes.U32(offset) == kDibHeaderSize) {
        if (const auto bits = bytes.U16(offset + 14))
            return int(*bits);
    }
    return stated;
}

std::size_t Distance(const IconImageInfo& info) noexcept
{
    return std::size_t(std::abs(info.width - 32)) + std::size_t(std::abs(info.height - 32));
}

} // namespace

IconLibrary::IconLibrary(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes))
{
    const Bytes in(bytes_);
    if (in.U16(0) == 0u && in.U16(2) == 1u) {
        ReadIcoFile();
        return;
    }
    if (in.U8(0) != unsigned('M') || in.U8(1) != unsigned('Z'))
        return;
    const auto header = in.U32(0x3C);
    if (!header)
        return;
    Resources found;
    if (in.U8(*header) == unsigned('N') && in.U8(*header + 1) == unsigned('E')) {
        if (ReadNeResources(*header, found))
            container_ = IconContainer::NeModule;
    } else if (in.U32(*header) == 0x00004550u) {  // "PE\0\0"
        if (ReadPeResources(*header, found))
            container_ = IconContainer::PeModule;
    }
    AddGroups(found);
}

IconLibrary IconLibrary::FromFile(const std::filesystem::path& path)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kMaxFileSize)
        return {};
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return {};
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!file.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size())))
        return {};
    return IconLibrary(std::move(bytes));
}

void IconLibrary::ReadIcoFile()
{
    const Bytes in(bytes_);
    const unsigned count = in.U16(4).value_or(0);
    container_ = IconContainer::IcoFile;
    for (unsigned i = 0; i < count; ++i) {
        const std::size_t entry = kIconDirSize + i * kIcoEntrySize;
        if (!in.Has(entry, kIcoEntrySize))
            break;
        const std::uint32_t size = *in.U32(entry + 8);
        const std::uint32_t offset = *in.U32(entry + 12);
        if (size < kMinImageSize || !in.Has(offset, size))
            continue;  // a damaged image: the others are still good
        Icon icon;
        icon.info.width = Dimension(*in.U8(entry));
        icon.info.height = Dimension(*in.U8(entry + 1));
        icon.info.bitCount = ImageBitCount(in, offset, size, int(*in.U16(entry + 6)));
        icon.offset = offset;
        icon.size = size;
        icons_.push_back(icon);
    }
}

// The resource table of a 16-bit module: an alignment shift, then per resource type its id,
// count and that many 12-byte name records of offset, length (both in alignment units),
// flags and id.
bool IconLibrary::ReadNeResources(std::size_t header, Resources& found) const
{
    const Bytes in(bytes_);
    const auto tableOffset = in.U16(header + 0x24);
    if (!tableOffset)
        return false;
    std::size_t at = header + *tableOffset;
    const auto shift = in.U16(at);
    if (!shift || *shift > 24)
        return false;
    at += 2;
    while (true) {
        const auto type = in.U16(at);
        const auto count = in.U16(at + 2);
        if (!type || !count)
            return false;  // the table runs off the end of the file
        if (*type == 0)
            return true;
        at += 8;
        for (unsigned i = 0; i < *count; ++i, at += 12) {
            const auto offset = in.U16(at);
            const auto length = in.U16(at + 2);
            const auto id = in.U16(at + 6);
            if (!offset || !length || !id)
                return false;
            const std::size_t start = std::size_t(*offset) << *shift;
            std::size_t size = std::size_t(*length) << *shift;
            if (start >= in.size())
                continue;
            // The last resource's padding may stop short at the end of the file.
            size = std::min(size, in.size() - start);
            if (*type == (0x8000 | kResourceIcon) && (*id & 0x8000))
                found.icons.emplace(*id & 0x7FFF, Span{start, size});
            else if (*type == (0x8000 | kResourceGroupIcon))
                found.groups.push_back(Span{start, size});
        }
    }
}

namespace {

// The section table of a module, searched by address. A module may list 65,535 sections and
// name a resource in each, so every look-up is a binary search over the stretches of addresses
// the sections cover, never a walk of the table.
class PeSections {
public:
    PeSections(const Bytes& in, std::size_t table, unsigned count) : in_(in)
    {
        // The table is read up to its first entry that runs off the end of the file.
        for (unsigned i = 0; i < count; ++i) {
            const std::size_t s = table + std::size_t(i) * 40;
            const auto address = in.U32(s + 12);
            const auto rawSize = in.U32(s + 16);
            const auto rawOffset = in.U32(s + 20);
            if (!address || !rawSize || !rawOffset)
                break;
            sections_.push_back(Section{*address, *rawSize, *rawOffset});
        }
        for (const Section& section : sections_) {
            bounds_.push_back(section.address);
            bounds_.push_back(section.End());
        }
        std::sort(bounds_.begin(), bounds_.end());
        bounds_.erase(std::unique(bounds_.begin(), bounds_.end()), bounds_.end());

        // Where sections overlap, an address belongs to the first of them in the table. Each
        // stretch is given its owner once: `next` skips the stretches owned already.
        owner_.assign(bounds_.size(), kNone);
        std::vector<std::size_t> next(bounds_.size() + 1);
        for (std::size_t j = 0; j < next.size(); ++j)
            next[j] = j;
        const auto unowned = [&next](std::size_t j) {
            std::size_t root = j;
            while (next[root] != root)
                root = next[root];
            while (next[j] != root)
                j = std::exchange(next[j], root);
            return root;
        };
        for (std::size_t i = 0; i < sections_.size(); ++i) {
            const std::size_t first = Stretch(sections_[i].address);
            const std::size_t end = Stretch(sections_[i].End());
            for (std::size_t j = unowned(first); j < end; j = unowned(j + 1)) {
                owner_[j] = i;
                next[j] = j + 1;
            }
        }
    }

    // The file position of `size` bytes at a relative virtual address, when the section that
    // holds the address holds them all in the file.
    std::optional<std::size_t> Locate(std::uint32_t rva, std::size_t size) const
    {
        const auto after = std::upper_bound(bounds_.begin(), bounds_.end(), std::uint64_t(rva));
        if (after == bounds_.begin())
            return std::nullopt;
        const std::size_t owner = owner_[std::size_t(after - bounds_.begin()) - 1];
        if (owner == kNone)
            return std::nullopt;
        const Section& section = sections_[owner];
        const std::size_t inSection = rva - section.address;
        if (size > section.rawSize - inSection)
            return std::nullopt;
        const std::size_t offset = std::size_t(section.rawOffset) + inSection;
        if (!in_.Has(offset, size))
            return std::nullopt;
        return offset;
    }

private:
    struct Section {
        std::uint32_t address = 0;
        std::uint32_t rawSize = 0;
        std::uint32_t rawOffset = 0;

        std::uint64_t End() const noexcept { return std::uint64_t(address) + rawSize; }
    };
    static constexpr std::size_t kNone = SIZE_MAX;

    // The stretch starting at `bound`, one of bounds_.
    std::size_t Stretch(std::uint64_t bound) const
    {
        return std::size_t(std::lower_bound(bounds_.begin(), bounds_.end(), bound) - bounds_.begin());
    }

    const Bytes& in_;
    std::vector<Section> sections_;  // in table order
    // Every address where a section starts or ends, ascending; the stretch from one to the next
    // belongs to owner_ at the same index (kNone where no section covers it).
    std::vector<std::uint64_t> bounds_;
    std::vector<std::size_t> owner_;
};

// One entry of a resource directory: its id (names have none) and where it points.
struct DirectoryEntry {
    std::optional<unsigned> id;
    std::uint32_t target = 0;
    bool isDirectory = false;
};

// The entries of the resource directory at `offset` from the section's start, named ones first;
// no more than `limit` of them.
std::vector<DirectoryEntry> DirectoryAt(const Bytes& in, std::size_t root, std::size_t offset,
                                        std::size_t limit = SIZE_MAX)
{
    std::vector<DirectoryEntry> entries;
    const std::size_t at = root + offset;
    const auto named = in.U16(at + 12);
    const auto numbered = in.U16(at + 14);
    if (!named || !numbered)
        return entries;
    const std::size_t total = std::min(std::size_t(*named) + *numbered, limit);
    for (std::size_t i = 0; i < total; ++i) {
        const std::size_t e = at + 16 + i * 8;
        const auto name = in.U32(e);
        const auto target = in.U32(e + 4);
        if (!name || !target)
            break;
        DirectoryEntry entry;
        if (!(*name & 0x80000000u))
            entry.id = unsigned(*name & 0xFFFF);
        entry.isDirectory = (*target & 0x80000000u) != 0;
        entry.target = *target & 0x7FFFFFFFu;
        entries.push_back(entry);
    }
    return entries;
}

} // namespace

// The resources of a 32- or 64-bit module: the optional header's resource directory, then
// three levels of directories (type, name, language) down to data entries that give each
// resource's address and size.
bool IconLibrary::ReadPeResources(std::size_t header, Resources& found) const
{
    const Bytes in(bytes_);
    const std::size_t coff = header + 4;
    const auto sectionCount = in.U16(coff + 2);
    const auto optionalSize = in.U16(coff + 16);
    const std::size_t optional = coff + 20;
    const auto magic = in.U16(optional);
    if (!sectionCount || !optionalSize || !magic)
        return false;
    std::size_t directories = 0, rvaCountAt = 0;
    if (*magic == 0x10B) {
        rvaCountAt = optional + 92;
        directories = optional + 96;
    } else if (*magic == 0x20B) {
        rvaCountAt = optional + 108;
        directories = optional + 112;
    } else {
        return false;
    }
    const auto rvaCount = in.U32(rvaCountAt);
    if (!rvaCount || *rvaCount < 3 || directories + 24 > optional + *optionalSize)
        return false;
    const auto resourceRva = in.U32(directories + 16);
    if (!resourceRva || *resourceRva == 0)
        return false;

    const PeSections sections(in, optional + *optionalSize, *sectionCount);
    const auto root = sections.Locate(*resourceRva, 16);
    if (!root)
        return false;

    // The first language of a resource name: its data entry's address and size.
    const auto dataOf = [&](const DirectoryEntry& name) -> std::optional<Span> {
        if (!name.isDirectory)
            return std::nullopt;
        const std::vector<DirectoryEntry> languages = DirectoryAt(in, *root, name.target, 1);
        if (languages.empty() || languages.front().isDirectory)
            return std::nullopt;
        const std::size_t entry = *root + languages.front().target;
        const auto rva = in.U32(entry);
        const auto size = in.U32(entry + 4);
        if (!rva || !size)
            return std::nullopt;
        const auto offset = sections.Locate(*rva, *size);
        if (!offset)
            return std::nullopt;
        return Span{*offset, *size};
    };

    bool seenIcons = false, seenGroups = false;
    for (const DirectoryEntry& type : DirectoryAt(in, *root, 0)) {
        if (!type.isDirectory || (type.id != kResourceIcon && type.id != kResourceGroupIcon))
            continue;
        // A type listed twice is read once: repeats could only multiply the work.
        bool& seen = type.id == kResourceIcon ? seenIcons : seenGroups;
        if (seen)
            continue;
        seen = true;
        for (const DirectoryEntry& name : DirectoryAt(in, *root, type.target)) {
            const std::optional<Span> data = dataOf(name);
            if (!data)
                continue;
            if (type.id == kResourceGroupIcon)
                found.groups.push_back(*data);
            else if (name.id)
                found.icons.emplace(*name.id, *data);
        }
    }
    return true;
}

// Each group directory lists its images (size, colours, bit count, byte count, icon resource
// id); the group becomes one icon, its best image for a 32 x 32 grid.
void IconLibrary::AddGroups(const Resources& found)
{
    const Bytes in(bytes_);
    // Groups may all point at the same bytes; this bounds the work a hostile file can ask for.
    std::size_t budget = kMaxGroupEntries;
    for (const Span& group : found.groups) {
        if (group.size < kIconDirSize || in.U16(group.offset + 2) != 1u)
            continue;
        const unsigned count = std::min<std::size_t>(*in.U16(group.offset + 4), budget);
        budget -= count;
        std::vector<IconImageInfo> infos;
        std::vector<Span> images;
        for (unsigned i = 0; i < count; ++i) {
            const std::size_t e = group.offset + kIconDirSize + i * kGroupEntrySize;
            if (e + kGroupEntrySize > group.offset + group.size || !in.Has(e, kGroupEntrySize))
                break;
            const unsigned id = *in.U16(e + 12);
            const auto resource = found.icons.find(id);
            if (resource == found.icons.end())
                continue;
            Span image = resource->second;
            // A 16-bit module pads its resources; the group knows the exact size.
            const std::uint32_t stated = *in.U32(e + 8);
            if (stated != 0)
                image.size = std::min<std::size_t>(image.size, stated);
            if (image.size < kMinImageSize)
                continue;
            IconImageInfo info;
            info.width = Dimension(*in.U8(e));
            info.height = Dimension(*in.U8(e + 1));
            info.bitCount = ImageBitCount(in, image.offset, image.size, int(*in.U16(e + 6)));
            infos.push_back(info);
            images.push_back(image);
        }
        if (const std::optional<std::size_t> chosen = ChooseGroupImage(infos))
            icons_.push_back(Icon{infos[*chosen], images[*chosen].offset, images[*chosen].size});
    }
}

std::optional<IconImageInfo> IconLibrary::InfoAt(int index) const
{
    if (index < 0 || index >= Count())
        return std::nullopt;
    return icons_[std::size_t(index)].info;
}

std::optional<std::vector<std::uint8_t>> IconLibrary::IconAt(int index) const
{
    if (index < 0 || index >= Count())
        return std::nullopt;
    const Icon& icon = icons_[std::size_t(index)];
    return SingleIconFile(icon.info, std::span(bytes_).subspan(icon.offset, icon.size));
}

std::vector<std::uint8_t> SingleIconFile(const IconImageInfo& info, std::span<const std::uint8_t> image)
{
    std::vector<std::uint8_t> out;
    out.reserve(kIconDirSize + kIcoEntrySize + image.size());
    const auto put16 = [&](unsigned v) {
        out.push_back(std::uint8_t(v));
        out.push_back(std::uint8_t(v >> 8));
    };
    const auto put32 = [&](std::uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    put16(0);
    put16(1);
    put16(1);
    out.push_back(std::uint8_t(info.width >= 256 ? 0 : info.width));
    out.push_back(std::uint8_t(info.height >= 256 ? 0 : info.height));
    out.push_back(std::uint8_t(info.bitCount > 0 && info.bitCount < 8 ? 1u << info.bitCount : 0));
    out.push_back(0);
    put16(1);
    put16(unsigned(info.bitCount));
    put32(std::uint32_t(image.size()));
    put32(std::uint32_t(kIconDirSize + kIcoEntrySize));
    out.insert(out.end(), image.begin(), image.end());
    return out;
}

std::optional<std::size_t> ChooseGroupImage(std::span<const IconImageInfo> images)
{
    std::optional<std::size_t> best;
    for (std::size_t i = 0; i < images.size(); ++i) {
        if (!best) {
            best = i;
            continue;
        }
        const IconImageInfo& a = images[i];
        const IconImageInfo& b = images[*best];
        const std::size_t da = Distance(a), db = Distance(b);
        const bool better = da != db ? da < db
            : a.width * a.height != b.width * b.height ? a.width * a.height > b.width * b.height
                                                     : a.bitCount > b.bitCount;
        if (better)
            best = i;
    }
    return best;
}

} // namespace quillory
