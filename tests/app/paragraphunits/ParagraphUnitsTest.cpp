// The paragraph dialog's numbers: twips shown in inches, centimetres and points, and typed text
// read back with round-half-even.
#include "app/ParagraphUnits.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

TEST(ParagraphUnits, TwipsAreShownInTheUnitOfTheEdit)
{
    struct Case { int twips; ValueKind kind; IndentUnit unit; const char* text; };
    const Case cases[] = {
        {1440, ValueKind::Indent, IndentUnit::Inch, "1.00"},
        {1000, ValueKind::Indent, IndentUnit::Inch, "0.69"},
        {1440, ValueKind::Indent, IndentUnit::Cm, "2.54"},
        {-720, ValueKind::Indent, IndentUnit::Inch, "-0.50"},
        {0, ValueKind::Indent, IndentUnit::Cm, "0.00"},
        {1234, ValueKind::Indent, IndentUnit::Twips, "1234"},
        {250, ValueKind::Points, IndentUnit::Cm, "12"},  // 12.5 points: the half goes to the even 12
        {270, ValueKind::Points, IndentUnit::Inch, "14"}, // 13.5 goes to 14
        {240, ValueKind::Points, IndentUnit::Inch, "12"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TwipsToText(c.twips, c.kind, c.unit), c.text) << c.twips;
    EXPECT_EQ(TwipsToText(1000, ValueKind::Indent, IndentUnit::Inch, ','), "0,69");
}

TEST(ParagraphUnits, TextIsReadBackIntoTwips)
{
    struct Case { const char* text; ValueKind kind; IndentUnit unit; int twips; };
    const Case cases[] = {
        {"0.69", ValueKind::Indent, IndentUnit::Inch, 994},
        {"2.54", ValueKind::Indent, IndentUnit::Cm, 1440},
        {"1", ValueKind::Indent, IndentUnit::Cm, 567},
        {"-0.5", ValueKind::Indent, IndentUnit::Inch, -720},
        {"+1", ValueKind::Indent, IndentUnit::Inch, 1440},
        {" 1.5 ", ValueKind::Indent, IndentUnit::Inch, 2160},
        {"", ValueKind::Indent, IndentUnit::Inch, 0},
        {"12", ValueKind::Points, IndentUnit::Inch, 240},
        {"0.025", ValueKind::Points, IndentUnit::Inch, 0}, // half a twip goes to the even 0
        {"0.075", ValueKind::Points, IndentUnit::Inch, 2}, // one and a half go to 2
        {"1e1", ValueKind::Points, IndentUnit::Inch, 200},
        {"99", ValueKind::Indent, IndentUnit::Twips, 99},
    };
    for (const Case& c : cases) {
        const auto twips = TextToTwips(c.text, c.kind, c.unit);
        ASSERT_TRUE(twips) << c.text;
        EXPECT_EQ(*twips, c.twips) << c.text;
    }
    EXPECT_EQ(TextToTwips("0,5", ValueKind::Indent, IndentUnit::Inch, ','), 720);
    EXPECT_EQ(TextToTwips("0.5", ValueKind::Indent, IndentUnit::Inch, ','), 720) << "the point is always understood";
}

TEST(ParagraphUnits, WhatIsNoNumberIsRefusedWithTheConversionError)
{
    for (const char* text : {"-", ".", "abc", "1.2.3", "1 2", "inf", "nan", "--1", "+-1", "1e400"})
        EXPECT_FALSE(TextToTwips(text, ValueKind::Indent, IndentUnit::Inch)) << text;
    EXPECT_EQ(NotAFloatMessage("abc"), "'abc' is not a valid floating point value");
}

} // namespace
} // namespace quillory
