// Text of any bytes through the text seam: every walk over characters and grapheme clusters
// advances and ends at the text's end, folding keeps a map back to every byte, and repaired text
// is well-formed UTF-8.
#include "platform/UnicodeText.h"
#include "platform/Utf8.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

using namespace quillory;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::size_t> forward{0};
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t next = NextGraphemeBoundary(text, at);
        if (next <= at || next > text.size() || PrevGraphemeBoundary(text, next) > at)
            std::abort();
        if (CharBoundaryAtOrBefore(text, next) != next && next != text.size())
            std::abort(); // a cluster never ends inside a character
        forward.push_back(at = next);
    }
    // A caret stops at the same places going left as going right, and any place snaps back to
    // the start of its cluster.
    std::size_t index = forward.size() - 1;
    for (std::size_t at = text.size(); at > 0;) {
        const std::size_t before = PrevGraphemeBoundary(text, at);
        if (before >= at || index == 0 || forward[--index] != before)
            std::abort();
        at = before;
    }
    index = 0;
    for (std::size_t at = 0; at <= text.size(); ++at) {
        while (index + 1 < forward.size() && forward[index + 1] <= at)
            ++index;
        if (GraphemeBoundaryAtOrBefore(text, at) != forward[index])
            std::abort();
    }
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t next = NextWordBoundary(text, at);
        if (next <= at || next > text.size())
            std::abort();
        at = next;
    }
    const FoldedText folded = FoldCaseKeepingOffsets(text);
    if (folded.origin.size() != folded.text.size() + 1 || folded.origin.back() != int(text.size()))
        std::abort();
    if (!IsWellFormedUtf8(RepairUtf8(text)))
        std::abort();
    return 0;
}
