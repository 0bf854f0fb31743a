// The error that carries one of the program's fixed messages ("Cannot open file %s", ...) from
// the core to the window edge, where it is shown as it stands.
#pragma once

#include <stdexcept>
#include <string>

namespace quillory {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Replaces the first "%s" of a fixed message with the argument.
inline std::string FormatMessage(const std::string& pattern, const std::string& argument)
{
    const auto at = pattern.find("%s");
    if (at == std::string::npos)
        return pattern;
    return pattern.substr(0, at) + argument + pattern.substr(at + 2);
}

} // namespace quillory
