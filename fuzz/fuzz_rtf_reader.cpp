// Fuzz target: the RTF reader on any bytes ends with a result, never a crash, hang or bad read,
// and the document it builds holds well-formed UTF-8, each character's bytes under one record.
#include "platform/Utf8.h"
#include "richtext/rtf/RtfReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

namespace {

// The records a segment holds as runs are the records of the array built from them; its text is
// well-formed UTF-8 and the bytes of a character share a record.
void CheckRecords(const quillory::TWPRTFText& document)
{
    for (const quillory::TParagraph* p = document.firstParagraph(); p; p = p->next())
        for (const quillory::TTextLine* line = p->firstLine(); line; line = line->next()) {
            const std::string_view text = line->view();
            if (!quillory::IsWellFormedUtf8(text))
                std::abort();
            if (!line->hasAttributes())
                continue;
            for (std::size_t at = 0; at < text.size(); ++at)
                if (quillory::IsUtf8Continuation(static_cast<unsigned char>(text[at]))
                    && !quillory::sameRecord(line->attrAt(int(at)), line->attrAt(int(at) - 1)))
                    std::abort();
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
    for (int i = 0; i < document.header().fontCount(); ++i)
        if (!quillory::IsWellFormedUtf8(document.header().font(i)->name))
            std::abort();
    for (const auto& footnote : document.footnotes())
        if (!quillory::IsWellFormedUtf8(footnote->text))
            std::abort();
    return 0;
}
