// \uN and the fallback after it, as every reader of RTF text applies them: the reader that builds
// the document and the search's text pass over an entry.
#pragma once

#include "richtext/rtf/RtfLexer.h"

#include <cstdint>
#include <optional>

namespace quillory::rtf {

// What \uN puts into the text: the cp1252 byte of the character, or '?' for one that cp1252
// lacks when the writer gave no fallback (\uc0); nothing otherwise, and the fallback stays.
// `skipFallback` is set when the fallback that follows must be dropped.
std::optional<uint8_t> UnicodeInsertion(int32_t n, int unicodeSkip, bool& skipFallback) noexcept;

// The characters of a \u fallback still to drop. Text counts one per byte, \'hh, a control word
// or symbol and \bin one each; a brace or anything else ends the fallback early.
class UnicodeFallback {
public:
    void Start(int count) noexcept { left_ = count; }
    bool Active() const noexcept { return left_ > 0; }
    // True when `token` belonged to the fallback; a text token then keeps in its bytes the part
    // after the fallback, which the caller reads as text.
    bool Consume(RtfToken& token) noexcept;

private:
    int left_ = 0;
};

} // namespace quillory::rtf
