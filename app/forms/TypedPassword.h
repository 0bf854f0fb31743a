// The bytes a password typed into a dialog stands for, by the scheme of the diary.
#pragma once

#include "app/DiarySecurity.h"

#include <QString>
#include <optional>
#include <string>

namespace quillory {

// The strong scheme keys the UTF-8 of the text, any character kept. The stored format's cipher
// keys cp1252 bytes, as older copies did: a character cp1252 cannot hold is in no such password,
// so the text then stands for none (nothing).
std::optional<std::string> TypedPassword(const QString& text, Scheme scheme);

} // namespace quillory
