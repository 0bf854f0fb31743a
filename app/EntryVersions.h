// Other versions of a day beside its entry file: the copies that sync tools keep when two
// computers changed the same day (and those this program keeps itself). Recognising them by
// name, opening them with the day's key, and settling them: appended to the entry, used instead
// of it, or set aside. None of them is ever an entry, and none is removed without being kept.
#pragma once

#include "app/DiarySecurity.h"
#include "app/EntryConflicts.h"
#include "platform/Day.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

// Who made a version, as its name tells.
enum class VersionSource {
    SyncConflict,      // "20240101.sync-conflict-20261211-031500-ABCDEFG.QLE"
    ConflictedCopy,    // "20240101 (conflicted copy 2026-12-11).QLE", with a user or device name
                       // or a time inside the brackets; "20240101_conflict-20261211-031500.QLE"
    CaseConflict,      // "20240101 (Case Conflict).QLE": the same name in another letter case
    ChangedElsewhere,  // "20240101 (changed elsewhere 2026-12-11 0315).QLE", kept by a save here
    ReplacedHere,      // "20240101 (replaced here 2026-12-11 0315).QLE": the entry that a
                       // version was used instead of
};

struct VersionName {
    Day day;
    VersionSource source;
    bool operator==(const VersionName&) const = default;
};

// The day and maker of a version's file name (any letter case), or nothing for any other name:
// an entry's own name, a file of no calendar day, a name of another extension.
std::optional<VersionName> ParseVersionName(std::string_view fileName);
inline bool IsVersionName(std::string_view fileName) { return ParseVersionName(fileName).has_value(); }

// Whether the version came from another computer (not one this program set aside itself).
constexpr bool FromElsewhere(VersionSource source) noexcept { return source != VersionSource::ReplacedHere; }

// "20240105 (replaced here 2024-01-06 0815).QLE"; `attempt` 2, 3, ... adds ", 2", ", 3".
std::string ReplacedHereName(std::string_view entryName, const LocalTime& when, int attempt = 1);

struct EntryVersion {
    std::filesystem::path file;
    Day day;
    VersionSource source = VersionSource::ChangedElsewhere;
    std::filesystem::file_time_type modified{};

    std::string Name() const { return file.filename().string(); }
};

// The versions in the Entries folder (regular files only), of `day` when given, ordered by day,
// then modification time, then name. A missing folder has none.
std::vector<EntryVersion> ListVersions(std::optional<Day> day = std::nullopt);

// The version of `day` named `fileName` (the name in any letter case, or a path ending in it),
// or nothing when the Entries folder holds no such version of that day.
std::optional<EntryVersion> FindVersion(Day day, std::string_view fileName);

// The plain entry held by a version's `stored` bytes for `key`, or nothing when they do not
// open. A strong seal opens with the day's key ("yyyymmdd"), or with the whole name before the
// extension (how copies were once re-keyed). Without a seal to check, bytes open when they look
// like an entry: under the stored format's cipher, deciphered RTF (or RTF as it stands: a copy
// made before a password was set); without a password, RTF or text, never a sealed file.
std::optional<std::string> OpenVersionBytes(const DiaryKey& key, const EntryVersion& version,
                                            std::string_view stored);

// The version's plain entry with the key of this run for `password`. Throws quillory::Error
// "Cannot open file %s" when it cannot be read, and kVersionDoesNotOpen when it does not open.
inline constexpr const char* kVersionDoesNotOpen = "%s does not open with this diary's password";
std::string ReadVersion(const EntryVersion& version, std::string_view password);

// The diary's folder of versions set aside: DiaryFolder() + "Old versions/".
std::string OldVersionsFolder();

// Moves the version into OldVersionsFolder() under its own name (a number added when the name
// is taken): written whole there, read back and compared, and only then removed from Entries.
// Returns the path it now has. Throws quillory::Error, leaving the version where it was.
std::filesystem::path SetVersionAside(const EntryVersion& version);

// The entry `mine` (RTF or text; empty when the day has none) with `theirs` below it, as RTF.
std::string AppendEntryText(std::string_view mine, std::string_view theirs);

// What settling a version did.
struct SettledVersion {
    SavedEntry saved;                     // the entry's write: a conflict if it changed meanwhile
    std::filesystem::path setAside;       // where the settled version now is
    std::optional<std::filesystem::path> keptMine;  // UseVersion: the entry it replaced
};

// The version's text below the day's entry, written as the entry; the version is then set aside.
// Throws quillory::Error (the version does not open, the entry cannot be read or written, ...)
// having changed nothing, or having written the entry but left the version where it was.
SettledVersion AppendVersion(const EntryVersion& version, std::string_view password);
// The version's text as the entry; the entry's own file, as its bytes stand, is first kept
// beside it under ReplacedHereName, and the version is then set aside. Throws as AppendVersion.
SettledVersion UseVersion(const EntryVersion& version, std::string_view password);

} // namespace quillory
