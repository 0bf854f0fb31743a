// Text at the command line's edges: what it writes for people and scripts is UTF-8 with Unix
// line ends, and what it is given is read as UTF-8, as the document holds it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillory::cli {

// The plain-text writer's output (UTF-8, CR LF between paragraphs, object placeholder bytes,
// a NUL at the end) as UTF-8 text: LF line ends, no placeholders, no NUL.
std::string PlainTextForPeople(std::string_view writerOutput);

// PlainTextForPeople for output that arrives in pieces: a CR at the end of one piece is held
// until the next shows whether an LF follows it.
class PeopleTextEncoder {
public:
    // Appends the piece, as text for people, to `text`.
    void Encode(std::string_view writerOutput, std::string& text);
    // Appends what is held back after the last piece.
    void Finish(std::string& text);

private:
    bool heldReturn_ = false;
};

// Plain-text input for the engine: LF line ends become CR LF; UTF-8 stays as it is (a
// byte-order mark dropped), and bytes that are not UTF-8 are taken as the cp1252 text files of
// older copies.
std::string PlainTextForEngine(std::string_view input);

// A password argument (UTF-8) as the cp1252 that passwords are kept in; nothing, with the
// reason in `problem`, when it is not UTF-8 or holds a character cp1252 cannot.
std::optional<std::string> ArgumentForEngine(std::string_view argument, std::string& problem);

} // namespace quillory::cli
