// The document's UTF-8 text ⇄ QString, where it meets Qt's widgets, clipboard and painter.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace quillory {

// Malformed bytes become U+FFFD.
QString TextToQString(std::string_view utf8);
// Every character is kept; an unpaired surrogate becomes U+FFFD.
std::string QStringToText(const QString& text);

} // namespace quillory
