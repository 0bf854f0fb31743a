// Fuzz target: the RTF reader on any bytes ends with a result, never a crash, hang or bad read,
// and the document it builds holds well-formed UTF-8, each character's bytes under one record.
// Each input is read twice, with runs of \uN read straight from the bytes and token by token,
// which must give the same document: into a new document, or (inputs of odd length) pasted into
// one that holds text already.
#include "platform/Utf8.h"
#include "richtext/model/DocumentDump.h"
#include "richtext/rtf/RtfReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kExisting = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\plain\\f0 Existing {\\b text}\\par more\\par}";

// The records a segment holds as runs are the records of the array built from them. Building
// every segment's array costs far more than reading (a record per character instead of one per
// run), so only the first segments are checked: more than the fuzzer's own inputs of a few
// kilobytes ever hold, and few enough that a large input from outside costs what its reading does.
constexpr int kCheckedSegments = 4096;

void CheckRecords(const quillory::TWPRTFText& document)
{
    int checked = 0;
    for (const quillory::TParagraph* p = document.firstParagraph(); p; p = p->next())
        for (const quillory::TTextLine* line = p->firstLine(); line; line = line->next()) {
            const std::string_view text = line->view();
            if (!quillory::IsWellFormedUtf8(text))
                std::abort();
            if (!line->hasAttributes())
                continue;
            if (++checked > kCheckedSegments)
                return;
            for (std::size_t at = 0; at < text.size(); ++at)
                if (quillory::IsUtf8Continuation(static_cast<unsigned char>(text[at]))
                    && !quillory::sameRecord(line->attrAt(int(at)), line->attrAt(int(at) - 1)))
                    std::abort();
            std::vector<quillory::TAttr> seen;
            seen.reserve(std::size_t(line->capacity()));
            for (int i = 0; i < line->capacity(); ++i)
                seen.push_back(line->attrAt(i));
            const quillory::TAttr* array = line->attrs();
            for (int i = 0; i < line->capacity(); ++i)
                if (!quillory::sameRecord(array[i], seen[std::size_t(i)]))
                    std::abort();
        }
}

// Reads the input into `document` (inputs of odd length pasted after kExisting), with runs of
// \uN read straight from the bytes or token by token; returns the bytes consumed.
std::size_t Read(quillory::TWPRTFText& document, const uint8_t* data, size_t size, bool unicodeRuns)
{
    quillory::TParagraph* current = document.firstParagraph();
    quillory::TWPRtfReader reader;
    reader.unicodeRuns = unicodeRuns;
    if (size % 2 == 1) {
        quillory::TWPRtfReader existing;
        existing.ReadStream(std::span(reinterpret_cast<const uint8_t*>(kExisting.data()), kExisting.size()), &document,
                            &current);
        reader.keepHeader = true;  // as a paste does
    }
    reader.ReadStream(std::span(data, size), &document, &current);
    return reader.consumed();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    quillory::TWPRTFText document;
    const std::size_t consumed = Read(document, data, size, true);
    CheckRecords(document);
    // Both ways of reading \uN give the same document.
    quillory::TWPRTFText tokens;
    if (Read(tokens, data, size, false) != consumed
        || quillory::DumpDocument(document) != quillory::DumpDocument(tokens)
        || quillory::DumpSideLists(document) != quillory::DumpSideLists(tokens)
        || quillory::DumpHeader(document.header()) != quillory::DumpHeader(tokens.header()))
        std::abort();
    for (int i = 0; i < document.header().fontCount(); ++i)
        if (!quillory::IsWellFormedUtf8(document.header().font(i)->name))
            std::abort();
    for (const auto& footnote : document.footnotes())
        if (!quillory::IsWellFormedUtf8(footnote->text))
            std::abort();
    return 0;
}
