// RedNotebook's month files: txt2tags markup, categories as tags, pictures found or named,
// and YAML that is refused.
#include "ImportFixture.h"

#include "app/import/DiaryImport.h"
#include "app/import/ImportSources.h"
#include "app/import/Txt2Tags.h"
#include "platform/Error.h"

namespace quillory {
namespace {

using RedNotebookImportTest = ImportTest;

TEST(Txt2TagsTest, MarkupBecomesHtml)
{
    const auto picture = [](const std::string& file) { return "<img src=\"" + file + "\">"; };
    const struct {
        const char* name;
        const char* text;
        const char* html;
    } cases[] = {
        {"styles", "**b** //i// __u__ --s--", "<p><b>b</b> <i>i</i> <u>u</u> <s>s</s></p>\n"},
        {"nested", "**bold //both//**", "<p><b>bold <i>both</i></b></p>\n"},
        {"no style across a blank", "** not** a//b c", "<p>** not** a//b c</p>\n"},
        {"heading", "=== Title ===\nbody", "<h3>Title</h3>\n<p>body</p>\n"},
        {"lists", "- a\n- b\n+ one", "<ul>\n<li>a</li>\n<li>b</li>\n</ul>\n<ol>\n<li>one</li>\n</ol>\n"},
        {"link", "see [the site ""https://x.example/?a=1&b""]", "<p>see <a href=\"https://x.example/?a=1&amp;b\">the site</a></p>\n"},
        {"picture", "[\"\"/p/cat\"\".png?200] x", "<p><img src=\"/p/cat.png\"> x</p>\n"},
        {"day link and brackets kept", "[2020-01-02] [not a link]", "<p>[2020-01-02] [not a link]</p>\n"},
        {"escaped", "a < b & \"c\"\\\\", "<p>a &lt; b &amp; &quot;c&quot;</p>\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Txt2TagsToHtml(c.text, picture), c.html) << c.name;
}

TEST_F(RedNotebookImportTest, MonthFilesBecomeEntries)
{
    const std::filesystem::path cat = source.write("pictures/cat.png", "not really a png");
    source.write("data/2020-07.txt", "14:\n  text: |-\n    **far out** #hashtag\n    [\"\"" + (source.path() / "pictures/cat").string()
                                         + "\"\".png] [\"\"/nowhere/dog\"\".jpg]\n    Привет\n"
                                           "  Work: {\"met X\": null}\n  Idea: null\n"
                                           "31: {text: fine}\n"
                                           "40: {text: no such day}\n");
    source.write("data/2020-07.txt.old", "1: {text: old copy}\n");
    source.write("data/2020-08.txt", "1: {text: [unclosed\n");
    const ImportSource read = ReadRedNotebookFolder(source.path() / "data");
    ASSERT_EQ(read.entries.size(), 2u);
    ImportIntoDiary(read, {});
    // The picture that is no PNG or JPEG and the missing one are both left out.
    EXPECT_EQ(EntryText(D(2020, 7, 14)), "far out #hashtag|Привет|#Work|\u2022\tmet X|#Idea");
    EXPECT_EQ(EntryText(D(2020, 7, 31)), "fine");
    std::string problems;
    for (const std::string& problem : read.problems)
        problems += problem + "\n";
    EXPECT_NE(problems.find("picture /nowhere/dog.jpg is missing"), std::string::npos) << problems;
    EXPECT_NE(problems.find("cat.png is no PNG or JPEG picture"), std::string::npos) << problems;
    EXPECT_NE(problems.find("\"40\" is no day"), std::string::npos) << problems;
    EXPECT_NE(problems.find("2020-08.txt: no YAML"), std::string::npos) << problems;
    EXPECT_EQ(problems.find("old copy"), std::string::npos);
}

TEST_F(RedNotebookImportTest, HostileYamlIsBounded)
{
    ImportSource into;
    // Aliases naming one mapping over and over: read within the budget, not expanded.
    std::string laughs = "a: &a {x: 1, y: 2, z: 3, w: 4, v: 5, u: 6, t: 7, s: 8, r: 9, q: 10}\n1: {text: t";
    for (int i = 0; i < 2000; ++i)
        laughs += ", c" + std::to_string(i) + ": *a";
    laughs += "}\n";
    ReadRedNotebookMonth(2020, 1, laughs, into);
    EXPECT_EQ(into.entries.size(), 1u);
    // Nesting deeper than the parser allows is refused, not a crash.
    ReadRedNotebookMonth(2020, 1, std::string(100000, '[') , into);
    EXPECT_FALSE(into.problems.empty());
    EXPECT_THROW(ReadRedNotebookFolder(source.path() / "none"), Error);
}

} // namespace
} // namespace quillory
