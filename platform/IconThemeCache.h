// The icon cache a theme folder may hold (icon-theme.cache, written by the desktop's cache
// tool): which of the theme's folders hold a picture of a name, and in which formats, without
// reading the folders. All numbers in it are big-endian; the file comes from outside, so a
// damaged one reads as holding nothing rather than being trusted.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace quillory {

class IconThemeCache {
public:
    // A folder (relative to the theme) holding a picture of the name, and its formats.
    struct Picture {
        std::string_view folder;
        bool png = false;
        bool svg = false;
        bool xpm = false;
    };

    // The cache in `bytes`; nothing when it is not a cache of the version understood here.
    static std::optional<IconThemeCache> Read(std::vector<std::uint8_t> bytes);

    // The folder names the cache lists.
    std::vector<std::string_view> Folders() const;
    // Where pictures of `name` are; empty when none (or when the cache is damaged there).
    std::vector<Picture> Find(std::string_view name) const;

private:
    explicit IconThemeCache(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    std::optional<std::uint32_t> Card32(std::uint64_t offset) const;
    std::optional<std::uint16_t> Card16(std::uint64_t offset) const;
    std::optional<std::string_view> String(std::uint64_t offset) const;
    std::optional<std::string_view> Folder(std::uint32_t index) const;

    std::vector<std::uint8_t> bytes_;
    std::uint32_t hashOffset_ = 0;
    std::uint32_t folderListOffset_ = 0;
};

} // namespace quillory
