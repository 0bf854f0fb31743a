// Entry files read and written through memory.
#include "app/EntryFiles.h"

#include "app/Crypt.h"
#include "app/EntryStore.h"
#include "platform/AtomicWrite.h"
#include "platform/Error.h"
#include "platform/Files.h"

#include <fstream>
#include <iterator>

namespace quillory {

std::string ReadEntry(Day day, std::string_view password)
{
    const std::string name = GetCurrentDateFileName(day);
    const auto path = FindNoCase(name).value_or(std::filesystem::path(name));
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw Error(FormatMessage("Cannot open file %s", name));
    std::string bytes;
    try {
        // In blocks, not character by character: the search across entries reads thousands.
        char block[16384];
        while (in.read(block, sizeof block) || in.gcount() > 0)
            bytes.append(block, std::size_t(in.gcount()));
    } catch (const std::exception&) {
        in.setstate(std::ios::badbit);  // the stream buffer reports a failed read by throwing
    }
    if (in.bad())
        throw Error(FormatMessage("Cannot open file %s", name));
    return password.empty() ? bytes : DecipherBuffer(bytes, password);
}

void WriteEntry(Day day, std::string_view content, std::string_view password)
{
    const std::string name = GetCurrentDateFileName(day);
    const std::string bytes = password.empty() ? std::string(content) : EncipherBuffer(content, password);
    if (!WriteFileAtomically(PathForWriting(name), bytes))
        throw Error(FormatMessage("Cannot create file %s", name));
}

void DeleteEntry(Day day)
{
    const std::string name = GetCurrentDateFileName(day);
    if (!RemoveFileNoCase(name))
        throw Error(FormatMessage("Cannot delete file %s", name));
}

} // namespace quillory
