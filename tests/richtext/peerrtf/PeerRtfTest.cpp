// RTF written by other word processors (tests/data/peer-rtf): every file loads without error and
// gives the paragraphs, text and character attributes that its .expect file lists (the format is
// described in tests/data/peer-rtf/README.md).
#include "richtext/io/DocumentFormat.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

using namespace quillory;

namespace {

const std::filesystem::path kFolder = std::filesystem::path(QUILLORY_TEST_DATA) / "peer-rtf";

std::string ReadFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Expected text (UTF-8, as the document holds it) with the escapes of the .expect format resolved.
std::string Unescape(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 5) == "{obj}") {
            out += char(CharCode::Object);
            i += 4;
        } else if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[++i];
            out += next == 't' ? '\t' : next == 'n' ? '\n' : next;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string ParagraphText(const TParagraph& paragraph)
{
    std::string text = paragraph.text();
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

// The words of an "@" line: a quoted needle, then properties (values may be quoted).
std::vector<std::string> Words(std::string_view line)
{
    std::vector<std::string> words;
    std::string word;
    bool quoted = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (c == ' ' && !quoted) {
            if (!word.empty())
                words.push_back(std::move(word));
            word.clear();
            continue;
        }
        word += c;
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

struct Found {
    const TParagraph* paragraph = nullptr;
    std::vector<std::pair<const TTextLine*, int>> characters;
};

Found Find(const TWPRTFText& document, const std::string& needle)
{
    for (const TParagraph* p = document.firstParagraph(); p; p = p->next()) {
        std::vector<std::pair<const TTextLine*, int>> places;
        std::string text;
        for (const TTextLine* line = p->firstLine(); line; line = line->next()) {
            for (int i = 0; i < line->length(); ++i) {
                text += char(line->code(i));
                places.emplace_back(line, i);
            }
        }
        const auto at = text.find(needle);
        if (at != std::string::npos)
            return {p, {places.begin() + std::ptrdiff_t(at), places.begin() + std::ptrdiff_t(at + needle.size())}};
    }
    return {};
}

// Checks one property; returns a description of the mismatch, or an empty string.
std::string Check(const TWPRTFText& document, const Found& found, const std::string& property)
{
    const TTextHeader& header = document.header();
    const bool negated = property[0] == '!';
    const std::string name = negated ? property.substr(1) : property;
    const std::size_t equals = name.find_first_of("=~");
    const std::string key = name.substr(0, equals);
    const std::string value = equals == std::string::npos ? std::string() : Unescape(name.substr(equals + 1));
    const TParagraph& paragraph = *found.paragraph;

    if (key == "align") {
        static const char* const names[] = {"left", "right", "center", "justify"};
        const std::string actual = names[int(paragraph.alignment) & 3];
        return actual == value ? "" : "alignment " + actual;
    }
    if (key == "cell")
        return paragraph.isTableCell() != negated ? "" : negated ? "in a cell" : "not in a cell";
    for (const auto& [line, index] : found.characters) {
        const TAttr attr = line->attrs() ? line->attrs()[index] : TAttr{};
        std::string problem;
        const auto style = [&](std::uint8_t bit) {
            if (attr.hasStyle(bit) == negated)
                problem = negated ? "has " + key : "lacks " + key;
        };
        if (key == "bold")
            style(AttrStyle::Bold);
        else if (key == "italic")
            style(AttrStyle::Italic);
        else if (key == "underline")
            style(AttrStyle::Underline);
        else if (key == "font") {
            const FontEntry* font = header.font(attr.font);
            if (!font || font->name != value)
                problem = "font " + (font ? font->name : std::string("?"));
        } else if (key == "size") {
            if (attr.pointSize() != std::stoi(value))
                problem = "size " + std::to_string(attr.pointSize());
        } else if (key == "color") {
            const RGBColor rgb = header.colors[std::size_t(attr.textColor())];
            char text[8];
            std::snprintf(text, sizeof text, "#%02x%02x%02x", rgb.red, rgb.green, rgb.blue);
            if (value != text)
                problem = std::string("colour ") + text;
        } else if (key == "picture") {
            if (line->code(index) == CharCode::Object) {
                const TTextObject* object = attr.hasFlag(AttrFlag::Object) ? document.findObject(attr.tag) : nullptr;
                if (!object || !object->graphic || object->graphic->bytes.empty())
                    problem = "no picture";
            }
        } else if (key == "footnote") {
            if (&line == &found.characters.back().first && index == found.characters.back().second) {
                const TFootnote* footnote
                    = attr.hasFlag(AttrFlag::FootnoteAnchor) ? document.findFootnote(attr.tag) : nullptr;
                if (!footnote)
                    problem = "no footnote anchor";
                else if (footnote->text.find(value) == std::string::npos)
                    problem = "footnote text \"" + footnote->text + "\"";
            }
        } else {
            problem = "unknown property";
        }
        if (!problem.empty())
            return problem;
    }
    return "";
}

class PeerRtf : public testing::TestWithParam<std::string> {};

} // namespace

TEST_P(PeerRtf, ReadsAsExpected)
{
    const std::string name = GetParam();
    const std::string rtf = ReadFile(kFolder / (name + ".rtf"));
    ASSERT_FALSE(rtf.empty());
    TWPRTFText document;
    const LoadOutcome loaded = LoadDocument(document, rtf);
    ASSERT_EQ(loaded.format, TWPLoadFormat::Rtf);
    EXPECT_EQ(loaded.result, 0);

    std::vector<std::string> expected;
    std::vector<std::string> checks;
    std::istringstream lines(ReadFile(kFolder / (name + ".expect")));
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line[0] == '|')
            expected.push_back(Unescape(line.substr(1)));
        else if (!line.empty() && line[0] == '@')
            checks.push_back(line.substr(1));
    }
    std::vector<std::string> actual;
    for (const TParagraph* p = document.firstParagraph(); p; p = p->next())
        actual.push_back(ParagraphText(*p));
    while (!actual.empty() && actual.back().empty())
        actual.pop_back();
    EXPECT_EQ(actual, expected);

    for (const std::string& check : checks) {
        const std::vector<std::string> words = Words(check);
        ASSERT_FALSE(words.empty()) << check;
        const std::string needle = Unescape(words[0]);
        const Found found = Find(document, needle);
        if (!found.paragraph) {
            ADD_FAILURE() << "not found: " << words[0];
            continue;
        }
        for (std::size_t i = 1; i < words.size(); ++i) {
            const std::string problem = Check(document, found, words[i]);
            EXPECT_EQ(problem, "") << words[0] << " " << words[i];
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, PeerRtf,
                         testing::Values("office-styles", "office-table", "office-letters", "office-notes",
                                         "office-picture", "abiword-styles", "abiword-table", "abiword-letters",
                                         "pandoc-notes", "pandoc-table", "abiword-scripts",
                                         "pandoc-scripts", "office-scripts"),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (c == '-')
                                     c = '_';
                             return name;
                         });
