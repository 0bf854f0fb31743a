// Automatic backups: settings, names, the rotation of the backup folder and the run itself.
#include "app/AutoBackup.h"

#include "app/BackupArchive.h"
#include "app/EntryStore.h"
#include "platform/Error.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <numeric>
#include <sys/file.h>
#include <unistd.h>

namespace quillory {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kSection = "Backups";
constexpr std::string_view kNamePrefix = "Quillory backup ";
constexpr std::string_view kCommentMark = "Quillory automatic backup\n";
constexpr std::string_view kRecordSection = "Last Backup";

int Clamp(int value, int low)
{
    return std::clamp(value, low, kMaxKeptPerRule);
}

// Two digits of a number, or -1.
int Digits(std::string_view text, std::size_t at, std::size_t count)
{
    if (at + count > text.size())
        return -1;
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// "YYYY-MM-DD" + separator + "HH" + (":" or nothing) + "MM" from `at`: the time, or nothing.
std::optional<LocalTime> ParseStamp(std::string_view text, bool colon)
{
    const std::size_t length = colon ? 16 : 15;
    if (text.size() != length || text[4] != '-' || text[7] != '-' || text[10] != ' ' || (colon && text[13] != ':'))
        return std::nullopt;
    const int year = Digits(text, 0, 4);
    const int month = Digits(text, 5, 2);
    const int dayOfMonth = Digits(text, 8, 2);
    const int hour = Digits(text, 11, 2);
    const int minute = Digits(text, colon ? 14 : 13, 2);
    if (year < 0 || month < 0 || dayOfMonth < 0 || hour < 0 || hour > 23 || minute < 0 || minute > 59)
        return std::nullopt;
    const auto day = Day::FromDate(year, month, dayOfMonth);
    if (!day)
        return std::nullopt;
    return LocalTime{*day, hour, minute};
}

std::string TwoDigits(int value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

// Holds the backup folder against other runs (another process's close, the command line) while
// one writes and rotates it: an advisory lock on the folder itself, so nothing is added to it.
class FolderLock {
public:
    FolderLock(const fs::path& folder, bool wait)
    {
        fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd_ >= 0)
            held_ = ::flock(fd_, LOCK_EX | (wait ? 0 : LOCK_NB)) == 0;
        else
            held_ = true;  // a folder that cannot be opened fails at writing, with its reason
    }
    ~FolderLock()
    {
        if (fd_ >= 0)
            ::close(fd_);  // releases the lock
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    bool Held() const noexcept { return held_; }

private:
    int fd_ = -1;
    bool held_ = false;
};

// The temporary files that a backup into `name` writes beside it (".<name>.XXXXXX", and the zip
// library's own beside that): one left by a run that was killed is ours to remove.
bool IsLeftoverTemporary(std::string_view name)
{
    const std::size_t end = name.find(".zip.");
    return name.starts_with('.') && end != std::string_view::npos && TimeOfAutoBackupName(name.substr(1, end + 3));
}

void RemoveLeftovers(const fs::path& folder)
{
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!IsLeftoverTemporary(it->path().filename().string()))
            continue;
        // An hour old at least: no run of this program writes a temporary file for that long
        // while another holds the folder.
        const auto age = fs::file_time_type::clock::now() - it->last_write_time(ec);
        if (!ec && age > std::chrono::hours(1))
            fs::remove(it->path(), ec);
    }
}

std::vector<fs::path> RemoveUnkept(const fs::path& folder, const fs::path& written, const KeepCounts& keep)
{
    const std::vector<FoundBackup> found = FindAutoBackups(folder, BackupScrutiny::Check);
    std::vector<LocalTime> times;
    for (const FoundBackup& backup : found)
        times.push_back(backup.time);
    const std::vector<bool> kept = ChooseKeptBackups(times, keep);
    std::vector<fs::path> removed;
    std::error_code ec;
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (kept[i] || fs::equivalent(found[i].file, written, ec))
            continue;
        if (fs::remove(found[i].file, ec))
            removed.push_back(found[i].file);
    }
    return removed;
}

