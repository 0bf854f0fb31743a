// The Markdown and JSON writers of the export.
#include "app/ExportMarkdown.h"

#include "platform/Utf8.h"

#include <cctype>
#include <cstdio>
#include <map>
#include <set>

namespace quillory {

namespace {

constexpr std::uint8_t kMarked = AttrStyle::Bold | AttrStyle::Italic | AttrStyle::StrikeOut;

bool IsTagByte(unsigned char c)
{
    return std::isalnum(c) || c == '_' || c == '-' || c == '/' || c >= 0x80;
}

// Text escaped so that Markdown reads it as the same characters; `lineStart` when it begins
// the paragraph, where a few more characters start blocks.
std::string Escaped(std::string_view text, bool lineStart)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (std::string_view("\\*_[]`~<>&!|").find(c) != std::string_view::npos)
            out += '\\';
        else if (c == '#' && i == 0 && lineStart && (text.size() == 1 || text[1] == ' ' || text[1] == '#'))
            out += '\\';
        else if ((c == '-' || c == '+' || c == '=') && i == 0 && lineStart)
            out += '\\';
        out += c;
        if (lineStart && i == 0 && std::isdigit(static_cast<unsigned char>(c))) {
            // "1." or "1)" at the start would begin a numbered list.
            std::size_t digits = 1;
            while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits])))
                ++digits;
            if (digits < text.size() && (text[digits] == '.' || text[digits] == ')')) {
                out.append(text.substr(1, digits - 1));
                out += '\\';
                i = digits - 1;
            }
        }
    }
    return out;
}

std::string Markers(std::uint8_t style)
{
    std::string markers;
    if (style & AttrStyle::Bold)
        markers += "**";
    if (style & AttrStyle::Italic)
        markers += "*";
    if (style & AttrStyle::StrikeOut)
        markers += "~~";
    return markers;
}

std::string Reversed(std::string markers)
{
    // "***~~" closes as "~~***": each opener's closer in the opposite order.
    std::string closing;
    for (std::size_t i = markers.size(); i > 0;) {
        if (markers.compare(i >= 2 ? i - 2 : 0, 2, "~~") == 0 && i >= 2) {
            closing += "~~";
            i -= 2;
        } else {
            closing += markers[i - 1];
            --i;
        }
    }
    return closing;
}

struct Run {
    std::string text;
    std::uint8_t style = 0;
    bool hidden = false;
    bool link = false;
    int object = -1;  // the object's tag, for a placeholder
};

std::vector<Run> RunsOf(const TParagraph& paragraph)
{
    std::vector<Run> runs;
    for (const TTextLine* line = paragraph.firstLine(); line; line = line->next()) {
        const TAttr* attrs = line->attrs();
        for (int i = 0; i < line->length(); ++i) {
            const TAttr attr = attrs ? attrs[i] : TAttr{};
            const unsigned char c = line->code(i);
            Run piece;
            piece.style = attr.style & kMarked;
            piece.hidden = attr.hasFlag(AttrFlag::Hidden);
            piece.link = attr.hasStyle(AttrStyle::Hyperlink);
            if (attr.hasFlag(AttrFlag::Object) && (c == CharCode::Object || c == CharCode::ObjectSecond)) {
                piece.object = attr.tag;
                runs.push_back(piece);
                continue;
            }
            if (c < 32 && c != CharCode::Tab && c != CharCode::SoftBreak)
                continue;
            Run& last = runs.empty() ? runs.emplace_back(piece) : runs.back();
            if (last.object >= 0 || last.style != piece.style || last.hidden != piece.hidden || last.link != piece.link)
                runs.push_back(piece);
            runs.back().text += char(c);
        }
    }
    return runs;
}

std::string StyledRun(const Run& run, bool lineStart)
{
    if (run.text.find_first_not_of(" \t") == std::string::npos || run.style == 0)
        return Escaped(run.text, lineStart);
    // Emphasis may not begin or end with a blank: blanks stay outside the markers.
    const std::size_t first = run.text.find_first_not_of(" \t");
    const std::size_t last = run.text.find_last_not_of(" \t");
    const std::string markers = Markers(run.style);
    return run.text.substr(0, first) + markers + Escaped(run.text.substr(first, last + 1 - first), lineStart && first == 0)
         + Reversed(markers) + run.text.substr(last + 1);
}

bool IsHeading(const TParagraph& paragraph)
{
    bool any = false;
    for (const TTextLine* line = paragraph.firstLine(); line; line = line->next()) {
        const TAttr* attrs = line->attrs();
        for (int i = 0; i < line->length(); ++i) {
            if (!attrs || !attrs[i].hasStyle(AttrStyle::Bold) || attrs[i].pointSize() < 12)
                return false;
            any = true;
        }
    }
    return any;
}

std::string Extension(GraphicKind kind)
{
    switch (kind) {
    case GraphicKind::Png: return ".png";
    case GraphicKind::Jpeg: return ".jpg";
    case GraphicKind::Dib: return ".bmp";
    case GraphicKind::Metafile: return ".wmf";
    case GraphicKind::DeviceBitmap: return {};
    }
    return {};
}

void AppendJsonString(std::string& out, std::string_view text)
{
    out += '"';
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(c));
                out += escape;
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

} // namespace

