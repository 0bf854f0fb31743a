// Arbitrary bytes as a daily note: the first line "PATTERN<TAB>PATH" is a date pattern and a
// note's path matched against it (a pattern without a date is refused with quillory::Error);
// the rest is the note, front matter and Markdown, made into an entry that the engine reads.
// Pictures are looked for in a folder that does not exist.
#include "ImportedEntries.h"
#include "app/import/DatePattern.h"
#include "app/import/ImportSources.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace quillory;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t line = bytes.find('\n');
    if (line != std::string_view::npos) {
        const std::string_view first = bytes.substr(0, line);
        const std::size_t tab = first.find('\t');
        if (tab != std::string_view::npos && first.size() < 4096) {
            try {
                DatePattern(first.substr(0, tab)).Match(first.substr(tab + 1));
            } catch (const Error&) {
            }
        }
        bytes.remove_prefix(line + 1);
    }
    ImportSource source;
    source.entries.push_back(MarkdownNote(*Day::FromDate(2023, 5, 15), bytes, "/nonexistent-folder/2023-05-15.md",
                                          source.problems));
    MakeEntries(source);
    return 0;
}
