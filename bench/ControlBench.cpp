// The editor control with a typical entry: about 10 KB of RTF loaded from its file until it is
// laid out, and painted; reading alone (no control, no layout) is the yardstick.
#include "bench/OffscreenBenchmarks.h"
#include "richtext/io/DocumentFormat.h"
#include "richtext/qt/RichText.h"
#include "richtext/rtf/RtfWriter.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;
using namespace quillory;

namespace {

// A diary entry of some ten kilobytes of RTF: paragraphs of prose with bold, italic and coloured
// words, a second font, a centred heading and an indented quote.
const fs::path& entryFile()
{
    static const fs::path path = [] {
        TWPRTFText document;
        const int times = document.header().addFont("Times New Roman");
        TAttr plain;
        plain.size = 11;
        TAttr bold = plain;
        bold.style = AttrStyle::Bold;
        TAttr italic = plain;
        italic.style = AttrStyle::Italic;
        italic.font = std::uint8_t(times);
        TAttr red = plain;
        red.setTextColor(1);
        TParagraph* paragraph = document.firstParagraph();
        paragraph->alignment = Alignment::Center;
        document.appendText(*paragraph, "A long day at the lake", bold);
        const std::string prose = "We walked along the shore in the morning and talked about the summer, the "
                                  "garden and the letters that never came. ";
        for (int i = 0; i < 24; ++i) {
            paragraph = document.appendParagraph(paragraph);
            paragraph->alignment = Alignment::Left;
            paragraph->leftIndent = paragraph->firstIndent = i % 6 == 5 ? 720 : 0;
            document.appendText(*paragraph, prose, plain);
            document.appendText(*paragraph, "Important: ", bold);
            document.appendText(*paragraph, "remember the keys", red);
            document.appendText(*paragraph, " and the quiet evening light. ", italic);
            document.appendText(*paragraph, prose, plain);
        }
        document.header().formatted = true;
        const std::string rtf = WriteRtf(document);
        const fs::path file = fs::temp_directory_path() / "quillory-control-bench.rtf";
        std::ofstream(file, std::ios::binary) << rtf;
        return file;
    }();
    return path;
}

void BM_ReadRtfOnly(benchmark::State& state)
{
    std::ifstream in(entryFile(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    for (auto _ : state) {
        TWPRTFText document;
        benchmark::DoNotOptimize(LoadDocument(document, bytes).result);
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(bytes.size()));
}
BENCHMARK(BM_ReadRtfOnly)->Unit(benchmark::kMicrosecond);

void BM_LoadIntoControl(benchmark::State& state)
{
    TWPRichText editor;
    editor.resize(640, 480);
    for (auto _ : state)
        benchmark::DoNotOptimize(editor.LoadFromFile(entryFile().string()));
    state.counters["bytes"] = double(fs::file_size(entryFile()));
    state.counters["lines"] = double(editor.engine().lines().size());
}
BENCHMARK(BM_LoadIntoControl)->Unit(benchmark::kMicrosecond);

void BM_PaintControl(benchmark::State& state)
{
    TWPRichText editor;
    editor.resize(640, 480);
    editor.LoadFromFile(entryFile().string());
    QImage image(editor.size(), QImage::Format_RGB32);
    for (auto _ : state)
        editor.render(&image);
}
BENCHMARK(BM_PaintControl)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return quillory::bench::RunOffscreenBenchmarks<QApplication>(argc, argv, [] { std::filesystem::remove(entryFile()); });
}
