// The help's contents page, built from the page files that are there; and the pages shipped with
// the program, each with a title and no link to a page that could be dropped.
#include "app/HelpPages.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace quillory {
namespace {

namespace fs = std::filesystem;

TEST(HelpPages, ContentsListsThePagesInFileOrderWithTheirTitles)
{
    TempFolder folder;
    folder.write("02-b.html", "<html><head><TITLE> Second &amp; more </TITLE></head></html>");
    folder.write("01-a.html", "<html><head><title>First</title></head></html>");
    folder.write("03-untitled.html", "<p>no title</p>");
    folder.write("contents.html", "<title>Old contents</title>");
    folder.write("notes.txt", "<title>not a page</title>");

    const std::vector<HelpPage> pages = ListHelpPages(folder.withSlash());
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].fileName, "01-a.html");
    EXPECT_EQ(pages[0].title, "First");
    EXPECT_EQ(pages[1].title, "Second &amp; more");
    EXPECT_EQ(pages[2].title, "03-untitled");

    const std::string html = HelpContentsHtml(pages);
    const auto first = html.find("href=\"01-a.html\">First<");
    const auto second = html.find("href=\"02-b.html\">Second &amp; more<");
    ASSERT_NE(second, std::string::npos) << html;
    EXPECT_LT(first, second);
    EXPECT_EQ(html.find("missing"), std::string::npos);
}

TEST(HelpPages, AMissingFolderGivesContentsThatSaySo)
{
    EXPECT_TRUE(ListHelpPages("/nonexistent/help/").empty());
    EXPECT_NE(HelpContentsHtml({}).find("The help pages are missing"), std::string::npos);
}

// Every shipped page can be dropped with its feature: a page links to no other page.
TEST(HelpPages, ShippedPagesHaveTitlesAndStandAlone)
{
    const fs::path shipped = fs::path(QUILLORY_CORPORA).parent_path().parent_path() / "resources" / "help";
    const std::vector<HelpPage> pages = ListHelpPages(shipped.string() + "/");
    ASSERT_GE(pages.size(), 10u);
    const std::regex link(R"(href\s*=\s*"([^"]*)\")", std::regex::icase);
    for (const HelpPage& page : pages) {
        std::ifstream in(shipped / page.fileName);
        std::stringstream text;
        text << in.rdbuf();
        EXPECT_FALSE(HtmlTitle(text.str()).empty()) << page.fileName;
        const std::string html = text.str();
        for (auto it = std::sregex_iterator(html.begin(), html.end(), link); it != std::sregex_iterator(); ++it)
            EXPECT_EQ((*it)[1].str().find(".html"), std::string::npos) << page.fileName << " links to " << (*it)[1];
    }
}

} // namespace
} // namespace quillory
