// Fuzz target: whatever document the RTF reader makes of any bytes, once written by the writer,
// reads back into a document that the writer writes to the same bytes again. (The first writing
// may still change a foreign document: a row whose cells do not fill it is scaled, a footnote
// mark becomes superscript.)
#include "richtext/rtf/RtfReader.h"
#include "richtext/rtf/RtfWriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

namespace {

std::string ReadAndWrite(std::span<const uint8_t> bytes)
{
    quillory::TWPRTFText document;
    quillory::TParagraph* current = document.firstParagraph();
    quillory::TWPRtfReader reader;
    try {
        reader.ReadStream(bytes, &document, &current);
    } catch (...) {
        // a partial document is still a document
    }
    int result = -1;
    std::string rtf = quillory::WriteRtf(document, {}, &result);
    if (result != quillory::WriteResult::Ok) {
        std::fprintf(stderr, "writer result %d\n", result);
        std::abort();
    }
    return rtf;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string written = ReadAndWrite(std::span(data, size));
    const std::string first =
        ReadAndWrite(std::span(reinterpret_cast<const uint8_t*>(written.data()), written.size()));
    const std::string second =
        ReadAndWrite(std::span(reinterpret_cast<const uint8_t*>(first.data()), first.size()));
    if (first != second) {
        std::size_t at = 0;
        while (at < first.size() && at < second.size() && first[at] == second[at])
            ++at;
        const std::size_t from = at > 60 ? at - 60 : 0;
        std::fprintf(stderr, "written twice, different at byte %zu:\n1: %s\n2: %s\n", at,
                     first.substr(from, 160).c_str(), second.substr(from, 160).c_str());
        std::abort();
    }
    return 0;
}
