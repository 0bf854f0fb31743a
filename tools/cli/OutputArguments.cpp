// Parsing the options of export and print.
#include "tools/cli/OutputArguments.h"

#include "tools/cli/CliDays.h"

#include "platform/ProgramFolder.h"

#include <filesystem>
#include <system_error>

namespace quillory::cli {

OutputArguments ParseOutputArguments(const Arguments& args)
{
    OutputArguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        const bool valued = word == "--from" || word == "--until" || word == "--format" || word == "--pdf" ||
                            word == "--password-file";
        if (valued && i + 1 >= args.size()) {
            parsed.error = word + " needs a value";
            return parsed;
        }
        if (word == "--from" || word == "--until") {
            const auto day = ParseDayArgument(args[++i]);
            if (!day) {
                parsed.error = "not a day in the form YYYY-MM-DD: " + args[i];
                return parsed;
            }
            (word == "--from" ? parsed.days.first : parsed.days.last) = *day;
        } else if (word == "--format") {
            parsed.format = args[++i];
        } else if (word == "--pdf") {
            parsed.pdf = args[++i];
        } else if (word == "--password-file") {
            parsed.passwordFile = args[++i];
        } else if (word == "--merged") {
            parsed.merged = true;
        } else if (word.size() > 1 && word[0] == '-') {
            parsed.error = "unknown option " + word;
            return parsed;
        } else {
            parsed.rest.push_back(word);
        }
    }
    return parsed;
}

bool DiaryFolderExists()
{
    std::error_code error;
    return std::filesystem::is_directory(DiaryFolder(), error);
}

} // namespace quillory::cli
