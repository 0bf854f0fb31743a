// Text at the command line's edges: UTF-8 outside and inside; passwords still cp1252.
#include "tools/cli/CliText.h"

#include "platform/Cp1252.h"
#include "platform/Utf8.h"
#include "richtext/model/Attr.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace quillory::cli {
namespace {

// The first character of the UTF-8 text that cp1252 has no byte for, as "U+20AC".
std::string FirstUnheld(std::u32string_view text)
{
    for (const char32_t c : text) {
        if (!HasCp1252Byte(c)) {
            char name[16];
            std::snprintf(name, sizeof name, "U+%04X", unsigned(c));
            return name;
        }
    }
    return {};
}

// The bytes that stand for themselves in UTF-8 and ask for no care: ASCII but for the
// placeholders, NUL and CR. A table, since every byte of the text is looked up.
constexpr std::array<bool, 256> kPlainAscii = [] {
    std::array<bool, 256> plain{};
    for (int c = CharCode::Reserved + 1; c < 0x80; ++c)
        plain[std::size_t(c)] = c != '\r';
    return plain;
}();

// How many bytes from `bytes` on are plain ASCII, eight at a time while none of the eight asks
// for care: a byte with the high bit, one below 4 (NUL and the placeholders) or a CR stops the
// fast steps (the usual tests for a byte below n and a byte equal to n, on eight at once), and
// the last stretch is looked up byte by byte.
std::size_t PlainAsciiLength(std::string_view bytes) noexcept
{
    constexpr std::uint64_t ones = 0x0101010101010101ull;
    constexpr std::uint64_t highs = 0x8080808080808080ull;
    std::size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) {
        std::uint64_t x;
        std::memcpy(&x, bytes.data() + at, 8);
        const std::uint64_t belowFour = (x - ones * (CharCode::Reserved + 1)) & ~x;
        const std::uint64_t returns = x ^ (ones * '\r');
        if ((x | belowFour | ((returns - ones) & ~returns)) & highs)
            break;
    }
    while (at < bytes.size() && kPlainAscii[static_cast<unsigned char>(bytes[at])])
        ++at;
    return at;
}

} // namespace

std::string PlainTextForPeople(std::string_view writerOutput)
{
    // One pass straight into UTF-8: the output of a large document is not copied once more.
    std::string text;
    text.reserve(writerOutput.size());
    PeopleTextEncoder encoder;
    encoder.Encode(writerOutput, text);
    encoder.Finish(text);
    return text;
}

void PeopleTextEncoder::Encode(std::string_view writerOutput, std::string& text)
{
    if (writerOutput.empty())
        return;
    if (heldReturn_) {
        heldReturn_ = false;
        if (writerOutput.front() != '\n')
            text += '\r';
    }
    for (std::size_t i = 0; i < writerOutput.size(); ++i) {
        // Printable ASCII, most of any text, goes over as it is, a stretch at a time.
        const std::size_t end = i + PlainAsciiLength(writerOutput.substr(i));
        if (end > i) {
            text.append(writerOutput.substr(i, end - i));
            if (end == writerOutput.size())
                break;
            i = end;
        }
        const auto c = static_cast<unsigned char>(writerOutput[i]);
        if (c == 0 || c == CharCode::Object || c == CharCode::ObjectSecond || c == CharCode::Reserved)
            continue;
        if (c == '\r') {
            if (i + 1 == writerOutput.size()) {
                heldReturn_ = true;
                continue;
            }
            if (writerOutput[i + 1] == '\n')
                continue;  // CR LF becomes LF
        }
        text += char(c); // the document's text is UTF-8 already
    }
}

void PeopleTextEncoder::Finish(std::string& text)
{
    if (heldReturn_)
        text += '\r';
    heldReturn_ = false;
}

std::string PlainTextForEngine(std::string_view input)
{
    // The engine's text reader knows CR LF as the paragraph end; a Unix text ends lines with LF.
    std::string lines;
    lines.reserve(input.size());
    for (std::size_t i = 0; i < input.size(); ++i) {
        if (input[i] == '\n' && (i == 0 || input[i - 1] != '\r'))
            lines += '\r';
        lines += input[i];
    }
    if (!IsWellFormedUtf8(lines))
        lines = Cp1252ToUtf8(lines);
    if (lines.starts_with("\xEF\xBB\xBF"))
        lines.erase(0, 3);
    return lines;
}

std::optional<std::string> ArgumentForEngine(std::string_view argument, std::string& problem)
{
    const auto decoded = DecodeUtf8(argument);
    if (!decoded) {
        problem = "not UTF-8 text: " + std::string(argument);
        return std::nullopt;
    }
    if (auto bytes = U32ToCp1252(*decoded))
        return bytes;
    problem = "\"" + std::string(argument) + "\" holds a character the diary cannot keep (" + FirstUnheld(*decoded) + ")";
    return std::nullopt;
}

} // namespace quillory::cli
