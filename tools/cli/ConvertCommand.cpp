// quillory-cli convert [--to rtf|text|html|pdf] IN OUT: reads RTF, HTML or plain text (found
// out from the bytes, as the editor does) and writes it in another format. Without --to the
// editor's save rule decides: the output's name (".rtf", ".htm"), else the format read.
// OUT "-" is standard output; a file is replaced only once it has been written whole. Plain
// text in and out is UTF-8; text is written as the input is read.
#include "tools/cli/CliCommands.h"
#include "tools/cli/CliOutput.h"
#include "tools/cli/CliText.h"
#include "tools/cli/PaintingCommands.h"

#include "richtext/io/DocumentFormat.h"
#include "richtext/io/FileBytes.h"

#include <optional>
#include <unistd.h>

namespace quillory::cli {
namespace {

std::optional<TWPLoadFormat> FormatNamed(const std::string& name)
{
    if (name == "rtf")
        return TWPLoadFormat::Rtf;
    if (name == "text" || name == "txt")
        return TWPLoadFormat::PlainText;
    if (name == "html" || name == "htm")
        return TWPLoadFormat::Html;
    return std::nullopt;
}

// The bytes to convert: the file as it is, or plain text made ready for the engine.
struct ConvertInput {
    std::optional<FileContents> file;
    std::optional<std::string> text;

    std::string_view view() const noexcept { return text ? std::string_view(*text) : file->view(); }
    void reset() noexcept
    {
        file.reset();
        text.reset();
    }
};

// Reads the input whole into a document, then writes it in the format (none: the save rule's).
// The input, the document and the writer's output are each let go as soon as the next step
// has what it needs, so that the peak memory is at most two of them.
int ConvertWhole(const std::string& in, ConvertInput& input, std::optional<TWPLoadFormat> format,
                 const std::string& out)
{
    std::string written;
    {
        TWPRTFText document;
        try {
            const LoadOutcome loaded = LoadDocument(document, input.view());
            if (loaded.result != 0)
                return Fail("cannot read " + in + " (reader result " + std::to_string(loaded.result) + ")");
        } catch (const std::exception& error) {
            return Fail("cannot read " + in + ": " + error.what());
        }
        input.reset();
        if (!format)
            format = ChooseSaveFormat(document, TWPFormatSetting::AutomaticFormat, out == "-" ? std::string() : out);
        TWPStringStream stream;
        const int result = SaveDocument(document, stream, *format);
        if (result != 0)
            return Fail("cannot convert " + in + " (writer result " + std::to_string(result) + ")");
        written = stream.take();
    }
    // Text is for people and scripts: UTF-8 with LF line ends, no placeholder bytes and no NUL.
    if (*format == TWPLoadFormat::PlainText)
        written = PlainTextForPeople(written);
    CommandOutput output(out);
    std::string error;
    if (!output.Open(error) || !output.Write(written, error) || !output.Finish(error))
        return Fail(error);
    return 0;
}

// Text is written as it is read: each paragraph goes out once the reader has finished it, so
// that a document of any length is converted holding a few paragraphs and one block of output.
int StreamAsText(const std::string& in, std::string_view input, const std::string& out)
{
    CommandOutput output(out);
    std::string error;
    if (!output.Open(error))
        return Fail(error);
    PeopleTextOutput text(output);
    TWPRTFText document;
    TWPTextStreamWriter writer(document, text);
    try {
        const LoadOutcome loaded = StreamDocument(document, input, writer);
        if (loaded.result != 0)
            return Fail("cannot read " + in + " (reader result " + std::to_string(loaded.result) + ")");
    } catch (const std::exception& error) {
        return Fail("cannot read " + in + ": " + error.what());
    }
    if (writer.Finish() != 0 || !text.Finish())
        return Fail(text.error().empty() ? "cannot convert " + in : text.error());
    if (!output.Finish(error))
        return Fail(error);
    return 0;
}

} // namespace

int RunConvert(const Arguments& args)
{
    std::optional<std::string> to;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--to" && i + 1 < args.size())
            to = args[++i];
        else if (args[i].rfind("--to=", 0) == 0)
            to = args[i].substr(5);
        else
            files.push_back(args[i]);
    }
    if (files.size() != 2)
        return Fail("convert takes [--to rtf|text|html|pdf] IN OUT (OUT \"-\" is standard output)");
    std::optional<TWPLoadFormat> format;
    if (to) {
        if (*to == "pdf")
            return ConvertToPdf(files[0], files[1]);
        format = FormatNamed(*to);
        if (!format)
            return Fail("unknown output format: " + *to + " (rtf, text or html)");
    }
    const std::string& in = files[0];
    const std::string& out = files[1];

    ConvertInput input;
    input.file = in == "-" ? FileContents::FromDescriptor(STDIN_FILENO) : FileContents::FromFile(in);
    if (!input.file)
        return Fail("cannot read " + in);
    if (DetectFormat(input.file->bytes()) == TWPLoadFormat::PlainText) {
        input.text = PlainTextForEngine(input.file->view());
        input.file.reset();
    }
    if (format == TWPLoadFormat::PlainText)
        return StreamAsText(in, input.view(), out);
    return ConvertWhole(in, input, format, out);
}

} // namespace quillory::cli
