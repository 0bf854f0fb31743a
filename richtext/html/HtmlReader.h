// The HTML reader (TWPHTMLReader): paragraphs, character styles, fonts, colours, lists, tables,
// pictures and links of an HTML page, as far as the document model can hold them.
#pragma once

#include "richtext/text/TextReader.h"

#include <functional>
#include <string>
#include <string_view>

namespace quillory {

class TWPHTMLReader : public TWPTextReader {
public:
    // Supplies the picture an <IMG> or a body background names (the source as written); returns
    // true when it filled the graphic. Asked before the picture folder.
    std::function<bool(std::string_view source, TGraphic& graphic)> onBitmapRequest;
    // Folder (with a trailing '/') where BMP files named by relative sources are looked for.
    std::string filePath;

    // Nesting kept for inline elements, lists and alignments; deeper nesting is read as text
    // without the extra formatting, so hostile input costs no more than ordinary input.
    static constexpr std::size_t kMaxNesting = 256;
    // Pictures kept from one page; further <IMG>s are passed over. Object tags are 16 bits, and a
    // diary page with more pictures than this is hostile input.
    static constexpr std::size_t kMaxPictures = 10000;

protected:
    std::size_t ReadBody(std::span<const uint8_t> input, TextAppender& appender) override;
    std::string_view WrongArgumentsMessage() const override { return "Wrong Arguments in\tTWPHTMLReader"; }
    int ExceptionResult() const override { return ReadResult::Failed; }
};

} // namespace quillory
