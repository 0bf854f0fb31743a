// Writing a diary backup with libzip, flushing it and checking it against the diary's files.
#include "app/DiaryBackup.h"

#include "app/EntryStore.h"
#include "platform/Error.h"
#include "platform/Files.h"
#include "platform/ProgramFolder.h"

#include <zip.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <map>
#include <unistd.h>

namespace quillory {

namespace {

namespace fs = std::filesystem;

// A file of the diary and the member name it is kept under.
struct Source {
    std::string member;
    fs::path file;
};

std::vector<Source> DiarySources()
{
    std::vector<Source> sources;
    for (const Day day : EntryDaysBetween(Day::First(), Day::Last())) {
        if (const auto file = FindNoCase(GetCurrentDateFileName(day)))
            sources.push_back({EntryMemberName(day), *file});
    }
    std::error_code ec;
    if (const auto settings = FindNoCase(SettingsFileName()); settings && fs::is_regular_file(*settings, ec))
        sources.push_back({std::string(kSettingsMemberName), *settings});
    return sources;
}

// Whether writing `target` would replace a file of the diary or add one that the diary takes for
// its own (an entry name in another letter case, say).
bool NamesADiaryFile(const fs::path& target, const std::vector<Source>& sources)
{
    std::error_code ec;
    for (const Source& source : sources) {
        if (fs::equivalent(source.file, target, ec))
            return true;
    }
    const std::string name = target.filename().string();
    const fs::path folder = target.parent_path();
    if (SameNameNoCase(name, kSettingsMemberName) && fs::equivalent(folder, DiaryFolder(), ec))
        return true;
    const auto entries = FindNoCase(EntriesFolder());
    return DayOfEntryName(name) && entries && fs::equivalent(folder, *entries, ec);
}

// The temporary file beside the target, removed again unless it was renamed into place.
class TemporaryBeside {
public:
    explicit TemporaryBeside(const fs::path& target)
    {
        std::string pattern = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0)
            throw Error(FormatMessage("Cannot create file %s", target.string()));
        ::close(fd);
        path_ = pattern;
    }
    ~TemporaryBeside()
    {
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    TemporaryBeside(const TemporaryBeside&) = delete;
    TemporaryBeside& operator=(const TemporaryBeside&) = delete;

    const fs::path& Path() const noexcept { return path_; }
    void Release() noexcept { path_.clear(); }

private:
    fs::path path_;
};

void WriteArchive(const fs::path& file, const std::vector<Source>& sources, std::string_view comment)
{
    int code = 0;
    zip* archive = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive)
        throw Error(FormatMessage("Cannot create file %s", file.string()));
    auto fail = [&](const std::string& why) {
        zip_discard(archive);
        throw Error(FormatMessage("Unable to write to %s", file.string()) + ": " + why);
    };
    for (const Source& source : sources) {
        zip_error_t error;
        zip_error_init(&error);
        // Read when the archive is closed, so that the diary is never held in memory whole.
        zip_source_t* bytes = zip_source_file_create(source.file.c_str(), 0, -1, &error);
        if (!bytes) {
            const std::string why = zip_error_strerror(&error);
            zip_error_fini(&error);
            fail(source.file.string() + ": " + why);
        }
        zip_error_fini(&error);
        const zip_int64_t index = zip_file_add(archive, source.member.c_str(), bytes, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(bytes);
            fail(zip_strerror(archive));
        }
        zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, 0);
    }
    if (!comment.empty() && zip_set_archive_comment(archive, comment.data(), zip_uint16_t(comment.size())) != 0)
        fail(zip_strerror(archive));
    if (zip_close(archive) != 0)
        fail(zip_strerror(archive));
}

void FlushFile(const fs::path& file)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    const bool flushed = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!flushed)
        throw Error(FormatMessage("Unable to write to %s", file.string()));
}

