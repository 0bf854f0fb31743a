// Fuzz target: the Windows code-page decoder on any bytes gives well-formed UTF-8 without a
// control code the input did not hold. The first byte picks the code page; the rest is fed a
// byte at a time, as RTF gives it, with a flush at the end, and again whole.
#include "platform/CodePages.h"
#include "platform/Utf8.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

constexpr int kPages[] = {874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258};

// A control code (below 0x20, or DEL) in the output that the input did not have.
bool InventsControlCode(std::string_view input, std::string_view output)
{
    for (const char c : output) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 || byte == 0x7F) && input.find(c) == std::string_view::npos)
            return true;
    }
    return false;
}

std::size_t Characters(std::string_view utf8)
{
    std::size_t count = 0;
    for (const char c : utf8)
        count += !quillory::IsUtf8Continuation(static_cast<unsigned char>(c));
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const int page = kPages[data[0] % std::size(kPages)];
    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);

    quillory::CodePageDecoder decoder(page);
    if (decoder.codePage() != page)
        std::abort(); // every page of the list is known
    std::string out;
    for (const char byte : input)
        decoder.Feed(static_cast<uint8_t>(byte), out);
    decoder.Flush(out);
    if (decoder.pending() || !quillory::IsWellFormedUtf8(out) || InventsControlCode(input, out))
        std::abort();
    // A single-byte page gives a character for every byte.
    if (!decoder.doubleByte() && Characters(out) != input.size())
        std::abort();

    const std::string whole = quillory::DecodeCodePage(input, page);
    if (whole != out)
        std::abort();
    return 0;
}
