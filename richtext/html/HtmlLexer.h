// Splits HTML text into tokens: start and end tags with their attributes, runs of text (UTF-8,
// entities resolved) and runs of white space. Knows nothing of what tags mean.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillory::html {

enum class HtmlTokenKind {
    End,      // no more input
    Text,     // `text`: characters without literal white space
    Space,    // a run of white space, which HTML shows as one blank (or none)
    LineFeed, // a line end inside preformatted text
    StartTag, // `name`, `attributes`, `selfClosing`
    EndTag,   // `name`
};

struct HtmlAttribute {
    std::string name;  // lower case
    std::string value; // UTF-8, entities resolved; empty for an attribute without a value
};

struct HtmlToken {
    HtmlTokenKind kind = HtmlTokenKind::End;
    std::string name; // tag name in lower case
    std::string text;
    std::vector<HtmlAttribute> attributes;
    bool selfClosing = false;

    // The value of an attribute (name in lower case), or null.
    const std::string* attribute(std::string_view attributeName) const noexcept;
};

// Tokens over UTF-8 text held in memory (PageTextAsUtf8 makes a page's bytes so). Total on any
// input, a byte that is no part of a character is read as cp1252: it never reads outside the input, and
// every call consumes at least one byte or returns End. Comments, declarations and processing
// instructions are skipped; the content of script, style, title, textarea and xmp elements
// comes as one Text token (entities resolved in title and textarea only).
class HtmlLexer {
public:
    static constexpr std::size_t kMaxNameLength = 32;  // of tag and attribute names, rest dropped
    static constexpr std::size_t kMaxAttributes = 64;  // per tag, the rest dropped

    explicit HtmlLexer(std::string_view input) noexcept : input_(input) {}

    HtmlToken Next();

    // In preformatted text white space is kept as it stands and line ends are LineFeed tokens.
    void SetPreformatted(bool on) noexcept { preformatted_ = on; }
    std::size_t Position() const noexcept { return pos_; }

private:
    HtmlToken ReadMarkup();
    HtmlToken ReadTag(bool closing);
    HtmlToken ReadRawText();
    HtmlToken ReadText();
    void ReadAttributes(HtmlToken& token);
    std::string ReadName();
    // Appends the character at pos_ (a UTF-8 sequence or an entity) to out.
    void ReadCharacter(std::string& out, bool inAttribute, bool entities = true);
    bool ReadEntity(std::string& out, bool inAttribute);
    void SkipPast(std::string_view terminator) noexcept;
    bool AtMarkup() const noexcept;
    bool AtEnd() const noexcept { return pos_ >= input_.size(); }
    unsigned char Peek(std::size_t ahead = 0) const noexcept;

    std::string_view input_;
    std::size_t pos_ = 0;
    bool preformatted_ = false;
    std::string rawElement_; // set after a start tag whose content is raw text
};

} // namespace quillory::html
