// The Qt print devices.
#include "richtext/qt/QtPrintDevice.h"

#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>

namespace quillory {

namespace {

constexpr int kLayoutResolution = 96;

} // namespace

QtPagedPrintDevice::QtPagedPrintDevice() : measuring_(nullptr, kLayoutResolution), canvas_(nullptr, kLayoutResolution) {}

QtPagedPrintDevice::~QtPagedPrintDevice() = default;

PrinterMetrics QtPagedPrintDevice::MetricsOf(const QPageLayout& layout, int dpi, bool withOffset)
{
    const QRectF paper = layout.fullRectPoints();
    const QMarginsF margins = withOffset ? layout.minimumMargins() : QMarginsF();
    const auto pixels = [dpi](double points) { return int(points * dpi / 72.0); };
    PrinterMetrics m;
    m.dpiX = m.dpiY = dpi;
    m.offsetX = pixels(margins.left());
    m.offsetY = pixels(margins.top());
    m.pageWidth = pixels(paper.width() - margins.left() - margins.right());
    m.pageHeight = pixels(paper.height() - margins.top() - margins.bottom());
    return m;
}

bool QtPagedPrintDevice::StartPainting(QPagedPaintDevice& device, int dpi)
{
    if (!painter_.begin(&device))
        return false;
    canvas_.setPainter(&painter_);
    canvas_.setDeviceResolution(dpi, dpi);
    return true;
}

// --- a printer of the system ---------------------------------------------------------------------

QtPrinterDevice::QtPrinterDevice(QPrinter& printer) : printer_(printer) {}

PrinterMetrics QtPrinterDevice::metrics() const
{
    return MetricsOf(printer_.pageLayout(), printer_.resolution(), true);
}

bool QtPrinterDevice::beginJob(const std::string& title)
{
    printer_.setDocName(QString::fromStdString(title));
    // The origin is the paper's corner; the print layouts place everything themselves.
    printer_.setFullPage(true);
    if (StartPainting(printer_, printer_.resolution()))
        return true;
    error_ = "Cannot print on " + printer_.printerName().toStdString();
    return false;
}

bool QtPrinterDevice::newPage()
{
    if (printer_.newPage())
        return true;
    error_ = "Cannot start a new page on " + printer_.printerName().toStdString();
    return false;
}

bool QtPrinterDevice::endJob()
{
    if (!painting())
        return true;
    canvas_.setPainter(nullptr);
    if (painter_.end())
        return true;
    error_ = "The print job could not be finished on " + printer_.printerName().toStdString();
    return false;
}

void QtPrinterDevice::abortJob()
{
    if (!painting())
        return;
    printer_.abort();
    canvas_.setPainter(nullptr);
    painter_.end();
}

// --- a PDF in memory ---------------------------------------------------------------------------------

PdfPrintDevice::PdfPrintDevice(const QPageLayout& layout, int dpi) : layout_(layout), dpi_(dpi)
{
    layout_.setMinimumMargins(QMarginsF());
    layout_.setMargins(QMarginsF());
}

PdfPrintDevice::~PdfPrintDevice()
{
    canvas_.setPainter(nullptr);
    if (painting())
        painter_.end();
}

PrinterMetrics PdfPrintDevice::metrics() const
{
    return MetricsOf(layout_, dpi_, false);
}

bool PdfPrintDevice::beginJob(const std::string& title)
{
    if (aborted_) {
        error_ = "The PDF was abandoned";
        return false;
    }
    if (writer_)
        return newPage();
    buffer_.setData(QByteArray());
    buffer_.open(QIODevice::WriteOnly);
    writer_ = std::make_unique<QPdfWriter>(&buffer_);
    writer_->setResolution(dpi_);
    writer_->setPageLayout(layout_);
    writer_->setTitle(QString::fromStdString(title));
    writer_->setCreator(QStringLiteral("Quillory"));
    if (StartPainting(*writer_, dpi_))
        return true;
    error_ = "Cannot make a PDF";
    return false;
}

bool PdfPrintDevice::newPage()
{
    if (writer_ && writer_->newPage())
        return true;
    error_ = "Cannot start a new page in the PDF";
    return false;
}

bool PdfPrintDevice::endJob()
{
    return writer_ != nullptr;  // the pages stay in the file until Finish
}

void PdfPrintDevice::abortJob()
{
    if (!writer_)
        return;
    aborted_ = true;
}

QByteArray PdfPrintDevice::Finish()
{
    if (!writer_)
        return {};
    canvas_.setPainter(nullptr);
    if (painting())
        painter_.end();
    writer_.reset();
    buffer_.close();
    if (aborted_)
        return {};
    return buffer_.data();
}

QPageLayout LetterPageLayout()
{
    return QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF());
}

} // namespace quillory
