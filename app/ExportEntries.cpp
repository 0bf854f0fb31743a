// Export of entries into files of their own.
#include "app/ExportEntries.h"

#include "app/DateTexts.h"
#include "app/EntryFiles.h"
#include "app/EntryStore.h"
#include "app/ExportMarkdown.h"
#include "platform/AtomicWrite.h"
#include "platform/Error.h"
#include "platform/Files.h"
#include "richtext/io/DocumentFormat.h"

#include <cctype>
#include <map>

namespace quillory {

namespace {

struct FormatInfo {
    ExportFormat format;
    std::string_view word;
    std::string_view alias;
    std::string_view extension;
    std::string_view description;
};

constexpr FormatInfo kFormats[] = {
    {ExportFormat::Rtf, "rtf", "rtf", ".RTF", "Rich Text Format (RTF)"},
    {ExportFormat::Text, "text", "txt", ".txt", "plain text (UTF-8)"},
    {ExportFormat::Html, "html", "htm", ".html", "HTML"},
    {ExportFormat::Pdf, "pdf", "pdf", ".pdf", "PDF"},
    {ExportFormat::Markdown, "markdown", "md", ".md", "Markdown"},
    {ExportFormat::Json, "json", "json", ".json", "JSON (jrnl's shape)"},
};

constexpr const char* kJsonFileName = "diary.json";

std::string Folded(std::string_view name)
{
    std::string folded(name);
    for (char& c : folded)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return folded;
}

const FormatInfo& Info(ExportFormat format)
{
    for (const FormatInfo& info : kFormats) {
        if (info.format == format)
            return info;
    }
    return kFormats[0];
}

// The entry read by the editor's readers and written in another format: the writers' text and
// HTML are UTF-8, as the document is.
std::string Converted(std::string_view rtf, TWPLoadFormat format)
{
    TWPRTFText document;
    if (LoadDocument(document, rtf).result != 0)
        throw Error("The entry cannot be read");
    TWPStringStream stream;
    if (const int result = SaveDocument(document, stream, format); result != 0 && result != 8)
        throw Error("The entry cannot be converted");
    return stream.take();
}

// The entry's text as the plain-text export writes it, with LF between paragraphs.
std::string PlainText(std::string_view rtf)
{
    std::string text = Converted(rtf, TWPLoadFormat::PlainText);
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (static_cast<unsigned char>(text[i]) >= 32 || text[i] == '\n' || text[i] == '\t') {
            out += text[i];
        }
    }
    return out;
}

void WriteExported(const std::string& file, std::string_view bytes)
{
    std::string error;
    if (!WriteFileAtomicallyExact(file, bytes, &error))
        throw Error(FormatMessage("Cannot create file %s", file) + (error.empty() ? "" : ": " + error));
}

std::string Render(const ExportSettings& settings, Day day, std::string rtf)
{
    switch (settings.format) {
    case ExportFormat::Rtf:
        return rtf;  // the entry's own bytes: a byte copy when the diary has no password
    case ExportFormat::Text:
        return Converted(rtf, TWPLoadFormat::PlainText);
    case ExportFormat::Html:
        return Converted(rtf, TWPLoadFormat::Html);
    case ExportFormat::Pdf:
        if (!settings.pdf)
            throw Error("PDF files cannot be made here");
        return settings.pdf(day, rtf);
    case ExportFormat::Markdown:
    case ExportFormat::Json:
        break;  // written by their own steps
    }
    return rtf;
}

} // namespace

bool ExportFormatNamed(std::string_view word, ExportFormat& format)
{
    for (const FormatInfo& info : kFormats) {
        if (word == info.word || word == info.alias) {
            format = info.format;
            return true;
        }
    }
    return false;
}

std::string ExportFileName(Day day, ExportFormat format)
{
    if (format == ExportFormat::Json)
        return kJsonFileName;
    if (format == ExportFormat::Markdown)
        return IsoText(day) + std::string(Info(format).extension);
    return DayKey(day) + std::string(Info(format).extension);
}

ExportOutcome ExportEntries(const ExportSettings& settings, const ExportProgress& progress)
{
    ExportOutcome outcome;
    std::vector<JsonEntry> json;  // the JSON export is one file, written after every entry is read
    const std::vector<Day> days = EntryDaysIn(settings.days);
    // The folder is looked into once: a file that exists in another letter case is the one
    // replaced, and every other name is written as it is.
    std::map<std::string, std::string> existing;
    if (!days.empty()) {
        for (const std::string& name : ScanFolder(settings.folder, "*"))
            existing.emplace(Folded(name), name);
    }
    for (const Day day : days) {
        if (progress)
            progress("Processing entry for " + ShortDateText(day, settings.dateSeparator));
        const std::string file = ExportFileName(day, settings.format);
        const auto other = existing.find(Folded(file));
        const std::string name = settings.folder + (other != existing.end() ? other->second : file);
        try {
            const std::string rtf = ReadEntry(day, settings.password);
            if (settings.format == ExportFormat::Json) {
                json.push_back({day, PlainText(rtf)});
                continue;
            }
            if (settings.format == ExportFormat::Markdown) {
                TWPRTFText document;
                if (LoadDocument(document, rtf).result != 0)
                    throw Error("The entry cannot be read");
                const MarkdownEntry markdown = EntryAsMarkdown(document, day);
                for (const MarkdownPicture& picture : markdown.pictures)
                    WriteExported(settings.folder + picture.fileName, picture.bytes);
                WriteExported(name, markdown.markdown);
            } else {
                WriteExported(name, Render(settings, day, rtf));
            }
            ++outcome.written;
        } catch (const std::exception& error) {
            outcome.failed.push_back({day, error.what()});
        }
    }
    if (settings.format == ExportFormat::Json && !json.empty()) {
        const std::string file = settings.folder + kJsonFileName;
        try {
            WriteExported(file, EntriesAsJson(json));
            ++outcome.written;
        } catch (const std::exception& error) {
            outcome.failed.push_back({json.front().day, error.what()});
        }
    }
    return outcome;
}

std::string ExportSummary(int written, ExportFormat format, std::string_view folder)
{
    return "Saved " + std::to_string(written) + " file(s) as " + std::string(Info(format).description)
        + "\nto directory: " + std::string(folder);
}

std::string ExportFailureReport(const std::vector<ExportFailure>& failed, char dateSeparator)
{
    if (failed.empty())
        return {};
    std::string days;
    for (const ExportFailure& failure : failed)
        days += (days.empty() ? "" : ", ") + ShortDateText(failure.day, dateSeparator);
    return "These entries could not be exported: " + days + "\n" + failed.front().message;
}

} // namespace quillory
