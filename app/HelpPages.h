// The help's pages: HTML files in the folder "help" beside the program, one per topic. The
// contents page is built from the pages that are there, so a topic is added or dropped with its
// file alone.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillory {

// The topic number that the help command asks for: the contents.
inline constexpr int kHelpContentsTopic = 1009;

// DataFolder() + "help/".
std::string HelpFolder();

struct HelpPage {
    std::string fileName; // "02-writing.html"
    std::string title;    // the text of its <title>, or the file name without extension
};

// The pages of the folder (files ending in ".html", except "contents.html"), ordered by file
// name; empty when the folder is missing.
std::vector<HelpPage> ListHelpPages(const std::string& folder);

// The contents page: a heading, a short introduction and a link to every page.
std::string HelpContentsHtml(const std::vector<HelpPage>& pages);

// The title of an HTML text: what stands between <title> and </title>, trimmed; empty when none.
std::string HtmlTitle(std::string_view html);

} // namespace quillory
