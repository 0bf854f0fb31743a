// Reading and writing the entry of one day: plain RTF while the diary has no password, the same
// bytes enciphered (stored format's cipher) or sealed (strong scheme) while it has one. Enciphering and deciphering happen in memory, so no plain
// copy of a protected entry ever reaches the disk, and every write replaces the file whole.
#pragma once

#include "app/DiarySecurity.h"
#include "platform/Day.h"
#include "platform/Error.h"
#include "platform/SyncedFile.h"

#include <string>
#include <string_view>

namespace quillory {

// Raised for a strongly sealed entry that does not open with the diary's key: changed on disk,
// cut short, or moved from another day. The page must stay read-only and the file untouched.
class DamagedEntry : public Error {
public:
    using Error::Error;
};
inline constexpr const char* kDamagedEntry = "%s is damaged or was changed outside Quillory";

// The entry's content as the editor reads it (plain RTF or text). Throws quillory::Error
// "Cannot open file %s" when the file cannot be read, DamagedEntry when its seal does not open.
std::string ReadEntry(Day day, const DiaryKey& key);
// The same with the key of this run for `password` (SessionKey): the scheme is QL.INI's, and a
// strong key is derived only once. Throws kPasswordDoesNotOpen when it does not open the diary.
std::string ReadEntry(Day day, std::string_view password);
// The same, giving the stamp of the file's bytes as read: what a save later checks the file
// against, in case another computer changed it meanwhile.
std::string ReadEntry(Day day, std::string_view password, FileStamp& stamp);

// Writes the entry file of `day` whole, enciphered or sealed as the key says. Throws
// quillory::Error "Cannot create file %s" and leaves the old file as it was on failure.
void WriteEntry(Day day, std::string_view content, const DiaryKey& key);
void WriteEntry(Day day, std::string_view content, std::string_view password);
// The same, giving the stamp of the file as written.
FileStamp WriteEntryStamped(Day day, std::string_view content, std::string_view password);

// Deletes the entry file of `day`, whatever the case of its name. Throws quillory::Error
// "Cannot delete file %s" when a file of that name is still there afterwards.
void DeleteEntry(Day day);

// What saving the page on screen does to the day's file.
enum class SaveStep {
    Nothing,  // an empty page of a day without a file
    Write,    // a page with text: the file is written (created or replaced)
    Delete,   // an emptied page of a day with a file: the file goes away
};
constexpr SaveStep ChooseSaveStep(bool pageEmpty, bool entryExists) noexcept
{
    if (!pageEmpty)
        return SaveStep::Write;
    return entryExists ? SaveStep::Delete : SaveStep::Nothing;
}

} // namespace quillory
