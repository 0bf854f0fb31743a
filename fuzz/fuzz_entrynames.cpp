// Names found in the Entries folder: any bytes make a day or today, and wildcard matching of
// any name against any pattern ends.
#include "app/EntryStore.h"
#include "platform/Files.h"

#include <cstdint>
#include <cstdlib>
#include <fnmatch.h>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const quillory::Day day = quillory::STOD(input);
    if (day < quillory::Day::First() || day > quillory::Day::Last())
        std::abort();
    // The input split at its first NUL: a name and a pattern.
    const auto split = input.find('\0');
    const auto name = input.substr(0, split);
    const auto pattern = split == std::string_view::npos ? std::string_view("*.QLE") : input.substr(split + 1);
    const bool matches = quillory::MatchesPattern(name, pattern);
    if (pattern == "*" && !matches)
        std::abort();
    // Where the C library's matcher means the same ('*' and '?' only, no brackets, escapes or
    // NULs), both must agree.
    if (pattern.find_first_of(std::string_view("[\\\0", 3)) == std::string_view::npos &&
        matches != (fnmatch(std::string(pattern).c_str(), std::string(name).c_str(),
                            FNM_NOESCAPE | FNM_CASEFOLD) == 0))
        std::abort();
    return 0;
}
