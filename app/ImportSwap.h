// Bringing a batch of new entry files into the diary all or nothing: each file is written whole
// into a staging folder beside Entries, a journal then commits the batch, and only after that
// is each staged file renamed over its place in Entries. A crash before the journal leaves the
// diary as it was (the next start drops the staging folder); one after it is finished by the
// next start, each rename being skipped once done.
#pragma once

#include "platform/Day.h"

#include <functional>
#include <string>
#include <string_view>

namespace quillory {

// The places where a swap can be interrupted, each after its step.
enum class SwapPoint {
    Staged,     // every file is in the staging folder
    Committed,  // the journal says the swap happens
    Moved,      // the staged files are in Entries
    Finished,   // the staging folder and the journal are gone
};

// DiaryFolder() + "Entries.import/" and + "Importing.ini".
std::string ImportStagingFolder();
std::string ImportJournalFileName();

// One batch. Stage() every day's stored bytes (already enciphered when the diary has a
// password), then Commit(), or Drop() to give it up. A batch left otherwise is what a crash
// leaves: the next start drops it.
class EntrySwap {
public:
    // Test seam, called at every SwapPoint. Throwing quillory::Error there acts as a failure of
    // that step; throwing anything else leaves everything as a crash at that moment would.
    std::function<void(SwapPoint)> checkpoint;

    // Settles an earlier swap that a crash interrupted, then starts an empty staging folder.
    // Throws quillory::Error when the folder cannot be made.
    EntrySwap();
    ~EntrySwap() = default;
    EntrySwap(const EntrySwap&) = delete;
    EntrySwap& operator=(const EntrySwap&) = delete;

    // Writes the entry of `day` into the staging folder. Throws quillory::Error on failure.
    void Stage(Day day, std::string_view stored);
    int staged() const noexcept { return staged_; }
    // Flushes the staged files, writes the journal and moves every staged file into Entries
    // (replacing the day's entry file, whatever the case of its name). Throws quillory::Error
    // when the batch could not be committed (nothing changed then), or when it was committed but
    // could not be finished (the next start finishes it).
    void Commit();
    // Removes the staging folder of a batch not committed.
    void Drop() noexcept;

private:
    int staged_ = 0;
    bool committed_ = false;
};

// Finishes a committed swap or drops the staging of one that was not committed. Returns
// whether anything was found. Throws quillory::Error when a step fails.
bool RecoverImport(const std::function<void(SwapPoint)>& checkpoint = {});

} // namespace quillory
