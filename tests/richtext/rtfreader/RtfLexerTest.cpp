// Tests of the RTF tokenizer: tokens, modes, and totality on hostile bytes.
#include "richtext/rtf/RtfLexer.h"

#include <gtest/gtest.h>

#include <string>

using namespace quillory::rtf;

namespace {

std::span<const uint8_t> Bytes(std::string_view text)
{
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// One readable line per token stream: { } \word12 \word \sym T(text) X(hh) B(n) P(n) |end|
std::string Dump(RtfLexer& lexer, size_t limit = 1000)
{
    std::string out;
    for (size_t n = 0; n < limit; ++n) {
        const RtfToken token = lexer.Next();
        if (!out.empty())
            out += ' ';
        switch (token.kind) {
        case RtfTokenKind::End:
            return out + "|end|";
        case RtfTokenKind::GroupOpen: out += '{'; break;
        case RtfTokenKind::GroupClose: out += '}'; break;
        case RtfTokenKind::ControlWord:
            out += '\\' + std::string(token.word);
            if (token.hasParameter)
                out += std::to_string(token.parameter);
            break;
        case RtfTokenKind::ControlSymbol: out += "\\" + std::string(token.word); break;
        case RtfTokenKind::HexChar: {
            char hex[8];
            std::snprintf(hex, sizeof hex, "X(%02x)", token.value);
            out += hex;
            break;
        }
        case RtfTokenKind::Text:
            out += "T(" + std::string(token.bytes.begin(), token.bytes.end()) + ")";
            break;
        case RtfTokenKind::Binary: out += "B(" + std::to_string(token.bytes.size()) + ")"; break;
        case RtfTokenKind::PictureData: {
            out += "P(";
            for (uint8_t b : token.bytes) {
                char hex[4];
                std::snprintf(hex, sizeof hex, "%02x", b);
                out += hex;
            }
            out += ")";
            break;
        }
        case RtfTokenKind::CodeRunEnd: out += "|code-end|"; break;
        }
    }
    return out + " |limit|";
}

std::string Lex(std::string_view input)
{
    RtfLexer lexer(Bytes(input));
    return Dump(lexer);
}

struct LexCase {
    std::string_view input;
    std::string_view tokens;
};

TEST(RtfLexer, SplitsOrdinaryInputIntoTokens)
{
    const LexCase cases[] = {
        {"{\\rtf1 abc}", "{ \\rtf1 T(abc) } |end|"},
        {"\\b0\\b \\b-5x", "\\b0 \\b \\b-5 T(x) |end|"},
        {"\\fs23  two", "\\fs23 T( two) |end|"},            // only one blank belongs to the word
        {"a\r\nb\tc", "T(a) T(b) T(c) |end|"},                // raw CR, LF and TAB are not text
        {"\\{\\}\\\\\\*\\~", "\\{ \\} \\\\ \\* \\~ |end|"},
        {"\\'e9\\'E9\\'4", "X(e9) X(e9) X(04) |end|"},
        {"\\'zz", "X(00) T(zz) |end|"},                       // bad hex: the bytes are read again
        {"\\b-x", "\\b T(-x) |end|"},                        // a lone minus is not a parameter
        {"\\Abc", "\\A T(bc) |end|"},                        // uppercase starts a symbol
        {"\\", "|end|"},
        {"\\bin3 {}\\x", "B(3) T(x) |end|"},                 // binary data hides braces
        {"\\bin999999999 ab", "B(2) |end|"},                 // a huge count stops at the end
        {"\\bin-4 ab", "B(0) T(ab) |end|"},
        {std::string_view("a\0b", 3), std::string_view("T(a\0b) |end|", 12)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Lex(c.input), c.tokens) << c.input;
}

TEST(RtfLexer, CutsLongWordsAndSaturatesLongNumbers)
{
    const std::string word(100, 'q');
    const std::string digits(50, '9');
    const std::string input = "\\" + word + digits + " \\x-" + digits;
    RtfLexer lexer(Bytes(input));
    RtfToken token = lexer.Next();
    EXPECT_EQ(token.word, std::string(RtfLexer::kMaxWordLength, 'q'));
    EXPECT_EQ(token.parameter, 2147483647);
    token = lexer.Next();
    EXPECT_EQ(token.word, "x");
    EXPECT_EQ(token.parameter, -2147483647 - 1);
    EXPECT_EQ(lexer.Next().kind, RtfTokenKind::End);
}

// The scans look at sixteen bytes at a time where that many are left, and at single bytes near
// the end of the input: wherever a run or a word ends, the token is the same.
TEST(RtfLexer, RunsAndWordsEndAlikeWhereverTheScanStands)
{
    struct Ending {
        std::string_view byte;
        bool endsText;
        bool special; // a control byte, DEL, or a byte the code page decodes
    } const endings[] = {
        {"\\", true, false},  {"{", true, false},     {"}", true, false},     {"\r", true, false},
        {"\n", true, false},   {"\t", true, false},    {"\x01", false, true}, {"\x7f", false, true},
        {"\x1f", false, true}, {"\xe9", false, true},  {"\x80", false, true}, {"\xff", false, true},
        {" ", false, false},    {"~", false, false},
    };
    for (size_t offset = 0; offset < 40; ++offset)
        for (const Ending& ending : endings)
            for (const std::string_view tail : {"", "bc", "bcdefghijklmnopqrstuvwxyz"}) {
                const std::string input = std::string(offset + 1, 'a') + std::string(ending.byte) + std::string(tail);
                RtfLexer lexer(Bytes(input));
                const RtfToken token = lexer.Next();
                ASSERT_EQ(token.kind, RtfTokenKind::Text) << input;
                const size_t expected = ending.endsText ? offset + 1 : input.size();
                EXPECT_EQ(token.bytes.size(), expected) << offset << " " << int(ending.byte[0]);
                EXPECT_EQ(token.specialBytes, ending.special) << offset << " " << int(ending.byte[0]);
            }
    for (size_t letters = 1; letters <= 20; ++letters)
        for (const std::string_view after : {"", "-12 x", "12\\b", "7 0123456789abcdefghij"}) {
            const std::string word(letters, char('a' + letters % 26));
            const std::string input = "\\" + word + std::string(after);
            RtfLexer lexer(Bytes(input));
            const RtfToken token = lexer.Next();
            ASSERT_EQ(token.kind, RtfTokenKind::ControlWord) << input;
            EXPECT_EQ(token.word, word) << input;
            EXPECT_EQ(token.key, MakeRtfWordKey(word)) << input; // the empty key past sixteen
            EXPECT_EQ(token.hasParameter, !after.empty()) << input;
            EXPECT_EQ(token.parameter, after.empty() ? 0 : after[0] == '-' ? -12 : after[0] == '7' ? 7 : 12) << input;
        }
}

TEST(RtfLexer, DecodesPictureHexAcrossBreaksAndWords)
{
    RtfLexer lexer(Bytes("0aFF\r\n1 2\\picw5 3}x"));
    lexer.SetMode(RtfLexMode::PictureHex);
    // The odd digit before the brace is dropped.
    EXPECT_EQ(Dump(lexer, 3), "P(0aff12) \\picw5 } |limit|");
    lexer.SetMode(RtfLexMode::Normal);
    EXPECT_EQ(Dump(lexer), "T(x) |end|");
}

TEST(RtfLexer, KeepsRtfCodeAsTextUntilItsEnd)
{
    const LexCase cases[] = {
        // braces and backslashes are the user's text
        {"{\\b x}\\wprtf0 y", "T({) T(\\) T(b x) T(}) \\wprtf0 T(y) |end|"},
        // the writer's escapes inside a run come back as their characters
        {"a\\tab b\\line c\\'e9\\wprtf0", "T(a) X(09) T(b) X(0a) T(c) X(e9) \\wprtf0 |end|"},
        // a partial match of the closing word is text
        {"\\wprtf\\wprtf0", "T(\\) T(wprtf) \\wprtf0 |end|"},
        // the writer's escaped backslash, and its \u with the one '?' it writes; \u without the
        // '?' or \tab with a number are the user's text
        {"x\\'5cwprtf0\\u1046?\\u-10179?\\u-8704?y\\wprtf0",
         "T(x) X(5c) T(wprtf0) \\u1046 \\u-10179 \\u-8704 T(y) \\wprtf0 |end|"},
        {"\\u5 ?\\u5x\\tab5", "\\u5 T(\\) T(u5x) T(\\) T(tab5) |end|"},
        // the user's words just before the run's end: the writer's own paragraph end follows
        // \wprtf0, not them (they were read as RTF, and a \par split the paragraph)
        {"x\\par\\wprtf0\\par\n\r", "T(x) T(\\) T(par) \\wprtf0 \\par |end|"},
        // the writer's paragraph end reached inside the run: read it as RTF again
        {"x\\par\n\r\\ql y", "T(x) |code-end| \\par \\ql T(y) |end|"},
        {"x}\r\n}", "T(x) |code-end| } } |end|"},
        // more braces than the trailer closes: the first is the user's
        {"x}}\r\n}", "T(x) T(}) |code-end| } } |end|"},
        {"x}\\par\n\r", "T(x) T(}) |code-end| \\par |end|"},
        {"x\\tabs y", "T(x) T(\\) T(tabs y) |end|"},
        // The look-ahead is remembered along a chain; a backslash inside a control symbol
        // starts a chain of its own, and every brace of a run is counted to the run's end.
        {"\\\\par\n\r", "T(\\) |code-end| \\par |end|"},
        {"\\qz\\qz!", "T(\\) T(qz) T(\\) T(qz!) |end|"},
        {"x}}}\r\n", "T(x) T(}) T(}) |code-end| } |end|"},
    };
    for (const auto& c : cases) {
        RtfLexer lexer(Bytes(c.input));
        lexer.StartCodeRun(2); // inside the document group, as the writer puts text
        EXPECT_EQ(Dump(lexer), c.tokens) << c.input;
    }
}

TEST(RtfLexer, EndsOnEveryTruncationOfAnInput)
{
    const std::string input = "{\\rtf1{\\pict\\wmetafile8 0a1b}\\bin4 {{{{\\'e\\u-5 \\wprtf1{}\\wprtf0}";
    for (size_t cut = 0; cut <= input.size(); ++cut) {
        for (RtfLexMode mode : {RtfLexMode::Normal, RtfLexMode::PictureHex, RtfLexMode::CodeRun}) {
            RtfLexer lexer(Bytes(std::string_view(input).substr(0, cut)));
            lexer.SetMode(mode);
            size_t steps = 0;
            while (lexer.Next().kind != RtfTokenKind::End && steps < 1000)
                ++steps;
            EXPECT_LT(steps, 1000u);
            EXPECT_EQ(lexer.Position(), cut);
        }
    }
}

} // namespace
