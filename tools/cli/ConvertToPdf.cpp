// The PDF conversion of quillory-cli: reader, layout and printing of the engine on an offscreen
// QGuiApplication created for this command only.
#include "tools/cli/ConvertToPdf.h"

#include "platform/AtomicWrite.h"
#include "platform/Files.h"
#include "richtext/io/DocumentFormat.h"
#include "richtext/layout/TextPaint.h"
#include "richtext/qt/QtCanvas.h"
#include "richtext/qt/RichTextPrinting.h"
#include "richtext/qt/SymbolFonts.h"
#include "tools/cli/CliCommands.h"
#include "tools/cli/OffscreenApplication.h"

#include <QGuiApplication>
#include <QPrinter>
#include <QTemporaryDir>

#include <climits>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>

namespace quillory::cli {

namespace {

constexpr int kLetterWidth = 12240; // twips
constexpr int kLetterHeight = 15840;
constexpr int kScreenDpi = 96;

std::string readWhole(const std::string& name, bool& ok)
{
    const auto path = FindNoCase(name).value_or(std::filesystem::path(name));
    std::ifstream in(path, std::ios::binary);
    ok = bool(in);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ok = ok && !in.bad();
    return bytes;
}

} // namespace

int ConvertToPdf(const std::string& input, const std::string& output)
{
    bool ok = false;
    const std::string bytes = readWhole(input, ok);
    if (!ok)
        return Fail("Cannot open file " + input);
    const auto application = OffscreenApplication();
    AddSymbolFonts();

    TWPRTFText document;
    const LoadOutcome outcome = LoadDocument(document, bytes);
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
    const std::string printed = readWhole(pdf.toStdString(), ok);
    if (!ok)
        return Fail("cannot print " + input);
    if (output == "-") {
        std::fwrite(printed.data(), 1, printed.size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    std::string error;
    if (!WriteFileAtomically(output, printed, &error))
        return Fail("Cannot create file " + output + (error.empty() ? "" : ": " + error));
    return 0;
}

} // namespace quillory::cli
