// Typing into a long entry: 1,000 characters typed one by one through InsertString into the
// middle of a paragraph of a 1 MB document, each laid out as the editor does, against one full
// layout of that document.
#include "bench/OffscreenBenchmarks.h"
#include "bench/SampleDocument.h"
#include "richtext/input/TextInput.h"
#include "richtext/layout/TextPaint.h"
#include "richtext/qt/QtCanvas.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>

using namespace quillory;

namespace {

double seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void BM_TypeIntoTheMiddleOfALongEntry(benchmark::State& state)
{
    auto doc = bench::MakeSampleDocument(1 << 20);
    QtCanvas canvas;
    TWPRTFTextPaint paint(*doc);
    paint.windowWidth = 700;
    paint.setCanvas(&canvas);
    auto t0 = std::chrono::steady_clock::now();
    paint.reformatAll();
    const double full = seconds(t0);

    TWPRTFTextInput input(*doc, &paint);
    const int middle = doc->paragraphCount() / 2;
    constexpr int kCharacters = 1000;
    const char* typed = "Typing goes on in a long entry. ";
    double typing = 0;
    long characters = 0;
    paint.resetCounters();
    for (auto _ : state) {
        TParagraph* p = doc->paragraphAt(middle);
        input.SetCaretOffset(doc->absolutePosition({middle, 0, 0}) + p->length() / 2);
        t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < kCharacters; ++i)
            input.InsertString(std::string_view(typed + i % 32, 1));
        typing += seconds(t0);
        characters += kCharacters;
        state.PauseTiming();
        for (int i = 0; i < kCharacters; ++i)
            input.InsertString("\b");
        state.ResumeTiming();
    }
    state.counters["full_layout_ms"] = full * 1000;
    state.counters["us_per_char"] = typing / double(characters) * 1e6;
    state.counters["char_per_full_layout"] = typing / double(characters) / full;
}

} // namespace

BENCHMARK(BM_TypeIntoTheMiddleOfALongEntry)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    return quillory::bench::RunOffscreenBenchmarks(argc, argv);
}
