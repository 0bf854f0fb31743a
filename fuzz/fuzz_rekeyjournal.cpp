// Arbitrary bytes as the password-change journal: reading never fails, and what is read
// writes back to a journal that reads the same.
#include "app/PasswordChange.h"
#include "platform/IniFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace quillory;
    IniFile file = IniFile::FromText(std::string_view(reinterpret_cast<const char*>(data), size));
    const RekeyJournal journal = ReadRekeyJournal(file);
    WriteRekeyJournal(file, journal);
    if (!(ReadRekeyJournal(IniFile::FromText(file.Text())) == journal))
        std::abort();
    return 0;
}
