// The diary key for commands that read entries, and the passwords they are given: from a file
// named by --password-file, else asked on the terminal without echo. Only a strongly enciphered
// diary needs one; the stored format's cipher keeps its password in QL.INI.
#pragma once

#include "app/DiarySecurity.h"
#include "tools/cli/CliCommands.h"

#include <optional>
#include <string>

namespace quillory::cli {

// Removes "<option> F" from `args` and returns F, or nothing when the option is absent. An
// option without its file name is an error: `error` is set.
std::optional<std::string> TakeOption(Arguments& args, const std::string& option, std::string& error);

// The password in `file`: its bytes without the one line end (LF or CRLF) that may close them.
// Nothing, with `error` set, when the file cannot be read or holds more than one line.
std::optional<std::string> ReadPasswordFile(const std::string& file, std::string& error);

// A password typed on the terminal without echo after `prompt`; nothing (with `error` set) when
// standard input is no terminal.
std::optional<std::string> AskPassword(const std::string& prompt, std::string& error);

// The password that the entry-reading units (search, export, printing) take for the program
// folder's diary: QL.INI's own for the stored format's cipher (empty for none), else the strong
// password read from `passwordFile` or typed on the terminal, whose key is then held for the run
// so that it is derived once. Nothing, with `error` set, when none was given or it does not open
// the diary.
std::optional<std::string> DiaryPassword(const std::optional<std::string>& passwordFile, std::string& error);

// The key that reads the diary folder's entries. Takes "--password-file F" out of `args`.
// Nothing, with `error` set, when no password was given or it does not open the diary.
std::optional<DiaryKey> OpenDiaryKey(Arguments& args, std::string& error);

} // namespace quillory::cli
