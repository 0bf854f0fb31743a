// HTML from outside (files, the clipboard): any bytes read into a document end without a crash,
// a hang or a read out of bounds, the text read is UTF-8 whatever the page's encoding, and what
// was read can be written as HTML and read again.
#include "platform/Utf8.h"
#include "richtext/html/HtmlReader.h"
#include "richtext/html/HtmlWriter.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace quillory;
    TWPRTFText document;
    TParagraph* current = document.firstParagraph();
    TWPHTMLReader reader;
    reader.filePath = "/nonexistent/";
    try {
        reader.ReadStream(std::string_view(reinterpret_cast<const char*>(data), size), &document, &current);
    } catch (const std::exception&) {
        return 0; // a fixed message of the model's limits; the document keeps what was read
    }
    // Object placeholders only ever come from pictures.
    for (const TParagraph* p = document.firstParagraph(); p; p = p->next()) {
        if (!IsWellFormedUtf8(p->text()))
            std::abort();
        for (const TTextLine* line = p->firstLine(); line; line = line->next()) {
            for (int i = 0; i < line->length(); ++i) {
                const unsigned char c = line->code(i);
                if ((c == 0 || c == 2 || c == 3 || c == 13)
                    || (c == 1 && !line->attrs()[i].hasFlag(AttrFlag::Object)))
                    std::abort();
            }
        }
    }
    const std::string html = WriteHtml(document);
    if (!IsWellFormedUtf8(html))
        std::abort();
    TWPRTFText again;
    TParagraph* start = again.firstParagraph();
    TWPHTMLReader second;
    second.ReadStream(html, &again, &start);
    return 0;
}
