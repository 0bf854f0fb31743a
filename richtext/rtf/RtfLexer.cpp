// Splits RTF bytes into tokens; knows nothing of what the words mean.
#include "richtext/rtf/RtfLexer.h"

#include "richtext/rtf/RtfByteScan.h"

#include <algorithm>
#include <array>
#include <limits>

namespace quillory::rtf {
namespace {

constexpr uint8_t kCR = 13;
constexpr uint8_t kLF = 10;
constexpr uint8_t kTab = 9;

constexpr bool IsLower(uint8_t c) noexcept { return c >= 'a' && c <= 'z'; }
constexpr bool IsDigit(uint8_t c) noexcept { return c >= '0' && c <= '9'; }

// The byte sequence that closes an RTF-code run.
constexpr std::string_view kCodeRunClose = "\\wprtf0";
constexpr RtfWordKey kCodeRunWordKey = MakeRtfWordKey("wprtf");
constexpr RtfWordKey kBinaryWordKey = MakeRtfWordKey("bin");
constexpr RtfWordKey kUnicodeWordKey = MakeRtfWordKey("u");

bool StartsWithCodeRunClose(std::span<const uint8_t> bytes) noexcept
{
    return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()).starts_with(kCodeRunClose);
}

RtfToken Simple(RtfTokenKind kind) noexcept
{
    RtfToken token;
    token.kind = kind;
    return token;
}

RtfToken Char(uint8_t value) noexcept
{
    RtfToken token;
    token.kind = RtfTokenKind::HexChar;
    token.value = value;
    return token;
}

} // namespace

void RtfLexer::SetMode(RtfLexMode mode) noexcept
{
    if (mode != mode_)
        pendingNibble_ = -1;
    mode_ = mode;
}

// Reads letters, an optional signed number and one optional blank starting at `start` into a
// fresh token; returns the position after them. Words are cut to kMaxWordLength letters;
// numbers saturate. (The position is a value, not a reference: the compiler would otherwise
// reload it after every store into the token, which might be the same memory.) Always inlined:
// it is most of the work for a control word, and a call would add saving and restoring
// registers to every one.
[[gnu::always_inline]] inline size_t RtfLexer::ReadWordInto(const size_t start, RtfToken& token) const
{
    const size_t size = input_.size();
    const uint8_t* const data = input_.data();
    size_t at = start + ReadRtfLetters(data + start, size - start, token.key);
    token.kind = RtfTokenKind::ControlWord;
    token.word = std::string_view(reinterpret_cast<const char*>(data + start),
                                  std::min(at - start, kMaxWordLength));
    bool negative = false;
    size_t digitsAt = at;
    if (digitsAt < size && data[digitsAt] == '-') {
        negative = true;
        ++digitsAt;
    }
    if (digitsAt < size && IsDigit(data[digitsAt])) {
        // Digits past the limit are read but no longer counted: the value saturates.
        constexpr int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
        int64_t value = 0;
        for (; digitsAt < size && IsDigit(data[digitsAt]); ++digitsAt)
            if (value < limit)
                value = value * 10 + (data[digitsAt] - '0');
        value = std::min(value, limit);
        token.hasParameter = true;
        token.parameter = negative ? static_cast<int32_t>(-value)
                                   : static_cast<int32_t>(std::min<int64_t>(value, std::numeric_limits<int32_t>::max()));
        at = digitsAt;
    }
    if (at < size && data[at] == ' ')
        ++at;
    return at;
}

RtfToken RtfLexer::NextInOtherMode()
{
    return mode_ == RtfLexMode::PictureHex ? NextPictureHex() : NextInCodeRun();
}

// The inner loop of reading: one token built in place (a token handed through several calls
// costs a copy at each), control words read right here, the rarer tokens in functions of
// their own.
RtfToken RtfLexer::NextNormal()
{
    const size_t size = input_.size();
    const uint8_t* const data = input_.data();
    RtfToken token;
    while (pos_ < size) {
        const uint8_t c = data[pos_];
        // The kinds in the order of how often a document has them.
        if (c == '\\') {
            if (pos_ + 1 < size && IsLower(data[pos_ + 1])) [[likely]] {
                pos_ = ReadWordInto(pos_ + 1, token);
                if (token.hasParameter && token.key == kBinaryWordKey) [[unlikely]]
                    ReadBinaryInto(token);
                return token;
            }
            token = ReadControl();
            return token;
        }
        if (!EndsRtfText(c)) {
            token.kind = RtfTokenKind::Text;
            token.specialBytes = IsRtfSpecialByte(c);
            const size_t start = pos_ + 1;
            const size_t length = 1 + TextRunLength(data + start, size - start, token.specialBytes);
            token.bytes = input_.subspan(pos_, length);
            pos_ += length;
            return token;
        }
        ++pos_;
        if (c == '{') {
            token.kind = RtfTokenKind::GroupOpen;
            return token;
        }
        if (c == '}') {
            token.kind = RtfTokenKind::GroupClose;
            return token;
        }
        // Raw line ends and tabs are layout of the file, not text.
    }
    token.kind = RtfTokenKind::End;
    return token;
}

