// Fuzz target: what a paste brings into the editor. The bytes are read as clipboard data (any
// format), inserted at a position taken from the input, searched with a pattern taken from the
// input, walked word by word, copied out and deleted again; the document must stay whole.
#include "richtext/edit/EditorCore.h"
#include "richtext/edit/RangeEditing.h"
#include "richtext/io/DocumentFormat.h"
#include "richtext/rtf/RtfWriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace quillory;

namespace {

void checkWhole(const TWPRTFText& document)
{
    long counted = 0;
    for (const TParagraph* paragraph = document.firstParagraph(); paragraph; paragraph = paragraph->next())
        counted += paragraph->length() + (paragraph->next() ? 1 : 0);
    if (!document.firstParagraph() || counted != document.characterCount())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    const unsigned position = data[0] | (data[1] << 8);
    const unsigned choice = data[2];
    const unsigned patternLength = data[3];
    const std::string_view input(reinterpret_cast<const char*>(data + 4), size - 4);

    EditorCore editor;
    editor.InsertText("Dear diary,\r\ntoday it's a tab\there and a soft\nbreak.\r\n\r\nEnd");
    TWPRTFText pasted;
    try {
        LoadDocument(pasted, input);
    } catch (const std::exception&) {
        // A reader may give up with an error; what it read so far is still pasted.
    }
    checkWhole(pasted);

    editor.GoTo(long(position % unsigned(editor.document().characterCount() + 1)));
    editor.InsertDocument(pasted);
    checkWhole(editor.document());
    editor.InsertText(input.substr(0, 64));
    checkWhole(editor.document());

    FindOptions options;
    options.backwards = choice & 1;
    options.matchCase = choice & 2;
    options.wholeWord = choice & 4;
    const std::string_view pattern = input.substr(0, std::min<std::size_t>(patternLength, input.size()));
    editor.FindText(pattern, options.backwards);
    editor.ReplaceAll(pattern, "x", options);
    checkWhole(editor.document());

    int words = 0;
    for (auto word = editor.NextWord(true); word && words < 10000; word = editor.NextWord())
        ++words;

    const long total = editor.document().characterCount();
    const long start = long(position % unsigned(total + 1));
    const auto copy = CopyRange(editor.document(), start, long(choice) * 7);
    checkWhole(*copy);
    const std::string rtf = WriteRtf(*copy);
    TWPRTFText again;
    LoadDocument(again, rtf);
    checkWhole(again);
    DeleteRange(editor.document(), start, long(choice) * 5);
    checkWhole(editor.document());
    return 0;
}
