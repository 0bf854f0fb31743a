// Format detection, the save format choice, and loading and saving through the readers and
// writers of each format.
#include "richtext/io/DocumentFormat.h"

#include "richtext/html/HtmlReader.h"
#include "richtext/rtf/RtfReader.h"
#include "richtext/rtf/RtfWriter.h"
#include "richtext/text/TextReader.h"

#include <algorithm>
#include <array>
#include <memory>

namespace quillory {
namespace {

constexpr std::array<std::string_view, 7> kHtmlTags = {"html", "b", "p", "br", "title", "body", "h1"};

char Lower(uint8_t c) noexcept
{
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
}

bool ContainsNoCase(std::string_view text, std::string_view part) noexcept
{
    if (part.size() > text.size())
        return false;
    for (std::size_t at = 0; at + part.size() <= text.size(); ++at) {
        std::size_t i = 0;
        while (i < part.size() && Lower(static_cast<uint8_t>(text[at + i])) == part[i])
            ++i;
        if (i == part.size())
            return true;
    }
    return false;
}

// A tag name of 1 to 9 letters or digits right after '<' (or "</"), ended by '>', a blank or '/'.
bool HtmlTagAt(std::span<const uint8_t> bytes, std::size_t at) noexcept
{
    std::size_t i = at + 1;
    if (i < bytes.size() && bytes[i] == '/')
        ++i;
    std::string name;
    while (i < bytes.size() && name.size() <= 9
           && ((bytes[i] >= 'a' && bytes[i] <= 'z') || (bytes[i] >= 'A' && bytes[i] <= 'Z') || (bytes[i] >= '0' && bytes[i] <= '9'))) {
        name += Lower(bytes[i]);
        ++i;
    }
    if (name.empty() || name.size() > 9 || i >= bytes.size())
        return false;
    const uint8_t end = bytes[i];
    if (end != '>' && end != ' ' && end != '/' && end != '\t' && end != '\r' && end != '\n')
        return false;
    return std::find(kHtmlTags.begin(), kHtmlTags.end(), name) != kHtmlTags.end();
}

// The blanks, line ends, TABs and backspaces that may stand before "{\rtf".
std::size_t LeadingBlanks(std::span<const uint8_t> bytes) noexcept
{
    std::size_t at = 0;
    while (at < bytes.size() && (bytes[at] == ' ' || bytes[at] == '\t' || bytes[at] == '\r' || bytes[at] == '\n' || bytes[at] == 8))
        ++at;
    return at;
}

} // namespace

TWPLoadFormat DetectFormat(std::span<const uint8_t> bytes) noexcept
{
    const std::size_t at = LeadingBlanks(bytes);
    static constexpr std::string_view kRtf = "{\\rtf";
    if (bytes.size() - at >= kRtf.size()
        && std::equal(kRtf.begin(), kRtf.end(), bytes.begin() + std::ptrdiff_t(at)))
        return TWPLoadFormat::Rtf;
    const std::size_t window = std::min(bytes.size(), HtmlDetectionWindow);
    for (std::size_t i = 0; i < window; ++i) {
        if (bytes[i] == '<' && HtmlTagAt(bytes.first(window), i))
            return TWPLoadFormat::Html;
    }
    return TWPLoadFormat::PlainText;
}

namespace {

// The reader of the setting's format (automatic and last: detected) with the editor's hooks;
// keeps the format in the outcome and the document's header.
std::unique_ptr<TWPTextReader> ReaderFor(TWPRTFText& document, std::span<const uint8_t> bytes,
                                         TWPFormatSetting setting, const LoadHooks& hooks,
                                         LoadOutcome& outcome)
{
    switch (setting) {
    case TWPFormatSetting::FormatRTF: outcome.format = TWPLoadFormat::Rtf; break;
    case TWPFormatSetting::FormatANSI: outcome.format = TWPLoadFormat::PlainText; break;
    case TWPFormatSetting::FormatHTML: outcome.format = TWPLoadFormat::Html; break;
    case TWPFormatSetting::AutomaticFormat:
    case TWPFormatSetting::LastFormat: outcome.format = DetectFormat(bytes); break;
    }
    document.header().lastLoadFormat = outcome.format;
    if (outcome.format == TWPLoadFormat::Rtf) {
        auto rtf = std::make_unique<TWPRtfReader>();
        rtf->pictureFolder = hooks.pictureFolder;
        return rtf;
    }
    if (outcome.format == TWPLoadFormat::Html) {
        auto html = std::make_unique<TWPHTMLReader>();
        html->filePath = hooks.htmlFilePath;
        html->onBitmapRequest = hooks.onHtmlBitmapRequest;
        return html;
    }
    if (bytes.size() > PlainTextMemoryThreshold)
        document.setMemoryFormat(MemoryFormat::fmPlainText);
    return std::make_unique<TWPTextReader>();
}

// What stands before "{\rtf" is not part of the RTF: the reader would take it for text.
std::size_t SkippedBefore(const LoadOutcome& outcome, std::span<const uint8_t> bytes) noexcept
{
    return outcome.format == TWPLoadFormat::Rtf ? LeadingBlanks(bytes) : 0;
}

} // namespace

LoadOutcome LoadDocument(TWPRTFText& document, std::span<const uint8_t> bytes, TWPFormatSetting setting,
                         const LoadHooks& hooks)
{
    LoadOutcome outcome;
    const auto reader = ReaderFor(document, bytes, setting, hooks, outcome);
    const std::size_t skipped = SkippedBefore(outcome, bytes);
    TParagraph* current = document.isEmpty() ? document.firstParagraph() : nullptr;
    outcome.result = reader->ReadStream(bytes.subspan(skipped), &document, current ? &current : nullptr);
    outcome.consumed = skipped + reader->consumed();
    return outcome;
}

LoadOutcome StreamDocument(TWPRTFText& document, std::span<const uint8_t> bytes, TWPParagraphSink& sink,
                           TWPFormatSetting setting, const LoadHooks& hooks)
{
    LoadOutcome outcome;
    const auto reader = ReaderFor(document, bytes, setting, hooks, outcome);
    const std::size_t skipped = SkippedBefore(outcome, bytes);
    outcome.result = reader->ReadStreaming(bytes.subspan(skipped), document, sink);
    outcome.consumed = skipped + reader->consumed();
    return outcome;
}

TWPLoadFormat ChooseSaveFormat(const TWPRTFText& document, TWPFormatSetting setting, std::string_view fileName)
{
    if (ContainsNoCase(fileName, ".rtf"))
        return TWPLoadFormat::Rtf;
    if (ContainsNoCase(fileName, ".htm"))
        return TWPLoadFormat::Html;
    TWPLoadFormat format;
    switch (setting) {
    case TWPFormatSetting::FormatRTF: format = TWPLoadFormat::Rtf; break;
    case TWPFormatSetting::FormatANSI: format = TWPLoadFormat::PlainText; break;
    case TWPFormatSetting::FormatHTML: format = TWPLoadFormat::Html; break;
    default: {
        const TWPLoadFormat last = document.header().lastLoadFormat;
        if (last == TWPLoadFormat::Rtf || last == TWPLoadFormat::PlainText)
            format = last;
        else
            format = document.header().formatted ? TWPLoadFormat::Rtf : TWPLoadFormat::PlainText;
    }
    }
    if (format == TWPLoadFormat::Rtf && fileName.empty() && document.isEmpty())
        format = TWPLoadFormat::PlainText;
    return format;
}

int SaveDocument(const TWPRTFText& document, TWPOutputStream& stream, TWPLoadFormat format,
                 const SaveSettings& settings)
{
    std::unique_ptr<TWPTextWriter> writer;
    if (format == TWPLoadFormat::Rtf) {
        writer = std::make_unique<TWPRTFWriter>(document);
    } else if (format == TWPLoadFormat::Html) {
        auto html = std::make_unique<TWPHTMLWriter>(document);
        html->storeComment = settings.storeComment;
        writer = std::move(html);
    } else {
        writer = std::make_unique<TWPTextWriter>(document);
    }
    writer->options = settings.options;
    return writer->Write(stream);
}

} // namespace quillory
