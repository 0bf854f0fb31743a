// The commands of quillory-cli: each takes its own arguments (after the command word) and
// returns the process exit status. Errors go to standard error.
#pragma once

#include <string>
#include <vector>

namespace quillory::cli {

using Arguments = std::vector<std::string>;

int RunDays(const Arguments& args);     // days [YYYY-MM]
int RunCat(const Arguments& args);      // cat YYYYMMDD
int RunCrypt(const Arguments& args);    // crypt --encrypt|--decrypt --password P IN OUT
int RunConvert(const Arguments& args);  // convert [--to rtf|text|html|pdf] IN OUT
int RunSpell(const Arguments& args);    // spell [--suggest] FILE

// Prints "quillory-cli: <message>" on standard error and returns the failure status.
int Fail(const std::string& message);

} // namespace quillory::cli
