// The journalled, all-or-nothing restore of a diary backup and its recovery after a crash.
#include "app/DiaryRestore.h"

#include "app/DiaryBackup.h"
#include "app/DiarySecurity.h"
#include "app/EntryStore.h"
#include "app/PasswordChange.h"
#include "platform/AtomicWrite.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

#include <cstdio>

namespace quillory {

namespace {

namespace fs = std::filesystem;

constexpr const char* kJournalSection = "Restoring";
constexpr const char* kCommittedState = "Committed";
// Room left free on the disk after a restore, beside what it unpacks and keeps.
constexpr std::uint64_t kSpareSpace = 16ull << 20;

void Reach(const RestoreObserver& observer, RestorePoint point)
{
    if (observer.checkpoint)
        observer.checkpoint(point);
}

fs::path Folder()
{
    return fs::path(DiaryFolder());
}

fs::path EntriesPath()
{
    const auto found = FindNoCase(Folder() / "Entries");
    return found ? *found : Folder() / "Entries";
}

fs::path StagingPath()
{
    return fs::path(RestoreStagingFolder()).parent_path();
}

fs::path ReplacedPath()
{
    return fs::path(ReplacedEntriesFolder()).parent_path();
}

void RemoveAll(const fs::path& folder)
{
    std::error_code ec;
    fs::remove_all(folder, ec);
    if (ec)
        throw Error(FormatMessage("Cannot remove folder %s", folder.string()));
}

void Rename(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
    fs::rename(from, to, ec);
    if (ec)
        throw Error("Cannot move " + from.string() + " to " + to.string() + ": " + ec.message());
}

struct Journal {
    bool settings = false;  // the backup had QL.INI; without it, QL.INI goes
};

// The journal of a committed restore. Only a journal written whole says "Committed"; anything
// else never committed.
std::optional<Journal> CommittedJournal()
{
    const auto path = FindNoCase(RestoreJournalFileName());
    if (!path)
        return std::nullopt;
    const IniFile file(*path);
    if (file.ReadString(kJournalSection, "State", "") != kCommittedState)
        return std::nullopt;
    return Journal{file.ReadBool(kJournalSection, "Settings", false)};
}

void WriteJournal(const Journal& journal)
{
    IniFile file(RestoreJournalFileName());
    file.WriteString(kJournalSection, "State", kCommittedState);
    file.WriteBool(kJournalSection, "Settings", journal.settings);
    file.UpdateFile();
}

// The total size of the diary's files, for the space its own backup takes at most.
std::uint64_t DiarySize()
{
    std::uint64_t total = 0;
    std::error_code ec;
    for (const Day day : EntryDaysBetween(Day::First(), Day::Last())) {
        if (const auto file = FindNoCase(GetCurrentDateFileName(day))) {
            const std::uintmax_t size = fs::file_size(*file, ec);
            total += ec ? 0 : size;
        }
    }
    return total;
}

void CheckSpace(const std::vector<BackupMember>& members)
{
    std::uint64_t needed = kSpareSpace + DiarySize();
    for (const auto& member : members)
        needed += member.size;
    std::error_code ec;
    const fs::space_info space = fs::space(Folder(), ec);
    if (!ec && space.available < needed)
        throw Error("There is not enough free space in " + Folder().string() + " to restore this backup ("
                    + std::to_string(needed >> 20) + " MB needed)");
}

void Unpack(const BackupArchive& archive, const std::vector<BackupMember>& members)
{
    const fs::path staging = StagingPath();
    std::error_code ec;
    fs::create_directories(staging / "Entries", ec);
    if (ec)
        throw Error(FormatMessage("Cannot create file %s", staging.string()));
    for (const auto& member : members) {
        // Named by what the member stands for, never by the name stored in the archive.
        const fs::path file = staging / member.CanonicalName();
        AtomicFileWriter writer(file, AtomicFileWriter::ExactName{});
        std::string error;
        if (!writer.Open(&error))
            throw Error(FormatMessage("Cannot create file %s", file.string()) + ": " + error);
        archive.ReadMember(member, [&](std::string_view piece) {
            if (!writer.Write(piece, &error))
                throw Error(FormatMessage("Unable to write to %s", file.string()) + ": " + error);
        });
        if (!writer.Commit(&error))
            throw Error(FormatMessage("Unable to write to %s", file.string()) + ": " + error);
    }
}

// What the present Entries folder holds besides entries (conflict copies, anything the user
// put there) goes along into the restored folder: the kept backup holds entries only.
void CarryOverOtherFiles()
{
    const fs::path entries = EntriesPath();
    const fs::path staged = StagingPath() / "Entries";
    std::error_code ec;
    if (!fs::is_directory(entries, ec))
        return;
    fs::permissions(staged, fs::status(entries, ec).permissions(), ec);
    for (const auto& item : fs::directory_iterator(entries, ec)) {
        const fs::path name = item.path().filename();
        if (DayOfEntryName(name.native()) && !item.is_directory(ec))
            continue;
        std::error_code copyError;
        if (item.is_regular_file(copyError) && !item.is_symlink(copyError))
            fs::create_hard_link(item.path(), staged / name, copyError);
        else
            copyError = std::make_error_code(std::errc::not_supported);
        if (copyError) {
            copyError.clear();
            fs::copy(item.path(), staged / name, fs::copy_options::recursive | fs::copy_options::copy_symlinks,
                     copyError);
        }
        if (copyError)
            throw Error("Cannot copy " + item.path().string() + ": " + copyError.message());
    }
}

void RollForward(const Journal& journal, const RestoreObserver& observer)
{
    const fs::path staging = StagingPath();
    const fs::path stagedEntries = staging / "Entries";
    std::error_code ec;
    if (fs::is_directory(stagedEntries, ec)) {
        const auto entries = FindNoCase(Folder() / "Entries");
        if (entries) {
            RemoveAll(ReplacedPath());
            Rename(*entries, ReplacedPath());
            SyncFolderToDisk(Folder());
        }
        Reach(observer, RestorePoint::EntriesMovedAside);
        Rename(stagedEntries, Folder() / "Entries");
        SyncFolderToDisk(Folder());
        Reach(observer, RestorePoint::EntriesSwapped);
    }

    const DiarySecurity before = LoadDiarySecurity();
    const fs::path stagedSettings = staging / std::string(kSettingsMemberName);
    if (journal.settings) {
        if (fs::exists(stagedSettings, ec))
            Rename(stagedSettings, PathForWriting(SettingsFileName()));
    } else {
        std::string error;
        if (!RemoveFileNoCase(SettingsFileName(), &error))
            throw Error(error);
    }
    SyncFolderToDisk(Folder());
    if (!(LoadDiarySecurity() == before))
        ForgetSessionKey();
    Reach(observer, RestorePoint::SettingsSwapped);

    RemoveAll(ReplacedPath());
    RemoveAll(staging);
    std::string error;
    if (!RemoveFileNoCase(RestoreJournalFileName(), &error))
        throw Error(error);
    SyncFolderToDisk(Folder());
    Reach(observer, RestorePoint::Finished);
}

// Removes an unfinished staging folder; one that cannot be removed now goes at the next start.
void DropStaging() noexcept
{
    std::error_code ec;
    fs::remove_all(StagingPath(), ec);
}

fs::path KeepPresentDiary()
{
    if (EntryDaysBetween(Day::First(), Day::Last()).empty() && !FileExistsNoCase(SettingsFileName()))
        return {};
    fs::path kept = Folder() / KeptDiaryName();
    for (int n = 2; fs::exists(kept); ++n)
        kept = Folder() / (fs::path(KeptDiaryName()).stem().string() + " (" + std::to_string(n) + ").zip");
    try {
        return BackUpDiary(kept).archive;
    } catch (const Error& error) {
        throw Error(std::string("The diary as it is could not be kept, so nothing was restored: ") + error.what());
    }
}

} // namespace

std::string RestoreJournalFileName()
{
    return DiaryFolder() + "Restoring.ini";
}

std::string RestoreStagingFolder()
{
    return DiaryFolder() + "Entries.restore/";
}

std::string ReplacedEntriesFolder()
{
    return DiaryFolder() + "Entries.replaced/";
}

std::string KeptDiaryName()
{
    const LocalTime now = Now();
    char time[16];
    std::snprintf(time, sizeof time, "%02d%02d%02d", now.hour, now.minute, now.second);
    return "Diary before restore " + IsoText(now.day) + " " + time + ".zip";
}

RestoreOutcome RestoreDiary(const fs::path& archivePath, const RestoreObserver& observer, const ArchiveLimits& limits)
{
    // Settled first, so that the diary kept and replaced is a whole one.
    RecoverPasswordChange();
    RecoverRestore();

    const BackupArchive archive = BackupArchive::OpenFile(archivePath);
    const auto members = archive.Catalogue(limits);
    CheckSpace(members);

    RestoreOutcome outcome;
    Journal journal;
    const DiarySecurity before = LoadDiarySecurity();
    try {
        RemoveAll(StagingPath());
        Unpack(archive, members);
        CarryOverOtherFiles();
        SyncFolderToDisk(StagingPath() / "Entries");
        SyncFolderToDisk(StagingPath());
        Reach(observer, RestorePoint::Staged);
        outcome.kept = KeepPresentDiary();
        Reach(observer, RestorePoint::KeptWritten);
        for (const auto& member : members) {
            if (member.kind == MemberKind::Settings)
                journal.settings = true;
            else
                ++outcome.entries;
        }
        WriteJournal(journal);
        Reach(observer, RestorePoint::Committed);
    } catch (const Error&) {
        DropStaging();
        throw;
    } catch (const fs::filesystem_error& error) {
        DropStaging();
        throw Error(FormatMessage("Cannot create file %s", error.path1().string()) + ": " + error.code().message());
    }
    outcome.settings = journal.settings;
    // From here on the restore has happened; what is left is renames, which a restart redoes.
    try {
        RollForward(journal, observer);
    } catch (const Error&) {
        try {
            RollForward(journal, observer);
        } catch (const Error& error) {
            throw RestoreIncomplete(error.what());
        }
    }
    outcome.securityChanged = !(LoadDiarySecurity() == before);
    return outcome;
}

bool RecoverRestore(const RestoreObserver& observer)
{
    if (const auto journal = CommittedJournal()) {
        RollForward(*journal, observer);
        return true;
    }
    bool found = false;
    std::error_code ec;
    if (fs::exists(StagingPath(), ec)) {
        RemoveAll(StagingPath());
        found = true;
    }
    if (FindNoCase(RestoreJournalFileName())) {
        std::string error;
        if (!RemoveFileNoCase(RestoreJournalFileName(), &error))
            throw Error(error);
        found = true;
    }
    return found;
}

std::string RestoreSummary(const RestoreOutcome& outcome, const fs::path& archive)
{
    std::string text = "Restored " + BackupContentsText(outcome.entries, outcome.settings) + " from " + archive.string();
    if (!outcome.kept.empty())
        text += "; the replaced diary is kept in " + outcome.kept.string();
    return text;
}

} // namespace quillory