std::string DaysAgo(const LocalTime& then, const LocalTime& now)
{
    const int days = now.day - then.day;
    return BackupTimeText(then) + " (" + std::to_string(days) + (days == 1 ? " day ago)" : " days ago)");
}

} // namespace

// --- settings ------------------------------------------------------------------------------------

AutoBackupSettings LoadAutoBackupSettings()
{
    const IniFile ini(SettingsFileName());
    AutoBackupSettings settings;
    settings.enabled = ini.ReadBool(kSection, "Automatic", true);
    settings.folder = ini.ReadString(kSection, "Folder", "");
    settings.keep.daily = Clamp(ini.ReadInteger(kSection, "KeepDaily", 7), 1);
    settings.keep.weekly = Clamp(ini.ReadInteger(kSection, "KeepWeekly", 4), 0);
    settings.keep.monthly = Clamp(ini.ReadInteger(kSection, "KeepMonthly", 12), 0);
    return settings;
}

void SaveAutoBackupSettings(const AutoBackupSettings& settings)
{
    IniFile ini(SettingsFileName());
    ini.WriteBool(kSection, "Automatic", settings.enabled);
    ini.WriteString(kSection, "Folder", settings.folder);
    ini.WriteInteger(kSection, "KeepDaily", Clamp(settings.keep.daily, 1));
    ini.WriteInteger(kSection, "KeepWeekly", Clamp(settings.keep.weekly, 0));
    ini.WriteInteger(kSection, "KeepMonthly", Clamp(settings.keep.monthly, 0));
    ini.UpdateFile();
}

fs::path DefaultBackupFolder()
{
    return fs::path(DiaryFolder()) / "backups";
}

fs::path BackupFolderOf(const AutoBackupSettings& settings)
{
    return settings.folder.empty() ? DefaultBackupFolder() : fs::path(settings.folder);
}

// --- names and marks -----------------------------------------------------------------------------

std::string AutoBackupName(const LocalTime& time)
{
    return std::string(kNamePrefix) + IsoText(time.day) + " " + TwoDigits(time.hour) + TwoDigits(time.minute) + ".zip";
}

std::optional<LocalTime> TimeOfAutoBackupName(std::string_view name)
{
    if (!name.starts_with(kNamePrefix) || !name.ends_with(".zip"))
        return std::nullopt;
    name.remove_prefix(kNamePrefix.size());
    name.remove_suffix(4);
    return ParseStamp(name, false);
}

std::string BackupMarkComment(const BackupMark& mark)
{
    return std::string(kCommentMark) + "fingerprint=" + mark.fingerprint + "\nentries=" + std::to_string(mark.entries)
        + "\nsettings=" + (mark.settings ? "1" : "0") + "\n";
}

std::optional<BackupMark> ReadBackupMark(std::string_view comment)
{
    if (!comment.starts_with(kCommentMark))
        return std::nullopt;
    comment.remove_prefix(kCommentMark.size());
    BackupMark mark;
    // "key=value" lines; unknown keys are passed by, so that later copies may add some.
    while (!comment.empty()) {
        const std::size_t end = std::min(comment.find('\n'), comment.size());
        const std::string_view line = comment.substr(0, end);
        comment.remove_prefix(std::min(end + 1, comment.size()));
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view key = line.substr(0, equals);
        const std::string_view value = line.substr(equals + 1);
        if (key == "fingerprint")
            mark.fingerprint = std::string(value);
        else if (key == "entries" && !value.empty() && value.size() <= 9
                 && value.find_first_not_of("0123456789") == std::string_view::npos)
            mark.entries = std::stoi(std::string(value));
        else if (key == "settings")
            mark.settings = value == "1";
    }
    return mark;
}

