// Printing diary entries on a print device: each entry as a print job of its own under a page
// header with its long date and a footer line, or all of them merged into one job, packed one
// below the other under dated headings.
#pragma once

#include "app/OutputDays.h"
#include "richtext/edit/EditorCore.h"
#include "richtext/layout/PrintDevice.h"

#include <functional>
#include <string>
#include <string_view>

namespace quillory {

// The status texts of a print run, as the status window shows them.
inline constexpr std::string_view kPrintingStatus = "Printing";
inline constexpr std::string_view kPrintedStatus = "Printed ";
inline constexpr std::string_view kCompletedStatus = "Completed";
inline constexpr std::string_view kCancelledStatus = "Cancelled";
inline constexpr std::string_view kTooManyPagesStatus = "Error - too many pages";

struct PrintSettings {
    DayRange days;
    bool merged = false;
    std::string password;  // the diary password; empty when entries are plain
    // The day as page headers and headings write it ("Monday, January 4, 2016"), in cp1252.
    std::function<std::string(Day)> longDate;
    char dateSeparator = '/';  // of the "Printed mm/dd/yyyy" lines
    ClearDefaults defaults;    // the font of entries kept as plain text
    // Margins in inches; the page header and footer live in the top and bottom ones.
    double topMargin = 1.0;
    double leftMargin = 1.0;
    double rightMargin = 1.0;
    double bottomMargin = 1.0;
};

enum class PrintEnd { Completed, Cancelled, Failed };

struct PrintOutcome {
    PrintEnd end = PrintEnd::Completed;
    std::string status;  // the last status text: "Completed", "Cancelled" or the error
    int entriesPrinted = 0;
};

// Told "Printed mm/dd/yyyy" after each day with an entry; returns true to stop (Cancel). A
// cancelled separate run keeps the jobs already printed; a cancelled merged run aborts its job.
// A failure (an entry that cannot be read, a printer that refuses) ends the run with
// "Error - too many pages" and, on a second line, what really failed.
using AfterPrintedDay = std::function<bool(const std::string& status)>;
PrintOutcome PrintEntries(PrintDevice& device, const PrintSettings& settings, const AfterPrintedDay& afterDay);

// The pages of one entry in the separate layout, as a job of its own; false when the entry is
// empty and nothing was printed. Throws quillory::Error when the device refuses.
bool PrintEntryPages(PrintDevice& device, Day day, std::string_view entry, const PrintSettings& settings);

} // namespace quillory
