// quillory-cli export and print: the diary's entries of a range of days written into files of
// their own (RTF, text, HTML or PDF), or printed into one PDF as the window prints them.
#include "tools/cli/CliCommands.h"
#include "tools/cli/OffscreenApplication.h"
#include "tools/cli/CliDays.h"
#include "tools/cli/DiaryPassword.h"

#include "app/ExportEntries.h"
#include "app/PrintEntries.h"
#include "platform/AtomicWrite.h"
#include "platform/Error.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/DateNames.h"
#include "platform/qt/QtCp1252.h"
#include "richtext/qt/QtPrintDevice.h"

#include <QGuiApplication>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

namespace quillory::cli {

namespace {

// The options both commands share, and the words that are left.
struct OutputArguments {
    DayRange days{Day::First(), Day::Last()};
    bool merged = false;
    std::optional<std::string> format;
    std::optional<std::string> pdf;
    std::optional<std::string> passwordFile;
    std::vector<std::string> rest;
    std::string error;
};

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

std::string LongDateBytes(Day day)
{
    return QStringToCp1252Lossy(LongDateCaption(day));
}

bool DiaryFolderExists()
{
    std::error_code error;
    return std::filesystem::is_directory(DiaryFolder(), error);
}

} // namespace

int RunExport(const Arguments& args)
{
    const OutputArguments parsed = ParseOutputArguments(args);
    if (!parsed.error.empty())
        return Fail(parsed.error);
    if (parsed.rest.size() != 1 || parsed.pdf || parsed.merged)
        return Fail("export takes [--from DAY] [--until DAY] [--format rtf|text|html|pdf] [--password-file F] OUTDIR");
    ExportSettings settings;
    if (parsed.format && !ExportFormatNamed(*parsed.format, settings.format))
        return Fail("unknown format " + *parsed.format + " (rtf, text, html or pdf)");
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

    std::unique_ptr<QGuiApplication> application;
    if (settings.format == ExportFormat::Pdf) {
        application = OffscreenApplication();
        settings.pdf = [](Day day, std::string_view rtf) {
            PdfPrintDevice device(LetterPageLayout());
            PrintSettings print;
            print.longDate = LongDateBytes;
            if (!PrintEntryPages(device, day, rtf, print))
                throw Error("the entry has no text");
            const QByteArray pdf = device.Finish();
            return std::string(pdf.constData(), std::size_t(pdf.size()));
        };
    }
    const ExportOutcome outcome = ExportEntries(settings);
    std::printf("%s\n", ExportSummary(outcome.written, settings.format, settings.folder).c_str());
    std::fflush(stdout);
    for (const ExportFailure& failure : outcome.failed)
        Fail(IsoText(failure.day) + ": " + failure.message);
    return outcome.failed.empty() ? 0 : 1;
}

int RunPrint(const Arguments& args)
{
    const OutputArguments parsed = ParseOutputArguments(args);
    if (!parsed.error.empty())
        return Fail(parsed.error);
    if (!parsed.pdf || !parsed.rest.empty() || parsed.format)
        return Fail("print takes --pdf OUT.pdf [--from DAY] [--until DAY] [--merged] [--password-file F]");
    if (!DiaryFolderExists())
        return Fail("no such folder: " + DiaryFolder());

    const auto application = OffscreenApplication();
    PrintSettings settings;
    settings.days = parsed.days;
    settings.merged = parsed.merged;
    std::string problem;
    const auto password = DiaryPassword(parsed.passwordFile, problem);
    if (!password)
        return Fail(problem);
    settings.password = *password;
    settings.longDate = LongDateBytes;
    PdfPrintDevice device(LetterPageLayout());
    const PrintOutcome outcome = PrintEntries(device, settings, {});
    const QByteArray pdf = device.Finish();
    if (outcome.end == PrintEnd::Failed)
        return Fail(outcome.status.substr(outcome.status.find('\n') + 1));
    if (pdf.isEmpty()) {
        Fail("no entries to print");
        return kNothingStatus;
    }
    const std::string_view bytes(pdf.constData(), std::size_t(pdf.size()));
    if (*parsed.pdf == "-") {
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : kErrorStatus;
    }
    std::string error;
    if (!WriteFileAtomically(*parsed.pdf, bytes, &error))
        return Fail("Cannot create file " + *parsed.pdf + (error.empty() ? "" : ": " + error));
    return 0;
}

} // namespace quillory::cli
