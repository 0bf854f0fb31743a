// Markdown through md4c's HTML renderer; front matter through yaml-cpp.
#include "app/import/MarkdownHtml.h"

#include <md4c-html.h>
#include <yaml-cpp/yaml.h>

namespace quillory {

namespace {

// "![[name]]" and "![[name|300]]" as Markdown's own picture syntax, "![](<name>)".
std::string WithEmbedsAsPictures(std::string_view markdown)
{
    std::string out;
    out.reserve(markdown.size());
    std::size_t at = 0;
    for (std::size_t found = markdown.find("![[", at); found != std::string_view::npos;
         found = markdown.find("![[", at)) {
        const std::size_t close = markdown.find("]]", found + 3);
        const std::size_t line = markdown.find('\n', found + 3);
        if (close == std::string_view::npos || (line != std::string_view::npos && line < close))
            break;
        std::string_view name = markdown.substr(found + 3, close - found - 3);
        name = name.substr(0, name.find('|'));
        out.append(markdown.substr(at, found - at));
        if (name.find_first_of("<>") == std::string_view::npos) {
            out += "![](<";
            out.append(name);
            out += ">)";
        } else {
            out.append(markdown.substr(found, close + 2 - found));
        }
        at = close + 2;
    }
    out.append(markdown.substr(at));
    return out;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// An attribute value as md4c writes it back into its text: entities &amp; &quot; &lt; &gt; and
// percent escapes undone.
std::string AttributeText(std::string_view value)
{
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '&') {
            static constexpr std::pair<std::string_view, char> kEntities[] = {
                {"&amp;", '&'}, {"&quot;", '"'}, {"&lt;", '<'}, {"&gt;", '>'}};
            bool matched = false;
            for (const auto& [entity, c] : kEntities) {
                if (value.substr(i, entity.size()) == entity) {
                    out += c;
                    i += entity.size() - 1;
                    matched = true;
                    break;
                }
            }
            if (!matched)
                out += '&';
        } else if (value[i] == '%' && i + 2 < value.size() && HexValue(value[i + 1]) >= 0
                   && HexValue(value[i + 2]) >= 0) {
            out += char(HexValue(value[i + 1]) * 16 + HexValue(value[i + 2]));
            i += 2;
        } else {
            out += value[i];
        }
    }
    return out;
}

// Every <img src="..."> of md4c's output replaced by what `picture` makes of its source.
std::string ReplacePictures(const std::string& html, const MarkdownPicture& picture)
{
    static constexpr std::string_view kStart = "<img src=\"";
    std::string out;
    std::size_t at = 0;
    for (std::size_t found = html.find(kStart); found != std::string::npos; found = html.find(kStart, at)) {
        const std::size_t quote = html.find('"', found + kStart.size());
        const std::size_t end = quote == std::string::npos ? quote : html.find('>', quote);
        if (end == std::string::npos)
            break;
        out.append(html, at, found - at);
        const std::string source = AttributeText(std::string_view(html).substr(found + kStart.size(),
                                                                             quote - found - kStart.size()));
        if (picture)
            out += picture(source);
        at = end + 1;
    }
    out.append(html, at, std::string::npos);
    return out;
}

void AddTagWords(const std::string& text, std::vector<std::string>& tags)
{
    std::string word;
    for (const char c : text + ",") {
        if (c == ',' || c == ' ' || c == '\t') {
            if (!word.empty())
                tags.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
}

} // namespace

std::string MarkdownToHtml(std::string_view markdown, const MarkdownPicture& picture)
{
    const std::string text = WithEmbedsAsPictures(markdown);
    std::string html;
    const auto append = [](const MD_CHAR* piece, MD_SIZE size, void* into) {
        static_cast<std::string*>(into)->append(piece, size);
    };
    constexpr unsigned kDialect = MD_DIALECT_GITHUB | MD_FLAG_NOHTML;
    if (md_html(text.data(), MD_SIZE(text.size()), append, &html, kDialect, MD_HTML_FLAG_SKIP_UTF8_BOM) != 0)
        return {};
    return ReplacePictures(html, picture);
}

std::vector<std::string> TakeFrontMatter(std::string_view& markdown, std::string* problem)
{
    std::string_view text = markdown;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    if (!(text.substr(0, 4) == "---\n" || text.substr(0, 5) == "---\r\n"))
        return {};
    const std::size_t open = text.find('\n') + 1;
    std::size_t close = std::string_view::npos;
    std::size_t after = std::string_view::npos;
    for (std::size_t line = open; line < text.size();) {
        std::size_t next = text.find('\n', line);
        std::string_view content = text.substr(line, next == std::string_view::npos ? next : next - line);
        if (!content.empty() && content.back() == '\r')
            content.remove_suffix(1);
        if (content == "---" || content == "...") {
            close = line;
            after = next == std::string_view::npos ? text.size() : next + 1;
            break;
        }
        if (next == std::string_view::npos)
            break;
        line = next + 1;
    }
    if (close == std::string_view::npos)
        return {};
    const std::string yaml(text.substr(open, close - open));
    markdown = text.substr(after);
    std::vector<std::string> tags;
    try {
        const YAML::Node root = YAML::Load(yaml);
        if (!root.IsMap())
            return tags;
        for (const char* key : {"tags", "tag"}) {
            const YAML::Node node = root[key];
            if (!node.IsDefined())
                continue;
            if (node.IsScalar()) {
                AddTagWords(node.Scalar(), tags);
            } else if (node.IsSequence()) {
                for (std::size_t i = 0; i < node.size() && i < 1000; ++i) {
                    if (node[i].IsScalar())
                        AddTagWords(node[i].Scalar(), tags);
                }
            }
        }
    } catch (const std::exception& error) {
        if (problem)
            *problem = std::string("its front matter is no YAML (") + error.what() + ")";
    }
    return tags;
}

} // namespace quillory
