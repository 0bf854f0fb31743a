// Throughput of the RTF reader and writer on a generated entry of about 5 MB of RTF (many runs,
// tabs, a few tables and pictures), each against a plain pass over the same bytes that counts
// braces. "Ratios" measures all three in turn and reports:
//   read_vs_pass        reading speed / pass speed                 (target: at least 1/10)
//   write_vs_read       RTF writing speed / reading speed          (target: at least 1)
//   text_write_vs_read  plain-text writing speed / reading speed   (target: at least 1)
//   stream_text_vs_read reading while writing plain text, as `convert --to text` does, against
//                       reading the whole document: time over time
//   attr_runs_per_line  attribute records the read document holds per segment (runs, not
//                       one record per character)
//   document_MB    the memory the read document holds (heap in use)
//   peak_MB        the process's peak resident set (the RTF text, readers and writers included)
// Times are this thread's processor time, best of a few runs.
#include "richtext/io/DocumentFormat.h"
#include "richtext/rtf/RtfReader.h"
#include "richtext/rtf/RtfWriter.h"
#include "richtext/text/TextWriter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <malloc.h>
#include <memory>
#include <string>

namespace {

using namespace quillory;

constexpr std::size_t kTargetBytes = 5u << 20;

double ResidentMegabytes(const char* field)
{
    double kilobytes = 0;
    if (FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status)) {
            if (std::strncmp(line, field, std::strlen(field)) == 0)
                kilobytes = std::atof(line + std::strlen(field));
        }
        std::fclose(status);
    }
    return kilobytes / 1024.0;
}

// A 48 x 48 picture of 24 bits per pixel, as a BMP file image.
std::unique_ptr<TGraphic> Picture(int seed)
{
    constexpr int side = 48;
    constexpr int rowBytes = side * 3;
    std::string bytes(14 + 40 + rowBytes * side, '\0');
    auto put32 = [&](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + std::size_t(i)] = char((value >> (8 * i)) & 0xFF);
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, std::uint32_t(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, side);
    put32(22, side);
    bytes[26] = 1;
    bytes[28] = 24;
    for (std::size_t i = 54; i < bytes.size(); ++i)
        bytes[i] = char((i * 7 + std::size_t(seed) * 31) & 0xFF);
    auto graphic = std::make_unique<TGraphic>();
    graphic->kind = GraphicKind::Dib;
    graphic->bytes = std::move(bytes);
    graphic->width = side;
    graphic->height = side;
    graphic->bitsPerPixel = 24;
    return graphic;
}

// Paragraphs of varied runs and tabs; every 400th paragraph starts a table of three rows of
// three cells, every 1500th holds a picture.
std::unique_ptr<TWPRTFText> Generate(int paragraphs)
{
    auto document = std::make_unique<TWPRTFText>();
    TTextHeader& header = document->header();
    header.addFont("Times New Roman");
    header.addFont("Courier New");
    const int tab = header.addTab(1440, TTabKind::tkLeft);
    const std::string words = "Went to the market early; bought bread, cheese and caf\xe9 beans.\tThen home. ";
    TParagraph* paragraph = document->firstParagraph();
    for (int n = 0; n < paragraphs; ++n) {
        if (n > 0)
            paragraph = document->appendParagraph(paragraph);
        paragraph->flags = 0;
        paragraph->tabMask = n % 5 == 0 ? (1ull << tab) : 0;
        if (n % 400 == 399) {
            for (int cell = 0; cell < 9; ++cell) {
                if (cell > 0)
                    paragraph = document->appendParagraph(paragraph);
                paragraph->flags = ParFlag::TableCell | (cell % 3 ? ParFlag::CellNotFirst : 0)
                                 | (cell % 3 != 2 ? ParFlag::MoreCellsFollow : 0);
                paragraph->cellLeft = std::uint8_t(85 * (cell % 3));
                paragraph->cellWidth = 85;
                paragraph->border.flags = BorderFlag::Present | BorderFlag::Box;
                paragraph->border.width = 1;
                document->appendText(*paragraph, "cell " + std::to_string(cell), TAttr{});
            }
            continue;
        }
        paragraph->border = {};
        const int length = 60 + (n * 37) % 140;
        for (int done = 0; done < length;) {
            const int run = std::min(length - done, 4 + (done * 13 + n) % 20);
            TAttr attr;
            attr.font = std::uint8_t(n % 3);
            attr.style = std::uint8_t((done / 5) % 4);
            attr.size = std::uint8_t(10 + (done / 9) % 4);
            attr.setTextColor((done / 11) % 3);
            std::string text;
            for (int i = 0; i < run; ++i)
                text += words[std::size_t(done + i + n) % words.size()];
            document->appendText(*paragraph, text, attr);
            done += run;
        }
        if (n % 1500 == 700) {
            TTextObject& object = document->addObject(Picture(n));
            object.width = 720;
            object.height = 720;
            TAttr attr;
            attr.flags = AttrFlag::Object;
            attr.tag = object.tag;
            document->appendText(*paragraph, "\x01", attr);
        }
        document->shrinkLines(*paragraph);
    }
    document->header().formatted = true;
    return document;
}