int RtfLexer::SkipFallback(int left) noexcept
{
    const size_t size = input_.size();
    const uint8_t* const data = input_.data();
    while (left > 0 && pos_ < size) {
        const uint8_t c = data[pos_];
        if (c == kCR || c == kLF || c == kTab) {
            ++pos_;
        } else if (!EndsRtfText(c)) {
            ++pos_;
            --left;
        } else if (c == '\\' && pos_ + 3 < size && data[pos_ + 1] == '\''
                   && RtfHexDigit(data[pos_ + 2]) >= 0 && RtfHexDigit(data[pos_ + 3]) >= 0) {
            pos_ += 4;
            --left;
        } else {
            break; // a brace, a word or an odd escape: the reader's own tokens
        }
    }
    return left;
}

size_t RtfLexer::UnicodeWordAhead(int32_t& value)
{
    const size_t size = input_.size();
    const uint8_t* const data = input_.data();
    size_t at = pos_;
    while (at < size && (data[at] == kCR || data[at] == kLF || data[at] == kTab))
        ++at;
    // "\u" and a number, with a digit after its sign: what NextNormal reads as \uN.
    if (size - at < 3 || data[at] != '\\' || data[at + 1] != 'u')
        return 0;
    const size_t digit = at + (data[at + 2] == '-' ? 3 : 2);
    if (digit >= size || !IsDigit(data[digit]))
        return 0;
    // The number as ReadWordInto reads it, saturating, and the blank that may end the word.
    constexpr int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t number = 0;
    size_t end = digit;
    for (; end < size && IsDigit(data[end]); ++end)
        if (number < limit)
            number = number * 10 + (data[end] - '0');
    number = std::min(number, limit);
    value = digit > at + 2 ? static_cast<int32_t>(-number)
                           : static_cast<int32_t>(std::min<int64_t>(number, std::numeric_limits<int32_t>::max()));
    if (end < size && data[end] == ' ')
        ++end;
    return end;
}

size_t RtfLexer::HexCharAhead(uint8_t& value) const noexcept
{
    const size_t size = input_.size();
    const uint8_t* const data = input_.data();
    size_t at = pos_;
    while (at < size && (data[at] == kCR || data[at] == kLF || data[at] == kTab))
        ++at;
    if (size - at < 4 || data[at] != '\\' || data[at + 1] != '\'')
        return 0;
    const int high = RtfHexDigit(data[at + 2]);
    const int low = RtfHexDigit(data[at + 3]);
    if (high < 0 || low < 0)
        return 0;
    value = static_cast<uint8_t>(high << 4 | low);
    return at + 4;
}

std::string_view RtfLexer::PlainTextAhead() noexcept
{
    const size_t size = input_.size();
    const uint8_t* const data = input_.data();
    if (pos_ >= size || EndsRtfText(data[pos_]))
        return {};
    bool specialBytes = IsRtfSpecialByte(data[pos_]);
    const size_t length = 1 + TextRunLength(data + pos_ + 1, size - pos_ - 1, specialBytes);
    if (specialBytes)
        return {};
    const std::string_view text(reinterpret_cast<const char*>(data + pos_), length);
    pos_ += length;
    return text;
}

RtfToken RtfLexer::NextPictureHex()
{
    const size_t size = input_.size();
    decoded_.clear();
    while (pos_ < size) {
        const uint8_t c = input_[pos_];
        if (c == '\\' || c == '{' || c == '}')
            break;
        ++pos_;
        const int digit = RtfHexDigit(c);
        if (digit < 0)
            continue; // line breaks and blanks between the digits
        if (pendingNibble_ < 0) {
            pendingNibble_ = digit;
        } else {
            decoded_.push_back(static_cast<uint8_t>(pendingNibble_ << 4 | digit));
            pendingNibble_ = -1;
        }
    }
    if (!decoded_.empty()) {
        RtfToken token;
        token.kind = RtfTokenKind::PictureData;
        token.bytes = decoded_;
        return token;
    }
    return NextNormal();
}

