// NFC through ICU's normalizer, by way of UTF-16.
#include "platform/NormalForm.h"

#include "platform/Utf8.h"

#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <climits>

namespace quillory {

std::string ComposedNormalForm(std::string_view utf8)
{
    const bool ascii = std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii || utf8.size() > INT_MAX / 4 || !IsWellFormedUtf8(utf8))
        return std::string(utf8);
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
    if (U_FAILURE(status))
        return std::string(utf8);
    // Every byte makes at most one UTF-16 unit.
    std::u16string wide(utf8.size(), u'\0');
    std::int32_t wideLength = 0;
    u_strFromUTF8(wide.data(), std::int32_t(wide.size()), &wideLength, utf8.data(), std::int32_t(utf8.size()), &status);
    if (U_FAILURE(status))
        return std::string(utf8);
    wide.resize(std::size_t(wideLength));
    // A few characters that NFC never composes back grow when decomposed: measured first then.
    std::u16string composed(wide.size(), u'\0');
    std::int32_t composedLength = unorm2_normalize(nfc, wide.data(), std::int32_t(wide.size()), composed.data(),
                                                   std::int32_t(composed.size()), &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        status = U_ZERO_ERROR;
        composed.assign(std::size_t(composedLength), u'\0');
        composedLength = unorm2_normalize(nfc, wide.data(), std::int32_t(wide.size()), composed.data(),
                                          std::int32_t(composed.size()), &status);
    }
    if (U_FAILURE(status))
        return std::string(utf8);
    composed.resize(std::size_t(composedLength));
    return Utf16ToUtf8(composed);
}

} // namespace quillory
