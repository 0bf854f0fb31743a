// The conversion of the old diary through a staging folder.
#include "app/legacy/LegacyConversion.h"

#include "app/Crypt.h"
#include "app/EntryStore.h"
#include "app/Settings.h"
#include "app/legacy/LegacyTable.h"
#include "platform/Error.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

namespace quillory {

namespace fs = std::filesystem;

namespace {

constexpr const char* kEntriesName = "Entries";

// Makes a rename inside `folder` durable; best effort, as in platform/AtomicWrite.
void SyncFolder(const fs::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Flushes everything written to the file system that holds `folder`, in one go: a diary of ten
// years is thousands of files, and a flush of each would take minutes on a slow disk.
void SyncFileSystem(const fs::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        throw Error(FormatMessage("Cannot open file %s", folder.string()));
    const bool synced = ::syncfs(fd) == 0;
    ::close(fd);
    if (!synced)
        throw Error("Cannot write the converted entries to the disk");
}

// The staging folder is invisible to the diary until it is renamed, so its files need not be
// written through temporary files; they reach the disk all at once before the rename.
void WriteStagedFile(const fs::path& file, std::string_view bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    if (!out)
        throw Error(FormatMessage("Cannot create file %s", file.string()));
}

// The staging folder's own path, without the trailing '/' (which would make a symbolic link of
// that name count as the folder it points to).
fs::path StagingPath()
{
    return fs::path(ConversionStagingFolder()).parent_path();
}

void RemoveStaging()
{
    std::error_code ignored;
    fs::remove_all(StagingPath(), ignored);
}

const LegacyField& RequireField(const LegacyTable& table, const char* name, char type)
{
    const LegacyField* field = table.Field(name);
    if (!field || field->type != type)
        throw LegacyTableError(std::string("QUILLOR.DBF: the table has no ") + (type == 'M' ? "memo" : "character")
                               + " field " + name);
    return *field;
}

ConversionResult ConvertIntoStaging(const fs::path& staging, const ConversionObserver& observer)
{
    const std::string password = StoredPassword(IniFile(SettingsFileName()));
    const LegacyTable table = LegacyTable::Open(DiaryFolder());
    const LegacyField& date = RequireField(table, "DATE", 'C');
    const LegacyField& entry = RequireField(table, "ENTRY", 'M');

    std::error_code error;
    fs::create_directories(staging, error);
    if (error)
        throw Error(FormatMessage("Cannot create folder %s", staging.string()) + ": " + error.message());

    ConversionResult result;
    std::set<Day> days;
    for (std::uint32_t record = 0; record < table.RecordCount(); ++record) {
        if (table.IsDeleted(record))
            continue;
        const std::optional<Day> day = DayFromLegacyDate(table.ReadTrimString(record, date));
        if (!day) {
            ++result.recordsSkipped;
            continue;
        }
        if (observer.processing)
            observer.processing(*day);
        const std::string text = UniformLineBreaks(table.ReadMemo(record, entry));
        const std::string bytes = password.empty() ? text : EncipherBuffer(text, password);
        WriteStagedFile(staging / (DayKey(*day) + ".QLE"), bytes);
        days.insert(*day);
    }
    result.entriesWritten = int(days.size());
    return result;
}

} // namespace

std::string LegacyTableFileName()
{
    return DiaryFolder() + "QUILLOR.DBF";
}

std::string LegacyMemoFileName()
{
    return DiaryFolder() + "QUILLOR.FPT";
}

std::string ConversionStagingFolder()
{
    return DiaryFolder() + "Entries.convert/";
}

bool LegacyDiaryWaiting()
{
    return !FindNoCase(DiaryFolder() + kEntriesName) && FileExistsNoCase(LegacyTableFileName())
        && FileExistsNoCase(LegacyMemoFileName());
}

std::optional<Day> DayFromLegacyDate(std::string_view date)
{
    if (date.size() != 8)
        return std::nullopt;
    int number[3] = {0, 0, 0};  // year, month, day
    for (std::size_t i = 0; i < date.size(); ++i) {
        if (date[i] < '0' || date[i] > '9')
            return std::nullopt;
        int& part = number[i < 4 ? 0 : i < 6 ? 1 : 2];
        part = part * 10 + (date[i] - '0');
    }
    return Day::FromDate(number[0], number[1], number[2]);
}

std::string UniformLineBreaks(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

ConversionResult ConvertLegacyTable(const ConversionObserver& observer)
{
    const fs::path entries = fs::path(DiaryFolder()) / kEntriesName;
    if (FindNoCase(entries))
        throw Error("The folder " + entries.string() + " exists already; the old diary is not converted into it.");
    // A staging folder left by an earlier attempt that crashed holds nothing that counts.
    RemoveStaging();
    const fs::path staging = StagingPath();
    try {
        const ConversionResult result = ConvertIntoStaging(staging, observer);
        SyncFileSystem(staging);
        std::error_code error;
        fs::rename(staging, entries, error);
        if (error)
            throw Error("Cannot rename " + staging.string() + " to " + entries.string() + ": " + error.message());
        SyncFolder(DiaryFolder());
        return result;
    } catch (...) {
        RemoveStaging();
        throw;
    }
}

std::string ConversionDoneNotice(const ConversionResult& result)
{
    std::string text = "The old diary has been converted: " + std::to_string(result.entriesWritten)
                     + (result.entriesWritten == 1 ? " entry" : " entries") + " written.";
    if (result.recordsSkipped > 0) {
        text += "\r" + std::to_string(result.recordsSkipped)
              + (result.recordsSkipped == 1 ? " record was left out because its date is not a valid day."
                                            : " records were left out because their dates are not valid days.")
              + " The old table files are unchanged.";
    }
    return text;
}

} // namespace quillory