// After a backslash not followed by a letter: a control symbol or \'hh.
RtfToken RtfLexer::ReadControl()
{
    const size_t size = input_.size();
    ++pos_; // the backslash
    if (pos_ >= size)
        return Simple(RtfTokenKind::End);
    const uint8_t first = input_[pos_]; // not a lowercase letter: NextNormal reads words
    ++pos_;
    if (first == '\'') {
        // A missing or bad digit ends the escape; the offending byte is read again as input.
        if (pos_ < size && RtfHexDigit(input_[pos_]) >= 0) {
            int value = RtfHexDigit(input_[pos_++]);
            if (pos_ < size && RtfHexDigit(input_[pos_]) >= 0)
                value = value << 4 | RtfHexDigit(input_[pos_++]);
            return Char(static_cast<uint8_t>(value));
        }
        return Char(0); // the reader drops code 0
    }
    RtfToken token;
    token.kind = RtfTokenKind::ControlSymbol;
    token.word = std::string_view(reinterpret_cast<const char*>(&input_[pos_ - 1]), 1);
    token.key.low = first;
    return token;
}

// Replaces the word \binN just read by the N bytes after it. The count is bounded by what is
// left, so a huge or negative one reads no further.
void RtfLexer::ReadBinaryInto(RtfToken& token)
{
    const size_t left = input_.size() - pos_;
    const size_t count = token.parameter > 0 ? std::min<size_t>(left, size_t(token.parameter)) : 0;
    token = RtfToken{}; // the data takes the word's place
    token.kind = RtfTokenKind::Binary;
    token.bytes = input_.subspan(pos_, count);
    pos_ += count;
}

RtfToken RtfLexer::ReadControlWordAt(size_t& at) const
{
    RtfToken token;
    at = ReadWordInto(at, token);
    return token;
}

void RtfLexer::StartCodeRun(int openGroups) noexcept
{
    SetMode(RtfLexMode::CodeRun);
    trailerBraces_ = std::max(0, openGroups - 1);
}

// True when the bytes at `at` are the writer's own, ending a code run that has no \wprtf0: a
// paragraph end (control words up to the raw LF CR that follows \par or \cell) or the
// trailer (closing braces up to its CR LF). A user's RTF code never holds a raw CR or LF: its
// line breaks are written as \line.
//
// The lexer asks at every backslash and brace of a code run while it moves on one byte at a
// time, so the look-ahead is remembered: asked afresh each time, a chain of n control words or
// braces would cost n * n steps (100,000 \par took seconds to read).
bool RtfLexer::IsWriterStructureAt(size_t at)
{
    const size_t size = input_.size();
    if (at >= size)
        return false;
    if (input_[at] == kCR || input_[at] == kLF)
        return true;
    if (input_[at] == '}') {
        if (at < braceRunStart_ || at >= braceRunEnd_) {
            braceRunStart_ = at;
            braceRunEnd_ = at;
            while (braceRunEnd_ < size && input_[braceRunEnd_] == '}')
                ++braceRunEnd_;
        }
        const size_t braces = braceRunEnd_ - at;
        return braceRunEnd_ < size && input_[braceRunEnd_] == kCR && braces <= size_t(trailerBraces_);
    }
    return ChainEndsLineAt(at);
}

// Whether the chain of control words and symbols that starts at `at` is followed by a raw line
// end. The walk from any backslash it passes is the rest of the same walk, so every backslash
// visited gets the answer. A chain that reaches \wprtf0 belongs to a run that ends there: the
// writer ends every run so, and the user's text before it is text.
bool RtfLexer::ChainEndsLineAt(size_t at)
{
    const size_t size = input_.size();
    if (chainEnds_.size() != size)
        chainEnds_.assign(size, 0);
    std::vector<size_t> visited;
    uint8_t answer = 0;
    while (at + 1 < size && input_[at] == '\\') {
        if (chainEnds_[at] != 0) {
            answer = chainEnds_[at];
            break;
        }
        if (StartsWithCodeRunClose(input_.subspan(at))) {
            answer = 1;
            break;
        }
        visited.push_back(at);
        ++at;
        if (IsLower(input_[at]))
            ReadControlWordAt(at);
        else
            ++at;
    }
    if (answer == 0)
        answer = at < size && (input_[at] == kLF || input_[at] == kCR) ? 2 : 1;
    for (const size_t p : visited)
        chainEnds_[p] = answer;
    return answer == 2;
}

