// Bringing what an importer read into the diary: the entries of one day together (oldest
// first), the rule for days that have an entry already, enciphering in memory when the diary
// has a password, and the all-or-nothing arrival through EntrySwap. The report says what
// became of every day and every item that could not be taken.
#pragma once

#include "app/DiarySecurity.h"
#include "app/ImportSwap.h"
#include "app/import/ImportedEntry.h"
#include "platform/Error.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

// What happens to a day that has an entry already.
enum class ConflictRule {
    Append,   // the imported text goes below a separator line, after what is there
    Skip,     // the day is left as it is
    Replace,  // the imported text takes the entry's place (asked for only after a confirmation)
};
// "append", "skip", "replace"; false for any other word.
bool ConflictRuleNamed(std::string_view word, ConflictRule& rule);

struct ImportOptions {
    ConflictRule onConflict = ConflictRule::Append;
    bool dryRun = false;  // work everything out and report it, but write nothing
    DiaryKey key;         // the diary's key: imported entries are enciphered with it in memory
    // Told before each day (done so far, days in all); returning false cancels the import,
    // which then changes nothing.
    std::function<bool(int done, int total)> progress;
    // Test seam: passed on to the swap.
    std::function<void(SwapPoint)> checkpoint;
};

struct ImportReport {
    std::string format;
    int entries = 0;                // source entries taken
    std::vector<Day> created;       // days that had no entry
    std::vector<Day> appended;
    std::vector<Day> replaced;
    std::vector<Day> skipped;
    std::vector<std::string> problems;  // items not taken, one line each
    bool dryRun = false;
    bool cancelled = false;

    int days() const noexcept { return int(created.size() + appended.size() + replaced.size()); }
};

// Raised when the import was cancelled: nothing was written.
class ImportCancelled : public Error {
public:
    using Error::Error;
};

// Writes the source's entries into the diary of the diary folder. Throws quillory::Error when
// an entry cannot be made or written (nothing changed then), ImportCancelled when cancelled.
ImportReport ImportIntoDiary(const ImportSource& source, const ImportOptions& options);

// The report as lines for people: a summary, the days of each kind, then every problem.
std::string ImportReportText(const ImportReport& report);

} // namespace quillory
