// The other diaries an import reads, by the words the command line and the window use for them,
// found out from what the user picked, and read into an ImportSource.
#pragma once

#include "app/import/ImportedEntry.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

enum class ImportFormat { Jrnl, DayOne, RedNotebook, Almanah, Markdown, Text };

struct ImportFormatInfo {
    ImportFormat format;
    std::string_view word;         // "jrnl", "dayone", ...
    std::string_view description;  // "jrnl JSON export (.json)"
    bool folder;                   // the source is a folder, not a file
};

const std::vector<ImportFormatInfo>& ImportFormats();
const ImportFormatInfo& InfoOf(ImportFormat format);
std::optional<ImportFormat> ImportFormatNamed(std::string_view word);

// What the file or folder looks like: a .zip is Day One's export, a .json jrnl's, a database
// (SQLite's header) Almanah's; a folder with month files RedNotebook's, one with Markdown
// notes or dated text files those. Nothing when it looks like none of them.
std::optional<ImportFormat> DetectImportFormat(const std::filesystem::path& source);

// Reads the source with the format's importer; `pattern` names Markdown notes (empty: the
// default). Throws quillory::Error when the source cannot be read at all.
ImportSource ReadImportSource(ImportFormat format, const std::filesystem::path& source, std::string_view pattern = {},
                              const ImportLimits& limits = {});

} // namespace quillory
