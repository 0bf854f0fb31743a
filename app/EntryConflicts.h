// Saving the page on screen into a diary that another computer may change at the same time (a
// diary in a synced folder): the day's file is checked against what was loaded before it is
// written or deleted, and nobody's text is ever overwritten silently.
#pragma once

#include "app/EntryFiles.h"
#include "platform/Day.h"
#include "platform/SyncedFile.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace quillory {

// What happened at the day's file besides the save that was asked for.
enum class EntryConflict {
    None,              // the file was as loaded: written, deleted or left as asked
    ChangedElsewhere,  // changed elsewhere: the other version kept beside, the page written
    CreatedElsewhere,  // written elsewhere for a day that had none: likewise
    DeletedElsewhere,  // deleted elsewhere: the page written again, which the user is told
    NotDeleted,        // changed elsewhere while emptied here: the other version stays the entry
};

struct SavedEntry {
    EntryConflict conflict = EntryConflict::None;
    std::filesystem::path keptAs;  // where the other version went (ChangedElsewhere, CreatedElsewhere)
    FileStamp stamp;               // the day's file now: what the next save checks against
};

// Carries out `step` for the page of `day` (its `content` for SaveStep::Write) unless the file
// is no longer the one `loaded` describes; then it keeps both versions as EntryConflict says.
// A file deleted both here and elsewhere is no conflict. Throws quillory::Error as WriteEntry,
// DeleteEntry and ReadFileStamp do, having written nothing over the other version.
SavedEntry SaveEntryChecked(Day day, SaveStep step, std::string_view content, std::string_view password,
                            const FileStamp& loaded);

// What to tell the user about a save: empty for EntryConflict::None.
std::string ConflictNotice(Day day, const SavedEntry& saved);

} // namespace quillory
