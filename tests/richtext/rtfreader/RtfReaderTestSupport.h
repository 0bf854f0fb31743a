// Reading RTF given inline into a fresh document, for the reader's tests.
#pragma once

#include "richtext/model/DocumentDump.h"
#include "richtext/rtf/RtfReader.h"

#include <memory>
#include <string_view>

namespace quillory::testing {

struct ReadOutcome {
    std::unique_ptr<TWPRTFText> document = std::make_unique<TWPRTFText>();
    int result = -1;
    size_t consumed = 0;
};

// Reads into a new document, continuing in its first (empty) paragraph as loading does.
inline ReadOutcome ReadRtf(std::string_view rtf, TWPRtfReader reader = {})
{
    ReadOutcome outcome;
    TParagraph* current = outcome.document->firstParagraph();
    outcome.result = reader.ReadStream(rtf, outcome.document.get(), &current);
    outcome.consumed = reader.consumed();
    return outcome;
}

} // namespace quillory::testing
