// Walking a folder of notes named by their day (Markdown daily notes, text files): bounded in
// depth and count, links not followed.
#pragma once

#include "app/import/ImportedEntry.h"

#include <filesystem>
#include <functional>
#include <string>

namespace quillory {

// Calls `visit` with each regular file under `folder` (its path, and its name relative to the
// folder with '/' between components), in name order. Throws quillory::Error when `folder` is
// no folder.
void ForEachNoteFile(const std::filesystem::path& folder, const ImportLimits& limits,
                     const std::function<void(const std::filesystem::path& file, const std::string& relative)>& visit);

} // namespace quillory
