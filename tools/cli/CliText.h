// Text at the command line's edges: what it writes for people and scripts is UTF-8 with Unix
// line ends, and what it is given is read as UTF-8; the engine's cp1252 stays inside.
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

// Plain-text input for the engine: LF line ends become CR LF; well-formed UTF-8 becomes cp1252,
// other bytes are taken as cp1252 already (text files of the old program). Nothing when the input is UTF-8 but holds a
// character cp1252 cannot, which is named in `problem`.
std::optional<std::string> PlainTextForEngine(std::string_view input, std::string& problem);

// An argument (UTF-8) as the engine's cp1252; nothing, with the reason in `problem`, when it
// is not UTF-8 or holds a character cp1252 cannot.
std::optional<std::string> ArgumentForEngine(std::string_view argument, std::string& problem);

} // namespace quillory::cli