std::string Write(const TWPRTFText& document)
{
    TWPStringStream stream;
    TWPRTFWriter writer(document);
    writer.Write(stream);
    return stream.take();
}

const std::string& Rtf()
{
    static const std::string rtf = [] {
        const std::size_t sample = Write(*Generate(1000)).size();
        return Write(*Generate(int(1000.0 * double(kTargetBytes) / double(sample))));
    }();
    return rtf;
}

long CountBraces(const std::string& bytes)
{
    long depth = 0;
    for (const char c : bytes)
        depth += (c == '{') - (c == '}');
    return depth;
}

std::unique_ptr<TWPRTFText> Read(const std::string& bytes)
{
    auto document = std::make_unique<TWPRTFText>();
    TParagraph* current = document->firstParagraph();
    TWPRtfReader reader;
    reader.ReadStream(bytes, document.get(), &current);
    return document;
}

// Reads the RTF while writing its text, paragraph by paragraph, to a stream that keeps only the
// count of bytes.
std::size_t StreamText(const std::string& bytes)
{
    struct Counting : TWPOutputStream {
        std::size_t Write(std::string_view written) override
        {
            count += written.size();
            return written.size();
        }
        std::size_t count = 0;
    } stream;
    TWPRTFText document;
    TWPTextStreamWriter writer(document, stream);
    StreamDocument(document, bytes, writer);
    writer.Finish();
    return stream.count;
}

void BracePass(benchmark::State& state)
{
    const std::string& rtf = Rtf();
    for (auto _ : state)
        benchmark::DoNotOptimize(CountBraces(rtf));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(rtf.size()));
}

void RtfRead(benchmark::State& state)
{
    const std::string& rtf = Rtf();
    for (auto _ : state)
        benchmark::DoNotOptimize(Read(rtf));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(rtf.size()));
}

void StreamToText(benchmark::State& state)
{
    const std::string& rtf = Rtf();
    for (auto _ : state)
        benchmark::DoNotOptimize(StreamText(rtf));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(rtf.size()));
}

void RtfWrite(benchmark::State& state)
{
    const std::string& rtf = Rtf();
    const auto document = Read(rtf);
    std::size_t size = 0;
    for (auto _ : state)
        size = Write(*document).size();
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(size));
}

// Processor time of this thread, so that other work on a shared machine does not count.
double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

template <typename F>
double BestSeconds(int repeats, F&& run)
{
    double best = 1e9;
    for (int i = 0; i < repeats; ++i) {
        const double start = ThreadSeconds();
        run();
        best = std::min(best, ThreadSeconds() - start);
    }
    return best;
}

double HeapMegabytes()
{
    return double(mallinfo2().uordblks) / (1024.0 * 1024.0);
}

void Ratios(benchmark::State& state)
{
    const std::string& rtf = Rtf();
    double readVsPass = 0, writeVsRead = 0, textWriteVsRead = 0, streamVsRead = 0, documentMB = 0;
    double runsPerLine = 0;
    for (auto _ : state) {
        const double pass = BestSeconds(20, [&] { benchmark::DoNotOptimize(CountBraces(rtf)); });
        const double read = BestSeconds(3, [&] { benchmark::DoNotOptimize(Read(rtf)); });
        streamVsRead = BestSeconds(3, [&] { benchmark::DoNotOptimize(StreamText(rtf)); }) / read;
        const double before = HeapMegabytes();
        const auto document = Read(rtf);
        documentMB = HeapMegabytes() - before;
        std::size_t written = 0;
        const double write = BestSeconds(3, [&] { written = Write(*document).size(); });
        // Speeds in bytes per second: the writer's over what it writes, which is the same RTF.
        readVsPass = pass / read;
        writeVsRead = (double(written) / write) / (double(rtf.size()) / read);
        // Plain text is far smaller than the RTF, so its writer is judged by time for the
        // same document: reading's bytes over the time writing its text takes.
        const double text = BestSeconds(3, [&] { benchmark::DoNotOptimize(WritePlainText(*document)); });
        textWriteVsRead = read / text;
        long lines = 0, runs = 0;
        for (const TParagraph* p = document->firstParagraph(); p; p = p->next())
            for (const TTextLine* line = p->firstLine(); line; line = line->next()) {
                ++lines;
                runs += line->attrRunCount();
            }
        runsPerLine = lines ? double(runs) / double(lines) : 0;
    }
    state.counters["rtf_MB"] = double(rtf.size()) / (1024.0 * 1024.0);
    state.counters["read_vs_pass"] = readVsPass;
    state.counters["write_vs_read"] = writeVsRead;
    state.counters["text_write_vs_read"] = textWriteVsRead;
    state.counters["stream_text_vs_read"] = streamVsRead;
    state.counters["attr_runs_per_line"] = runsPerLine;
    state.counters["document_MB"] = documentMB;
    state.counters["peak_MB"] = ResidentMegabytes("VmHWM:");
}

} // namespace

BENCHMARK(BracePass)->Unit(benchmark::kMillisecond);
BENCHMARK(RtfRead)->Unit(benchmark::kMillisecond);
BENCHMARK(StreamToText)->Unit(benchmark::kMillisecond);
BENCHMARK(RtfWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(Ratios)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
