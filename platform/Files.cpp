// Case-insensitive names over a case-sensitive file system. An existence test first tries the
// name as spelled (one stat: the program always spells its names the same way); a miss consults
// a listing of the folder, cached and trusted only while the folder's modification time is
// unchanged and old enough that a change within the same clock tick cannot hide behind it.
#include "platform/Files.h"

#include "platform/AtomicWrite.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace quillory {

namespace fs = std::filesystem;

namespace {

char FoldCase(char c) noexcept
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string Folded(std::string_view name)
{
    std::string folded(name);
    std::transform(folded.begin(), folded.end(), folded.begin(), FoldCase);
    return folded;
}

bool Exists(const fs::path& path)
{
    std::error_code ec;
    return fs::exists(fs::status(path, ec));
}

// The names of one folder by folded spelling, as read at one moment.
struct FolderListing {
    fs::file_time_type stamp;
    bool settled = false;  // stamp old enough to prove that nothing changed since the read
    std::unordered_multimap<std::string, std::string> byFoldedName;
};

// A folder whose time stamp is this recent is read again on every miss: file systems keep
// times in ticks (up to 2 s on some), so a change right after the read may keep the stamp.
constexpr auto kSettleTime = std::chrono::seconds(2);
constexpr std::size_t kMaxListings = 16;

class ListingCache {
public:
    // The actual names in `folder` that fold to `folded`; nullopt when the folder is missing.
    std::optional<std::vector<std::string>> Lookup(const fs::path& folder, const std::string& folded)
    {
        std::error_code ec;
        // One stat: a folder that is missing (or no folder) has no time stamp to give.
        const auto stamp = fs::last_write_time(folder, ec);
        if (ec)
            return std::nullopt;
        std::lock_guard lock(mutex_);
        const auto key = folder.string();
        if (!listings_.count(key) && listings_.size() >= kMaxListings)
            listings_.clear();
        auto& listing = listings_[key];
        if (!listing || !listing->settled || listing->stamp != stamp)
            listing = Read(folder, stamp);
        std::vector<std::string> names;
        const auto [first, last] = listing->byFoldedName.equal_range(folded);
        for (auto at = first; at != last; ++at)
            names.push_back(at->second);
        return names;
    }

private:
    static std::unique_ptr<FolderListing> Read(const fs::path& folder, fs::file_time_type stamp)
    {
        auto listing = std::make_unique<FolderListing>();
        listing->stamp = stamp;
        const auto now = fs::file_time_type::clock::now();
        listing->settled = stamp < now - kSettleTime;
        std::error_code ec;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            const auto name = it->path().filename().string();
            listing->byFoldedName.emplace(Folded(name), name);
        }
        if (ec)
            listing->settled = false;  // a listing cut short is never trusted twice
        return listing;
    }

    std::mutex mutex_;
    std::map<std::string, std::unique_ptr<FolderListing>> listings_;
};

ListingCache& Listings()
{
    static ListingCache cache;
    return cache;
}

// FindNoCase for a path known not to exist as spelled.
std::optional<fs::path> FindOtherSpelling(const fs::path& path);

// The existing folder that `folder` names, whatever its case; nullopt when there is none.
std::optional<fs::path> ResolveFolder(const fs::path& folder)
{
    if (folder.empty())
        return fs::path(".");
    if (Exists(folder))
        return folder;
    return FindNoCase(folder);
}

} // namespace

bool SameNameNoCase(std::string_view a, std::string_view b) noexcept
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldCase(x) == FoldCase(y); });
}

