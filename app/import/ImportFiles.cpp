// Bounded file reading and date texts for the importers.
#include "app/import/ImportFiles.h"

#include "platform/Error.h"

#include <fstream>
#include <iterator>

namespace quillory {

namespace {

std::optional<std::string> ReadBounded(const std::filesystem::path& file, std::uint64_t maxSize, bool& tooLarge)
{
    tooLarge = false;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return std::nullopt;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec)
        return std::nullopt;
    if (size > maxSize) {
        tooLarge = true;
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes(size, '\0');
    in.read(bytes.data(), std::streamsize(size));
    bytes.resize(std::size_t(in.gcount()));
    return bytes;
}

int Digits(std::string_view text, std::size_t from, std::size_t count)
{
    if (from + count > text.size())
        return -1;
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

std::string ReadSourceFile(const std::filesystem::path& file, std::uint64_t maxSize)
{
    bool tooLarge = false;
    auto bytes = ReadBounded(file, maxSize, tooLarge);
    if (tooLarge)
        throw Error(file.string() + " is larger than an import takes");
    if (!bytes)
        throw Error(FormatMessage("Cannot open file %s", file.string()));
    return std::move(*bytes);
}

std::optional<std::string> ReadPictureFile(const std::filesystem::path& file, std::uint64_t maxSize)
{
    bool tooLarge = false;
    return ReadBounded(file, maxSize, tooLarge);
}

std::optional<Day> DayFromIso(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const int year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
    if (year < 1 || month < 0 || day < 0)
        return std::nullopt;
    return Day::FromDate(year, month, day);
}

int MinuteFromClock(std::string_view text)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon > 2)
        return -1;
    const int hour = Digits(text, 0, colon), minute = Digits(text, colon + 1, 2);
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59)
        return -1;
    if (colon + 3 < text.size() && text[colon + 3] != ':')
        return -1;
    return hour * 60 + minute;
}

} // namespace quillory
