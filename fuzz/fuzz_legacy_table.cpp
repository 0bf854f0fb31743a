// Arbitrary bytes as the old diary's table and memo file: three bytes of table length
// (little-endian), a byte that is 1 when there is no memo file, the table, then the memo file. Opening either fails with LegacyTableError or
// gives a table whose every record, field and memo can be read, each failing only that way.
#include "app/legacy/LegacyConversion.h"
#include "app/legacy/LegacyTable.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace quillory;
    if (size < 4)
        return 0;
    const std::size_t tableSize = std::size_t(data[0]) | std::size_t(data[1]) << 8 | std::size_t(data[2]) << 16;
    const char* bytes = reinterpret_cast<const char*>(data + 4);
    const std::size_t rest = size - 4;
    const std::size_t split = tableSize < rest ? tableSize : rest;
    std::optional<std::string> memo;
    if (data[3] == 0)
        memo = std::string(bytes + split, rest - split);
    try {
        const LegacyTable table(std::string(bytes, split), memo);
        for (std::uint32_t record = 0; record < table.RecordCount(); ++record) {
            table.IsDeleted(record);
            for (const LegacyField& field : table.Fields()) {
                const std::string text = table.ReadTrimString(record, field);
                if (text.size() > std::size_t(field.width))
                    std::abort();
                DayFromLegacyDate(text);
                try {
                    const std::string entry = table.ReadMemo(record, field);
                    if (entry.find('\0') != std::string::npos || entry.size() > size)
                        std::abort();
                    UniformLineBreaks(entry);
                } catch (const LegacyTableError&) {
                }
            }
        }
    } catch (const LegacyTableError&) {
    }
    return 0;
}
