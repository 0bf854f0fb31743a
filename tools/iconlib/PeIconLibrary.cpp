// The layout of the library: an MZ header pointing at the PE header, a PE32 optional header
// whose resource directory names the only section, .rsrc. That section holds the resource
// tree (type, name, language), then the data entries, then the data, each aligned to 8 bytes.
#include "tools/iconlib/PeIconLibrary.h"

#include <cstddef>
#include <map>

namespace quillory {

namespace {

constexpr std::uint32_t kSectionRva = 0x1000;
constexpr std::uint32_t kFileAlign = 0x200;
constexpr std::uint32_t kSectionAlign = 0x1000;
constexpr std::uint32_t kLanguageNeutral = 0;

class Writer {
public:
    std::vector<std::uint8_t> bytes;

    void U8(unsigned v) { bytes.push_back(std::uint8_t(v)); }
    void U16(unsigned v)
    {
        U8(v & 0xFF);
        U8((v >> 8) & 0xFF);
    }
    void U32(std::uint32_t v)
    {
        U16(v & 0xFFFF);
        U16(v >> 16);
    }
    void Zeros(std::size_t count) { bytes.insert(bytes.end(), count, 0); }
    void PadTo(std::size_t size) { Zeros(size > bytes.size() ? size - bytes.size() : 0); }
    void Append(const std::vector<std::uint8_t>& more) { bytes.insert(bytes.end(), more.begin(), more.end()); }
    void Directory(unsigned idEntries)
    {
        Zeros(12);
        U16(0);  // named entries
        U16(idEntries);
    }
};

std::uint32_t AlignUp(std::size_t value, std::uint32_t to)
{
    return std::uint32_t((value + to - 1) / to * to);
}

// The group directory: one 14-byte entry per image, naming the image's resource id.
std::vector<std::uint8_t> GroupDirectory(const LibraryIcon& icon, unsigned firstId)
{
    Writer w;
    w.U16(0);
    w.U16(1);
    w.U16(unsigned(icon.size()));
    for (std::size_t i = 0; i < icon.size(); ++i) {
        const LibraryImage& image = icon[i];
        w.U8(image.width >= 256 ? 0 : unsigned(image.width));
        w.U8(image.height >= 256 ? 0 : unsigned(image.height));
        w.U8(image.bitCount < 8 ? 1u << image.bitCount : 0);
        w.U8(0);
        w.U16(1);
        w.U16(unsigned(image.bitCount));
        w.U32(std::uint32_t(image.bytes.size()));
        w.U16(unsigned(firstId + i));
    }
    return w.bytes;
}

// The .rsrc section for resources by type and id.
std::vector<std::uint8_t> ResourceSection(const std::map<unsigned, std::map<unsigned, std::vector<std::uint8_t>>>& tree)
{
    std::size_t resources = 0;
    for (const auto& [type, names] : tree)
        resources += names.size();
    const std::size_t rootSize = 16 + 8 * tree.size();
    std::size_t typeDirsSize = 0;
    for (const auto& [type, names] : tree)
        typeDirsSize += 16 + 8 * names.size();
    const std::size_t languageDirsAt = rootSize + typeDirsSize;
    const std::size_t dataEntriesAt = languageDirsAt + 24 * resources;
    const std::size_t dataAt = dataEntriesAt + 16 * resources;

    Writer w;
    w.Directory(unsigned(tree.size()));
    std::size_t typeDirAt = rootSize;
    for (const auto& [type, names] : tree) {
        w.U32(type);
        w.U32(0x80000000u | std::uint32_t(typeDirAt));
        typeDirAt += 16 + 8 * names.size();
    }
    std::size_t languageDir = languageDirsAt;
    for (const auto& [type, names] : tree) {
        w.Directory(unsigned(names.size()));
        for (const auto& [id, data] : names) {
            w.U32(id);
            w.U32(0x80000000u | std::uint32_t(languageDir));
            languageDir += 24;
        }
    }
    std::size_t entry = dataEntriesAt;
    for (const auto& [type, names] : tree) {
        for (std::size_t i = 0; i < names.size(); ++i, entry += 16) {
            w.Directory(1);
            w.U32(kLanguageNeutral);
            w.U32(std::uint32_t(entry));
        }
    }
    std::size_t data = dataAt;
    for (const auto& [type, names] : tree) {
        for (const auto& [id, bytes] : names) {
            w.U32(kSectionRva + std::uint32_t(data));
            w.U32(std::uint32_t(bytes.size()));
            w.U32(0);
            w.U32(0);
            data += AlignUp(bytes.size(), 8);
        }
    }
    for (const auto& [type, names] : tree) {
        for (const auto& [id, bytes] : names) {
            w.Append(bytes);
            w.PadTo(AlignUp(w.bytes.size(), 8));
        }
    }
    return w.bytes;
}

} // namespace

std::vector<std::uint8_t> WritePeIconLibrary(const std::vector<LibraryIcon>& icons)
{
    constexpr unsigned kIcon = 3, kGroupIcon = 14;
    std::map<unsigned, std::map<unsigned, std::vector<std::uint8_t>>> tree;
    unsigned nextImageId = 1;
    for (std::size_t i = 0; i < icons.size(); ++i) {
        tree[kGroupIcon][unsigned(i + 1)] = GroupDirectory(icons[i], nextImageId);
        for (const LibraryImage& image : icons[i])
            tree[kIcon][nextImageId++] = image.bytes;
    }
    const std::vector<std::uint8_t> section = ResourceSection(tree);
    const std::uint32_t rawSize = AlignUp(section.size(), kFileAlign);

    Writer w;
    w.U16('M' | 'Z' << 8);
    w.PadTo(0x3C);
    w.U32(0x40);
    // COFF header: i386, one section, an optional header of 224 bytes; an executable DLL.
    w.U32(0x00004550);
    w.U16(0x14C);
    w.U16(1);
    w.Zeros(12);
    w.U16(224);
    w.U16(0x2102);
    // PE32 optional header.
    w.U16(0x10B);
    w.U8(6);
    w.U8(0);
    w.U32(0);                  // code
    w.U32(rawSize);            // initialised data
    w.U32(0);                  // uninitialised data
    w.U32(0);                  // no entry point: resources only
    w.U32(kSectionRva);        // base of code
    w.U32(kSectionRva);        // base of data
    w.U32(0x10000000);         // image base
    w.U32(kSectionAlign);
    w.U32(kFileAlign);
    w.U16(4);                  // operating system version 4.0
    w.U16(0);
    w.U32(0);                  // image version
    w.U16(4);                  // subsystem version 4.0
    w.U16(0);
    w.U32(0);
    w.U32(kSectionRva + AlignUp(section.size(), kSectionAlign));  // size of image
    w.U32(kFileAlign);         // size of headers
    w.U32(0);                  // checksum
    w.U16(2);                  // Windows GUI
    w.U16(0);
    w.U32(0x100000);           // stack reserve, commit; heap reserve, commit
    w.U32(0x1000);
    w.U32(0x100000);
    w.U32(0x1000);
    w.U32(0);
    w.U32(16);                 // data directories
    for (unsigned d = 0; d < 16; ++d) {
        w.U32(d == 2 ? kSectionRva : 0);
        w.U32(d == 2 ? std::uint32_t(section.size()) : 0);
    }
    // The section table.
    const char name[8] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
    for (char c : name)
        w.U8(std::uint8_t(c));
    w.U32(std::uint32_t(section.size()));
    w.U32(kSectionRva);
    w.U32(rawSize);
    w.U32(kFileAlign);
    w.Zeros(12);
    w.U32(0x40000040);         // initialised data, readable
    w.PadTo(kFileAlign);
    w.Append(section);
    w.PadTo(kFileAlign + rawSize);
    return w.bytes;
}

} // namespace quillory
