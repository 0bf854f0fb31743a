// quillory-cli export: the diary's entries of a range of days written into files of their own
// (RTF, text, HTML or PDF). The PDF is painted by the full part (PaintingCommands.h).
#include "tools/cli/CliCommands.h"
#include "tools/cli/DiaryPassword.h"
#include "tools/cli/OutputArguments.h"
#include "tools/cli/PaintingCommands.h"

#include "app/ExportEntries.h"
#include "platform/ProgramFolder.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace quillory::cli {

int RunExport(const Arguments& args)
{
    return RunExportWith(args, {});
}

int RunExportWith(const Arguments& args, const EntryRenderer& pdf)
{
    const OutputArguments parsed = ParseOutputArguments(args);
    if (!parsed.error.empty())
        return Fail(parsed.error);
    if (parsed.rest.size() != 1 || parsed.pdf || parsed.merged)
        return Fail("export takes [--from DAY] [--until DAY] [--format rtf|text|html|pdf|markdown|json] [--password-file F] OUTDIR");
    ExportSettings settings;
    if (parsed.format && !ExportFormatNamed(*parsed.format, settings.format))
        return Fail("unknown format " + *parsed.format + " (rtf, text, html, pdf, markdown or json)");
    if (settings.format == ExportFormat::Pdf && !pdf)
        return RunExportPdf(args);
    if (!DiaryFolderExists())
        return Fail("no such folder: " + DiaryFolder());

    std::error_code error;
    const std::filesystem::path out = std::filesystem::absolute(parsed.rest[0], error);
    std::filesystem::create_directories(out, error);
    if (error || !std::filesystem::is_directory(out, error))
        return Fail("cannot create the folder " + parsed.rest[0]);
    settings.folder = out.lexically_normal().generic_string();
    if (settings.folder.empty() || settings.folder.back() != '/')
        settings.folder += '/';
    settings.days = parsed.days;
    std::string problem;
    const auto password = DiaryPassword(parsed.passwordFile, problem);
    if (!password)
        return Fail(problem);
    settings.password = *password;
    settings.pdf = pdf;

    const ExportOutcome outcome = ExportEntries(settings);
    std::printf("%s\n", ExportSummary(outcome.written, settings.format, settings.folder).c_str());
    std::fflush(stdout);
    for (const ExportFailure& failure : outcome.failed)
        Fail(IsoText(failure.day) + ": " + failure.message);
    return outcome.failed.empty() ? 0 : 1;
}

} // namespace quillory::cli
