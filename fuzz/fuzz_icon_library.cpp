// Arbitrary bytes as an icon file, icon library or program: the icons it claims must all be
// there to take, each a whole single-image icon file, without a read outside the input.
#include "platform/IconExtraction.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace quillory;
    const IconLibrary library(std::vector<std::uint8_t>(data, data + size));
    for (int i = 0; i < library.Count(); ++i) {
        const auto icon = library.IconAt(i);
        if (!icon || icon->size() < 22 || icon->size() > size + 22)
            std::abort();
    }
    return 0;
}
