// cp1252 ⇄ Unicode: no byte is lost, no character is silently changed.
#include "platform/Cp1252.h"
#include "platform/qt/QtCp1252.h"

#include <gtest/gtest.h>
#include <set>

using namespace quillory;

namespace {

std::string AllBytes()
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    return bytes;
}

} // namespace

TEST(Cp1252, EveryByteHasItsOwnCharacter)
{
    std::set<char32_t> seen;
    for (int b = 0; b < 256; ++b) {
        const char32_t c = Cp1252ToUnicode(static_cast<unsigned char>(b));
        EXPECT_TRUE(seen.insert(c).second) << "byte " << b << " shares its character";
        EXPECT_EQ(UnicodeToCp1252(c), static_cast<unsigned char>(b)) << "byte " << b;
    }
}

TEST(Cp1252, KnownCharactersOfTheHighControlsRange)
{
    const struct { unsigned char byte; char32_t character; } rows[] = {
        {0x80, U'\u20AC'}, {0x85, U'\u2026'}, {0x8A, U'\u0160'}, {0x93, U'\u201C'}, {0x99, U'\u2122'},
        {0x9F, U'\u0178'}, {0x81, U'\u0081'}, {0x8D, U'\u008D'}, {0x8F, U'\u008F'}, {0x90, U'\u0090'},
        {0x9D, U'\u009D'}, {0xA0, U'\u00A0'}, {0xE9, U'\u00E9'}, {0x41, U'A'},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Cp1252ToUnicode(row.byte), row.character) << int(row.byte);
}

TEST(Cp1252, CharactersWithoutAByteAreRefused)
{
    // C1 controls other than the five unassigned codes: 0x80 is the euro sign, not U+0080.
    for (const char32_t c : {U'\u0080', U'\u009E', U'\u0100', U'\u20AD', U'\U0001F600', U'\uFFFD'})
        EXPECT_FALSE(HasCp1252Byte(c)) << std::hex << static_cast<unsigned>(c);
    EXPECT_FALSE(Utf8ToCp1252("caf\xC3\xA9 \xE2\x98\x83"));  // the snowman has no byte
    EXPECT_FALSE(U32ToCp1252(U"x\u0100"));
    EXPECT_EQ(Utf8ToCp1252Lossy("a\xE2\x98\x83" "b"), "a?b");
}

TEST(Cp1252, WholeStringsRoundTripThroughUtf8AndUtf32AndQString)
{
    const std::string bytes = AllBytes();
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(bytes)), bytes);
    EXPECT_EQ(U32ToCp1252(Cp1252ToU32(bytes)), bytes);
    const QString text = Cp1252ToQString(bytes);
    EXPECT_EQ(text.size(), 256);
    EXPECT_EQ(QStringToCp1252(text), bytes);
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");
}

TEST(Cp1252, MalformedUtf8IsRefused)
{
    const std::string_view malformed[] = {
        "\x80",             // a continuation byte alone
        "\xC3",             // cut short
        "\xC0\xAF",         // overlong '/'
        "\xE0\x80\xAF",     // overlong
        "\xED\xA0\x80",     // a surrogate
        "\xF4\x90\x80\x80", // past U+10FFFF
        "\xFF",
    };
    for (const auto text : malformed) {
        EXPECT_FALSE(DecodeUtf8(text)) << testing::PrintToString(std::string(text));
        EXPECT_FALSE(Utf8ToCp1252(text));
    }
    EXPECT_EQ(Utf8ToCp1252Lossy("a\xC3"), "a?");
    EXPECT_EQ(DecodeUtf8("\xF0\x9F\x98\x80"), std::u32string(U"\U0001F600"));
}

TEST(QtCp1252, SurrogatePairsHaveNoByteAndCountAsOneCharacter)
{
    const QString text = QStringLiteral("a") + QString::fromUcs4(U"\U0001F600", 1) + QStringLiteral("\u20AC");
    EXPECT_FALSE(QStringToCp1252(text));
    EXPECT_EQ(QStringToCp1252Lossy(text), "a?\x80");
    EXPECT_FALSE(QCharToCp1252(text.at(1)));
}
