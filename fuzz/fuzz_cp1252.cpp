// UTF-8 from outside (clipboard, file names, command lines) into cp1252 and back: malformed
// input is refused, never misread, and whatever converts comes back unchanged.
#include "platform/Cp1252.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto decoded = quillory::DecodeUtf8(input);
    if (decoded && quillory::EncodeUtf8(*decoded) != input)
        std::abort();  // strict UTF-8 has one spelling per text
    if (const auto bytes = quillory::Utf8ToCp1252(input)) {
        if (!decoded || quillory::Cp1252ToUtf8(*bytes) != input)
            std::abort();
    }
    const auto lossy = quillory::Utf8ToCp1252Lossy(input);
    if (lossy.size() > input.size())
        std::abort();
    // Any bytes read as cp1252 survive the trip through UTF-8.
    if (quillory::Utf8ToCp1252(quillory::Cp1252ToUtf8(input)) != input)
        std::abort();
    return 0;
}
