// cp1252 bytes ⇄ QString, where the document's text meets Qt's widgets, clipboard and painter.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace quillory {

QString Cp1252ToQString(std::string_view bytes);
// Nothing when a character of the text has no cp1252 byte (it is never silently changed).
std::optional<std::string> QStringToCp1252(const QString& text);
// For text that must go on whatever it holds: characters without a byte become `replacement`.
std::string QStringToCp1252Lossy(const QString& text, char replacement = '?');
// The byte of one character; nothing when cp1252 cannot hold it (surrogates included).
std::optional<unsigned char> QCharToCp1252(QChar character);

} // namespace quillory
