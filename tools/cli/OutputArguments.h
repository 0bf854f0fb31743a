// The arguments of export and print, which share their options.
#pragma once

#include "app/OutputDays.h"
#include "tools/cli/CliCommands.h"

#include <optional>
#include <string>
#include <vector>

namespace quillory::cli {

// The options both commands share, and the words that are left.
struct OutputArguments {
    DayRange days{Day::First(), Day::Last()};
    bool merged = false;
    std::optional<std::string> format;
    std::optional<std::string> pdf;
    std::optional<std::string> passwordFile;
    std::vector<std::string> rest;
    std::string error;  // set when the arguments are wrong
};

OutputArguments ParseOutputArguments(const Arguments& args);

// Whether the program folder (the diary's) exists, so that nothing is exported or printed
// from a mistyped --folder.
bool DiaryFolderExists();

} // namespace quillory::cli
