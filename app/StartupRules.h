// The rules of the program's start: the printer test, the leftover plain copy of an entry,
// and the stored password that the opening gate asks for.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillory {

// A single installed printer whose name contains "Rendering" (exactly so, letter case
// counting) is a stand-in of the system, not a printer: the program then has none.
bool PrintersCountAsNone(const std::vector<std::string>& printerNames);

// DiaryFolder() + "Eraseme.rtf": a plain copy of an entry that older versions left while
// loading or saving with a password. Nothing makes it any more.
std::string LeftoverPlainCopyName();
// Deletes it, whatever the case of its name; true when none is left.
bool RemoveLeftoverPlainCopy();

// The diary password from QL.INI, unscrambled; empty when none is set.
std::string ReadStoredPassword();

} // namespace quillory
