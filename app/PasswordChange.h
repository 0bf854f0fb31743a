// Re-keying every entry file when the diary password is set, changed or cleared, all or
// nothing, and finishing or undoing at start-up a re-keying that a crash interrupted.
//
// The change goes through a journal file beside QL.INI and a staging folder beside Entries:
//   1. the journal is written, naming the old and the new protection (state "Staging");
//   2. every entry is read, deciphered and enciphered in memory and written, re-keyed, into the
//      staging folder; the entry files themselves are not touched;
//   3. QL.INI is given the new protection (scheme and password, or strong key's record);
//   4. the journal's state becomes "Committed" - the moment the change happens;
//   5. each staged file is renamed over its entry file;
//   6. the staging folder and then the journal are removed.
// Every write is atomic, so a crash leaves each file old or new. A start that finds a journal
// not yet committed puts the old password back and drops the staging folder; one that finds it
// committed stores the new password and moves the remaining staged files in. Either way every
// entry then opens with the password in QL.INI.
#pragma once

#include "app/DiarySecurity.h"
#include "platform/Error.h"
#include "platform/IniFile.h"

#include <functional>
#include <string>
#include <vector>

namespace quillory {

// The places where a re-keying or its recovery can be interrupted, each after its step.
enum class RekeyPoint {
    JournalWritten,   // the journal names both passwords; nothing else has changed
    FileStaged,       // one more re-keyed entry is in the staging folder
    SettingsWritten,  // QL.INI holds the password that the journal's state calls for
    Committed,        // the journal says the change is complete
    FileSwapped,      // one more staged file has replaced its entry file
    StagingRemoved,
    Finished,         // the journal is gone
};

struct RekeyObserver {
    // Entries re-keyed so far and entries in all; first called with (0, total).
    std::function<void(int done, int total)> progress;
    // Test seam, called at every RekeyPoint. Throwing quillory::Error there acts as a failure
    // of that step (the change is undone); throwing anything else leaves everything as a crash
    // at that moment would.
    std::function<void(RekeyPoint point)> checkpoint;
};

// What the journal records: QL.INI's security before and after. A strong record holds no
// password. Only the state "Committed" counts as committed: its write is atomic, so anything
// else means the change never happened.
struct RekeyJournal {
    std::string state;  // "Staging" or "Committed"
    DiarySecurity before;
    DiarySecurity after;

    bool Committed() const noexcept { return state == "Committed"; }
    bool operator==(const RekeyJournal&) const = default;
};

// The journal's format: an initialisation file whose legacy passwords are scrambled as in
// QL.INI and written in hexadecimal, beside the strong records' keys. Reading never fails;
// damaged values read as other passwords or records.
RekeyJournal ReadRekeyJournal(const IniFile& file);
void WriteRekeyJournal(IniFile& file, const RekeyJournal& journal);

// Raised when the change happened (the new password is stored) but not every re-keyed file
// could be moved into place. Until the program starts again and finishes the move, some entries
// are still in the old state: the diary must not go on.
class RekeyIncomplete : public Error {
public:
    using Error::Error;
};

// DiaryFolder() + "Rekeying.ini" and DiaryFolder() + "Entries.rekey/".
std::string RekeyJournalFileName();
std::string RekeyStagingFolder();

// The number of files a re-keying reads (the entry files and the other versions beside them),
// its progress maximum.
int CountEntryFiles();

// The scheme a new password gets, and the Argon2id limits of a strong one.
struct RekeyTarget {
    PasswordScheme scheme = PasswordScheme::Legacy;
    strong::KdfLimits limits = strong::DefaultLimits();
};

// Re-keys every entry file from `oldPassword` under QL.INI's scheme to `newPassword` under
// `target` (an empty new password meaning plain RTF) and stores the new protection in QL.INI.
// Does nothing when the password is the same text and the scheme stays (letter case counts: a
// change of case re-keys). No plain copy of an entry is ever written while either password is
// set. A strong entry whose seal does not open stops the change with DamagedEntry naming it; a
// wrong old password of a strong diary with kPasswordDoesNotOpen. After the change the key of
// this run is the new one.
// The other versions of days beside the entries (EntryVersions) are re-keyed with their day's
// key, so that each opens as its day's version and, renamed to the day's own name, as the entry;
// a version that does not open with the old key stays exactly as it is and stops nothing.
// On failure throws quillory::Error with its message ("Cannot open file %s", "Cannot create
// file %s", "Unable to write to %s") after putting back the old state: every entry file as it
// was and the old password in QL.INI. Should even that fail, the journal stays and the next
// start completes the undo. Throws RekeyIncomplete when a failure came after the change.
//
// Another computer may change entries meanwhile (a diary in a synced folder). Before the change
// is committed every entry is looked at again: one changed or written there since it was staged
// is staged again from its new text, one deleted there stays deleted. An entry changed in the
// moment between that look and its swap is kept beside as the other version
// (ChangedElsewhereName), as it stands; the returned list names those, usually none.
struct KeptVersion {
    std::string entry;   // the entry file
    std::string keptAs;  // the other version, beside it

    bool operator==(const KeptVersion&) const = default;
};
std::vector<KeptVersion> ProcessPassword(const std::string& oldPassword, const std::string& newPassword,
                                         const RekeyObserver& observer = {}, const RekeyTarget& target = {});
// What to tell the user about the versions a password change kept beside their entries: empty
// when there are none.
std::string KeptVersionsNotice(const std::vector<KeptVersion>& kept);

// Finishes a committed re-keying or undoes one that was not committed. Returns whether a
// journal was found. Throws quillory::Error when a step fails; the journal then stays for the
// next start.
// Entries changed elsewhere since they were staged are kept beside as ProcessPassword does, and
// named in `kept` when given.
bool RecoverPasswordChange(const RekeyObserver& observer = {}, std::vector<KeptVersion>* kept = nullptr);

} // namespace quillory