std::optional<std::string> ZipCommentAtEnd(std::string_view tail)
{
    constexpr std::size_t kRecord = 22;  // the record without its comment
    if (tail.size() < kRecord)
        return std::nullopt;
    // The comment's length sits in the record's last two bytes, so the record is found by
    // trying each place it could start, from the end.
    for (std::size_t at = tail.size() - kRecord + 1; at-- > 0;) {
        if (tail.substr(at, 4) != std::string_view("PK\x05\x06", 4))
            continue;
        const auto byte = [&](std::size_t i) { return std::size_t(static_cast<unsigned char>(tail[at + i])); };
        const std::size_t length = byte(20) | byte(21) << 8;
        if (at + kRecord + length == tail.size())
            return std::string(tail.substr(at + kRecord));
    }
    return std::nullopt;
}

namespace {

// The mark at the end of an archive file, read from its last bytes only.
std::optional<BackupMark> MarkAtEndOf(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (!in || size <= 0)
        return std::nullopt;
    const std::streamoff tail = std::min<std::streamoff>(size, 1024);  // our marks are far shorter
    std::string bytes(std::size_t(tail), '\0');
    in.seekg(size - tail);
    if (!in.read(bytes.data(), tail))
        return std::nullopt;
    const auto comment = ZipCommentAtEnd(bytes);
    return comment ? ReadBackupMark(*comment) : std::nullopt;
}

} // namespace

std::vector<FoundBackup> FindAutoBackups(const fs::path& folder, BackupScrutiny scrutiny)
{
    std::vector<FoundBackup> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const auto time = TimeOfAutoBackupName(it->path().filename().string());
        std::error_code fileError;
        if (!time || !it->is_regular_file(fileError))
            continue;
        FoundBackup backup;
        backup.file = it->path();
        backup.time = *time;
        backup.bytes = it->file_size(fileError);
        try {
            std::optional<BackupMark> mark;
            if (scrutiny == BackupScrutiny::Check) {
                const BackupArchive archive = BackupArchive::OpenFile(it->path());
                mark = ReadBackupMark(archive.Comment());
                if (mark) {
                    mark->entries = 0;
                    mark->settings = false;
                    for (const BackupMember& member : archive.Catalogue()) {
                        if (member.kind == MemberKind::Entry)
                            ++mark->entries;
                        else
                            mark->settings = true;
                    }
                }
            } else {
                mark = MarkAtEndOf(it->path());
            }
            if (!mark)
                continue;  // named like ours, but not written by an automatic backup
            backup.fingerprint = mark->fingerprint;
            backup.entries = mark->entries;
            backup.settings = mark->settings;
            found.push_back(std::move(backup));
        } catch (const Error&) {
            // Damaged or foreign: never counted as a backup, and never removed.
        }
    }
    std::sort(found.begin(), found.end(), [](const FoundBackup& a, const FoundBackup& b) {
        return MinutesOf(a.time) != MinutesOf(b.time) ? MinutesOf(a.time) > MinutesOf(b.time) : a.file > b.file;
    });
    return found;
}

std::vector<bool> ChooseKeptBackups(const std::vector<LocalTime>& times, const KeepCounts& keep)
{
    std::vector<std::size_t> order(times.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return MinutesOf(times[a]) > MinutesOf(times[b]); });
    std::vector<bool> kept(times.size(), false);
    // Newest first, the first backup of each period not seen yet, until `count` periods are in.
    const auto keepNewestOfEach = [&](int count, auto periodOf) {
        int taken = 0;
        std::optional<std::int64_t> last;
        for (const std::size_t index : order) {
            if (taken >= count)
                return;
            const std::int64_t period = periodOf(times[index].day);
            if (last == period)
                continue;
            last = period;
            kept[index] = true;
            ++taken;
        }
    };
    keepNewestOfEach(keep.daily, [](Day day) { return std::int64_t(day.Serial()); });
    // A week runs Monday to Sunday; it is named by its Monday.
    keepNewestOfEach(keep.weekly, [](Day day) { return std::int64_t(day.Serial() - (day.Weekday() + 6) % 7); });
    keepNewestOfEach(keep.monthly, [](Day day) { return std::int64_t(day.Year()) * 12 + day.Month() - 1; });
    return kept;
}

