// The journalled, all-or-nothing arrival of imported entries and its recovery after a crash.
#include "app/ImportSwap.h"

#include "app/DiaryBackup.h"
#include "app/EntryStore.h"
#include "platform/Error.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <fstream>

namespace quillory {

namespace {

namespace fs = std::filesystem;

constexpr const char* kJournalSection = "Importing";
constexpr const char* kCommittedState = "Committed";

fs::path StagingPath()
{
    return fs::path(ImportStagingFolder()).parent_path();
}

void Reach(const std::function<void(SwapPoint)>& checkpoint, SwapPoint point)
{
    if (checkpoint)
        checkpoint(point);
}

bool Committed()
{
    const auto path = FindNoCase(ImportJournalFileName());
    return path && IniFile(*path).ReadString(kJournalSection, "State", "") == kCommittedState;
}

void DropStaging() noexcept
{
    std::error_code ignored;
    fs::remove_all(StagingPath(), ignored);
}

// Every staged file of the whole batch reaches the disk at once before the journal commits it:
// a flush of each of thousands of files would take minutes on a slow disk.
void SyncStaging()
{
    const int fd = ::open(StagingPath().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        throw Error(FormatMessage("Cannot open file %s", StagingPath().string()));
    const bool synced = ::syncfs(fd) == 0;
    ::close(fd);
    if (!synced)
        throw Error("Cannot write the imported entries to the disk");
}

// Moves each staged entry over its day's file. A file already moved is no longer staged, so a
// second run after a crash does only what is left.
void RollForward(const std::function<void(SwapPoint)>& checkpoint)
{
    const fs::path staging = StagingPath();
    std::error_code ec;
    if (fs::is_directory(staging, ec)) {
        if (!CreateEntriesFolder())
            throw Error(FormatMessage("Cannot create folder %s", EntriesFolder()));
        const fs::path entries = PathForWriting(fs::path(EntriesFolder()).parent_path());
        // The folder is listed once: an entry whose name has another letter case is the one
        // replaced; listing it again for every file would cost as much as the whole import.
        std::map<Day, std::string> present;
        for (const std::string& name : ScanFolder(entries, "*")) {
            if (const auto day = DayOfEntryName(name))
                present.emplace(*day, name);
        }
        for (const auto& item : fs::directory_iterator(staging, ec)) {
            const std::string name = item.path().filename().string();
            const auto day = DayOfEntryName(name);
            if (!day)
                continue;
            const auto found = present.find(*day);
            const fs::path target = entries / (found != present.end() ? found->second : DayKey(*day) + ".QLE");
            std::error_code renameError;
            fs::rename(item.path(), target, renameError);
            if (renameError)
                throw Error("Cannot move " + item.path().string() + " to " + target.string() + ": "
                            + renameError.message());
        }
        if (ec)
            throw Error(FormatMessage("Cannot open file %s", staging.string()));
        SyncFolderToDisk(EntriesFolder());
    }
    Reach(checkpoint, SwapPoint::Moved);
    fs::remove_all(staging, ec);
    if (ec)
        throw Error(FormatMessage("Cannot remove folder %s", staging.string()));
    std::string error;
    if (!RemoveFileNoCase(ImportJournalFileName(), &error))
        throw Error(error);
    SyncFolderToDisk(DiaryFolder());
    Reach(checkpoint, SwapPoint::Finished);
}

} // namespace

std::string ImportStagingFolder()
{
    return DiaryFolder() + "Entries.import/";
}

std::string ImportJournalFileName()
{
    return DiaryFolder() + "Importing.ini";
}

EntrySwap::EntrySwap()
{
    RecoverImport();
    std::error_code ec;
    fs::create_directories(StagingPath(), ec);
    if (ec)
        throw Error(FormatMessage("Cannot create folder %s", StagingPath().string()) + ": " + ec.message());
}

void EntrySwap::Drop() noexcept
{
    if (!committed_)
        DropStaging();
}

void EntrySwap::Stage(Day day, std::string_view stored)
{
    // The staging folder is invisible to the diary until the journal commits it, so its files
    // need no temporary names of their own.
    const fs::path file = StagingPath() / (DayKey(day) + ".QLE");
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(stored.data(), std::streamsize(stored.size()));
    out.close();
    if (!out)
        throw Error(FormatMessage("Cannot create file %s", file.string()));
    ++staged_;
}

void EntrySwap::Commit()
{
    SyncStaging();
    SyncFolderToDisk(StagingPath());
    Reach(checkpoint, SwapPoint::Staged);
    IniFile journal(ImportJournalFileName());
    journal.WriteString(kJournalSection, "State", kCommittedState);
    journal.UpdateFile();
    committed_ = true;
    Reach(checkpoint, SwapPoint::Committed);
    try {
        RollForward(checkpoint);
    } catch (const Error&) {
        RollForward(checkpoint);  // one more try; else the next start finishes it
    }
}

bool RecoverImport(const std::function<void(SwapPoint)>& checkpoint)
{
    if (Committed()) {
        RollForward(checkpoint);
        return true;
    }
    bool found = false;
    std::error_code ec;
    if (fs::exists(StagingPath(), ec)) {
        DropStaging();
        found = true;
    }
    if (FindNoCase(ImportJournalFileName())) {
        std::string error;
        if (!RemoveFileNoCase(ImportJournalFileName(), &error))
            throw Error(error);
        found = true;
    }
    return found;
}

} // namespace quillory
