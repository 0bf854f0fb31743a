// The help's pages and the contents page built from them.
#include "app/HelpPages.h"

#include "platform/ProgramFolder.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace quillory {

namespace {

namespace fs = std::filesystem;

std::string Lower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return lower;
}

std::string Escaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// The start of a page is enough to find its title.
std::string ReadStart(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string text(4096, '\0');
    in.read(text.data(), std::streamsize(text.size()));
    text.resize(std::size_t(in.gcount()));
    return text;
}

} // namespace

std::string HelpFolder()
{
    return DataFolder() + "help/";
}

std::string HtmlTitle(std::string_view html)
{
    const std::string lower = Lower(html);
    const auto open = lower.find("<title>");
    if (open == std::string::npos)
        return {};
    const auto start = open + 7;
    const auto close = lower.find("</title>", start);
    if (close == std::string::npos)
        return {};
    std::string_view title = html.substr(start, close - start);
    while (!title.empty() && std::isspace(static_cast<unsigned char>(title.front())))
        title.remove_prefix(1);
    while (!title.empty() && std::isspace(static_cast<unsigned char>(title.back())))
        title.remove_suffix(1);
    return std::string(title);
}

std::vector<HelpPage> ListHelpPages(const std::string& folder)
{
    std::vector<HelpPage> pages;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        const std::string lower = Lower(name);
        if (!entry.is_regular_file(error) || lower.size() < 5 || lower.substr(lower.size() - 5) != ".html"
            || lower == "contents.html")
            continue;
        std::string title = HtmlTitle(ReadStart(entry.path()));
        if (title.empty())
            title = name.substr(0, name.size() - 5);
        pages.push_back(HelpPage{name, std::move(title)});
    }
    std::sort(pages.begin(), pages.end(), [](const HelpPage& a, const HelpPage& b) { return a.fileName < b.fileName; });
    return pages;
}

std::string HelpContentsHtml(const std::vector<HelpPage>& pages)
{
    std::string html = "<html><head><title>Contents</title></head><body>\n<h1>Quillory Help</h1>\n"
                       "<p>Quillory is a diary: one page for every day, written and formatted like a letter, kept "
                       "in files on your own computer. Pick a topic to read about it.</p>\n<ul>\n";
    for (const HelpPage& page : pages)
        // The title is HTML text already, entities and all.
        html += "<li><a href=\"" + Escaped(page.fileName) + "\">" + page.title + "</a></li>\n";
    html += "</ul>\n";
    if (pages.empty())
        html += "<p>The help pages are missing: they belong in the folder \"help\" beside the program.</p>\n";
    html += "</body></html>\n";
    return html;
}

} // namespace quillory
