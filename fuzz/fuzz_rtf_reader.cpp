// Fuzz target: the RTF reader on any bytes ends with a result, never a crash, hang or bad read.
#include "richtext/rtf/RtfReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

// The records a segment holds as runs are the records of the array built from them.
void CheckRecords(const quillory::TWPRTFText& document)
{
    for (const quillory::TParagraph* p = document.firstParagraph(); p; p = p->next())
        for (const quillory::TTextLine* line = p->firstLine(); line; line = line->next()) {
            if (!line->hasAttributes())
                continue;
            std::vector<quillory::TAttr> seen;
            for (int i = 0; i < line->capacity(); ++i)
                seen.push_back(line->attrAt(i));
            const quillory::TAttr* array = line->attrs();
            for (int i = 0; i < line->capacity(); ++i)
                if (!quillory::sameRecord(array[i], seen[std::size_t(i)]))
                    std::abort();
        }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    quillory::TWPRTFText document;
    quillory::TParagraph* current = document.firstParagraph();
    quillory::TWPRtfReader reader;
    reader.ReadStream(std::span(data, size), &document, &current);
    // Reading into a document that already holds text, as a paste does.
    quillory::TWPRtfReader pasting;
    pasting.keepHeader = true;
    pasting.ReadStream(std::span(data, size), &document, &current);
    CheckRecords(document);
    return 0;
}
