// The real RTF written by other programs (tests/corpora/rtf-peer): bug reproducers and odd
// dialects, for tests that every reader must survive.
#pragma once

#include "richtext/io/FileBytes.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace quillory {

// Each file below the folder with its bytes, in the folder's order.
inline std::vector<std::pair<std::filesystem::path, std::string>> PeerRtfFiles()
{
    std::vector<std::pair<std::filesystem::path, std::string>> files;
    const std::filesystem::path folder = std::filesystem::path(QUILLORY_CORPORA) / "rtf-peer";
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        files.emplace_back(entry.path(), ReadFileBytes(entry.path().string()).value_or(std::string()));
    }
    return files;
}

} // namespace quillory
