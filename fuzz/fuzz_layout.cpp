// Whatever document RTF bytes make, layout, painting, caret and hit testing, printing into
// rectangles and relayout of one paragraph end without a crash and keep their own invariants.
#include "richtext/layout/FixedCanvas.h"
#include "richtext/layout/TextPaint.h"
#include "richtext/rtf/RtfReader.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    using namespace quillory;
    const std::uint8_t switches = data[0];
    TWPRTFText doc;
    TWPRtfReader reader;
    reader.ReadStream(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1), &doc);

    FixedCanvas canvas;
    TWPRTFTextPaint engine(doc);
    engine.setCanvas(&canvas);
    engine.wordWrap = switches & 1;
    engine.windowWidth = (switches & 2) ? 37 : 300;
    engine.showHiddenText = switches & 4;
    engine.maxCharsPerLine = (switches & 8) ? 3 : 0;
    engine.zooming = switches & 16;
    engine.zoom = 50;
    engine.reformatAll();

    const auto& lines = engine.lines();
    int bandBottom = 0;
    for (const LaidLine& line : lines) {
        if (line.bandBottom < bandBottom || line.line->length() >= line.line->capacity())
            std::abort(); // bands go down the page; segments keep their closing zero
        bandBottom = line.bandBottom;
    }
    engine.paint(canvas, {0, 0, 400, engine.documentHeight() + 10}, 0, 0);
    for (int y = -5; y < engine.documentHeight() + 30; y += 7) {
        const TextPosition at = engine.positionAt((y * 13) % 350, y);
        const CaretBox caret = engine.caretAt(at);
        if (caret.line < 0 || caret.line >= int(lines.size()))
            std::abort();
    }
    int next = 1, pages = 0;
    do {
        next = engine.printRectangle(canvas, 0, 0, 300, 60, next, true);
    } while (next > 0 && ++pages < 10000);
    if (pages >= 10000)
        std::abort(); // every rectangle takes at least one line

    TParagraph* middle = doc.paragraphAt(doc.paragraphCount() / 2);
    if (middle && middle->firstLine()->hasAttributes()) {
        TAttr attr = middle->firstLine()->attrs()[0];
        attr.flags = 0;
        doc.appendText(*middle, "typed text that wraps around the narrow window", attr);
        engine.reformatParagraph(*middle);
        engine.paint(canvas, {0, 0, 400, engine.documentHeight() + 10}, 0, 0);
    }
    // A paragraph joined away beside the one laid out again.
    if (doc.paragraphCount() > 2) {
        doc.deleteParagraph(doc.paragraphAt(1));
        engine.reformatParagraph(*doc.firstParagraph());
        engine.paint(canvas, {0, 0, 400, engine.documentHeight() + 10}, 0, 0);
    }
    PrintJob job;
    engine.print(canvas, 0, 3, job);
    return 0;
}
