// Arbitrary bytes as a sealed entry file and as QL.INI's security record: nothing opens that
// was not sealed with the key, and reading never crashes or reads out of bounds.
#include "app/DiarySecurity.h"
#include "app/StrongCipher.h"
#include "platform/IniFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace quillory;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    static const strong::SecretKey key;  // all zeros: the fuzzer cannot find a valid tag
    if (strong::Open(key, "20261206", bytes))
        std::abort();
    (void)strong::LooksSealed(bytes);

    // The record's limits are only read, never spent: a derivation here would be too slow.
    const DiarySecurity security = ReadDiarySecurity(IniFile::FromText(bytes));
    if (security.scheme == Scheme::Strong && strong::AcceptableLimits(security.limits)
        && security.limits.mem > (std::size_t{1} << 30))
        std::abort();
    IniFile copy = IniFile::FromText("");
    WriteDiarySecurity(copy, security);
    if (!(ReadDiarySecurity(IniFile::FromText(copy.Text())) == security))
        std::abort();
    return 0;
}
