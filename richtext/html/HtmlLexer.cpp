// HTML tokens over a byte span; see HtmlLexer.h.
#include "richtext/html/HtmlLexer.h"

#include "platform/Cp1252.h"
#include "platform/Utf8.h"
#include "richtext/html/HtmlCharacters.h"

#include <algorithm>

namespace quillory::html {
namespace {

bool IsSpace(unsigned char c) noexcept
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsLetter(unsigned char c) noexcept
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(unsigned char c) noexcept { return c >= '0' && c <= '9'; }

char Lower(unsigned char c) noexcept
{
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
}

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view prefix) noexcept
{
    if (text.size() - std::min(at, text.size()) < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Lower(static_cast<unsigned char>(text[at + i])) != Lower(static_cast<unsigned char>(prefix[i])))
            return false;
    }
    return true;
}

// Adds a character to the text. Control characters other than TAB never enter the document
// (codes 1 to 3 are its object placeholders); line ends become blanks.
void AppendCode(std::string& out, char32_t code)
{
    if (code == '\t') {
        out += '\t';
        return;
    }
    if (code == '\n' || code == '\r') {
        out += ' ';
        return;
    }
    if (code < 0x20 || code == 0x7F || code == 0xFEFF) // a byte-order mark is no text either
        return;
    // Codes 0x80-0x9F mean cp1252's characters, as in every browser.
    if (code >= 0x80 && code < 0xA0)
        code = Cp1252ToUnicode(static_cast<unsigned char>(code));
    AppendUtf8(out, code); // what no character is (a surrogate, past U+10FFFF) becomes U+FFFD, as in browsers
}

HtmlToken MakeToken(HtmlTokenKind kind)
{
    HtmlToken token;
    token.kind = kind;
    return token;
}

constexpr std::string_view kRawElements[] = {"script", "style", "title", "textarea", "xmp"};

} // namespace

const std::string* HtmlToken::attribute(std::string_view attributeName) const noexcept
{
    for (const HtmlAttribute& attr : attributes) {
        if (attr.name == attributeName)
            return &attr.value;
    }
    return nullptr;
}

unsigned char HtmlLexer::Peek(std::size_t ahead) const noexcept
{
    const std::size_t at = pos_ + ahead;
    return at < input_.size() ? static_cast<unsigned char>(input_[at]) : 0;
}

HtmlToken HtmlLexer::Next()
{
    if (!rawElement_.empty())
        return ReadRawText();
    while (!AtEnd()) {
        if (AtMarkup()) {
            HtmlToken token = ReadMarkup();
            if (token.kind != HtmlTokenKind::End)
                return token;
            continue; // a comment or declaration: nothing to report
        }
        const unsigned char c = Peek();
        if (preformatted_ && (c == '\n' || c == '\r')) {
            ++pos_;
            if (c == '\r' && Peek() == '\n')
                ++pos_;
            return MakeToken(HtmlTokenKind::LineFeed);
        }
        if (!preformatted_ && IsSpace(c)) {
            while (!AtEnd() && IsSpace(Peek()))
                ++pos_;
            return MakeToken(HtmlTokenKind::Space);
        }
        HtmlToken token = ReadText();
        if (!token.text.empty())
            return token;
    }
    return {};
}

bool HtmlLexer::AtMarkup() const noexcept
{
    if (Peek() != '<')
        return false;
    const unsigned char next = Peek(1);
    return IsLetter(next) || next == '!' || next == '?' || (next == '/' && IsLetter(Peek(2)));
}

HtmlToken HtmlLexer::ReadText()
{
    HtmlToken token = MakeToken(HtmlTokenKind::Text);
    while (!AtEnd() && !AtMarkup()) {
        const unsigned char c = Peek();
        if (preformatted_ ? (c == '\n' || c == '\r') : IsSpace(c))
            break;
        ReadCharacter(token.text, false);
    }
    return token;
}

void HtmlLexer::ReadCharacter(std::string& out, bool inAttribute, bool entities)
{
    const unsigned char c = Peek();
    if (c == '&' && entities && ReadEntity(out, inAttribute))
        return;
    if (c < 0x80) {
        ++pos_;
        if (c == '\t' || (c >= 0x20 && c != 0x7F))
            out += static_cast<char>(c);
        else if (c == '\n' || c == '\r')
            out += ' ';
        return;
    }
    int length = 1;
    const char32_t code = DecodeUtf8At(input_, pos_, length);
    pos_ += std::size_t(length);
    // A byte that is no part of a character is read as cp1252 rather than lost.
    AppendCode(out, length == 1 ? Cp1252ToUnicode(c) : code);
}

