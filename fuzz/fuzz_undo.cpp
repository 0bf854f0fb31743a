// Whatever the edits, undo brings back every earlier state exactly and redo every later one:
// the state after each step is recorded as a dump (a step that typing joined replaces the one
// before) and compared on the way back and forth.
#include "richtext/edit/EditorCore.h"
#include "richtext/model/DocumentDump.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace quillory;

std::string State(const EditorCore& core)
{
    return DumpDocument(core.document(), DumpSegments::Joined) + DumpSideLists(core.document());
}

} // namespace

// Bytes are taken in pairs: an action byte and an argument. Actions: type, delete, select,
// style the selection, set spacing or indents, insert a paragraph, a picture, replace all.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    EditorCore core;
    std::vector<std::string> states{State(core)};
    // Fewer actions than the history keeps steps, so that every state stays reachable.
    for (size_t i = 0; i + 1 < size && i < 2 * 90; i += 2) {
        const std::uint8_t action = data[i], argument = data[i + 1];
        const long length = core.document().characterCount();
        switch (action % 8) {
        case 0: {
            const std::string typed(1, char(argument == 0 ? ' ' : argument));
            if (core.CanModifyTyping(typed))
                core.InsertText(typed);
            break;
        }
        case 1:
            core.Select(argument % (length + 1), argument % 7);
            core.DeleteSelection();
            break;
        case 2:
            core.Select(argument % (length + 1), argument % 13, argument & 1);
            break;
        case 3: {
            TAttr attr = core.GetCurrentAttr();
            attr.style = argument;
            attr.size = std::uint8_t(argument % 40);
            core.SetCurrentAttr(attr);
            break;
        }
        case 4:
            core.SetParagraphSpacing(argument * 10, KeepValue, argument & 1 ? 240 : KeepValue);
            break;
        case 5:
            core.SetParagraphIndents(argument * 20, argument * 10, argument & 2 ? 65000 : 0);
            break;
        case 6: {
            ParagraphDescriptor descriptor;
            descriptor.text = std::string(argument % 5, 'p');
            descriptor.pageBreakBefore = argument & 1;
            core.InsertParagraph(descriptor);
            break;
        }
        default:
            if (argument & 1) {
                auto graphic = std::make_unique<TGraphic>();
                graphic->bytes.assign(argument % 9, 'g');
                core.InsertGraphic(std::move(graphic), argument * 10, argument * 5);
            } else {
                core.ReplaceAll(std::string(1, char('a' + argument % 4)), "xy", FindOptions{});
            }
            break;
        }
        core.EndEditStep();
        if (core.UndoSteps() + 1 > states.size())
            states.push_back(State(core));
        else
            states.back() = State(core); // joined the last step, or changed nothing
        if (core.UndoSteps() + 1 != states.size())
            std::abort();
    }
    // Back through every state, then forward again.
    const std::size_t last = states.size() - 1;
    for (std::size_t k = last; k > 0; --k) {
        if (!core.Undo() || State(core) != states[k - 1])
            std::abort();
    }
    if (core.Undo())
        std::abort();
    for (std::size_t k = 1; k <= last; ++k) {
        if (!core.Redo() || State(core) != states[k])
            std::abort();
    }
    return 0;
}
