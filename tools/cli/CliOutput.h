// Where a command's output goes as it is made: standard output for "-", else a file that is
// replaced only once all of it has been written.
#pragma once

#include "platform/AtomicWrite.h"
#include "richtext/text/OutputStream.h"
#include "tools/cli/CliText.h"

#include <optional>
#include <string>
#include <string_view>

namespace quillory::cli {

class CommandOutput {
public:
    explicit CommandOutput(const std::string& name);

    // False, with the reason in `error`, when the file cannot be begun.
    bool Open(std::string& error);
    bool Write(std::string_view bytes, std::string& error);
    // Flushes standard output, or puts the file in place; until then the old file stays.
    bool Finish(std::string& error);

private:
    std::optional<AtomicFileWriter> file_; // none: standard output
};

// The plain-text writer's output streamed as text for people (PlainTextForPeople) into a
// command's output. The first failure is kept and ends further writing.
class PeopleTextOutput : public TWPOutputStream {
public:
    explicit PeopleTextOutput(CommandOutput& output) : output_(output) {}

    std::size_t Write(std::string_view bytes) override;
    // Writes what the encoder held back; false when any write failed.
    bool Finish();
    const std::string& error() const noexcept { return error_; }

private:
    CommandOutput& output_;
    PeopleTextEncoder encoder_;
    std::string text_; // one block of encoded text, reused
    std::string error_;
};

} // namespace quillory::cli
