// Choosing the format of a load and of a save: detection of RTF, HTML and plain text in a byte
// stream, the save format from the settings, a file name and the document, and the load and
// save operations the editor control calls with them.
#pragma once

#include "richtext/html/HtmlWriter.h"
#include "richtext/model/Document.h"
#include "richtext/text/OutputStream.h"
#include "richtext/text/TextWriter.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace quillory {

// The editor's LoadFormat and SaveFormat settings.
enum class TWPFormatSetting : std::uint8_t { AutomaticFormat, LastFormat, FormatRTF, FormatANSI, FormatHTML };

// Plain-text input longer than this switches the document to plain-text memory format.
inline constexpr std::size_t PlainTextMemoryThreshold = 500000;
// How far into the input detection looks for an HTML tag.
inline constexpr std::size_t HtmlDetectionWindow = 2000;

// RTF when the bytes begin, after blanks, CR, LF, TAB and backspace, with "{\rtf"; HTML when
// one of the tags html, b, p, br, title, body or h1 (any letter case) appears in the first
// 2000 bytes; plain text otherwise.
TWPLoadFormat DetectFormat(std::span<const uint8_t> bytes) noexcept;

// What the readers need from the editor beyond the bytes.
struct LoadHooks {
    std::string pictureFolder; // RTF pictures referenced by file name
    std::string htmlFilePath;  // HTML pictures named by relative sources
    std::function<bool(std::string_view source, TGraphic& graphic)> onHtmlBitmapRequest;
};

struct LoadOutcome {
    int result = 0; // the reader's result code (0 success, 2 out of memory, 7 failure)
    TWPLoadFormat format = TWPLoadFormat::Unknown;
    std::size_t consumed = 0;
};

// Reads the bytes into the document in the format the setting names (automatic and last:
// detected). An empty document is filled from its first paragraph; otherwise the text is
// appended after the last one. The format read is kept in the header. Exceptions of the
// readers pass on after the document keeps what was read.
LoadOutcome LoadDocument(TWPRTFText& document, std::span<const uint8_t> bytes,
                         TWPFormatSetting setting = TWPFormatSetting::AutomaticFormat,
                         const LoadHooks& hooks = {});
inline LoadOutcome LoadDocument(TWPRTFText& document, std::string_view bytes,
                                TWPFormatSetting setting = TWPFormatSetting::AutomaticFormat,
                                const LoadHooks& hooks = {})
{
    return LoadDocument(document, std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()),
                        setting, hooks);
}

// Reads the bytes as LoadDocument does into an empty document, streaming: each finished
// paragraph goes to `sink` and leaves the document (TWPTextReader::ReadStreaming). The
// document keeps the header, the objects and the footnotes read.
LoadOutcome StreamDocument(TWPRTFText& document, std::span<const uint8_t> bytes, TWPParagraphSink& sink,
                           TWPFormatSetting setting = TWPFormatSetting::AutomaticFormat,
                           const LoadHooks& hooks = {});
inline LoadOutcome StreamDocument(TWPRTFText& document, std::string_view bytes, TWPParagraphSink& sink,
                                  TWPFormatSetting setting = TWPFormatSetting::AutomaticFormat,
                                  const LoadHooks& hooks = {})
{
    return StreamDocument(document, std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()),
                          sink, setting, hooks);
}

// The format a save writes. With a file name: a name containing ".rtf" is RTF and one
// containing ".htm" is HTML (any letter case), else the setting decides. The setting's own
// formats are used as given; otherwise the last loaded format when it was RTF or plain text,
// else RTF for a formatted document and plain text for one without formatting. Saving RTF to
// a stream (no file name) writes plain text for an empty document.
TWPLoadFormat ChooseSaveFormat(const TWPRTFText& document, TWPFormatSetting setting,
                               std::string_view fileName = {});

struct SaveSettings {
    WriterOptions options;
    THTMLStoreComment storeComment = THTMLStoreComment::shcFootnote;
};

// Writes the document in the format; returns the writer's result (0, 2, 7 or 8).
int SaveDocument(const TWPRTFText& document, TWPOutputStream& stream, TWPLoadFormat format,
                 const SaveSettings& settings = {});

} // namespace quillory