bool MatchesPattern(std::string_view name, std::string_view pattern) noexcept
{
    // Greedy match with one backtrack point: the last '*' seen.
    std::size_t n = 0, p = 0;
    std::size_t starAt = std::string_view::npos, resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || FoldCase(pattern[p]) == FoldCase(name[n]))) {
            ++n;
            ++p;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::optional<fs::path> FindNoCase(const fs::path& path)
{
    if (Exists(path))
        return path;
    return FindOtherSpelling(path);
}

namespace {

std::optional<fs::path> FindOtherSpelling(const fs::path& path)
{
    if (!path.has_filename())
        return path.has_parent_path() && path.parent_path() != path ? FindNoCase(path.parent_path())
                                                                     : std::nullopt;
    const auto folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    auto names = Listings().Lookup(folder, Folded(path.filename().string()));
    if (!names) {
        // The folder itself is spelled in another case (or missing).
        if (!path.has_parent_path() || folder == path)
            return std::nullopt;
        const auto realFolder = FindOtherSpelling(folder);
        if (!realFolder)
            return std::nullopt;
        names = Listings().Lookup(*realFolder, Folded(path.filename().string()));
        if (!names || names->empty())
            return std::nullopt;
        return *realFolder / names->front();
    }
    if (names->empty())
        return std::nullopt;
    return (path.has_parent_path() ? folder : fs::path()) / names->front();
}

} // namespace

bool FileExistsNoCase(const fs::path& path)
{
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (fs::exists(status))
        return !fs::is_directory(status);
    const auto found = FindOtherSpelling(path);
    return found && !fs::is_directory(*found, ec);
}

fs::path PathForWriting(const fs::path& path)
{
    if (Exists(path))
        return path;
    if (auto found = FindOtherSpelling(path))
        return *found;
    if (!path.has_filename() || !path.has_parent_path())
        return path;
    const auto folder = ResolveFolder(path.parent_path());
    return folder ? *folder / path.filename() : path;
}

bool RemoveFileNoCase(const fs::path& path, std::string* error)
{
    const auto folder = ResolveFolder(path.has_parent_path() ? path.parent_path() : fs::path());
    if (!folder)
        return true;
    const auto name = path.filename().string();
    bool allGone = true;
    std::error_code ec;
    for (const auto& candidate : ScanFolder(*folder, name)) {
        const auto file = *folder / candidate;
        if (fs::is_directory(fs::symlink_status(file, ec)))
            continue;
        if (!fs::remove(file, ec) && ec) {
            allGone = false;
            if (error)
                *error = "cannot delete " + file.string() + ": " + ec.message();
        }
    }
    return allGone;
}

std::vector<std::string> ScanFolder(const fs::path& folder, std::string_view pattern)
{
    std::vector<std::string> names;
    const auto realFolder = ResolveFolder(folder);
    if (!realFolder)
        return names;
    std::error_code ec;
    for (fs::directory_iterator it(*realFolder, ec), end; !ec && it != end; it.increment(ec)) {
        auto name = it->path().filename().string();
        if (MatchesPattern(name, pattern))
            names.push_back(std::move(name));
    }
    return names;
}

namespace detail {

bool CopyBlocks(const BlockReader& read, std::uintmax_t size, const fs::path& destination)
{
    AtomicFileWriter writer(destination);
    if (!writer.Open())
        return false;
    std::vector<char> buffer(64 * 1024);
    std::uintmax_t copied = 0;
    while (copied < size) {
        const auto wanted = static_cast<std::size_t>(std::min<std::uintmax_t>(buffer.size(), size - copied));
        const std::ptrdiff_t got = read(buffer.data(), wanted);
        if (got < 0)
            return false;  // the writer removes the partial copy
        if (got == 0)
            break;  // the source became shorter while it was copied: what it holds now is copied
        if (!writer.Write(std::string_view(buffer.data(), static_cast<std::size_t>(got))))
            return false;
        copied += static_cast<std::uintmax_t>(got);
    }
    return writer.Commit();
}

} // namespace detail

bool CopyAFile(const fs::path& source, const fs::path& destination)
{
    if (source.native() == destination.native())
        return false;
    const auto realSource = FindNoCase(source);
    if (!realSource)
        return false;
    std::error_code ec;
    const auto size = fs::file_size(*realSource, ec);
    if (ec)
        return false;
    const auto target = PathForWriting(destination);
    if (fs::equivalent(*realSource, target, ec))
        return false;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(realSource->c_str(), "rb"), std::fclose);
    if (!in)
        return false;
    const auto readBlock = [&in](char* buffer, std::size_t capacity) -> std::ptrdiff_t {
        const std::size_t got = std::fread(buffer, 1, capacity, in.get());
        if (got == 0 && std::ferror(in.get()))
            return -1;
        return static_cast<std::ptrdiff_t>(got);
    };
    return detail::CopyBlocks(readBlock, size, target);
}

} // namespace quillory
