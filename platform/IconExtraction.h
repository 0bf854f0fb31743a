// The icons of an icon file, an icon library or a program: the count and the icon at an index,
// read from .ico files (every image is an icon) and from the icon groups of NE and PE files
// (16-bit and 32-bit .icl, .dll, .exe), where the 32 x 32 image of each group is taken.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quillory {

enum class IconContainer { None, IcoFile, NeModule, PeModule };

// One image as the icon directory describes it. A width or height of 256 is stored as 0 in
// the files and given here as 256.
struct IconImageInfo {
    int width = 0;
    int height = 0;
    int bitCount = 0;
};

// The bytes of a library, parsed once. Every accessor stays inside those bytes whatever they
// hold: a malformed file has no icons, and a damaged icon is skipped or given as nothing.
class IconLibrary {
public:
    // Files larger than this are not read (no icon library comes near it).
    static constexpr std::uintmax_t kMaxFileSize = 64u << 20;

    IconLibrary() = default;
    explicit IconLibrary(std::vector<std::uint8_t> bytes);
    // Reads the file whole; a missing, unreadable or oversized file gives an empty library.
    static IconLibrary FromFile(const std::filesystem::path& path);

    IconContainer Container() const noexcept { return container_; }
    int Count() const noexcept { return static_cast<int>(icons_.size()); }
    std::optional<IconImageInfo> InfoAt(int index) const;
    // The icon at `index` (from 0) as a complete single-image .ico file, which any icon reader
    // decodes; nothing for an index out of range.
    std::optional<std::vector<std::uint8_t>> IconAt(int index) const;

private:
    struct Icon {
        IconImageInfo info;
        std::size_t offset = 0;  // of the image data in bytes_
        std::size_t size = 0;
    };

    // A run of bytes inside bytes_.
    struct Span {
        std::size_t offset = 0;
        std::size_t size = 0;
    };
    struct Resources {
        std::map<unsigned, Span> icons;  // by resource id; the first of an id counts
        std::vector<Span> groups;                      // in the order of the resource table
    };

    void ReadIcoFile();
    bool ReadNeResources(std::size_t header, Resources& found) const;
    bool ReadPeResources(std::size_t header, Resources& found) const;
    void AddGroups(const Resources& found);

    std::vector<std::uint8_t> bytes_;
    IconContainer container_ = IconContainer::None;
    std::vector<Icon> icons_;
};

// A single-image .ico file around one image's data (DIB or PNG).
std::vector<std::uint8_t> SingleIconFile(const IconImageInfo& info, std::span<const std::uint8_t> image);

// Among the images of a group, the one to show: 32 x 32 when there is one (the most colours
// among several), else the nearest in size, the larger on a tie. Nothing for an empty group.
std::optional<std::size_t> ChooseGroupImage(std::span<const IconImageInfo> images);

} // namespace quillory
