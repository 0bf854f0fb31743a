// Splits RTF bytes into tokens: braces, control words and symbols, text runs, \'hh characters,
// \bin data, decoded picture hex, and the literal runs of RTF code between \wprtf1 and \wprtf0.
#pragma once

#include "richtext/rtf/RtfWordKey.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace quillory::rtf {

enum class RtfTokenKind : uint8_t {
    End,          // no more input
    GroupOpen,    // {
    GroupClose,   // }
    ControlWord,  // \word or \word-123 (`word`, `hasParameter`, `parameter`); inside an RTF-code
                  // run only \wprtf0 and \uN (its '?' taken with it)
    ControlSymbol,// \ and one byte that is not a lowercase letter (`word` holds the byte)
    HexChar,      // \'hh, or a character decoded inside an RTF-code run (`value`, a byte)
    Text,         // a run of ordinary bytes (`bytes`); CR, LF and TAB are left out
    Binary,       // the data of \binN (`bytes`)
    PictureData,  // bytes decoded from picture hex (`bytes`)
    CodeRunEnd,   // an RTF-code run ended without \wprtf0 (the writer's paragraph end follows)
};

struct RtfToken {
    RtfTokenKind kind = RtfTokenKind::End;
    std::string_view word;
    RtfWordKey key; // of `word`, for the keyword lookup (ControlWord, ControlSymbol)
    bool hasParameter = false;
    int32_t parameter = 0;
    uint8_t value = 0;
    std::span<const uint8_t> bytes;
    // Text: whether `bytes` may hold a control byte or DEL, which the reader inserts one by one,
    // or a byte from 0x80 up, which the code page in force decodes (IsRtfSpecialByte). The
    // ordinary scan knows and clears it for most runs; other modes leave it set.
    bool specialBytes = true;
};

enum class RtfLexMode : uint8_t {
    Normal,
    PictureHex, // text is pairs of hex digits, returned decoded as PictureData
    CodeRun,    // every byte is text until \wprtf0 (see NextInCodeRun)
};

// What a backslash inside an RTF-code run begins, as the lexer reads it: the run's end (\wprtf0),
// one of the escapes that stand for a character (\'hh, \tab and \line without a number, \uN
// followed by the writer's '?'), or nothing: then the backslash is the user's text. The writer
// asks the same of a run's text, to escape a backslash that would otherwise be read as more.
struct RtfCodeRunEscape {
    enum class Kind : uint8_t { None, RunEnd, Byte, Unicode };
    Kind kind = Kind::None;
    size_t length = 0;   // the bytes it takes, the blank after a word included
    uint8_t byte = 0;    // Byte: the character (\'hh, TAB for \tab, LF for \line)
    int32_t unicode = 0; // Unicode: the N of \uN
};

// Tokens over bytes held in memory. Total on any input: it never reads outside the span and
// every call consumes at least one byte or returns End.
class RtfLexer {
public:
    // Letters kept of a control word; longer words are read whole and cut to this.
    static constexpr size_t kMaxWordLength = 29;

    explicit RtfLexer(std::span<const uint8_t> input) noexcept : input_(input) {}

    // Inline, so that the reader's loop reaches the ordinary scan with one call per token.
    RtfToken Next()
    {
        if (mode_ == RtfLexMode::Normal) [[likely]]
            return NextNormal();
        return NextInOtherMode();
    }

    void SetMode(RtfLexMode mode) noexcept;
    // Starts an RTF-code run while `openGroups` groups are open: the writer's trailer closes
    // all but the outermost, so at most that many '}' before a CR can be its own.
    void StartCodeRun(int openGroups) noexcept;
    RtfLexMode Mode() const noexcept { return mode_; }

    // Reads `bytes`, which begin with a backslash, as a code run would.
    static RtfCodeRunEscape CodeRunEscapeAt(std::span<const uint8_t> bytes) noexcept;

    // For the reader's runs of \uN (RtfBuilder::OnUnicode), read straight from the bytes in the
    // Normal mode, each step the same as the tokens it stands for.
    // Skips up to `left` characters of a \u fallback: bytes of text and \'hh, one each (raw CR,
    // LF and TAB are layout, no characters). Stops early before any other token, which is then
    // read as usual. Returns how many are left to skip.
    int SkipFallback(int left) noexcept;
    // When the next token (past raw line ends) is \u with a number, its number in `value` and
    // the position after it, to pass to SkipTo; else 0 and the position is left as it is.
    size_t UnicodeWordAhead(int32_t& value);
    void SkipTo(size_t position) noexcept { pos_ = position; }
    // When the next token (past raw line ends) is \'hh with both digits, its byte in `value` and
    // the position after it, to pass to SkipTo; else 0.
    size_t HexCharAhead(uint8_t& value) const noexcept;
    // The run of text at the read position when it is all printable ASCII (a Text token whose
    // specialBytes is false), which is then read; else nothing, and nothing is read.
    std::string_view PlainTextAhead() noexcept;

    // Bytes consumed so far (the position after the last byte of the last token).
    size_t Position() const noexcept { return pos_; }
    size_t Size() const noexcept { return input_.size(); }

private:
    RtfToken NextNormal();
    RtfToken NextInOtherMode();
    RtfToken NextPictureHex();
    RtfToken NextInCodeRun();
    RtfToken ReadControl();
    RtfToken ReadControlWordAt(size_t& at) const;
    size_t ReadWordInto(size_t start, RtfToken& token) const;
    void ReadBinaryInto(RtfToken& token);
    bool IsWriterStructureAt(size_t at);
    bool ChainEndsLineAt(size_t at);

    std::span<const uint8_t> input_;
    size_t pos_ = 0;
    RtfLexMode mode_ = RtfLexMode::Normal;
    int pendingNibble_ = -1;       // first hex digit of a picture byte split across tokens
    int trailerBraces_ = 0;        // see StartCodeRun
    // Answers already found inside code runs, so that each byte is looked at a bounded number
    // of times however long a chain of control words or braces is: for a backslash at position
    // p, chainEnds_[p] is 0 (not yet known), 1 (the chain from p ends elsewhere) or 2 (at a
    // line end); the run of '}' that ends at braceRunEnd_ began at or before braceRunStart_.
    std::vector<uint8_t> chainEnds_;
    size_t braceRunStart_ = 0;
    size_t braceRunEnd_ = 0;
    std::vector<uint8_t> decoded_; // reused buffer behind PictureData tokens
};

// Value of a hexadecimal digit, or -1.
constexpr int RtfHexDigit(uint8_t c) noexcept
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace quillory::rtf
