// The Qt side of the cp1252 table: every character of cp1252 lies in the basic plane, so a
// QString of it is one QChar per byte and a surrogate never has a byte.
#include "platform/qt/QtCp1252.h"

#include "platform/Cp1252.h"

namespace quillory {

QString Cp1252ToQString(std::string_view bytes)
{
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char byte : bytes)
        text += QChar(static_cast<char16_t>(Cp1252ToUnicode(static_cast<unsigned char>(byte))));
    return text;
}

std::optional<unsigned char> QCharToCp1252(QChar character)
{
    if (character.isSurrogate())
        return std::nullopt;
    return UnicodeToCp1252(character.unicode());
}

std::optional<std::string> QStringToCp1252(const QString& text)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar character : text) {
        const auto byte = QCharToCp1252(character);
        if (!byte)
            return std::nullopt;
        bytes += static_cast<char>(*byte);
    }
    return bytes;
}

std::string QStringToCp1252Lossy(const QString& text, char replacement)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar character = text.at(at);
        if (character.isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate())
            ++at;  // one character outside the basic plane: one replacement
        const auto byte = QCharToCp1252(character);
        bytes += byte ? static_cast<char>(*byte) : replacement;
    }
    return bytes;
}

} // namespace quillory
