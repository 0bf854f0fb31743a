// quillory-cli print and export --format pdf in the full part: the entries printed as the
// window prints them, on an offscreen QGuiApplication.
#include "tools/cli/CliCommands.h"
#include "tools/cli/DiaryPassword.h"
#include "tools/cli/OutputArguments.h"
#include "tools/cli/PaintingCommands.h"
#include "tools/cli/full/OffscreenApplication.h"

#include "app/PrintEntries.h"
#include "platform/AtomicWrite.h"
#include "platform/Error.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/DateNames.h"
#include "platform/qt/QtText.h"
#include "richtext/qt/QtPrintDevice.h"

#include <QGuiApplication>

#include <cstdio>
#include <memory>

namespace quillory::cli {

namespace {

std::string LongDateBytes(Day day)
{
    return QStringToText(LongDateCaption(day));
}

} // namespace

int RunExportPdf(const Arguments& args)
{
    const auto application = OffscreenApplication();
    return RunExportWith(args, [](Day day, std::string_view rtf) {
        PdfPrintDevice device(LetterPageLayout());
        PrintSettings print;
        print.longDate = LongDateBytes;
        if (!PrintEntryPages(device, day, rtf, print))
            throw Error("the entry has no text");
        const QByteArray pdf = device.Finish();
        return std::string(pdf.constData(), std::size_t(pdf.size()));
    });
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
