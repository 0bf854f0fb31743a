// Fuzz target: the plain-text reader on any bytes. Whatever they are (UTF-8 or an older copy's
// cp1252), the document holds UTF-8 and no segment begins inside a character.
#include "platform/Utf8.h"
#include "richtext/text/TextReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

void CheckText(const quillory::TWPRTFText& document)
{
    for (const quillory::TParagraph* p = document.firstParagraph(); p; p = p->next()) {
        if (!quillory::IsWellFormedUtf8(p->text()))
            std::abort();
        for (const quillory::TTextLine* line = p->firstLine(); line; line = line->next())
            if (line->length() > 0 && quillory::IsUtf8Continuation(static_cast<unsigned char>(line->text()[0])))
                std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    quillory::TWPRTFText document;
    quillory::TParagraph* current = document.firstParagraph();
    quillory::TWPTextReader reader;
    reader.ReadStream(std::span(data, size), &document, &current);
    CheckText(document);
    document.setMemoryFormat(quillory::MemoryFormat::fmPlainText);
    reader.ReadStream(std::span(data, size), &document, nullptr);
    CheckText(document);
    return 0;
}
