// quillory-cli convert --to pdf in the full part: reader, layout and printing of the engine
// on an offscreen QGuiApplication created for this command only.
#include "tools/cli/PaintingCommands.h"

#include "platform/AtomicWrite.h"
#include "platform/Files.h"
#include "richtext/io/DocumentFormat.h"
#include "richtext/layout/TextPaint.h"
#include "richtext/qt/QtCanvas.h"
#include "richtext/qt/RichTextPrinting.h"
#include "richtext/qt/SymbolFonts.h"
#include "tools/cli/CliCommands.h"
#include "tools/cli/CliInput.h"
#include "tools/cli/full/OffscreenApplication.h"

#include <QGuiApplication>
#include <QPrinter>
#include <QTemporaryDir>

#include <climits>
#include <cstdio>
#include <memory>
#include <optional>

namespace quillory::cli {

namespace {

constexpr int kLetterWidth = 12240; // twips
constexpr int kLetterHeight = 15840;
constexpr int kScreenDpi = 96;

// The bytes of `name`, whatever the case of its letters on the disk.
std::optional<std::string> ReadWhole(const std::string& name)
{
    const auto path = FindNoCase(name).value_or(std::filesystem::path(name));
    return ReadInput(path.string());
}

} // namespace

int ConvertToPdf(const std::string& input, const std::string& output)
{
    const auto bytes = ReadWhole(input);
    if (!bytes)
        return Fail("Cannot open file " + input);
    const auto application = OffscreenApplication();
    AddSymbolFonts();

    TWPRTFText document;
    const LoadOutcome outcome = LoadDocument(document, *bytes);
    if (outcome.result != 0)
        return Fail("cannot read " + input);
    document.header().paperWidth = kLetterWidth;
    document.header().paperHeight = kLetterHeight;

    // Layout measures at screen resolution; printing scales to the printer's.
    QtCanvas measuring(nullptr, kScreenDpi);
    TWPRTFTextPaint engine(document);
    engine.setCanvas(&measuring);
    engine.wordWrap = false;
    engine.reformatAll();

    QTemporaryDir scratch;
    if (!scratch.isValid())
        return Fail("cannot create a temporary folder");
    const QString pdf = scratch.filePath(QStringLiteral("out.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        SetUpPrinterForDocument(printer, document.header());
        if (!PrintDocument(engine, printer, 0, INT_MAX))
            return Fail("cannot print " + input);
    }
    const auto printed = ReadInput(pdf.toStdString());
    if (!printed)
        return Fail("cannot print " + input);
    if (output == "-") {
        std::fwrite(printed->data(), 1, printed->size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    std::string error;
    if (!WriteFileAtomically(output, *printed, &error))
        return Fail("Cannot create file " + output + (error.empty() ? "" : ": " + error));
    return 0;
}

} // namespace quillory::cli
