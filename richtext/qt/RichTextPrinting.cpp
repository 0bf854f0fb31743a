// The editor control's printing: a page range on the default printer, or into a PDF file the
// caller names, with the page header and footer events; and the rectangle operation of
// the merged printouts.
#include "richtext/qt/RichText.h"

#include "platform/qt/PrinterList.h"
#include "richtext/qt/QtCanvas.h"
#include "richtext/qt/RichTextPrinting.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

namespace quillory {

void SetUpPrinterForDocument(QPrinter& printer, const TTextHeader& header)
{
    const QSizeF paper(header.paperWidth / double(TwipsPerInch), header.paperHeight / double(TwipsPerInch));
    const QPageSize size(paper, QPageSize::Inch, QString(), QPageSize::FuzzyMatch);
    printer.setPageSize(size);
    printer.setPageOrientation(header.paperWidth > header.paperHeight ? QPageLayout::Landscape
                                                                      : QPageLayout::Portrait);
    // The origin is the paper's corner; the document's margins place the text.
    printer.setFullPage(true);
}

bool PrintDocument(TWPRTFTextPaint& engine, QPrinter& printer, int fromPage, int toPage,
                   const PrintJob& callbacks)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const int resolution = printer.resolution();
    const TTextHeader& header = engine.document().header();
    QtCanvas device(&painter, std::max(1, header.resolutionX));
    device.setDeviceResolution(resolution, resolution);
    PrintJob job = callbacks;
    job.offsetX = int(long(header.marginLeft) * resolution / TwipsPerInch);
    job.offsetY = int(long(header.marginTop) * resolution / TwipsPerInch);
    job.newPage = [&printer] { printer.newPage(); };
    engine.print(device, fromPage, toPage, job);
    return painter.end();
}

bool TWPRichText::Print(int fromPage, int toPage, const QString& pdfFile)
{
    // Without a printer nothing is printed: a file appears only where the caller names one.
    if (pdfFile.isEmpty() && InstalledPrinterNames().isEmpty())
        return false;
    QPrinter printer(QPrinter::HighResolution);
    if (!pdfFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfFile);
    }
    SetUpPrinterForDocument(printer, RtfText().header());
    relayout(true);

    PrintJob job;
    job.header = [this](Canvas& canvas, int x, int y, int w, int h, int page, int line) {
        if (PrintHeader)
            PrintHeader(*this, canvas, x, y, w, h, page, line);
    };
    job.footer = [this](Canvas& canvas, int x, int y, int w, int h, int page, int line) {
        if (PrintFooter)
            PrintFooter(*this, canvas, x, y, w, h, page, line);
    };
    const bool done = PrintDocument(*engine_, printer, std::max(0, fromPage), std::max(0, toPage), job);
    relayout(true);
    return done;
}

int TWPRichText::PrintRectangle(Canvas& canvas, int left, int top, int width, int height, int firstLine, bool print)
{
    return engine_->printRectangle(canvas, left, top, width, height, firstLine, print);
}

} // namespace quillory
