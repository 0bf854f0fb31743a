// The RTF reader (TWPRtfReader): rebuilds a document from RTF, the stored form of every entry.
#pragma once

#include "richtext/text/TextReader.h"

#include <string>

namespace quillory {

class TWPRtfReader : public TWPTextReader {
public:
    // Folder (with a trailing '/') where pictures referenced by file name are looked for.
    std::string pictureFolder;
    // Snap first-line and left indents to the ruler grid when finishing.
    bool snapIndents = false;
    // Read runs of \uN, and of \'hh in a single-byte code page, straight from the bytes, as text
    // of other scripts mostly arrives; off, each goes through the tokens one by one, which gives
    // the same document (a check for tests).
    bool unicodeRuns = true;
    // Nested groups whose state is kept; deeper groups are still counted but restore nothing.
    static constexpr int kMaxSavedGroups = 4096;

protected:
    std::size_t ReadBody(std::span<const uint8_t> input, TextAppender& appender) override;
    std::string_view WrongArgumentsMessage() const override { return "Wrong Arguments in\tTWPRTFReader"; }
    int ExceptionResult() const override { return ReadResult::Failed; }
};

} // namespace quillory
