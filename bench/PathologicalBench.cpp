// Every reader must take time in proportion to its input. For each input shape known to have
// cost more (or that could), this reads one input and one ten times its size and reports
//   <shape>_ratio  time(10x) / time(1x)   (target: near 10; quadratic work shows as near 100)
//   <shape>_ms     time(10x) in milliseconds
// Times are this thread's processor time, best of a few runs after one that is not counted,
// measured in this one run. Memory the reader frees stays with the process, so that both sizes
// are read into memory already in use: a first touch of fresh pages costs more than the reading
// of a small input, and would show as a ratio far above 10 without any quadratic work.
#include "richtext/io/DocumentFormat.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <functional>
#include <string>

namespace {

using namespace quillory;

std::string Repeat(std::string_view unit, int times)
{
    std::string out;
    out.reserve(unit.size() * std::size_t(times));
    for (int i = 0; i < times; ++i)
        out += unit;
    return out;
}

struct Shape {
    const char* name;
    int units;  // of the 1x input
    std::function<std::string(int units)> make;
};

const Shape kShapes[] = {
    // Paragraph marks inside an RTF-code run: the lexer used to look ahead over the whole chain
    // of control words at every backslash (100,000 took 16 s).
    {"code_run_pars", 10000, [](int n) { return "{\\rtf1 {\\wprtf1 " + Repeat("\\par", n) + "}}"; }},
    // Closing braces inside a code run, each once looked ahead over the rest of the run.
    {"code_run_braces", 10000, [](int n) { return "{\\rtf1 {\\wprtf1 x" + Repeat("}", n) + "x\\wprtf0 }}"; }},
    {"deep_groups", 10000, [](int n) { return "{\\rtf1 " + Repeat("{\\b x", n) + Repeat("}", n) + "}"; }},
    {"many_tables", 1000,
     [](int n) {
         return "{\\rtf1 " + Repeat("\\trowd\\cellx1000\\cellx2000\\cellx3000\\intbl a\\cell b\\cell c\\cell\\row\\pard\\par ", n) + "}";
     }},
    {"many_pictures", 1000,
     [](int n) { return "{\\rtf1 " + Repeat("{\\pict\\dibitmap0\\picw2\\pich2 ff000000ff000000}x", n) + "}"; }},
    {"many_footnotes", 1000, [](int n) { return "{\\rtf1 " + Repeat("a{\\super\\chftn}{\\*\\footnote\\chftn note} ", n) + "}"; }},
    {"picture_files", 1000, [](int n) {
         std::string rtf = "{\\rtf1 ";
         for (int i = 0; i < n; ++i)
             rtf += "{\\*\\picfile \"p" + std::to_string(i) + ".png\"}";
         return rtf + "}";
     }},
    {"long_paragraph", 20000, [](int n) { return "{\\rtf1 " + Repeat("word {\\b bold} ", n) + "}"; }},
    // Each link looks ahead for its text; the look-ahead is bounded by the target's length.
    {"html_links", 5000, [](int n) { return "<html><body>" + Repeat("<a href=\"http://example.com/page\">a link</a> ", n) + "</body></html>"; }},
    {"html_nesting", 5000, [](int n) { return "<html><body>" + Repeat("<div><b>", n) + "x" + Repeat("</b></div>", n) + "</body></html>"; }},
    {"text_long_line", 50000, [](int n) { return Repeat("many words ", n); }},
    {"text_many_lines", 50000, [](int n) { return Repeat("a line\r\n", n); }},
};

double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

double BestReadSeconds(const std::string& bytes)
{
    double best = 1e9;
    for (int i = 0; i < 4; ++i) {
        TWPRTFText document;
        const double start = ThreadSeconds();
        LoadDocument(document, bytes);
        if (i > 0)
            best = std::min(best, ThreadSeconds() - start);
    }
    return best;
}

void Ratios(benchmark::State& state)
{
#ifdef __GLIBC__
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
#endif
    for (auto _ : state) {
        for (const Shape& shape : kShapes) {
            const double once = BestReadSeconds(shape.make(shape.units));
            const double tenTimes = BestReadSeconds(shape.make(shape.units * 10));
            state.counters[std::string(shape.name) + "_ratio"] = tenTimes / std::max(once, 1e-9);
            state.counters[std::string(shape.name) + "_ms"] = tenTimes * 1000.0;
        }
    }
}

} // namespace

BENCHMARK(Ratios)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
