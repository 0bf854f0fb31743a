// Arbitrary bytes as a Day One export zip: refused with quillory::Error, or read into entries
// (journals and photos within the archive's limits) that the engine then reads as HTML.
#include "ImportedEntries.h"
#include "app/import/ImportSources.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace quillory;
    ImportLimits limits;
    limits.maxArchiveTotal = 64ull << 20;
    try {
        MakeEntries(ReadDayOneBytes(std::string(reinterpret_cast<const char*>(data), size), limits));
    } catch (const Error&) {
    }
    return 0;
}
