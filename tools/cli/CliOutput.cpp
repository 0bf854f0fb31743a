// Streaming a command's output to standard output or, safely, to a file.
#include "tools/cli/CliOutput.h"

#include <cstdio>

namespace quillory::cli {

CommandOutput::CommandOutput(const std::string& name)
{
    if (name != "-")
        file_.emplace(name);
}

bool CommandOutput::Open(std::string& error)
{
    return !file_ || file_->Open(&error);
}

bool CommandOutput::Write(std::string_view bytes, std::string& error)
{
    if (file_)
        return file_->Write(bytes, &error);
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size())
        return true;
    error = "cannot write to standard output";
    return false;
}

bool CommandOutput::Finish(std::string& error)
{
    if (file_)
        return file_->Commit(&error);
    if (std::fflush(stdout) == 0)
        return true;
    error = "cannot write to standard output";
    return false;
}

std::size_t PeopleTextOutput::Write(std::string_view bytes)
{
    if (!error_.empty())
        return 0;
    text_.clear();
    encoder_.Encode(bytes, text_);
    return output_.Write(text_, error_) ? bytes.size() : 0;
}

bool PeopleTextOutput::Finish()
{
    if (!error_.empty())
        return false;
    text_.clear();
    encoder_.Finish(text_);
    return output_.Write(text_, error_);
}

} // namespace quillory::cli
