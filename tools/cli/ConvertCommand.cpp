// quillory-cli convert [--to rtf|text|html|pdf] IN OUT: reads RTF, HTML or plain text (found
// out from the bytes, as the editor does) and writes it in another format. Without --to the
// editor's save rule decides: the output's name (".rtf", ".htm"), else the format read.
// OUT "-" is standard output; a file is replaced only once it has been written whole. Plain
// text in and out is UTF-8.
#include "tools/cli/CliCommands.h"
#include "tools/cli/CliText.h"
#include "tools/cli/ConvertToPdf.h"

#include "platform/AtomicWrite.h"
#include "richtext/io/DocumentFormat.h"
#include "richtext/io/FileBytes.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>

namespace quillory::cli {
namespace {

std::optional<std::string> ReadInput(const std::string& name)
{
    if (name == "-")
        return std::string{std::istreambuf_iterator<char>(std::cin), {}};
    return ReadFileBytes(name);
}

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

    auto bytes = ReadInput(in);
    if (!bytes)
        return Fail("cannot read " + in);
    if (DetectFormat(std::span(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size()))
        == TWPLoadFormat::PlainText) {
        std::string problem;
        bytes = PlainTextForEngine(*bytes, problem);
        if (!bytes)
            return Fail("cannot read " + in + ": " + problem);
    }
    TWPRTFText document;
    try {
        const LoadOutcome loaded = LoadDocument(document, *bytes);
        if (loaded.result != 0)
            return Fail("cannot read " + in + " (reader result " + std::to_string(loaded.result) + ")");
    } catch (const std::exception& error) {
        return Fail("cannot read " + in + ": " + error.what());
    }
    if (!format)
        format = ChooseSaveFormat(document, TWPFormatSetting::AutomaticFormat, out == "-" ? std::string() : out);

    TWPStringStream stream;
    const int written = SaveDocument(document, stream, *format);
    if (written != 0)
        return Fail("cannot convert " + in + " (writer result " + std::to_string(written) + ")");
    // Text is for people and scripts: UTF-8 with LF line ends, no placeholder bytes and no NUL.
    const std::string data = *format == TWPLoadFormat::PlainText ? PlainTextForPeople(stream.data()) : stream.data();
    if (out == "-") {
        if (std::fwrite(data.data(), 1, data.size(), stdout) != data.size() || std::fflush(stdout) != 0)
            return Fail("cannot write to standard output");
        return 0;
    }
    std::string error;
    if (!WriteFileAtomically(out, data, &error))
        return Fail("cannot write " + out + ": " + error);
    return 0;
}

} // namespace quillory::cli