std::vector<std::string> TagsOfText(std::string_view text)
{
    std::vector<std::string> tags;
    std::set<std::string> seen;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '#' || (i > 0 && !std::isspace(static_cast<unsigned char>(text[i - 1]))))
            continue;
        std::size_t end = i + 1;
        while (end < text.size() && IsTagByte(static_cast<unsigned char>(text[end])))
            ++end;
        std::string tag(text.substr(i + 1, end - i - 1));
        while (!tag.empty() && (tag.back() == '-' || tag.back() == '/'))
            tag.pop_back();
        // A tag has a letter: "#1" is a number, not a tag.
        bool letter = false;
        for (const char c : tag)
            letter |= !std::isdigit(static_cast<unsigned char>(c));
        if (!tag.empty() && letter && seen.insert(tag).second)
            tags.push_back(tag);
        i = end - 1;
    }
    return tags;
}

MarkdownEntry EntryAsMarkdown(const TWPRTFText& document, Day day)
{
    MarkdownEntry entry;
    std::string body;
    std::string plain;
    for (const TParagraph* paragraph = document.firstParagraph(); paragraph; paragraph = paragraph->next()) {
        std::vector<Run> runs = RunsOf(*paragraph);
        // A large bold paragraph is a heading, whose boldness the heading itself says.
        const bool heading = IsHeading(*paragraph);
        if (heading) {
            for (Run& run : runs)
                run.style &= std::uint8_t(~AttrStyle::Bold);
        }
        std::string line;
        bool start = !heading;
        std::string linkTarget;
        for (const Run& run : runs) {
            if (run.object >= 0) {
                const TTextObject* object = document.findObject(run.object);
                const std::string extension = object && object->graphic ? Extension(object->graphic->kind) : "";
                if (!extension.empty()) {
                    const std::string name =
                        IsoText(day) + "-" + std::to_string(entry.pictures.size() + 1) + extension;
                    entry.pictures.push_back({name, object->graphic->bytes});
                    line += "![](" + name + ")";
                    start = false;
                }
                continue;
            }
            plain += run.text + " ";
            if (run.hidden && !run.link) {
                linkTarget = run.text;  // a link's target, shown by the text after it
                continue;
            }
            if (run.link && !linkTarget.empty()) {
                line += "[" + StyledRun(run, false) + "](<" + linkTarget + ">)";
                linkTarget.clear();
            } else if (run.link && run.text.find("://") != std::string::npos
                       && run.text.find_first_of(" <>") == std::string::npos) {
                line += "<" + run.text + ">";
            } else if (!run.hidden) {
                line += StyledRun(run, start);
            }
            start = false;
        }
        plain += '\n';
        // A list item as the HTML reader makes it: a bullet and a tab before the text.
        if (line.rfind("\u2022\t", 0) == 0)
            line = "- " + line.substr(4);
        else if (heading && !line.empty())
            line = "## " + line;
        std::string out;
        for (const char c : line)
            out += c == '\n' ? std::string("\\\n") : std::string(1, c);
        if (!out.empty())
            body += out + "\n\n";
    }
    const std::vector<std::string> tags = TagsOfText(plain);
    if (!tags.empty()) {
        entry.markdown = "---\ntags:\n";
        for (const std::string& tag : tags) {
            std::string quoted;
            AppendJsonString(quoted, tag);  // a JSON string is a YAML string too
            entry.markdown += "  - " + quoted + "\n";
        }
        entry.markdown += "---\n";
    }
    entry.markdown += body;
    return entry;
}

std::string EntriesAsJson(const std::vector<JsonEntry>& entries)
{
    std::map<std::string, int> counts;
    std::string list;
    for (const JsonEntry& entry : entries) {
        std::string text = entry.text;
        while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
            text.pop_back();
        // The title is the first sentence of the first line, as jrnl splits an entry.
        std::size_t split = text.find('\n');
        for (std::size_t i = 0; i + 1 < text.size() && i < split; ++i) {
            if ((text[i] == '.' || text[i] == '?' || text[i] == '!') && text[i + 1] == ' ') {
                split = i + 1;
                break;
            }
        }
        const std::string title = text.substr(0, split);
        std::string body = split < text.size() ? text.substr(split + 1) : std::string();
        const std::vector<std::string> tags = TagsOfText(text);
        list += list.empty() ? "\n    {" : ",\n    {";
        list += "\"title\": ";
        AppendJsonString(list, title);
        list += ", \"body\": ";
        AppendJsonString(list, body);
        list += ", \"date\": \"" + IsoText(entry.day) + "\", \"time\": \"09:00\", \"tags\": [";
        bool starred = false;
        for (std::size_t i = 0; i < tags.size(); ++i) {
            list += i ? ", " : "";
            AppendJsonString(list, "#" + tags[i]);
            ++counts["#" + tags[i]];
            starred |= tags[i] == "starred";
        }
        list += std::string("], \"starred\": ") + (starred ? "true" : "false") + "}";
    }
    std::string json = "{\n  \"tags\": {";
    bool first = true;
    for (const auto& [tag, count] : counts) {
        json += first ? "" : ", ";
        AppendJsonString(json, tag);
        json += ": " + std::to_string(count);
        first = false;
    }
    json += "},\n  \"entries\": [" + list + (list.empty() ? "]\n}\n" : "\n  ]\n}\n");
    return json;
}

} // namespace quillory
