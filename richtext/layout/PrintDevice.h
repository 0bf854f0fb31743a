// A printer as the diary's print runs see it: its resolution and printable area, a canvas to draw
// the pages on, and print jobs made of pages. The Qt printer, a PDF file and tests provide one.
#pragma once

#include "richtext/layout/Canvas.h"

#include <string>

namespace quillory {

// Device pixels. The offset is where the printable area begins on the paper; the page size is
// the printable area's.
struct PrinterMetrics {
    int dpiX = 600;
    int dpiY = 600;
    int offsetX = 0;
    int offsetY = 0;
    int pageWidth = 0;
    int pageHeight = 0;
};

class PrintDevice {
public:
    virtual ~PrintDevice() = default;

    virtual PrinterMetrics metrics() const = 0;
    // The canvas that lays documents out (screen resolution); it draws nothing.
    virtual Canvas& measuringCanvas() = 0;

    // A job is begun, gets pages, and is ended or aborted. False when the device refused; then
    // lastError() says why. The canvas draws on the current page of the open job; its origin
    // is the paper's corner, in device pixels.
    virtual bool beginJob(const std::string& title) = 0;
    virtual Canvas& canvas() = 0;
    virtual bool newPage() = 0;
    virtual bool endJob() = 0;
    // Discards the open job: the pages sent so far are not printed.
    virtual void abortJob() = 0;
    virtual std::string lastError() const = 0;
};

} // namespace quillory
