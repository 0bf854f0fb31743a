// Export of diary entries into a folder the user picks: one file per entry, named by its day,
// as RTF (the entry's own text, deciphered in memory), plain text, HTML or PDF. Every file is
// written whole, and the summary counts only the files really written.
#pragma once

#include "app/OutputDays.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

// Markdown is one "YYYY-MM-DD.md" per entry with its pictures beside it; JSON is one file,
// "diary.json", holding every entry in jrnl's shape.
enum class ExportFormat { Rtf, Text, Html, Pdf, Markdown, Json };

// "rtf", "text" (or "txt"), "html" (or "htm"), "pdf", "markdown" (or "md"), "json"; false for
// any other word.
bool ExportFormatNamed(std::string_view word, ExportFormat& format);
// "19981015.RTF", "19981015.txt", "19981015.html", "19981015.pdf", "1998-10-15.md", and for
// JSON the one file "diary.json".
std::string ExportFileName(Day day, ExportFormat format);

// Makes the bytes of one output file from the entry's plain RTF. Throws on failure.
using EntryRenderer = std::function<std::string(Day day, std::string_view rtf)>;

struct ExportSettings {
    DayRange days;
    std::string folder;  // the output folder, ending with '/'
    ExportFormat format = ExportFormat::Rtf;
    std::string password;
    // The PDF of one entry; the export of the other formats needs no painting.
    EntryRenderer pdf;
    char dateSeparator = '/';
};

struct ExportFailure {
    Day day;
    std::string message;
};

struct ExportOutcome {
    int written = 0;
    std::vector<ExportFailure> failed;
};

// Told "Processing entry for mm/dd/yyyy" before each entry.
using ExportProgress = std::function<void(const std::string& status)>;

// Writes the file of every entry of the range; an entry that cannot be read or written is
// recorded with its day and the rest go on. The output folder must exist.
ExportOutcome ExportEntries(const ExportSettings& settings, const ExportProgress& progress = {});

// "Saved 3 file(s) as Rich Text Format (RTF)\nto directory: /home/me/export/".
std::string ExportSummary(int written, ExportFormat format, std::string_view folder);
// "These entries could not be exported: 10/15/1998, 10/16/1998", and on the next line what
// went wrong with the first of them.
std::string ExportFailureReport(const std::vector<ExportFailure>& failed, char dateSeparator = '/');

} // namespace quillory
