// The importers: each reads what another diary program writes (or its export) into an
// ImportSource. Every one is total on hostile input: it throws quillory::Error for a source it
// cannot read at all, and names each record it cannot take in the source's problems.
#pragma once

#include "app/import/ImportedEntry.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace quillory {

// jrnl's JSON export: {"tags": {...}, "entries": [{"title", "body", "date", "time", "tags",
// "starred"}]}. Title and body together are the text; "@tag" in the text becomes "#tag".
ImportSource ReadJrnlJson(std::string_view json, const ImportLimits& limits = {});
ImportSource ReadJrnlFile(const std::filesystem::path& file, const ImportLimits& limits = {});

// A Day One export (a zip of "<journal>.json" files and "photos/<md5>.<type>"): each entry on
// the local day of its time zone, its Markdown text with its photos in place.
ImportSource ReadDayOneZip(const std::filesystem::path& file, const ImportLimits& limits = {});
ImportSource ReadDayOneBytes(std::string bytes, const ImportLimits& limits = {});

// A RedNotebook data folder: "YYYY-MM.txt" month files of YAML with txt2tags text.
ImportSource ReadRedNotebookFolder(const std::filesystem::path& folder, const ImportLimits& limits = {});
// One month file's bytes; pictures are looked for on disk by the paths the text names.
void ReadRedNotebookMonth(int year, int month, std::string_view yaml, ImportSource& into,
                          const ImportLimits& limits = {});

// An Almanah database (diary.db): entries with their XML text, tags and importance.
ImportSource ReadAlmanahDatabase(const std::filesystem::path& file, const ImportLimits& limits = {});
ImportSource ReadAlmanahBytes(std::string_view bytes, const ImportLimits& limits = {});

// A folder of Markdown notes named by a date pattern (default "YYYY-MM-DD.md"; the pattern may
// hold '/', as "YYYY/MM/DD.md"), in any subfolder.
ImportSource ReadMarkdownFolder(const std::filesystem::path& folder, std::string_view pattern = {},
                                const ImportLimits& limits = {});
// One note's text as an entry of `day`; pictures are looked for beside `file`.
ImportedEntry MarkdownNote(Day day, std::string_view markdown, const std::filesystem::path& file,
                           std::vector<std::string>& problems);

// A folder of plain text files named by their day ("YYYY-MM-DD.txt", "YYYYMMDD.txt").
ImportSource ReadTextFolder(const std::filesystem::path& folder, const ImportLimits& limits = {});

} // namespace quillory
