// The checked save of an entry: the day's file is compared with what was loaded first.
#include "app/EntryConflicts.h"

#include "app/DateTexts.h"
#include "app/EntryStore.h"
#include "platform/Files.h"

namespace quillory {

SavedEntry SaveEntryChecked(Day day, SaveStep step, std::string_view content, std::string_view password,
                            const FileStamp& loaded)
{
    SavedEntry saved;
    if (step == SaveStep::Nothing) {
        // Nothing is written, so nothing of anybody's is lost; a file that appeared elsewhere
        // is still not on the page, and the next save must still see it as new.
        saved.stamp = loaded;
        return saved;
    }
    const std::filesystem::path name = GetCurrentDateFileName(day);
    std::string theirs;
    const FileStamp now = ReadFileStamp(name, &theirs);
    const bool same = StillTheSame(loaded, now);

    if (step == SaveStep::Delete) {
        if (same) {
            DeleteEntry(day);
        } else if (now.exists) {
            // The page was emptied against a text that is no longer the entry: the newer one
            // stays, and the user can delete it after reading it.
            saved.conflict = EntryConflict::NotDeleted;
            saved.stamp = now;
        }
        return saved;
    }

    if (!same) {
        if (now.exists) {
            saved.conflict = loaded.exists ? EntryConflict::ChangedElsewhere : EntryConflict::CreatedElsewhere;
            saved.keptAs = KeepOtherVersion(FindNoCase(name).value_or(name), theirs, now.modified);
        } else {
            saved.conflict = EntryConflict::DeletedElsewhere;
        }
    }
    saved.stamp = WriteEntryStamped(day, content, password);
    return saved;
}

std::string ConflictNotice(Day day, const SavedEntry& saved)
{
    const std::string date = ShortDateText(day);
    const std::string kept = "\"" + saved.keptAs.filename().string() + "\"";
    switch (saved.conflict) {
    case EntryConflict::None:
        break;
    case EntryConflict::ChangedElsewhere:
        return "The entry of " + date + " was changed on another computer while it was open here. Both are kept: "
            + "yours as the entry, the other as " + kept + " in the Entries folder.";
    case EntryConflict::CreatedElsewhere:
        return "An entry of " + date + " was written on another computer while the day was open here. Both are "
            + "kept: yours as the entry, the other as " + kept + " in the Entries folder.";
    case EntryConflict::DeletedElsewhere:
        return "The entry of " + date + " was deleted on another computer while it was open here. Your text is "
            + "saved as the entry again; delete it if it should go.";
    case EntryConflict::NotDeleted:
        return "The entry of " + date + " was changed on another computer while it was open here, so it was not "
            + "deleted. The changed text stays as the entry.";
    }
    return {};
}

} // namespace quillory
