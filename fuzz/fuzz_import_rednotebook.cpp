// Arbitrary bytes as a RedNotebook month file (YAML with txt2tags text): problems are named,
// entries are read within the node budget, and the engine then reads their HTML.
#include "ImportedEntries.h"
#include "app/import/ImportSources.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace quillory;
    ImportSource source;
    ReadRedNotebookMonth(2020, 2, std::string_view(reinterpret_cast<const char*>(data), size), source);
    MakeEntries(source);
    return 0;
}
