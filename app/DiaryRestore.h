// Restoring the diary of the program folder from a backup archive, all or nothing, keeping the
// diary it replaces as a backup of its own, and finishing at start-up a restore that a crash
// interrupted.
//
// The restore goes through a staging folder and a journal beside the diary:
//   1. the archive is checked (BackupArchive) and unpacked into "Entries.restore/": its entries
//      into "Entries.restore/Entries/", QL.INI beside them; files of the present Entries folder
//      that are no entries (copies kept by a sync conflict, say) are linked in beside them;
//   2. the present diary is backed up next to it, "Diary before restore <date> <time>.zip";
//   3. the journal "Restoring.ini" is written, its state "Committed" - the moment of the change;
//   4. Entries is renamed to "Entries.replaced", the staged Entries to Entries, and the staged
//      QL.INI over QL.INI (or QL.INI removed when the backup had none);
//   5. "Entries.replaced", the staging folder and the journal are removed.
// A crash before step 3 leaves the diary as it was (the next start drops the staging folder);
// one after it is finished by the next start, each step being one rename that is skipped once
// done.
#pragma once

#include "app/BackupArchive.h"
#include "platform/Error.h"

#include <filesystem>
#include <functional>
#include <string>

namespace quillory {

// The places where a restore can be interrupted, each after its step.
enum class RestorePoint {
    Staged,             // the archive is unpacked into the staging folder
    KeptWritten,        // the present diary is backed up
    Committed,          // the journal says the restore happens
    EntriesMovedAside,  // the old Entries folder is "Entries.replaced"
    EntriesSwapped,     // the restored Entries folder is in place
    SettingsSwapped,    // QL.INI is the restored one
    Finished,           // the journal is gone
};

struct RestoreObserver {
    // Test seam, called at every RestorePoint. Throwing quillory::Error there acts as a failure
    // of that step; throwing anything else leaves everything as a crash at that moment would.
    std::function<void(RestorePoint point)> checkpoint;
};

struct RestoreOutcome {
    int entries = 0;
    bool settings = false;               // the backup held QL.INI
    std::filesystem::path kept;          // the replaced diary's backup; empty when it had nothing
    bool securityChanged = false;        // the diary's password or cipher is not what it was
};

// Raised when the restore happened but could not be finished; the next start finishes it, and
// until then the diary must not go on.
class RestoreIncomplete : public Error {
public:
    using Error::Error;
};

// DiaryFolder() + "Restoring.ini", "Entries.restore/" and "Entries.replaced/".
std::string RestoreJournalFileName();
std::string RestoreStagingFolder();
std::string ReplacedEntriesFolder();

// The name the replaced diary's backup gets: "Diary before restore 2026-12-10 081502.zip".
std::string KeptDiaryName();

// Replaces the diary with the backup in `archive`. The archive is checked whole before anything
// changes: a refused or damaged archive, a failed unpacking, too little disk space or a failed
// backup of the present diary throw quillory::Error and leave the diary untouched. The key held
// for this run is forgotten when the restored QL.INI protects the diary otherwise.
RestoreOutcome RestoreDiary(const std::filesystem::path& archive, const RestoreObserver& observer = {},
                            const ArchiveLimits& limits = {});

// Finishes a committed restore or drops the staging of one that was not committed. Returns
// whether anything was found. Throws quillory::Error when a step fails.
bool RecoverRestore(const RestoreObserver& observer = {});

// "Restored 12 entries and QL.INI from /x.zip; the replaced diary is kept in /y.zip" (one line).
std::string RestoreSummary(const RestoreOutcome& outcome, const std::filesystem::path& archive);

} // namespace quillory