bool HtmlLexer::ReadEntity(std::string& out, bool inAttribute)
{
    // pos_ is at '&'.
    std::size_t at = pos_ + 1;
    if (at < input_.size() && input_[at] == '#') {
        ++at;
        const bool hex = at < input_.size() && (input_[at] == 'x' || input_[at] == 'X');
        if (hex)
            ++at;
        char32_t value = 0;
        std::size_t digits = 0;
        while (at < input_.size()) {
            const unsigned char d = static_cast<unsigned char>(input_[at]);
            int digit = -1;
            if (IsDigit(d))
                digit = d - '0';
            else if (hex && d >= 'a' && d <= 'f')
                digit = d - 'a' + 10;
            else if (hex && d >= 'A' && d <= 'F')
                digit = d - 'A' + 10;
            if (digit < 0)
                break;
            if (value <= 0x10FFFF)
                value = value * (hex ? 16 : 10) + char32_t(digit);
            ++at;
            ++digits;
        }
        if (digits == 0)
            return false;
        if (at < input_.size() && input_[at] == ';')
            ++at;
        pos_ = at;
        AppendCode(out, value);
        return true;
    }
    std::size_t end = at;
    while (end < input_.size() && end - at < 32
           && (IsLetter(static_cast<unsigned char>(input_[end])) || IsDigit(static_cast<unsigned char>(input_[end]))))
        ++end;
    if (end == at)
        return false;
    const bool closed = end < input_.size() && input_[end] == ';';
    if (inAttribute && !closed)
        return false; // "a=1&copy=2" in a link stays as written
    const auto code = EntityCharacter(input_.substr(at, end - at));
    if (!code)
        return false;
    pos_ = closed ? end + 1 : end;
    AppendCode(out, *code);
    return true;
}

HtmlToken HtmlLexer::ReadMarkup()
{
    // pos_ is at '<'.
    const unsigned char next = Peek(1);
    if (next == '!') {
        if (StartsWithNoCase(input_, pos_, "<!--")) {
            pos_ += 4;
            SkipPast("-->");
        } else {
            SkipPast(">");
        }
        return {};
    }
    if (next == '?') {
        SkipPast(">");
        return {};
    }
    if (next == '/') {
        pos_ += 2;
        return ReadTag(true);
    }
    ++pos_;
    return ReadTag(false);
}

void HtmlLexer::SkipPast(std::string_view terminator) noexcept
{
    const std::size_t found = input_.find(terminator, pos_);
    pos_ = found == std::string_view::npos ? input_.size() : found + terminator.size();
}

std::string HtmlLexer::ReadName()
{
    std::string name;
    while (!AtEnd()) {
        const unsigned char c = Peek();
        if (IsSpace(c) || c == '>' || c == '/' || c == '=' || c == '<')
            break;
        if (name.size() < kMaxNameLength)
            name += Lower(c);
        ++pos_;
    }
    return name;
}

HtmlToken HtmlLexer::ReadTag(bool closing)
{
    HtmlToken token = MakeToken(closing ? HtmlTokenKind::EndTag : HtmlTokenKind::StartTag);
    token.name = ReadName();
    if (closing) {
        SkipPast(">");
        return token;
    }
    ReadAttributes(token);
    if (std::find(std::begin(kRawElements), std::end(kRawElements), token.name) != std::end(kRawElements)
        && !token.selfClosing)
        rawElement_ = token.name;
    return token;
}

void HtmlLexer::ReadAttributes(HtmlToken& token)
{
    while (!AtEnd()) {
        const unsigned char c = Peek();
        if (c == '>') {
            ++pos_;
            return;
        }
        if (c == '<')
            return; // an unclosed tag: the next one begins here
        if (IsSpace(c)) {
            ++pos_;
            continue;
        }
        if (c == '/') {
            ++pos_;
            token.selfClosing = Peek() == '>';
            continue;
        }
        if (c == '=') { // a value without a name
            ++pos_;
            continue;
        }
        HtmlAttribute attr;
        attr.name = ReadName();
        while (!AtEnd() && IsSpace(Peek()))
            ++pos_;
        if (Peek() == '=') {
            ++pos_;
            while (!AtEnd() && IsSpace(Peek()))
                ++pos_;
            const unsigned char quote = Peek();
            if (quote == '"' || quote == '\'') {
                ++pos_;
                while (!AtEnd() && Peek() != quote)
                    ReadCharacter(attr.value, true);
                if (!AtEnd())
                    ++pos_;
            } else {
                while (!AtEnd() && !IsSpace(Peek()) && Peek() != '>')
                    ReadCharacter(attr.value, true);
            }
        }
        if (token.attributes.size() < kMaxAttributes && !attr.name.empty())
            token.attributes.push_back(std::move(attr));
    }
}

HtmlToken HtmlLexer::ReadRawText()
{
    const std::string element = std::move(rawElement_);
    rawElement_.clear();
    const bool resolve = element == "title" || element == "textarea";
    std::size_t end = input_.size();
    for (std::size_t at = input_.find("</", pos_); at != std::string_view::npos; at = input_.find("</", at + 2)) {
        if (StartsWithNoCase(input_, at + 2, element)) {
            end = at;
            break;
        }
    }
    HtmlToken token = MakeToken(HtmlTokenKind::Text);
    // Characters as in any text (no control bytes reach the document), entities only where
    // the element resolves them.
    while (pos_ < end)
        ReadCharacter(token.text, false, resolve);
    pos_ = end; // an entity may not reach past the end tag
    return token;
}

} // namespace quillory::html
