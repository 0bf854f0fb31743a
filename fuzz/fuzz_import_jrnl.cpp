// Arbitrary bytes as jrnl's JSON export: refused with quillory::Error, or read into entries
// that the engine then reads as HTML.
#include "ImportedEntries.h"
#include "app/import/ImportSources.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace quillory;
    try {
        MakeEntries(ReadJrnlJson(std::string_view(reinterpret_cast<const char*>(data), size)));
    } catch (const Error&) {
    }
    return 0;
}
