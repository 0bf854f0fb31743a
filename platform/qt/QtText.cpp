// UTF-8 on both sides of the seam; Qt's own converters do the work.
#include "platform/qt/QtText.h"

#include "platform/Utf8.h"

namespace quillory {

QString TextToQString(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

std::string QStringToText(const QString& text)
{
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size())));
}

} // namespace quillory
