// The message table: one row per message, both languages side by side.
#include "richtext/tools/Messages.h"

#include <array>

namespace quillory {

namespace {

struct MessageRow {
    int number;
    std::string_view english;
    std::string_view german; // UTF-8
};

constexpr std::array kMessages{
    MessageRow{WPMsg::FileFilter, "RTF files|*.RTF|HTML files|*.HTM|TXT files|*.TXT|all files (*.*)|*.*",
               "Formatierte Texte|*.RTF|HTML Dateien|*.HTM|Textdateien|*.TXT|alle Dateien (*.*)|*.*"},
    MessageRow{WPMsg::AbortOperation, "Do you want to abort operation?", "Soll Operation abgebrochen werden?"},
    MessageRow{WPMsg::Ready, "Ready", "Bereit"},
    MessageRow{WPMsg::Reading, "reading ...", "beim lesen..."},
    MessageRow{WPMsg::Writing, "writing ...", "beim schreiben"},
    MessageRow{WPMsg::Formatting, "formatting ...", "beim formatieren"},
    MessageRow{WPMsg::FormattingToo, "formatting ...", "beim formatieren"},
    MessageRow{WPMsg::InitializeMemory, "initialize memory", "initialisiere speicher..."},
    MessageRow{WPMsg::NoTextSelected, "no text selected", "keine Auswahl markiert"},
    MessageRow{WPMsg::Rich, "RICH", "FMT"},
    MessageRow{WPMsg::Plain, "PLAIN", "NORM"},
    MessageRow{WPMsg::InternalError, "Internal Error", "Interner Fehler"},
    MessageRow{WPMsg::DeleteAllTabs, "Delete all tabstops?", "Tabulatoren löschen"},
};

} // namespace

std::string_view WPMessage(int number, MessageLanguage language) noexcept
{
    const bool germanNumber = number > WPMsg::FileFilter + WPMsg::GermanOffset - 1
        && number <= WPMsg::DeleteAllTabs + WPMsg::GermanOffset;
    if (germanNumber) {
        number -= WPMsg::GermanOffset;
        language = MessageLanguage::German;
    }
    for (const MessageRow& row : kMessages)
        if (row.number == number)
            return language == MessageLanguage::German ? row.german : row.english;
    return {};
}

} // namespace quillory
