// Reading icon-theme.cache: a header, the list of folders, and a hash table of names whose
// entries list (folder, formats) pairs.
#include "platform/IconThemeCache.h"

#include <cstring>
#include <utility>

namespace quillory {

namespace {

constexpr std::uint16_t kMajorVersion = 1;
constexpr std::uint32_t kNoEntry = 0xFFFFFFFF;
constexpr std::uint16_t kHasXpm = 1 << 0;
constexpr std::uint16_t kHasSvg = 1 << 1;
constexpr std::uint16_t kHasPng = 1 << 2;
// A chain longer than this loops back on itself: the cache is damaged.
constexpr int kLongestChain = 1 << 16;

// The hash the cache's table is built with, over the name's bytes as signed characters.
std::uint32_t NameHash(std::string_view name)
{
    if (name.empty())
        return 0;
    auto byte = [](char c) { return static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(c))); };
    std::uint32_t hash = byte(name[0]);
    for (size_t i = 1; i < name.size(); ++i)
        hash = (hash << 5) - hash + byte(name[i]);
    return hash;
}

} // namespace

std::optional<IconThemeCache> IconThemeCache::Read(std::vector<std::uint8_t> bytes)
{
    IconThemeCache cache(std::move(bytes));
    const auto major = cache.Card16(0);
    const auto hashOffset = cache.Card32(4);
    const auto folderListOffset = cache.Card32(8);
    if (!major || *major != kMajorVersion || !hashOffset || !folderListOffset)
        return std::nullopt;
    const auto buckets = cache.Card32(*hashOffset);
    if (!buckets || *buckets == 0 || !cache.Card32(*folderListOffset))
        return std::nullopt;
    cache.hashOffset_ = *hashOffset;
    cache.folderListOffset_ = *folderListOffset;
    // Every folder named, so that a lookup never names one the list does not give.
    const std::uint32_t folders = *cache.Card32(*folderListOffset);
    for (std::uint32_t i = 0; i < folders; ++i) {
        if (!cache.Folder(i))
            return std::nullopt;
    }
    return cache;
}

std::optional<std::uint32_t> IconThemeCache::Card32(std::uint64_t offset) const
{
    if (offset + 4 > bytes_.size())
        return std::nullopt;
    const std::uint8_t* p = bytes_.data() + offset;
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

std::optional<std::uint16_t> IconThemeCache::Card16(std::uint64_t offset) const
{
    if (offset + 2 > bytes_.size())
        return std::nullopt;
    return std::uint16_t(bytes_[offset] << 8 | bytes_[offset + 1]);
}

std::optional<std::string_view> IconThemeCache::String(std::uint64_t offset) const
{
    if (offset >= bytes_.size())
        return std::nullopt;
    const auto* start = reinterpret_cast<const char*>(bytes_.data() + offset);
    const auto* end = static_cast<const char*>(std::memchr(start, '\0', bytes_.size() - offset));
    if (!end)
        return std::nullopt;
    return std::string_view(start, size_t(end - start));
}

std::optional<std::string_view> IconThemeCache::Folder(std::uint32_t index) const
{
    const auto count = Card32(folderListOffset_);
    if (!count || index >= *count)
        return std::nullopt;
    const auto offset = Card32(folderListOffset_ + 4 + 4 * std::uint64_t(index));
    return offset ? String(*offset) : std::nullopt;
}

std::vector<std::string_view> IconThemeCache::Folders() const
{
    std::vector<std::string_view> folders;
    const auto count = Card32(folderListOffset_).value_or(0);
    for (std::uint32_t i = 0; i < count; ++i)
        folders.push_back(*Folder(i));  // all checked when read
    return folders;
}

std::vector<IconThemeCache::Picture> IconThemeCache::Find(std::string_view name) const
{
    const auto buckets = Card32(hashOffset_).value_or(0);
    if (buckets == 0 || name.empty())
        return {};
    auto entry = Card32(hashOffset_ + 4 + 4 * std::uint64_t(NameHash(name) % buckets));
    for (int step = 0; entry && *entry != kNoEntry && step < kLongestChain; ++step) {
        const auto entryName = Card32(std::uint64_t(*entry) + 4);
        const auto text = entryName ? String(*entryName) : std::nullopt;
        if (!text)
            return {};
        if (*text == name) {
            const auto list = Card32(std::uint64_t(*entry) + 8);
            const auto count = list ? Card32(*list) : std::nullopt;
            if (!count)
                return {};
            std::vector<Picture> pictures;
            for (std::uint64_t i = 0; i < *count; ++i) {
                const std::uint64_t image = std::uint64_t(*list) + 4 + 8 * i;
                const auto folderIndex = Card16(image);
                const auto flags = Card16(image + 2);
                const auto folder = folderIndex ? Folder(*folderIndex) : std::nullopt;
                if (!flags || !folder)
                    return {};
                pictures.push_back({*folder, (*flags & kHasPng) != 0, (*flags & kHasSvg) != 0, (*flags & kHasXpm) != 0});
            }
            return pictures;
        }
        entry = Card32(*entry);
    }
    return {};
}

} // namespace quillory
