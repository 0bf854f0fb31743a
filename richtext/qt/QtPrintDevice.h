// Print devices over Qt: a printer of the system, where every job is a print job of its own,
// and a PDF built in memory, where the jobs follow one another in one file.
#pragma once

#include "richtext/layout/PrintDevice.h"
#include "richtext/qt/QtCanvas.h"

#include <QBuffer>
#include <QByteArray>
#include <QPageLayout>
#include <QPainter>
#include <QString>

#include <memory>

class QPagedPaintDevice;
class QPdfWriter;
class QPrinter;

namespace quillory {

// What the two devices share: the painter, the canvases and the metrics.
class QtPagedPrintDevice : public PrintDevice {
public:
    Canvas& measuringCanvas() override { return measuring_; }
    Canvas& canvas() override { return canvas_; }
    std::string lastError() const override { return error_; }

protected:
    QtPagedPrintDevice();
    ~QtPagedPrintDevice() override;
    // The metrics of paper `layout` at `dpi` with its minimum margins as the printing offset.
    static PrinterMetrics MetricsOf(const QPageLayout& layout, int dpi, bool withOffset);
    bool StartPainting(QPagedPaintDevice& device, int dpi);
    bool painting() const { return painter_.isActive(); }

    QPainter painter_;
    QtCanvas measuring_;
    QtCanvas canvas_;
    std::string error_;
};

class QtPrinterDevice : public QtPagedPrintDevice {
public:
    // The printer stays the caller's; its set-up (printer, paper, orientation) is used as it is.
    explicit QtPrinterDevice(QPrinter& printer);

    PrinterMetrics metrics() const override;
    bool beginJob(const std::string& title) override;
    bool newPage() override;
    bool endJob() override;
    void abortJob() override;

private:
    QPrinter& printer_;
};

class PdfPrintDevice : public QtPagedPrintDevice {
public:
    // Pages of `layout`'s paper size and orientation, at `dpi` device pixels per inch.
    explicit PdfPrintDevice(const QPageLayout& layout, int dpi = 1200);
    ~PdfPrintDevice() override;

    PrinterMetrics metrics() const override;
    bool beginJob(const std::string& title) override;
    bool newPage() override;
    bool endJob() override;
    // Discards the whole file: the pages of earlier jobs cannot be taken out of it.
    void abortJob() override;

    // Ends the file and returns it; empty when no page was printed or a job was aborted.
    QByteArray Finish();

private:
    QPageLayout layout_;
    int dpi_;
    QBuffer buffer_;
    std::unique_ptr<QPdfWriter> writer_;
    bool aborted_ = false;
};

// Letter paper, portrait, without margins: the paper of the command line's PDFs.
QPageLayout LetterPageLayout();

} // namespace quillory
