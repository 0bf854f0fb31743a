// Entry files read and written through memory.
#include "app/EntryFiles.h"

#include "app/EntryStore.h"
#include "platform/AtomicWrite.h"
#include "platform/Error.h"
#include "platform/Files.h"

#include <fstream>
#include <iterator>

namespace quillory {

namespace {

std::string ReadEntryBytes(Day day, const DiaryKey& key, FileStamp* stamp)
{
    const std::string name = GetCurrentDateFileName(day);
    const auto path = FindNoCase(name).value_or(std::filesystem::path(name));
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw Error(FormatMessage("Cannot open file %s", name));
    std::string bytes;
    try {
        // In blocks, not character by character: the search across entries reads thousands.
        char block[16384];
        while (in.read(block, sizeof block) || in.gcount() > 0)
            bytes.append(block, std::size_t(in.gcount()));
    } catch (const std::exception&) {
        in.setstate(std::ios::badbit);  // the stream buffer reports a failed read by throwing
    }
    if (in.bad())
        throw Error(FormatMessage("Cannot open file %s", name));
    if (stamp)
        *stamp = StampOf(path, bytes);
    auto plain = DecodeEntry(key, DayKey(day), bytes);
    if (!plain)
        throw DamagedEntry(FormatMessage(kDamagedEntry, name));
    return std::move(*plain);
}

} // namespace

std::string ReadEntry(Day day, const DiaryKey& key)
{
    return ReadEntryBytes(day, key, nullptr);
}

std::string ReadEntry(Day day, std::string_view password)
{
    return ReadEntry(day, SessionKey(password));
}

std::string ReadEntry(Day day, std::string_view password, FileStamp& stamp)
{
    return ReadEntryBytes(day, SessionKey(password), &stamp);
}

void WriteEntry(Day day, std::string_view content, std::string_view password)
{
    WriteEntry(day, content, SessionKey(password));
}

namespace {

FileStamp WriteEntryFile(Day day, std::string_view content, const DiaryKey& key)
{
    const std::string name = GetCurrentDateFileName(day);
    const std::string bytes = EncodeEntry(key, DayKey(day), content);
    const auto path = PathForWriting(name);
    if (!WriteFileAtomically(path, bytes))
        throw Error(FormatMessage("Cannot create file %s", name));
    return StampOf(FindNoCase(path).value_or(path), bytes);
}

} // namespace

void WriteEntry(Day day, std::string_view content, const DiaryKey& key)
{
    WriteEntryFile(day, content, key);
}

FileStamp WriteEntryStamped(Day day, std::string_view content, std::string_view password)
{
    return WriteEntryFile(day, content, SessionKey(password));
}

void DeleteEntry(Day day)
{
    const std::string name = GetCurrentDateFileName(day);
    if (!RemoveFileNoCase(name))
        throw Error(FormatMessage("Cannot delete file %s", name));
}

} // namespace quillory
