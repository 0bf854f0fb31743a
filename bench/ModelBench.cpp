// Memory of a document holding 1 MB of text, built the way the readers build it (segments filled
// to their capacity, spare room cut at each paragraph end). The counters are megabytes:
// "document_MB" is what the document added to the resident set, "resident_MB" the whole
// process while it holds the document. The budget is 40 MB resident.
#include "richtext/model/Document.h"
#include "richtext/rtf/RtfReader.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <malloc.h>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

constexpr std::size_t kTextBytes = 1u << 20;

double ResidentMegabytes()
{
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Paragraphs of 40 to 160 characters, each with a few runs of different attributes.
std::unique_ptr<quillory::TWPRTFText> BuildDocument(int paragraphLength)
{
    auto doc = std::make_unique<quillory::TWPRTFText>();
    quillory::TParagraph* paragraph = doc->firstParagraph();
    std::size_t written = 0;
    int n = 0;
    const std::string words = "The quick brown fox jumps over the lazy dog; caf\xe9 na\xefve \t";
    while (written < kTextBytes) {
        const int length = paragraphLength > 0 ? paragraphLength : 40 + (n * 37) % 120;
        for (int done = 0; done < length;) {
            const int run = std::min(length - done, 7 + (done * 13 + n) % 30);
            quillory::TAttr attr;
            attr.font = std::uint8_t(n % 3);
            attr.style = std::uint8_t((done / 7) % 4);
            attr.size = std::uint8_t(10 + n % 4);
            std::string text;
            for (int i = 0; i < run; ++i)
                text += words[std::size_t(done + i + n) % words.size()];
            doc->appendText(*paragraph, text, attr);
            done += run;
        }
        written += std::size_t(length);
        doc->shrinkLines(*paragraph);
        paragraph = doc->appendParagraph(paragraph);
        ++n;
    }
    return doc;
}

void Measure(benchmark::State& state, int paragraphLength)
{
    double document = 0, resident = 0;
    for (auto _ : state) {
        malloc_trim(0); // what earlier runs freed must not hide this one's growth
        const double before = ResidentMegabytes();
        auto doc = BuildDocument(paragraphLength);
        benchmark::DoNotOptimize(doc.get());
        resident = ResidentMegabytes();
        document = resident - before;
        doc.reset();
    }
    state.counters["document_MB"] = document;
    state.counters["resident_MB"] = resident;
    state.counters["text_MB"] = double(kTextBytes) / (1024.0 * 1024.0);
}

// A million empty paragraphs read from RTF (about 6 MB): the heap each paragraph holds, and the
// reading time per paragraph. Budget: the whole process at most 150 MB, so well below 150
// bytes a paragraph.
void BM_MillionEmptyParagraphs(benchmark::State& state)
{
    constexpr long kParagraphs = 1000000;
    std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n";
    for (long i = 1; i < kParagraphs; ++i)
        rtf += "\\par\n\r";
    rtf += "}";
    double perParagraph = 0, seconds = 0;
    for (auto _ : state) {
        malloc_trim(0);
        // Heap blocks in use plus separately mapped blocks, so that large slabs count too.
        const auto inUse = [] { const auto info = mallinfo2(); return double(info.uordblks + info.hblkhd); };
        const double before = inUse();
        const auto start = std::chrono::steady_clock::now();
        auto doc = std::make_unique<quillory::TWPRTFText>();
        quillory::TParagraph* current = doc->firstParagraph();
        quillory::TWPRtfReader reader;
        reader.ReadStream(rtf, doc.get(), &current);
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        perParagraph = (inUse() - before) / double(doc->paragraphCount());
        doc.reset();
    }
    state.counters["heap_bytes_per_paragraph"] = perParagraph;
    state.counters["read_ns_per_paragraph"] = seconds * 1e9 / double(kParagraphs);
}

void BM_OneMegabyteInShortParagraphs(benchmark::State& state) { Measure(state, 0); }
void BM_OneMegabyteInOneParagraph(benchmark::State& state) { Measure(state, int(kTextBytes)); }

BENCHMARK(BM_OneMegabyteInShortParagraphs)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneMegabyteInOneParagraph)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MillionEmptyParagraphs)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
