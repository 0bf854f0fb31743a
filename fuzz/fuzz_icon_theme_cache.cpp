// Fuzz target: an icon theme's cache file from outside. Reading it and looking names up never
// reads outside its bytes nor loops, and every folder named by a lookup is one the cache lists.
#include "platform/IconThemeCache.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto cache = quillory::IconThemeCache::Read(std::vector<std::uint8_t>(data, data + size));
    if (!cache)
        return 0;
    const std::vector<std::string_view> folders = cache->Folders();
    for (const std::string_view name : {"edit-copy", "go-next", "document-save", "a", ""}) {
        for (const auto& picture : cache->Find(name)) {
            if (std::find(folders.begin(), folders.end(), picture.folder) == folders.end())
                std::abort();
        }
    }
    return 0;
}
