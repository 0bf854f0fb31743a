// Stamps of files that another computer may change, and keeping the other version beside them.
#include "platform/SyncedFile.h"

#include "platform/AtomicWrite.h"
#include "platform/Error.h"
#include "platform/Files.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>

namespace quillory {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMarker = " (changed elsewhere ";

} // namespace

std::uint64_t ContentHash(std::string_view bytes) noexcept
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

FileStamp StampOf(const fs::path& file, std::string_view bytes)
{
    FileStamp stamp;
    stamp.exists = true;
    stamp.size = bytes.size();
    stamp.hash = ContentHash(bytes);
    std::error_code ec;
    stamp.modified = fs::last_write_time(file, ec);
    return stamp;
}

FileStamp ReadFileStamp(const fs::path& file, std::string* bytes)
{
    const auto found = FindNoCase(file);
    std::error_code ec;
    if (!found || fs::is_directory(*found, ec))
        return FileStamp{};
    std::ifstream in(*found, std::ios::binary);
    std::string content;
    if (in) {
        try {
            char block[16384];
            while (in.read(block, sizeof block) || in.gcount() > 0)
                content.append(block, std::size_t(in.gcount()));
        } catch (const std::exception&) {
            in.setstate(std::ios::badbit);  // the stream buffer reports a failed read by throwing
        }
    }
    if (!in.eof() || in.bad()) {
        // Gone between the look-up and the open: a missing file, not a read error.
        if (!fs::exists(*found, ec))
            return FileStamp{};
        throw Error(FormatMessage("Cannot open file %s", file.string()));
    }
    FileStamp stamp = StampOf(*found, content);
    if (bytes)
        *bytes = std::move(content);
    return stamp;
}

bool StillTheSame(const FileStamp& loaded, const FileStamp& now) noexcept
{
    if (loaded.exists != now.exists)
        return false;
    return !loaded.exists || (loaded.size == now.size && loaded.hash == now.hash);
}

LocalTime LocalTimeOfFile(fs::file_time_type modified)
{
    const auto system = std::chrono::file_clock::to_sys(modified);
    const std::time_t seconds = std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(system));
    std::tm parts{};
    localtime_r(&seconds, &parts);
    LocalTime time;
    time.day = Day::FromDate(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday).value_or(Day());
    time.hour = parts.tm_hour;
    time.minute = parts.tm_min;
    time.second = parts.tm_sec;
    return time;
}

std::string ChangedElsewhereName(std::string_view fileName, const LocalTime& modified, int attempt)
{
    const std::size_t dot = fileName.rfind('.');
    const std::string_view stem = dot == std::string_view::npos ? fileName : fileName.substr(0, dot);
    const std::string_view extension = dot == std::string_view::npos ? std::string_view() : fileName.substr(dot);
    char when[32];
    std::snprintf(when, sizeof when, "%04d-%02d-%02d %02d%02d", modified.day.Year(), modified.day.Month(),
                  modified.day.DayOfMonth(), modified.hour, modified.minute);
    std::string name(stem);
    name += kMarker;
    name += when;
    if (attempt > 1)
        name += ", " + std::to_string(attempt);
    name += ')';
    name += extension;
    return name;
}

bool IsChangedElsewhereName(std::string_view fileName) noexcept
{
    return fileName.find(kMarker) != std::string_view::npos;
}

fs::path KeepOtherVersion(const fs::path& file, std::string_view bytes, fs::file_time_type modified)
{
    const fs::path folder = file.parent_path();
    const std::string name = file.filename().string();
    const LocalTime when = LocalTimeOfFile(modified);
    for (int attempt = 1;; ++attempt) {
        const fs::path candidate = folder / ChangedElsewhereName(name, when, attempt);
        if (FindNoCase(candidate))
            continue;
        if (!WriteFileAtomicallyExact(candidate, bytes))
            throw Error(FormatMessage("Cannot create file %s", candidate.string()));
        // The copy carries the other computer's time, as the file it keeps did.
        std::error_code ec;
        fs::last_write_time(candidate, modified, ec);
        return candidate;
    }
}

} // namespace quillory
