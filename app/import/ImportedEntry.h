// What every importer gives: the entries it read from another diary, each as an HTML fragment
// with its day, time and tags, the pictures those fragments name, and the items it could not
// take. The diary side (DiaryImport) turns them into entry files.
#pragma once

#include "platform/Day.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quillory {

struct ImportedEntry {
    Day day;
    int minute = -1;                // minutes after midnight; -1 when the source has no time
    std::string html;               // the entry's text as an HTML fragment (UTF-8)
    std::vector<std::string> tags;  // without the '#', as the source names them
    std::string origin;             // where it came from, for the report ("2020-07.txt, day 14")
};

// The bytes of a picture that an entry's <img src> names (PNG or JPEG), or nothing when it
// cannot be had any more.
using PictureLoader = std::function<std::optional<std::string>(const std::string& source)>;

struct ImportSource {
    std::string format;  // the source's kind in words ("jrnl JSON")
    std::vector<ImportedEntry> entries;
    PictureLoader picture;
    // Items not taken (a missing picture, an unreadable record, a video), one line each.
    std::vector<std::string> problems;
};

// How much of an outside source an importer reads at most: a hostile file must not take the
// memory or the disk. Sizes in bytes.
struct ImportLimits {
    std::uint64_t maxFileSize = 256ull << 20;     // one JSON, YAML, Markdown, text or database file
    std::uint64_t maxPictureSize = 64ull << 20;   // one picture
    std::uint64_t maxEntries = 1'000'000;         // entries of one source
    std::uint64_t maxArchiveMembers = 100'000;
    std::uint64_t maxArchiveTotal = 8ull << 30;   // the unpacked size a zip may state in all
};

} // namespace quillory
