// Tests of the keyword lookup: first match wins, defaults, and the extra words.
#include "richtext/rtf/RtfKeywordTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quillory::rtf;

TEST(RtfKeywordTable, FindsTheFirstEntryOfAName)
{
    // \pict appears twice; the second (skip) entry is never reached.
    const RtfKeyword* pict = FindRtfKeyword("pict");
    ASSERT_NE(pict, nullptr);
    EXPECT_EQ(pict->id, RtfKeywordId::Picture);
    EXPECT_EQ(FindRtfKeyword("unknownword"), nullptr);
    EXPECT_EQ(FindRtfKeyword("B"), nullptr); // names are case-sensitive
    for (const RtfKeyword& keyword : RtfKeywordTable())
        EXPECT_NE(FindRtfKeyword(keyword.name), nullptr) << keyword.name;
}

TEST(RtfKeywordTable, AppliesDefaultsAndAlwaysDefaultWords)
{
    struct Case {
        std::string_view word;
        bool hasParameter;
        int32_t parameter;
        int32_t expected;
    } const cases[] = {
        {"b", false, 0, 1},    {"b", true, 0, 0},     {"qc", true, 5, 2},
        {"fs", false, 0, 100}, {"fs", true, 23, 23},  {"keep", true, 0, 1},
        {"picscalex", false, 0, 100}, {"uc", false, 0, 1},
    };
    for (const auto& c : cases) {
        const RtfKeyword* keyword = FindRtfKeyword(c.word);
        ASSERT_NE(keyword, nullptr) << c.word;
        EXPECT_EQ(RtfKeywordParameter(*keyword, c.hasParameter, c.parameter), c.expected) << c.word;
    }
}

TEST(RtfKeywordTable, SymbolWordsInsertTheirCp1252Characters)
{
    struct Case {
        std::string_view word;
        int32_t code;
    } const cases[] = {
        {"lquote", 0x91}, {"rquote", 0x92}, {"ldblquote", 0x93}, {"rdblquote", 0x94},
        {"bullet", 0x95}, {"endash", 0x96}, {"emdash", 0x97},    {"~", 0xA0},
        {"_", '-'},       {"-", 0xAD},      {"tab", 9},          {"\\", '\\'},
    };
    for (const auto& c : cases) {
        const RtfKeyword* keyword = FindRtfKeyword(c.word);
        ASSERT_NE(keyword, nullptr) << c.word;
        EXPECT_EQ(keyword->kind, RtfKeywordKind::InsertChar) << c.word;
        EXPECT_EQ(keyword->value, c.code) << c.word;
    }
}

TEST(RtfKeywordTable, TheKeyOfAWordFindsWhatItsNameFinds)
{
    std::vector<std::string> words;
    for (const auto table : {RtfKeywordTable(), RtfExtraKeywords()})
        for (const RtfKeyword& keyword : table) {
            const std::string name(keyword.name);
            words.push_back(name);
            words.push_back(name + "x");                   // one letter more
            words.push_back(name.substr(0, name.size() - 1)); // one fewer
        }
    words.push_back(std::string("b\0", 2));       // a zero byte would vanish in a key
    words.push_back(std::string("\0", 1));
    words.push_back("abcdefghijklmnop");           // sixteen letters, the longest key
    words.push_back("abcdefghijklmnopq");          // longer: no key, no keyword
    for (const std::string& word : words) {
        const RtfKeyword* byName = FindRtfKeyword(std::string_view(word));
        if (byName)
            EXPECT_EQ(byName->name, word);
        if (word.find('\0') == std::string::npos && !word.empty())
            EXPECT_EQ(FindRtfKeyword(MakeRtfWordKey(word)), byName) << word;
    }
    EXPECT_EQ(FindRtfKeyword(std::string_view("b\0", 2)), nullptr);
    EXPECT_EQ(FindRtfKeyword(RtfWordKey{}), nullptr);
}
