// The walk through a folder of notes.
#include "app/import/NoteFolders.h"

#include "platform/Error.h"

#include <algorithm>
#include <vector>

namespace quillory {

namespace {

constexpr int kMaxDepth = 16;

} // namespace

void ForEachNoteFile(const std::filesystem::path& folder, const ImportLimits& limits,
                     const std::function<void(const std::filesystem::path& file, const std::string& relative)>& visit)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        throw Error(folder.string() + " is no folder");
    std::vector<std::pair<std::string, fs::path>> files;
    fs::recursive_directory_iterator walk(folder, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && walk != fs::recursive_directory_iterator(); walk.increment(ec)) {
        const fs::directory_entry& item = *walk;
        const std::string name = item.path().filename().string();
        // Hidden folders (a vault's settings, version control) hold no notes.
        if (!name.empty() && name[0] == '.') {
            if (item.is_directory(ec))
                walk.disable_recursion_pending();
            continue;
        }
        if (walk.depth() >= kMaxDepth)
            walk.disable_recursion_pending();
        if (item.is_symlink(ec) || !item.is_regular_file(ec))
            continue;
        files.emplace_back(fs::relative(item.path(), folder, ec).generic_string(), item.path());
        if (files.size() > limits.maxEntries)
            break;
    }
    std::sort(files.begin(), files.end());
    for (const auto& [relative, file] : files)
        visit(file, relative);
}

} // namespace quillory