// --- the record ----------------------------------------------------------------------------------

std::string BackupRecordFileName()
{
    return DiaryFolder() + "Backups.ini";
}

BackupRecord LoadBackupRecord()
{
    const IniFile ini(BackupRecordFileName());
    BackupRecord record;
    record.lastGood = ParseBackupTime(ini.ReadString(kRecordSection, "Good", ""));
    record.lastFailed = ParseBackupTime(ini.ReadString(kRecordSection, "Failed", ""));
    record.failure = ini.ReadString(kRecordSection, "Error", "");
    return record;
}

void RecordGoodBackup(const LocalTime& when) noexcept
{
    try {
        IniFile ini(BackupRecordFileName());
        ini.WriteString(kRecordSection, "Good", BackupTimeText(when));
        ini.UpdateFile();
    } catch (const std::exception&) {
    }
}

void RecordFailedBackup(const LocalTime& when, const std::string& why) noexcept
{
    try {
        IniFile ini(BackupRecordFileName());
        ini.WriteString(kRecordSection, "Failed", BackupTimeText(when));
        ini.WriteString(kRecordSection, "Error", why);
        ini.UpdateFile();
    } catch (const std::exception&) {
    }
}

std::string BackupTimeText(const LocalTime& time)
{
    return IsoText(time.day) + " " + TwoDigits(time.hour) + ":" + TwoDigits(time.minute);
}

std::optional<LocalTime> ParseBackupTime(std::string_view text)
{
    return ParseStamp(text, true);
}

std::int64_t MinutesOf(const LocalTime& time) noexcept
{
    return std::int64_t(time.day.Serial()) * 1440 + time.hour * 60 + time.minute;
}

// --- when and what -------------------------------------------------------------------------------

AutoBackupStep DecideAutoBackup(AutoBackupOccasion occasion, const BackupSituation& situation,
                                const std::function<std::string()>& fingerprint)
{
    if (!situation.enabled && occasion != AutoBackupOccasion::Request)
        return AutoBackupStep::Off;
    if (!situation.hasEntries)
        return AutoBackupStep::NoEntries;
    if (occasion == AutoBackupOccasion::Request)
        return AutoBackupStep::Written;
    if (situation.newest) {
        if (situation.newest->day == situation.now.day)
            return AutoBackupStep::DoneToday;
        // At start only a backup missed by the last close is made up for: a day without one.
        if (occasion == AutoBackupOccasion::Start && MinutesOf(situation.now) - MinutesOf(*situation.newest) < 24 * 60)
            return AutoBackupStep::NotOverdue;
        if (situation.newestFingerprint == fingerprint())
            return AutoBackupStep::Unchanged;
    }
    return AutoBackupStep::Written;
}

