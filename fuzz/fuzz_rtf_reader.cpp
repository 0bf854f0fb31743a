// Fuzz target: the RTF reader on any bytes ends with a result, never a crash, hang or bad read.
#include "richtext/rtf/RtfReader.h"

#include <cstddef>
#include <cstdint>
#include <span>

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
    return 0;
}