RtfCodeRunEscape RtfLexer::CodeRunEscapeAt(std::span<const uint8_t> bytes) noexcept
{
    using Kind = RtfCodeRunEscape::Kind;
    RtfCodeRunEscape escape;
    if (bytes.size() < 2 || bytes[0] != '\\')
        return escape;
    if (StartsWithCodeRunClose(bytes)) {
        escape.kind = Kind::RunEnd;
        escape.length = kCodeRunClose.size();
        if (escape.length < bytes.size() && bytes[escape.length] == ' ')
            ++escape.length; // the blank that ends a control word
        return escape;
    }
    if (bytes[1] == '\'') {
        if (bytes.size() >= 4 && RtfHexDigit(bytes[2]) >= 0 && RtfHexDigit(bytes[3]) >= 0) {
            escape.kind = Kind::Byte;
            escape.length = 4;
            escape.byte = static_cast<uint8_t>(RtfHexDigit(bytes[2]) << 4 | RtfHexDigit(bytes[3]));
        }
        return escape;
    }
    if (!IsLower(bytes[1]))
        return escape;
    const RtfLexer lexer(bytes);
    size_t at = 1;
    const RtfToken word = lexer.ReadControlWordAt(at);
    if (!word.hasParameter && (word.word == "tab" || word.word == "line")) {
        escape.kind = Kind::Byte;
        escape.length = at;
        escape.byte = word.word == "tab" ? kTab : kLF;
    } else if (word.hasParameter && word.word == "u" && at < bytes.size() && bytes[at] == '?') {
        escape.kind = Kind::Unicode;
        escape.length = at + 1;
        escape.unicode = word.parameter;
    }
    return escape;
}

// Inside \wprtf1 ... \wprtf0 the bytes are the user's RTF source, kept as text. The writer
// still escapes what the model holds beyond it there: TAB, the soft line break, characters
// from 127 on and control bytes (\tab, \line, \'hh, \uN?), and a backslash that would be read
// as one of those or as the run's end (\'5c); all of them come back as the characters they
// stand for.
RtfToken RtfLexer::NextInCodeRun()
{
    using Kind = RtfCodeRunEscape::Kind;
    const size_t size = input_.size();
    if (pos_ >= size)
        return Simple(RtfTokenKind::End);
    const uint8_t c = input_[pos_];
    if (c == '\\' || c == '{' || c == '}' || c == kCR || c == kLF) {
        const RtfCodeRunEscape escape = c == '\\' ? CodeRunEscapeAt(input_.subspan(pos_)) : RtfCodeRunEscape{};
        if (escape.kind == Kind::RunEnd) {
            pos_ += escape.length;
            mode_ = RtfLexMode::Normal;
            RtfToken token;
            token.kind = RtfTokenKind::ControlWord;
            token.word = "wprtf";
            token.key = kCodeRunWordKey;
            token.hasParameter = true;
            return token;
        }
        if (IsWriterStructureAt(pos_)) {
            mode_ = RtfLexMode::Normal; // re-read the sequence as ordinary RTF
            return Simple(RtfTokenKind::CodeRunEnd);
        }
        if (escape.kind == Kind::Byte) {
            pos_ += escape.length;
            return Char(escape.byte);
        }
        if (escape.kind == Kind::Unicode) {
            pos_ += escape.length;
            RtfToken token;
            token.kind = RtfTokenKind::ControlWord;
            token.word = "u";
            token.key = kUnicodeWordKey;
            token.hasParameter = true;
            token.parameter = escape.unicode;
            return token;
        }
        RtfToken token;
        token.kind = RtfTokenKind::Text;
        token.bytes = input_.subspan(pos_++, 1);
        return token;
    }
    const size_t start = pos_;
    while (pos_ < size && input_[pos_] != '\\' && input_[pos_] != '{' && input_[pos_] != '}'
           && input_[pos_] != kCR && input_[pos_] != kLF)
        ++pos_;
    RtfToken token;
    token.kind = RtfTokenKind::Text;
    token.bytes = input_.subspan(start, pos_ - start);
    return token;
}

} // namespace quillory::rtf
