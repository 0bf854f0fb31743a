// A diary backup as a zip archive: what its members are called, and the reader that checks an
// archive from outside (names, links, sizes, compression, checksums) before anything of it is
// used. Nothing but entry files and QL.INI may be in one, so a restore can never write outside
// the diary, fill the disk or bring in files the diary does not know.
#pragma once

#include "platform/Day.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct zip;

namespace quillory {

// The member names a backup uses: "Entries/yyyymmdd.QLE" and "QL.INI", as in the diary folder.
inline constexpr std::string_view kSettingsMemberName = "QL.INI";
std::string EntryMemberName(Day day);

// What a member name stands for. The check is strict: one folder "Entries/" (any letter case)
// holding "yyyymmdd.QLE" names of calendar days, or "QL.INI" at the top (any letter case); the
// folder itself may be listed as "Entries/". Anything else (other folders, "..", absolute
// names, backslashes, other files) is refused.
enum class MemberKind { Entry, Settings, EntriesFolder };
struct MemberName {
    MemberKind kind = MemberKind::Entry;
    std::optional<Day> day;  // for an entry
};
std::optional<MemberName> ClassifyMemberName(std::string_view name);

// How much a restore may unpack. A member's stated size is checked against these before it is
// read, and its read bytes against its stated size, so that a small archive that unpacks to
// gigabytes (a zip bomb) is refused before it takes the disk.
struct ArchiveLimits {
    std::size_t maxMembers = 100'000;
    std::uint64_t maxEntrySize = 256ull << 20;
    std::uint64_t maxSettingsSize = 4ull << 20;
    std::uint64_t maxTotalSize = 8ull << 30;
};

// One member the diary takes: an entry file or QL.INI.
struct BackupMember {
    std::uint64_t index = 0;  // in the archive
    std::string name;         // as stored
    MemberKind kind = MemberKind::Entry;
    std::optional<Day> day;
    std::uint64_t size = 0;   // unpacked, as stated

    // The canonical name: EntryMemberName(day) or kSettingsMemberName.
    std::string CanonicalName() const;
};

// An open archive, read-only. Every failure throws quillory::Error with a message that names the
// archive and what is wrong with it, in words the user can act on.
class BackupArchive {
public:
    // Opens a file, with the stricter consistency checks (local headers must agree with the
    // central directory). `label` names it in messages (default: the file's name).
    static BackupArchive OpenFile(const std::filesystem::path& file, std::string label = {});
    // Opens a file reading only its central directory: enough to list what it holds (a listing
    // of many large archives), not to trust it for a restore.
    static BackupArchive OpenFileForListing(const std::filesystem::path& file);
    // Opens bytes held in memory (they must outlive the archive); `label` names it in messages.
    static BackupArchive OpenBytes(std::string_view bytes, std::string label = "the backup");

    ~BackupArchive();
    BackupArchive(BackupArchive&&) noexcept;
    BackupArchive& operator=(BackupArchive&&) noexcept;

    // The members that the diary takes, in the archive's order, after checking every name,
    // kind, compression, link bit and stated size against `limits`: one that fails stops the
    // whole archive. An archive without any entry or QL.INI is refused too.
    std::vector<BackupMember> Catalogue(const ArchiveLimits& limits = {}) const;

    // Reads one member whole, in pieces handed to `sink`. The unpacked bytes must be exactly the
    // stated size and match the stored checksum; a member that would give more is cut off at
    // one byte past its size and refused.
    void ReadMember(const BackupMember& member, const std::function<void(std::string_view)>& sink) const;
    std::string ReadMember(const BackupMember& member) const;

    const std::string& Label() const noexcept { return label_; }
    // The archive's own comment (empty when it has none); automatic backups mark themselves there.
    std::string Comment() const;

private:
    struct Closer {
        void operator()(zip* archive) const noexcept;
    };
    BackupArchive(std::unique_ptr<zip, Closer> archive, std::string label);
    static BackupArchive Open(const std::filesystem::path& file, std::string label, int flags);
    [[noreturn]] void Refuse(const std::string& why) const;

    std::unique_ptr<zip, Closer> archive_;
    std::string label_;
};

// The whole check that a restore does before it changes anything: the catalogue, then every
// member read to its end (sizes and checksums). Returns the catalogue.
std::vector<BackupMember> CheckBackupArchive(const BackupArchive& archive, const ArchiveLimits& limits = {});

} // namespace quillory
