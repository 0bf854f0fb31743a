// What an undo step costs. Before each user action the editor copies the document whole (and
// compares it after the action to drop steps that changed nothing). "Ratios" measures, for a
// typical entry (4 KB), a long one (64 KB) and a very long one (1 MB):
//   copy_vs_read_<size>    one copy / reading the same document from its RTF, which showing the
//                          day costs anyway (target: well below 1)
//   compare_vs_read_<size> the comparison after the action / the same read
//   step_KB_<size>         the memory one kept step holds (heap in use)
// Typing copies once per word, not per key. Times are this thread's processor time, best of a
// few runs.
#include "bench/SampleDocument.h"
#include "richtext/edit/DocumentCopy.h"
#include "richtext/rtf/RtfReader.h"
#include "richtext/rtf/RtfWriter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <malloc.h>
#include <string>

namespace {

using namespace quillory;

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

std::unique_ptr<TWPRTFText> Read(const std::string& bytes)
{
    auto document = std::make_unique<TWPRTFText>();
    TParagraph* current = document->firstParagraph();
    TWPRtfReader reader;
    reader.ReadStream(bytes, document.get(), &current);
    return document;
}

void CopyEntry(benchmark::State& state)
{
    const auto document = bench::MakeSampleDocument(std::size_t(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(CopyDocument(*document));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * state.range(0));
}

void Ratios(benchmark::State& state)
{
    const struct {
        const char* name;
        std::size_t bytes;
    } sizes[] = {{"4K", 4u << 10}, {"64K", 64u << 10}, {"1M", 1u << 20}};
    for (auto _ : state) {
        for (const auto& size : sizes) {
            const auto document = bench::MakeSampleDocument(size.bytes);
            const std::string rtf = WriteRtf(*document);
            const int repeats = size.bytes > (64u << 10) ? 5 : 50;
            const double read = BestSeconds(repeats, [&] { benchmark::DoNotOptimize(Read(rtf)); });
            const double copy = BestSeconds(repeats, [&] { benchmark::DoNotOptimize(CopyDocument(*document)); });
            const auto copied = CopyDocument(*document);
            const double compare = BestSeconds(repeats, [&] { benchmark::DoNotOptimize(SameContent(*document, *copied)); });
            const double before = double(mallinfo2().uordblks);
            const auto kept = CopyDocument(*document);
            const double stepBytes = double(mallinfo2().uordblks) - before;
            state.counters[std::string("copy_vs_read_") + size.name] = copy / read;
            state.counters[std::string("compare_vs_read_") + size.name] = compare / read;
            state.counters[std::string("step_KB_") + size.name] = stepBytes / 1024.0;
        }
    }
}

} // namespace

BENCHMARK(CopyEntry)->Arg(4 << 10)->Arg(64 << 10)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(Ratios)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