// Reads the archive back as a restore would and compares every member with its source.
void Verify(const fs::path& file, const std::string& label, const std::vector<Source>& sources,
            const ArchiveLimits& limits)
{
    const BackupArchive archive = BackupArchive::OpenFile(file, label);
    const auto members = archive.Catalogue(limits);
    std::map<std::string, fs::path> expected;
    for (const Source& source : sources)
        expected.emplace(source.member, source.file);
    if (members.size() != expected.size())
        throw Error(label + " could not be verified: it holds " + std::to_string(members.size()) + " files instead of "
                    + std::to_string(expected.size()));
    for (const auto& member : members) {
        const auto found = expected.find(member.name);
        if (found == expected.end())
            throw Error(label + " could not be verified: it holds an unexpected " + member.name);
        std::ifstream in(found->second, std::ios::binary);
        if (!in)
            throw Error(FormatMessage("Cannot open file %s", found->second.string()));
        bool same = true;
        std::string block;
        archive.ReadMember(member, [&](std::string_view piece) {
            block.resize(piece.size());
            if (same && (!in.read(block.data(), std::streamsize(piece.size())) || block != piece))
                same = false;
        });
        if (!same || in.peek() != std::char_traits<char>::eof())
            throw Error(label + " could not be verified: " + member.name + " differs from " + found->second.string()
                        + " (was it changed during the backup?)");
    }
}

BackupOutcome WriteCheckedBackup(const fs::path& archive, const ArchiveLimits& limits, std::string_view comment)
{
    const fs::path target = fs::absolute(archive);
    const auto sources = DiarySources();
    if (sources.empty())
        throw Error("The diary has no entries and no QL.INI to back up");
    std::error_code ec;
    if (fs::is_directory(target, ec))
        throw Error(FormatMessage("Cannot create file %s", target.string()) + ": it is a folder");
    if (NamesADiaryFile(target, sources))
        throw Error(FormatMessage("Cannot create file %s", target.string()) + ": it is a file of the diary itself");

    TemporaryBeside temporary(target);
    WriteArchive(temporary.Path(), sources, comment.substr(0, 0xFFFF));
    FlushFile(temporary.Path());
    Verify(temporary.Path(), target.string(), sources, limits);
    fs::rename(temporary.Path(), target, ec);
    if (ec)
        throw Error(FormatMessage("Unable to write to %s", target.string()) + ": " + ec.message());
    temporary.Release();
    SyncFolderToDisk(target.parent_path());

    BackupOutcome outcome;
    outcome.archive = target;
    outcome.bytes = fs::file_size(target, ec);
    for (const Source& source : sources) {
        if (source.member == kSettingsMemberName)
            outcome.settings = true;
        else
            ++outcome.entries;
    }
    return outcome;
}

} // namespace

std::string DefaultBackupName(Day day)
{
    return "Quillory diary " + IsoText(day) + ".zip";
}

BackupOutcome BackUpDiary(const fs::path& archive, const ArchiveLimits& limits, std::string_view comment)
{
    try {
        return WriteCheckedBackup(archive, limits, comment);
    } catch (const fs::filesystem_error& error) {
        throw Error(FormatMessage("Unable to write to %s", archive.string()) + ": " + error.code().message());
    }
}

DiaryFingerprint TakeDiaryFingerprint()
{
    DiaryFingerprint fingerprint;
    // FNV-1a over every source in member order: cheap enough for every close, and a changed
    // byte count, time or name changes it.
    std::uint64_t hash = 14695981039346656037ull;
    const auto mix = [&hash](std::string_view bytes) {
        for (const unsigned char c : bytes) {
            hash ^= c;
            hash *= 1099511628211ull;
        }
        hash ^= 0xFF;  // a separator, so that "ab"+"c" and "a"+"bc" differ
        hash *= 1099511628211ull;
    };
    for (const Source& source : DiarySources()) {
        mix(source.member);
        std::error_code ec;
        if (source.member == kSettingsMemberName) {
            fingerprint.settings = true;
            std::ifstream in(source.file, std::ios::binary);
            mix(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
            continue;
        }
        ++fingerprint.entries;
        const auto size = fs::file_size(source.file, ec);
        const auto time = fs::last_write_time(source.file, ec);
        mix(std::to_string(size) + ":" + std::to_string(time.time_since_epoch().count()));
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    fingerprint.text = text;
    return fingerprint;
}

std::string BackupContentsText(int entries, bool settings)
{
    std::string text;
    if (entries > 0 || !settings)
        text = std::to_string(entries) + (entries == 1 ? " entry" : " entries");
    if (settings)
        text += text.empty() ? "QL.INI" : " and QL.INI";
    return text;
}

std::string BackupSummary(const BackupOutcome& outcome)
{
    return BackupContentsText(outcome.entries, outcome.settings) + " backed up to " + outcome.archive.string();
}

void SyncFolderToDisk(const fs::path& folder) noexcept
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace quillory
