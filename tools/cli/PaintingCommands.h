// The commands that paint: PDF output through Qt's printing. quillory-cli is built without Qt's
// GUI libraries, so that the commands which paint nothing start in milliseconds; it hands
// these over to its full part, quillory-cli-full, the same commands built with painting.
// Each function below has two definitions: the handover in tools/cli/front/ and the painting
// in tools/cli/full/. (print, the fourth, is RunPrint of CliCommands.h.)
#pragma once

#include "app/ExportEntries.h"
#include "tools/cli/CliCommands.h"

#include <string>

namespace quillory::cli {

// convert --to pdf: any document the editor reads, laid out by the engine and printed into a
// PDF on Letter paper with the document's margins, without a display. `input` into the PDF
// `output` ("-" = standard output); the exit status.
int ConvertToPdf(const std::string& input, const std::string& output);

// export --format pdf with the export command's own arguments; the exit status.
int RunExportPdf(const Arguments& args);

// export with the entries' PDF made by `pdf`; without it a PDF export goes to RunExportPdf.
int RunExportWith(const Arguments& args, const EntryRenderer& pdf);

} // namespace quillory::cli
