// Printing a laid-out document on a QPrinter: paper from the document's header, the margins as
// page offsets, one printer page per engine page. Shared by the editor control and the
// command-line PDF conversion.
#pragma once

#include "richtext/layout/TextPaint.h"

class QPrinter;

namespace quillory {

// Paper size and orientation of the document; the printer's origin becomes the paper's corner.
void SetUpPrinterForDocument(QPrinter& printer, const TTextHeader& header);
// Prints pages fromPage..toPage (from 0) with the header and footer callbacks of `callbacks`;
// false when the printer could not be started.
bool PrintDocument(TWPRTFTextPaint& engine, QPrinter& printer, int fromPage, int toPage,
                   const PrintJob& callbacks = {});

} // namespace quillory
