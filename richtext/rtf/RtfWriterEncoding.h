// How the RTF writer writes a character under a font: as the byte of the font's code page (by
// which readers decode \'hh), or as \u where that page has no byte for it.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace quillory {

class RtfFontEncoding {
public:
    // For a font of this RTF \fcharset. Fonts whose charset names no code page of its own (ANSI,
    // default, symbol, OEM, Mac) are written in the document's, which is cp1252.
    explicit RtfFontEncoding(int charset);

    // The byte that stands for `c` under the font, or nothing when only \u can write it.
    std::optional<unsigned char> ByteOf(char32_t c) const noexcept;
    // Writes what cp1252 holds as its bytes, as most fonts do.
    bool cp1252() const noexcept { return kind_ == Kind::Cp1252; }
    // A symbol font: its text is held as the cp1252 characters of its bytes.
    bool symbol() const noexcept { return symbol_; }

private:
    enum class Kind : std::uint8_t { Cp1252, SingleByte, UnicodeOnly };
    Kind kind_ = Kind::Cp1252;
    bool symbol_ = false;
    // A single-byte page's characters from 0x80 on with their bytes, sorted by character.
    std::vector<std::pair<char32_t, unsigned char>> bytes_;
};

} // namespace quillory
