// A line-by-line reading of txt2tags as RedNotebook writes it. Every marker is looked for once
// per line, so that a hostile line costs time in proportion to its length.
#include "app/import/Txt2Tags.h"

#include "app/import/ImportHtml.h"

#include <array>
#include <cctype>

namespace quillory {

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t';
}

// Inline styles of a stretch of plain text (no links or pictures in it).
std::string StyledText(std::string_view text)
{
    struct Marker {
        std::string_view mark;
        const char* tag;
    };
    static constexpr std::array<Marker, 4> kMarkers = {
        {{"**", "b"}, {"//", "i"}, {"__", "u"}, {"--", "s"}}};
    // Where each marker's next closing mark lies; found once, moved on only past it.
    std::array<std::size_t, 4> nextClose{};
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        bool styled = false;
        for (std::size_t m = 0; m < kMarkers.size() && !styled; ++m) {
            const std::string_view mark = kMarkers[m].mark;
            if (text.substr(i, 2) != mark || i + 2 >= text.size() || IsSpace(text[i + 2]))
                continue;
            if (nextClose[m] != std::string_view::npos && nextClose[m] <= i + 2)
                nextClose[m] = text.find(mark, i + 3);
            const std::size_t close = nextClose[m];
            if (close == std::string_view::npos || IsSpace(text[close - 1]))
                continue;
            out += std::string("<") + kMarkers[m].tag + ">" + StyledText(text.substr(i + 2, close - i - 2)) + "</"
                 + kMarkers[m].tag + ">";
            i = close + 2;
            styled = true;
        }
        if (!styled) {
            out += EscapeHtml(text.substr(i, 1));
            ++i;
        }
    }
    return out;
}

bool IsPictureName(std::string_view name)
{
    std::string lower(name.substr(name.size() >= 5 ? name.size() - 5 : 0));
    for (char& c : lower)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    for (const std::string_view ending : {".png", ".jpg", ".jpeg", ".gif", ".bmp"}) {
        if (lower.size() >= ending.size() && lower.substr(lower.size() - ending.size()) == ending)
            return true;
    }
    return false;
}

// One line's text: bracketed links and pictures, the rest styled.
std::string LineHtml(std::string_view line, const Txt2TagsPicture& picture)
{
    std::string out;
    std::size_t plain = 0;
    std::size_t close = 0;  // the first ']' after the '[' looked at, found once for many '['
    for (std::size_t open = line.find('['); open != std::string_view::npos; open = line.find('[', open + 1)) {
        if (close != std::string_view::npos && close <= open)
            close = line.find(']', open + 1);
        if (close == std::string_view::npos)
            break;
        const std::string_view inside = line.substr(open + 1, close - open - 1);
        std::string html;
        // [""/path/name"".png] or [""/path/name"".png?300]: a picture.
        if (inside.substr(0, 2) == "\"\"") {
            const std::size_t quotes = inside.find("\"\"", 2);
            if (quotes != std::string_view::npos) {
                std::string file(inside.substr(2, quotes - 2));
                std::string_view rest = inside.substr(quotes + 2);
                rest = rest.substr(0, rest.find('?'));
                file += rest;
                if (file.rfind("file://", 0) == 0)
                    file.erase(0, 7);
                if (IsPictureName(file))
                    html = picture ? picture(file) : std::string();
            }
        } else if (const std::size_t space = inside.rfind(' '); space != std::string_view::npos && space > 0) {
            // [label target] or [label ""target""]: a link.
            std::string_view target = inside.substr(space + 1);
            if (target.size() > 4 && target.substr(0, 2) == "\"\"" && target.substr(target.size() - 2) == "\"\"")
                target = target.substr(2, target.size() - 4);
            if (target.find("://") != std::string_view::npos || target.rfind("mailto:", 0) == 0)
                html = "<a href=\"" + EscapeHtml(target) + "\">" + StyledText(inside.substr(0, space)) + "</a>";
        }
        if (html.empty() && !(inside.substr(0, 2) == "\"\""))
            continue;
        out += StyledText(line.substr(plain, open - plain)) + html;
        plain = close + 1;
        open = close;
    }
    out += StyledText(line.substr(plain));
    return out;
}

// "= title =" to "===== title =====": the heading's level, or 0.
int HeadingLevel(std::string_view line, std::string_view& title)
{
    std::size_t level = 0;
    while (level < line.size() && line[level] == '=')
        ++level;
    if (level == 0 || level > 5 || line.size() < 2 * level + 1)
        return 0;
    if (line.substr(line.size() - level) != line.substr(0, level) || line[line.size() - level - 1] == '=')
        return 0;
    title = line.substr(level, line.size() - 2 * level);
    while (!title.empty() && IsSpace(title.front()))
        title.remove_prefix(1);
    while (!title.empty() && IsSpace(title.back()))
        title.remove_suffix(1);
    return title.empty() ? 0 : int(level);
}

} // namespace

std::string Txt2TagsToHtml(std::string_view text, const Txt2TagsPicture& picture)
{
    std::string out;
    std::string list;  // "ul" or "ol" while one is open
    const auto closeList = [&] {
        if (!list.empty())
            out += "</" + list + ">\n";
        list.clear();
    };
    std::size_t at = 0;
    while (at <= text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        // A forced line break is a line end here anyway.
        while (line.size() >= 2 && line.substr(line.size() - 2) == "\\\\")
            line.remove_suffix(2);
        std::string_view title;
        if (const int level = HeadingLevel(line, title)) {
            closeList();
            const std::string tag = "h" + std::to_string(level);
            out += "<" + tag + ">" + EscapeHtml(title) + "</" + tag + ">\n";
            continue;
        }
        if (line.size() >= 2 && (line[0] == '-' || line[0] == '+') && line[1] == ' ') {
            const std::string kind = line[0] == '-' ? "ul" : "ol";
            if (list != kind) {
                closeList();
                out += "<" + kind + ">\n";
                list = kind;
            }
            out += "<li>" + LineHtml(line.substr(2), picture) + "</li>\n";
            continue;
        }
        closeList();
        if (at > text.size() && line.empty())
            break;
        out += "<p>" + LineHtml(line, picture) + "</p>\n";
    }
    closeList();
    return out;
}

} // namespace quillory
