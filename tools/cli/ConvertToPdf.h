// quillory-cli convert --to pdf: any document the editor reads, laid out by the engine and
// printed into a PDF on Letter paper with the document's margins, without a display.
#pragma once

#include <string>

namespace quillory::cli {

// Converts the file `input` into the PDF `output` ("-" = standard output); the exit status.
int ConvertToPdf(const std::string& input, const std::string& output);

} // namespace quillory::cli
