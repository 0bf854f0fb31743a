// Whatever is typed and however the caret moves, typing leaves a sound document: every segment
// keeps its closing zero, the caret stays in the text, and layout and painting go on.
#include "richtext/input/TextInput.h"
#include "richtext/layout/FixedCanvas.h"
#include "richtext/layout/TextPaint.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

using namespace quillory;

void check(const TWPRTFText& doc, const TWPRTFTextInput& input)
{
    for (auto* p = doc.firstParagraph(); p; p = p->next())
        for (auto* line = p->firstLine(); line; line = line->next())
            if (line->length() >= line->capacity() || line->text()[line->length()] != 0)
                std::abort();
    if (!const_cast<TWPRTFTextInput&>(input).InSync() || input.caretOffset() > doc.characterCount())
        std::abort();
}

} // namespace

// Bytes are taken in pairs: an action byte and an argument. Actions: type the argument byte,
// move (argument mod 12, extending on bit 4), toggle a mode, select, or mark the paragraph.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TWPRTFText doc;
    FixedCanvas canvas;
    TWPRTFTextPaint paint(doc);
    paint.setCanvas(&canvas);
    paint.windowWidth = 120;
    paint.clientHeight = 50;
    paint.reformatAll();
    TWPRTFTextInput input(doc, &paint);
    for (size_t i = 0; i + 1 < size; i += 2) {
        const std::uint8_t action = data[i], argument = data[i + 1];
        switch (action % 8) {
        case 0:
        case 1:
        case 2: {
            const char typed = char(argument);
            input.InsertString(std::string_view(&typed, 1));
            break;
        }
        case 3:
            input.Move(MoveKind(argument % 12), argument & 16);
            break;
        case 4:
            input.Inserting = !input.Inserting;
            break;
        case 5:
            input.SetSelection(argument, long(argument) * 7 % (doc.characterCount() + 1));
            break;
        case 6: {
            TParagraph* p = doc.paragraphAt(input.caret().paragraph);
            if (p) {
                p->flags ^= std::uint8_t(argument & (ParFlag::TableCell | ParFlag::PageBreakBefore | ParFlag::KeepWithNext));
                p->cellWidth = argument;
                p->border.flags = argument;
                paint.reformatAll();
            }
            break;
        }
        default:
            doc.protectedProp = argument;
            doc.insertionAttr.flags = std::uint8_t(argument & (AttrFlag::Hidden | AttrFlag::Protected));
            input.AutomaticInsertion = argument & 0x80;
            break;
        }
        check(doc, input);
    }
    paint.paint(canvas, {0, 0, 200, paint.documentHeight() + 10}, 0, 0);
    return 0;
}
