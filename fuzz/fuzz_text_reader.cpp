// Fuzz target: the plain-text reader on any bytes.
#include "richtext/text/TextReader.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    quillory::TWPRTFText document;
    quillory::TParagraph* current = document.firstParagraph();
    quillory::TWPTextReader reader;
    reader.ReadStream(std::span(data, size), &document, &current);
    document.setMemoryFormat(quillory::MemoryFormat::fmPlainText);
    reader.ReadStream(std::span(data, size), &document, nullptr);
    return 0;
}