AutoBackupResult RunAutoBackup(AutoBackupOccasion occasion, const ArchiveLimits& limits)
{
    const AutoBackupSettings settings = LoadAutoBackupSettings();
    BackupSituation situation;
    situation.enabled = settings.enabled;
    situation.hasEntries = !EntryDaysBetween(Day::First(), Day::Last()).empty();
    situation.now = Now();
    AutoBackupResult result;
    result.step = DecideAutoBackup(occasion, situation, [] { return std::string(); });
    if (result.step == AutoBackupStep::Off || result.step == AutoBackupStep::NoEntries)
        return result;

    const fs::path folder = BackupFolderOf(settings);
    try {
        std::error_code ec;
        fs::create_directories(folder, ec);
        if (ec || !fs::is_directory(folder, ec))
            throw Error(FormatMessage("Cannot create folder %s", folder.string()) + (ec ? ": " + ec.message() : ""));
        const FolderLock lock(folder, occasion != AutoBackupOccasion::Start);
        if (!lock.Held()) {
            result.step = AutoBackupStep::Busy;
            return result;
        }
        const std::vector<FoundBackup> found = FindAutoBackups(folder, BackupScrutiny::Check);
        if (!found.empty()) {
            situation.newest = found.front().time;
            situation.newestFingerprint = found.front().fingerprint;
        }
        std::optional<DiaryFingerprint> fingerprint;
        result.step = DecideAutoBackup(occasion, situation, [&fingerprint] {
            fingerprint = TakeDiaryFingerprint();
            return fingerprint->text;
        });
        if (result.step != AutoBackupStep::Written)
            return result;
        if (!fingerprint)
            fingerprint = TakeDiaryFingerprint();
        const BackupMark mark{fingerprint->text, fingerprint->entries, fingerprint->settings};
        result.outcome = BackUpDiary(folder / AutoBackupName(situation.now), limits, BackupMarkComment(mark));
        RecordGoodBackup(situation.now);
        // Only now, with a checked backup in place, may older ones go.
        result.removed = RemoveUnkept(folder, result.outcome.archive, settings.keep);
        RemoveLeftovers(folder);
    } catch (const Error& error) {
        RecordFailedBackup(situation.now, error.what());
        throw;
    } catch (const fs::filesystem_error& error) {
        const std::string why = FormatMessage("Unable to write to %s", folder.string()) + ": " + error.code().message();
        RecordFailedBackup(situation.now, why);
        throw Error(why);
    }
    return result;
}

std::string AutoBackupResultText(const AutoBackupResult& result)
{
    switch (result.step) {
    case AutoBackupStep::Written: {
        std::string text = BackupSummary(result.outcome);
        if (!result.removed.empty())
            text += "; " + std::to_string(result.removed.size()) + " older " + (result.removed.size() == 1 ? "backup" : "backups")
                + " removed";
        return text;
    }
    case AutoBackupStep::Off: return "Automatic backups are off";
    case AutoBackupStep::NoEntries: return "No backup needed: the diary has no entries";
    case AutoBackupStep::DoneToday: return "No backup needed: there is one of today";
    case AutoBackupStep::NotOverdue: return "No backup needed: the last one is recent";
    case AutoBackupStep::Unchanged: return "No backup needed: nothing changed since the last one";
    case AutoBackupStep::Busy: return "No backup made: another backup is being written into the folder";
    }
    return {};
}

std::optional<LocalTime> LastGoodBackup(const BackupRecord& record, const std::optional<LocalTime>& newestFound)
{
    if (!record.lastGood)
        return newestFound;
    if (!newestFound)
        return record.lastGood;
    return MinutesOf(*record.lastGood) >= MinutesOf(*newestFound) ? record.lastGood : newestFound;
}

std::string OverdueBackupNotice(const AutoBackupSettings& settings, const BackupRecord& record,
                                const std::optional<LocalTime>& newestFound, bool hasEntries, const LocalTime& now)
{
    if (!hasEntries)
        return {};
    const std::optional<LocalTime> lastGood = LastGoodBackup(record, newestFound);
    const bool failing = record.lastFailed && (!lastGood || MinutesOf(*record.lastFailed) > MinutesOf(*lastGood));
    if (settings.enabled && !failing)
        return {};
    if (lastGood && MinutesOf(now) - MinutesOf(*lastGood) <= std::int64_t(kOverdueDays) * 24 * 60)
        return {};
    std::string text = settings.enabled ? "Automatic backups are failing" : "Automatic backups are off";
    if (settings.enabled && !record.failure.empty()) {
        std::string why = record.failure.substr(0, 120);
        if (why.size() < record.failure.size())
            why += "...";
        text += " (" + why + ")";
    }
    if (lastGood)
        text += ", and the last backup of this diary is from " + DaysAgo(*lastGood, now) + ".";
    else
        text += ", and this diary has never been backed up.";
    return text;
}

} // namespace quillory
