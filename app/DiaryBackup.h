// Backing up the diary of the program folder into one zip archive: every entry file (as its
// bytes stand, enciphered or not) and QL.INI, written whole and read back before it counts.
#pragma once

#include "app/BackupArchive.h"
#include "platform/Day.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace quillory {

struct BackupOutcome {
    std::filesystem::path archive;  // as written, absolute
    int entries = 0;
    bool settings = false;          // QL.INI is in it
    std::uint64_t bytes = 0;        // the archive's size
};

// "Quillory diary 2026-12-10.zip": the name the save dialog offers.
std::string DefaultBackupName(Day day);

// Writes the entry files ("yyyymmdd.QLE" names only: other files beside them are no entries)
// and QL.INI into `archive`. The archive goes to a temporary file beside it, is flushed to
// disk, then opened again and checked as a restore would check it, every member's bytes
// compared with the diary's file; only then does it take the name `archive`, replacing a file
// there. On any failure the temporary file is removed, a file already named `archive` stays as
// it was, and quillory::Error says what went wrong. Refused: a diary with neither entries nor
// QL.INI, and an `archive` that is one of the diary's own files. `comment` becomes the
// archive's comment (automatic backups mark themselves with it).
BackupOutcome BackUpDiary(const std::filesystem::path& archive, const ArchiveLimits& limits = {},
                          std::string_view comment = {});

// What a backup taken now would hold: how many entries, whether QL.INI, and a short text that
// changes whenever one of those files changes (the entry files' names, sizes and modification
// times, and QL.INI's bytes, since it is rewritten unchanged at every close). Two equal
// fingerprints mean that a backup taken at the first holds the diary of the second.
struct DiaryFingerprint {
    std::string text;
    int entries = 0;
    bool settings = false;
};
DiaryFingerprint TakeDiaryFingerprint();

// "12 entries and QL.INI backed up to /path/x.zip" (one line, for the command line and boxes).
std::string BackupSummary(const BackupOutcome& outcome);

// The words for what a backup holds: "12 entries and QL.INI", "1 entry", "QL.INI".
std::string BackupContentsText(int entries, bool settings);

// Makes renames and removals inside `folder` survive a power cut. Best effort: some file
// systems cannot sync a folder, and the files themselves are complete either way.
void SyncFolderToDisk(const std::filesystem::path& folder) noexcept;

} // namespace quillory
