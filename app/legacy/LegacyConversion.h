// The one-time conversion of the old single-table diary (QUILLOR.DBF with QUILLOR.FPT) into one
// entry file per day, all or nothing:
//   1. every live record whose DATE names a calendar day becomes its entry, in memory; a later
//      record of the same day replaces an earlier one; a record whose memo an earlier record
//      used already comes without it (the table is damaged there);
//   2. when the disk has room for them all, the entry files are written (enciphered in memory
//      when the diary has a password) into a staging folder beside Entries;
//   3. only when every entry is written does the staging folder become Entries, by rename.
// A failure or a crash before step 3 leaves no Entries folder, so the conversion is offered
// again at the next start; a leftover staging folder is cleared then. The table files are only
// read.
#pragma once

#include "platform/Day.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quillory {

// DiaryFolder() + "QUILLOR.DBF", + "QUILLOR.FPT", and the staging folder + "Entries.convert/".
std::string LegacyTableFileName();
std::string LegacyMemoFileName();
std::string ConversionStagingFolder();

// Whether an old diary waits to be converted: there is no Entries folder, and both table files
// exist (names in any letter case).
bool LegacyDiaryWaiting();

// The day a DATE value names, only when it is eight digits forming a calendar day. Anything
// else (blanks, path characters, 30 February) names no file: it could not be found again as an
// entry, and "../" in it would write outside Entries.
std::optional<Day> DayFromLegacyDate(std::string_view date);

// Every carriage return not followed by a line feed, and every line feed not preceded by one,
// becomes CR LF; nothing else changes, and nothing is added at the end.
std::string UniformLineBreaks(std::string_view text);

struct ConversionObserver {
    // Called for each record that becomes an entry, in the table's order, before its entry is
    // written. Throwing quillory::Error there acts as a failure of that record (a test seam):
    // the conversion is undone.
    std::function<void(Day day)> processing;
    // The bytes free on the disk that takes the entries (a test seam for a full disk);
    // std::filesystem::space of the diary folder when not set.
    std::function<std::uintmax_t()> freeSpace = nullptr;
};

struct ConversionResult {
    int entriesWritten = 0;  // entry files in the new Entries folder
    int recordsSkipped = 0;  // live records whose DATE names no day (empty ones included)
    // Records converted without their memo because an earlier record used its bytes already: a
    // damaged table, which copied record by record could fill the disk with one memo.
    int recordsWithDamagedMemo = 0;

    bool operator==(const ConversionResult&) const = default;
};

// Converts the old diary of the diary folder with the password stored in QL.INI. Throws
// quillory::Error saying what failed (a damaged table, a disk without room for the entries, a
// file that cannot be written, an Entries folder that exists already) after removing the
// staging folder; Entries then does not exist and the table files are as they were.
ConversionResult ConvertLegacyTable(const ConversionObserver& observer = {});

// The notice after a conversion: the entries written and, when there were any, the records
// that were left out and those converted without their memo.
std::string ConversionDoneNotice(const ConversionResult& result);

} // namespace quillory
