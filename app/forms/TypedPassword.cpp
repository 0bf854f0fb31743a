// Typed passwords as bytes.
#include "app/forms/TypedPassword.h"

#include "platform/qt/QtCp1252.h"
#include "platform/qt/QtText.h"

namespace quillory {

std::optional<std::string> TypedPassword(const QString& text, Scheme scheme)
{
    if (scheme == Scheme::Legacy)
        return QStringToCp1252(text);
    return QStringToText(text);
}

} // namespace quillory
