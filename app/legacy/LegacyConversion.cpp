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
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <vector>

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

// The memo bytes that records converted so far have used, as extents that do not overlap,
// by their first byte.
class UsedMemos {
public:
    // Takes the extent when no earlier record used any of its bytes; false otherwise.
    bool Take(const MemoExtent& extent)
    {
        const auto after = used_.upper_bound(extent.begin);
        if (after != used_.end() && after->first < extent.end)
            return false;
        if (after != used_.begin() && std::prev(after)->second > extent.begin)
            return false;
        used_.emplace_hint(after, extent.begin, extent.end);
        return true;
    }

private:
    std::map<std::uint64_t, std::uint64_t> used_;  // begin -> end
};

// The disk space a file of `bytes` takes: whole allocation units, and at least one for the
// file itself. 4 KiB is the unit of the common Linux file systems.
std::uintmax_t DiskSpaceOf(std::size_t bytes)
{
    constexpr std::uintmax_t kAllocationUnit = 4096;
    return std::max<std::uintmax_t>(1, (bytes + kAllocationUnit - 1) / kAllocationUnit) * kAllocationUnit;
}

// Throws when the disk of the diary folder has less than `needed` bytes free. When the free
// space cannot be told, the writing itself reports a full disk.
void RequireFreeSpace(std::uintmax_t needed, const ConversionObserver& observer)
{
    std::uintmax_t available = 0;
    if (observer.freeSpace) {
        available = observer.freeSpace();
    } else {
        std::error_code error;
        const fs::space_info space = fs::space(DiaryFolder(), error);
        if (error)
            return;
        available = space.available;
    }
    if (available >= needed)
        return;
    const auto kilobytes = [](std::uintmax_t bytes) { return std::to_string((bytes + 1023) / 1024); };
    throw Error("There is not enough free space in " + DiaryFolder() + " for the converted entries: they need "
                + kilobytes(needed) + " KB, and " + std::to_string(available / 1024) + " KB are free.");
}

// What the table converts into: the day of each record that becomes an entry, in the table's
// order, and the text of each day's entry.
struct ConvertedRecords {
    std::vector<Day> days;
    std::map<Day, std::string> texts;
};

ConvertedRecords ReadRecords(const LegacyTable& table, ConversionResult& result)
{
    const LegacyField& date = RequireField(table, "DATE", 'C');
    const LegacyField& entry = RequireField(table, "ENTRY", 'M');
    ConvertedRecords converted;
    UsedMemos used;
    for (std::uint32_t record = 0; record < table.RecordCount(); ++record) {
        if (table.IsDeleted(record))
            continue;
        const std::optional<Day> day = DayFromLegacyDate(table.ReadTrimString(record, date));
        if (!day) {
            ++result.recordsSkipped;
            continue;
        }
        converted.days.push_back(*day);
        const std::optional<MemoExtent> extent = table.MemoExtentOf(record, entry);
        if (extent && !used.Take(*extent)) {
            // No two records own the same memo bytes in a sound table. Copied again for every
            // record that names it, one memo could fill the disk from a small table; so the
            // later record comes without it, and does not replace an entry of its day that an
            // earlier record gave.
            ++result.recordsWithDamagedMemo;
            converted.texts.try_emplace(*day);
            continue;
        }
        converted.texts[*day] = UniformLineBreaks(table.ReadMemo(record, entry));
    }
    return converted;
}

ConversionResult ConvertIntoStaging(const fs::path& staging, const ConversionObserver& observer)
{
    const std::string password = StoredPassword(IniFile(SettingsFileName()));
    const LegacyTable table = LegacyTable::Open(DiaryFolder());
    ConversionResult result;
    ConvertedRecords converted = ReadRecords(table, result);
    result.entriesWritten = int(converted.texts.size());

    std::uintmax_t needed = 0;
    for (const auto& [day, text] : converted.texts)
        needed += DiskSpaceOf(text.size());
    RequireFreeSpace(needed, observer);

    std::error_code error;
    fs::create_directories(staging, error);
    if (error)
        throw Error(FormatMessage("Cannot create folder %s", staging.string()) + ": " + error.message());
    // Record by record, as the busy window tells them; a day's file is written once, at its
    // first record, with the text its last one gave.
    for (const Day day : converted.days) {
        if (observer.processing)
            observer.processing(day);
        const auto text = converted.texts.find(day);
        if (text == converted.texts.end())
            continue;
        WriteStagedFile(staging / (DayKey(day) + ".QLE"),
                        password.empty() ? text->second : EncipherBuffer(text->second, password));
        converted.texts.erase(text);
    }
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
                                            : " records were left out because their dates are not valid days.");
    }
    if (result.recordsWithDamagedMemo > 0) {
        text += "\r" + std::to_string(result.recordsWithDamagedMemo)
              + (result.recordsWithDamagedMemo == 1
                     ? " record was converted without its text because its memo is damaged (an earlier record uses it)."
                     : " records were converted without their text because their memos are damaged (earlier records use them).");
    }
    if (result.recordsSkipped > 0 || result.recordsWithDamagedMemo > 0)
        text += " The old table files are unchanged.";
    return text;
}

} // namespace quillory
