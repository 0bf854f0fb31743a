// For the importers' fuzz targets: every entry an importer gave made into an entry's RTF, as an
// import does, so that the HTML it built is read back by the engine too.
#pragma once

#include "app/import/ImportHtml.h"
#include "platform/Error.h"

#include <cstddef>

inline void MakeEntries(const quillory::ImportSource& source)
{
    using namespace quillory;
    std::size_t made = 0;
    for (const ImportedEntry& entry : source.entries) {
        if (++made > 64)
            break;
        try {
            EntryRtf({}, DayHtml({&entry}), source.picture);
        } catch (const Error&) {
        }
    }
}
