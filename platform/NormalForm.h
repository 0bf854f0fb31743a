// Unicode's composed normal form (NFC) of UTF-8 text, where two spellings of one text must give
// the same bytes: "é" typed as one character or as "e" and a combining accent.
#pragma once

#include <string>
#include <string_view>

namespace quillory {

// The NFC form of `utf8`. Text already in that form (all ASCII text is) comes back unchanged; so
// does text that is not well-formed UTF-8, which has no normal form.
std::string ComposedNormalForm(std::string_view utf8);

} // namespace quillory
