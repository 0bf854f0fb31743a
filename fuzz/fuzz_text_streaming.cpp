// Fuzz target: text written while reading streams (each paragraph handed over and let go) is
// the text written from the whole document read first, for any bytes in any format.
#include "richtext/io/DocumentFormat.h"
#include "richtext/text/TextWriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>

namespace {

// The plain text of the input read whole; nothing when reading throws.
std::optional<std::string> TextOfWholeDocument(std::span<const uint8_t> input)
{
    quillory::TWPRTFText document;
    try {
        quillory::LoadDocument(document, input);
    } catch (...) {
        return std::nullopt;
    }
    return quillory::WritePlainText(document);
}

std::optional<std::string> TextWhileReading(std::span<const uint8_t> input)
{
    quillory::TWPRTFText document;
    quillory::TWPStringStream stream;
    quillory::TWPTextStreamWriter writer(document, stream);
    try {
        quillory::StreamDocument(document, input, writer);
    } catch (...) {
        return std::nullopt;
    }
    writer.Finish();
    return stream.take();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span input(data, size);
    if (TextOfWholeDocument(input) != TextWhileReading(input))
        std::abort();
    return 0;
}
