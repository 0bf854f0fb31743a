// Layout of a 1 MB document with the Qt canvas against only measuring its characters, one
// keystroke in its middle re-laid out (one paragraph broken again), and a typical 10 KB entry read,
// laid out and painted. The 1 MB document comes in English, Russian and Chinese: their layout,
// keystrokes and a painted screen are reported beside the English ones, and the layouts' ratios
// are measured in one run.
#include "bench/OffscreenBenchmarks.h"
#include "bench/SampleDocument.h"
#include "platform/UnicodeText.h"
#include "richtext/layout/TextPaint.h"
#include "richtext/qt/QtCanvas.h"
#include "richtext/rtf/RtfReader.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>
#include <ctime>
#include <memory>
#include <vector>

using namespace quillory;

namespace {

struct Fixture {
    std::unique_ptr<TWPRTFText> doc;
    QtCanvas canvas;
    TWPRTFTextPaint engine;
    explicit Fixture(bench::Script script = bench::Script::Western)
        : doc(bench::MakeSampleDocument(1 << 20, bench::Justify::EveryFourth, script)), engine(*doc)
    {
        engine.windowWidth = 700;
        engine.setCanvas(&canvas);
    }
};

bench::Script scriptOf(const benchmark::State& state) { return bench::Script(state.range(0)); }

// The CPU time of this thread, so that figures hold while other programs share the machine.
double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

void BM_MeasureCharactersOnly(benchmark::State& state)
{
    Fixture f;
    for (auto _ : state) {
        Measurer measurer(*f.doc);
        measurer.setCanvas(&f.canvas);
        long sum = 0;
        for (auto* p = f.doc->firstParagraph(); p; p = p->next())
            for (auto* line = p->firstLine(); line; line = line->next())
                for (int i = 0; i < line->length(); ++i)
                    sum += measurer.measure(line->code(i), line->attrs()[i]).width;
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * f.doc->characterCount());
}

void BM_LayoutWholeDocument(benchmark::State& state)
{
    Fixture f(scriptOf(state));
    state.SetLabel(bench::ScriptName(scriptOf(state)));
    for (auto _ : state) {
        f.engine.reformatAll();
        benchmark::DoNotOptimize(f.engine.documentHeight());
    }
    state.counters["lines"] = double(f.engine.lines().size());
    state.counters["pages"] = f.engine.pageCount();
    state.SetBytesProcessed(std::int64_t(state.iterations()) * f.doc->characterCount());
}

// Types one character into the middle of the middle paragraph, the way editing does, and lays
// out again; every other keystroke takes it out again (backspace), so the paragraph keeps its size.
void BM_KeystrokeInTheMiddle(benchmark::State& state)
{
    Fixture f(scriptOf(state));
    state.SetLabel(bench::ScriptName(scriptOf(state)));
    const auto start = std::chrono::steady_clock::now();
    f.engine.reformatAll();
    const double full = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    TParagraph* p = f.doc->paragraphAt(f.doc->paragraphCount() / 2);
    f.engine.resetCounters();
    long keystrokes = 0;
    double typing = 0;
    int at = 7;
    for (auto _ : state) {
        TTextLine* line = p->firstLine()->next() ? p->firstLine()->next() : p->firstLine();
        if (keystrokes % 2 == 0) {
            at = int(GraphemeBoundaryAtOrBefore(line->view(), 7)); // between two characters
            if (line->room() < 1)
                line->resize(line->capacity() + 10);
            std::memmove(line->text() + at + 1, line->text() + at, std::size_t(line->length() - at));
            std::memmove(line->attrs() + at + 1, line->attrs() + at, sizeof(TAttr) * std::size_t(line->length() - at));
            line->text()[at] = 'x';
            line->setLength(line->length() + 1);
        } else {
            std::memmove(line->text() + at, line->text() + at + 1, std::size_t(line->length() - at - 1));
            std::memmove(line->attrs() + at, line->attrs() + at + 1, sizeof(TAttr) * std::size_t(line->length() - at - 1));
            line->setLength(line->length() - 1);
        }
        const auto t0 = std::chrono::steady_clock::now();
        f.engine.reformatParagraph(*p);
        typing += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        ++keystrokes;
    }
    state.counters["broken_per_key"] = double(f.engine.paragraphsBroken()) / double(keystrokes);
    state.counters["fraction_of_full"] = typing / double(keystrokes) / full;
    state.counters["us_per_key"] = typing / double(keystrokes) * 1e6;
}

// The three documents laid out in turn, each the median of its runs: Russian and Chinese against
// English in one run of one program.
void BM_LayoutScriptsAgainstWestern(benchmark::State& state)
{
    Fixture western(bench::Script::Western), russian(bench::Script::Russian), chinese(bench::Script::Chinese);
    std::vector<double> times[3];
    Fixture* fixtures[] = {&western, &russian, &chinese};
    double first[3] = {};
    for (auto _ : state)
        for (int k = 0; k < 3; ++k) {
            const double t0 = threadSeconds();
            fixtures[k]->engine.reformatAll();
            times[k].push_back(threadSeconds() - t0);
            if (times[k].size() == 1)
                first[k] = times[k].back();
        }
    double median[3];
    for (int k = 0; k < 3; ++k) {
        std::sort(times[k].begin(), times[k].end());
        median[k] = times[k][times[k].size() / 2];
    }
    state.counters["western_ms"] = median[0] * 1000;
    state.counters["russian_per_western"] = median[1] / median[0];
    state.counters["chinese_per_western"] = median[2] / median[0];
    // The first layouts measure every character in the fonts once: thousands of different
    // ideographs cost the first layout of a Chinese text more than its later ones.
    state.counters["first_russian_per_western"] = first[1] / first[0];
    state.counters["first_chinese_per_western"] = first[2] / first[0];
}

// A screen of each document painted after its layout: the clusters past ASCII come from the
// fonts' glyphs and the fallback fonts' (Chinese).
void BM_PaintAScreen(benchmark::State& state)
{
    Fixture f(scriptOf(state));
    state.SetLabel(bench::ScriptName(scriptOf(state)));
    f.engine.reformatAll();
    QImage image(700, 800, QImage::Format_RGB32);
    const int middle = f.engine.documentHeight() / 2;
    for (auto _ : state) {
        // As the control does: the canvas that measures paints, and keeps its fonts' glyphs.
        image.fill(Qt::white);
        QPainter painter(&image);
        f.canvas.setPainter(&painter);
        f.engine.paint(f.canvas, {0, 0, 700, 800}, 0, middle);
        f.canvas.setPainter(nullptr);
    }
}

std::string typicalEntryRtf()
{
    std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
                      "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\n";
    std::size_t word = 0;
    while (rtf.size() < 10 * 1024) {
        rtf += "\\pard\\fs22 ";
        for (int i = 0; i < 40; ++i, ++word) {
            if (word % 9 == 0)
                rtf += "{\\b ";
            if (word % 17 == 0)
                rtf += "{\\cf1\\f1 ";
            rtf += bench::kSampleWords[word % std::size(bench::kSampleWords)];
            if (word % 17 == 0)
                rtf += "}";
            if (word % 9 == 0)
                rtf += "}";
            rtf += ' ';
        }
        rtf += "\\par\n";
    }
    return rtf + "}";
}

void BM_ReadLayoutAndPaintTypicalEntry(benchmark::State& state)
{
    const std::string rtf = typicalEntryRtf();
    QImage image(700, 800, QImage::Format_RGB32);
    QtCanvas measuring;
    for (auto _ : state) {
        TWPRTFText doc;
        TWPRtfReader reader;
        reader.ReadStream(rtf, &doc);
        TWPRTFTextPaint engine(doc);
        engine.windowWidth = 700;
        engine.setCanvas(&measuring);
        engine.reformatAll();
        image.fill(Qt::white);
        QPainter painter(&image);
        QtCanvas canvas(&painter);
        engine.paint(canvas, {0, 0, 700, 800}, 0, 0);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(rtf.size()));
}

} // namespace

BENCHMARK(BM_MeasureCharactersOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayoutWholeDocument)->Unit(benchmark::kMillisecond)->DenseRange(0, 2);
BENCHMARK(BM_LayoutScriptsAgainstWestern)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_KeystrokeInTheMiddle)->Unit(benchmark::kMicrosecond)->DenseRange(0, 2);
BENCHMARK(BM_PaintAScreen)->Unit(benchmark::kMillisecond)->DenseRange(0, 2);
BENCHMARK(BM_ReadLayoutAndPaintTypicalEntry)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return quillory::bench::RunOffscreenBenchmarks(argc, argv);
}
