// Arbitrary bytes as a text file named by its day: read as UTF-8 or cp1252 into paragraphs of
// an entry that the engine then reads.
#include "ImportedEntries.h"
#include "app/import/ImportSources.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace quillory;
    namespace fs = std::filesystem;
    // The importer reads a folder; each run writes the one file into a folder of this process,
    // removed when it ends.
    struct Folder {
        fs::path path = fs::temp_directory_path() / ("fuzz_import_text." + std::to_string(::getpid()));
        Folder() { fs::create_directories(path); }
        ~Folder()
        {
            std::error_code ignored;
            fs::remove_all(path, ignored);
        }
    };
    static const Folder scratch;
    const fs::path& folder = scratch.path;
    {
        std::ofstream out(folder / "2022-01-02.txt", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    try {
        MakeEntries(ReadTextFolder(folder));
    } catch (const Error&) {
    }
    return 0;
}
