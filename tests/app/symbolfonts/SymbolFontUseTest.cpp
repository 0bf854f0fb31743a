// Which RTF texts make the program load the symbol fonts before showing them.
#include "app/SymbolFontUse.h"

#include <gtest/gtest.h>

namespace {

TEST(SymbolFontUseTest, ASymbolCharsetOrASymbolFamilyNeedsTheFonts)
{
    struct Case { const char* rtf; bool needs; };
    const Case cases[] = {
        {"{\\rtf1{\\fonttbl{\\f0\\fnil\\fcharset2 Wingdings;}}\\f0 J}", true},
        {"{\\rtf1{\\fonttbl{\\f0\\fcharset2 Some Font;}}x}", true},      // any font of the symbol set
        {"{\\rtf1{\\fonttbl{\\f0 WEBDINGS;}}x}", true},                  // by name, any letter case
        {"{\\rtf1{\\fonttbl{\\f0 Marlett;}}x}", true},
        {"{\\rtf1{\\fonttbl{\\f0 Symbol;}}x}", true},
        {"{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0 Arial;}}\\f0 x\\fcharset2}", true},
        {"{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset238 Times;}}x}", false},
        {"{\\rtf1{\\fonttbl{\\f0\\fcharset204 Arial;}{\\f1\\fcharset222 Tahoma;}}x}", false},  // 2 is not 204 or 222
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(quillory::MayNameSymbolFont(c.rtf), c.needs) << c.rtf;
}

} // namespace
