// Backups that happen by themselves: their settings in QL.INI, the archives they name and write
// into the backup folder, which of those are kept, when a new one is due, and the record of the
// last good and the last failed backup. No widget in sight: the window, its close and the
// command line all come through RunAutoBackup.
#pragma once

#include "app/DiaryBackup.h"
#include "platform/Clock.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

// --- settings ----------------------------------------------------------------------------------

// How many archives each rule keeps: the newest of each of the last `daily` days that have one,
// of the last `weekly` weeks (Monday to Sunday) and of the last `monthly` months.
struct KeepCounts {
    int daily = 7;
    int weekly = 4;
    int monthly = 12;
    friend bool operator==(const KeepCounts&, const KeepCounts&) = default;
};

struct AutoBackupSettings {
    bool enabled = true;
    std::string folder;  // empty: the default folder
    KeepCounts keep;
    friend bool operator==(const AutoBackupSettings&, const AutoBackupSettings&) = default;
};

// Bounds of the counts; a stored value outside them is brought inside. At least one daily
// archive is always kept: the newest backup is never removed.
inline constexpr int kMaxKeptPerRule = 999;

// Read from section "Backups" of QL.INI; missing or unreadable keys give the defaults.
AutoBackupSettings LoadAutoBackupSettings();
// Writes only the keys of section "Backups" into QL.INI, whole. Throws quillory::Error.
void SaveAutoBackupSettings(const AutoBackupSettings& settings);

// "backups" in the diary folder: inside the data folder of an installed copy (its diary
// folder), beside Entries in a portable one.
std::filesystem::path DefaultBackupFolder();
// The folder the settings name, or the default one.
std::filesystem::path BackupFolderOf(const AutoBackupSettings& settings);

// --- the archives ------------------------------------------------------------------------------

// "Quillory backup 2026-12-10 2215.zip": the name of an automatic backup taken at `time`.
std::string AutoBackupName(const LocalTime& time);
// The time such a name stands for; nothing for any other name (another spelling included).
std::optional<LocalTime> TimeOfAutoBackupName(std::string_view name);

// The comment that marks an archive as one this program wrote automatically: the fingerprint of
// the diary it holds and what it holds, so that a listing need not read the archive's members;
// and the mark read back from a comment (nothing when the comment is not such a mark).
struct BackupMark {
    std::string fingerprint;
    int entries = 0;
    bool settings = false;
    friend bool operator==(const BackupMark&, const BackupMark&) = default;
};
std::string BackupMarkComment(const BackupMark& mark);
std::optional<BackupMark> ReadBackupMark(std::string_view comment);

// The comment of a zip archive whose last bytes are `tail`, from its end-of-central-directory
// record; nothing when the tail holds no such record ending exactly at the end.
std::optional<std::string> ZipCommentAtEnd(std::string_view tail);

struct FoundBackup {
    std::filesystem::path file;
    LocalTime time;
    int entries = 0;
    bool settings = false;   // it holds QL.INI
    std::uint64_t bytes = 0;
    std::string fingerprint;
};

// How closely FindAutoBackups looks at each archive: List reads its mark from the end of the file
// (a listing for the user, quick however large the archives); Check opens it as a restore does,
// its every member's header read and its list of members checked, before it counts for the
// rotation or for deciding that no new backup is needed.
enum class BackupScrutiny { List, Check };

// The automatic backups in `folder`, newest first: files named by AutoBackupName, marked by
// BackupMarkComment (and, when checked, whose list of members reads as a backup's). Everything else there (the
// user's files, archives of the user's naming, damaged archives) is passed by. A missing or
// unreadable folder has none.
std::vector<FoundBackup> FindAutoBackups(const std::filesystem::path& folder,
                                         BackupScrutiny scrutiny = BackupScrutiny::List);

// Which of the backups taken at `times` (in any order) are kept: one flag per time. A backup is
// kept when it is the newest of its day among the last keep.daily days that have backups, or
// of its week among the last keep.weekly weeks, or of its month among the last keep.monthly
// months.
std::vector<bool> ChooseKeptBackups(const std::vector<LocalTime>& times, const KeepCounts& keep);

// --- the record of the last backups -------------------------------------------------------------

struct BackupRecord {
    std::optional<LocalTime> lastGood;    // any backup that was written and checked
    std::optional<LocalTime> lastFailed;  // the last automatic one that failed
    std::string failure;                  // why it failed
};

// DiaryFolder() + "Backups.ini": kept apart from QL.INI, which every backup holds, so that
// noting a backup is no change to the diary.
std::string BackupRecordFileName();
BackupRecord LoadBackupRecord();
// Best effort: a record that cannot be written only loses the notice's precision.
void RecordGoodBackup(const LocalTime& when) noexcept;
void RecordFailedBackup(const LocalTime& when, const std::string& why) noexcept;

// "2026-12-10 22:15", and back.
std::string BackupTimeText(const LocalTime& time);
std::optional<LocalTime> ParseBackupTime(std::string_view text);
// Minutes since the diary's day zero: for comparing and subtracting times.
std::int64_t MinutesOf(const LocalTime& time) noexcept;

// --- when and what -----------------------------------------------------------------------------

enum class AutoBackupOccasion {
    Close,    // the diary closes (and `quillory-cli backup --auto`): at most one a day
    Start,    // the diary starts: only when the last backup is overdue
    Request,  // the user asked: now, whatever the rules say
};

enum class AutoBackupStep {
    Written,     // a backup was written and checked
    Off,         // automatic backups are off
    NoEntries,   // the diary has no entry to protect
    DoneToday,   // there is one of today already
    NotOverdue,  // at start: the last one is recent enough
    Unchanged,   // nothing changed since the last one
    Busy,        // another run is writing into the folder
};

struct BackupSituation {
    bool enabled = true;
    bool hasEntries = false;
    LocalTime now;
    std::optional<LocalTime> newest;   // the newest backup in the folder
    std::string newestFingerprint;
};

// Whether a backup is due (Written) or why not. `fingerprint` is asked only when the answer
// depends on it.
AutoBackupStep DecideAutoBackup(AutoBackupOccasion occasion, const BackupSituation& situation,
                                const std::function<std::string()>& fingerprint);

struct AutoBackupResult {
    AutoBackupStep step = AutoBackupStep::Off;
    BackupOutcome outcome;                         // for Written
    std::vector<std::filesystem::path> removed;    // older archives no longer kept
};

// Does what the occasion asks in the folder of the diary's settings: decides, writes and checks
// a backup, then removes the automatic backups that are no longer kept. A failure throws
// quillory::Error after it was recorded; nothing is then removed. Only one run at a time
// writes into a folder: at start a run finding the folder busy gives Busy, others wait.
// `limits` bound the read-back check as they bound a restore.
AutoBackupResult RunAutoBackup(AutoBackupOccasion occasion, const ArchiveLimits& limits = {});

// One line saying what a run did, for the command line.
std::string AutoBackupResultText(const AutoBackupResult& result);

// What the window says once per start when the diary is not safe: automatic backups are off
// or failing, and the last good backup is older than 14 days (or there is none). Empty
// otherwise, and for a diary without entries.
std::string OverdueBackupNotice(const AutoBackupSettings& settings, const BackupRecord& record,
                                const std::optional<LocalTime>& newestFound, bool hasEntries, const LocalTime& now);
inline constexpr int kOverdueDays = 14;

// The last good backup as the record and the folder know it.
std::optional<LocalTime> LastGoodBackup(const BackupRecord& record, const std::optional<LocalTime>& newestFound);

} // namespace quillory
