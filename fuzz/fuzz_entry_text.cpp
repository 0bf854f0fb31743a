// Fuzz target: the search's text pass over entries ends on any bytes, never a crash, hang or bad
// read, and gives the paragraphs the RTF reader builds from the same bytes.
#include "app/EntryText.h"
#include "richtext/model/Document.h"
#include "richtext/rtf/RtfReader.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace {

std::vector<std::string> NonEmpty(std::vector<std::string> paragraphs)
{
    std::erase_if(paragraphs, [](const std::string& p) { return p.empty(); });
    return paragraphs;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> bytes(data, size);
    std::vector<std::string> passed;
    quillory::ForEachRtfParagraph(bytes, [&](std::string_view text) {
        passed.emplace_back(text);
        return false;
    });
    quillory::ForEachEntryParagraph(bytes, [](std::string_view) { return false; });

    quillory::TWPRTFText document;
    quillory::TParagraph* current = document.firstParagraph();
    quillory::TWPRtfReader reader;
    try {
        reader.ReadStream(bytes, &document, &current);
    } catch (...) {
        return 0;  // the reader stopped at an internal limit: nothing to compare
    }
    std::vector<std::string> read;
    for (const quillory::TParagraph* p = document.firstParagraph(); p; p = p->next())
        read.push_back(p->text());
    if (NonEmpty(passed) != NonEmpty(read))
        __builtin_trap();
    return 0;
}
