// Every reader must take time in proportion to its input. For each input shape known to have
// cost more (or that could), this reads one input and one ten times its size (RTF, HTML and
// text documents, icon libraries, old diaries to convert) and reports
//   <shape>_ratio  time(10x) / time(1x)   (target: near 10; quadratic work shows as near 100)
//   <shape>_ms     time(10x) in milliseconds
// Times are this thread's processor time, best of a few runs after one that is not counted,
// measured in this one run. Memory the reader frees stays with the process, so that both sizes
// are read into memory already in use: a first touch of fresh pages costs more than the reading
// of a small input, and would show as a ratio far above 10 without any quadratic work.
#include "app/legacy/LegacyConversion.h"
#include "bench/PathologicalInputs.h"
#include "platform/IconExtraction.h"
#include "platform/ProgramFolder.h"
#include "richtext/io/DocumentFormat.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

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

// One input, ready to be read again and again: `read` is timed, `reset` (when there is one)
// undoes what a reading left behind and is not.
struct Input {
    std::function<void()> read;
    std::function<void()> reset;
};

struct Shape {
    const char* name;
    int units;  // of the 1x input
    std::function<Input(int units)> make;
};

// A document in any format the program opens.
Input Document(std::string bytes)
{
    return {[bytes = std::move(bytes)] {
                TWPRTFText document;
                LoadDocument(document, bytes);
            },
            {}};
}

// An old diary in a folder of its own, converted into entry files; each reset removes them.
class ConversionFolder {
public:
    explicit ConversionFolder(const std::pair<std::string, std::string>& files)
    {
        // A file system in memory where there is one: the flush to disk that ends a conversion
        // costs what the rest of the machine has left unwritten, which is no part of the figure.
        std::error_code error;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                             ? std::filesystem::path("/dev/shm")
                                             : std::filesystem::temp_directory_path();
        std::string name = (base / "quillory-bench-XXXXXX").string();
        if (!::mkdtemp(name.data()))
            throw std::runtime_error("cannot create a temporary folder");
        folder_ = name;
        std::ofstream(folder_ / "QUILLOR.DBF", std::ios::binary) << files.first;
        std::ofstream(folder_ / "QUILLOR.FPT", std::ios::binary) << files.second;
    }
    ~ConversionFolder() { std::filesystem::remove_all(folder_); }
    ConversionFolder(const ConversionFolder&) = delete;
    ConversionFolder& operator=(const ConversionFolder&) = delete;

    void Convert() const
    {
        SetProgramFolder(folder_.string() + "/");
        ConvertLegacyTable();
    }
    void Reset() const { std::filesystem::remove_all(folder_ / "Entries"); }

private:
    std::filesystem::path folder_;
};

Input Conversion(const std::pair<std::string, std::string>& files)
{
    const auto folder = std::make_shared<ConversionFolder>(files);
    return {[folder] { folder->Convert(); }, [folder] { folder->Reset(); }};
}

const Shape kShapes[] = {
    // Paragraph marks inside an RTF-code run: the lexer used to look ahead over the whole chain
    // of control words at every backslash (100,000 took 16 s).
    {"code_run_pars", 10000, [](int n) { return Document("{\\rtf1 {\\wprtf1 " + Repeat("\\par", n) + "}}"); }},
    // Closing braces inside a code run, each once looked ahead over the rest of the run.
    {"code_run_braces", 10000, [](int n) { return Document("{\\rtf1 {\\wprtf1 x" + Repeat("}", n) + "x\\wprtf0 }}"); }},
    {"deep_groups", 10000, [](int n) { return Document("{\\rtf1 " + Repeat("{\\b x", n) + Repeat("}", n) + "}"); }},
    {"many_tables", 1000,
     [](int n) {
         return Document("{\\rtf1 "
                         + Repeat("\\trowd\\cellx1000\\cellx2000\\cellx3000\\intbl a\\cell b\\cell c\\cell\\row\\pard\\par ", n)
                         + "}");
     }},
    {"many_pictures", 1000,
     [](int n) { return Document("{\\rtf1 " + Repeat("{\\pict\\dibitmap0\\picw2\\pich2 ff000000ff000000}x", n) + "}"); }},
    {"many_footnotes", 1000,
     [](int n) { return Document("{\\rtf1 " + Repeat("a{\\super\\chftn}{\\*\\footnote\\chftn note} ", n) + "}"); }},
    {"picture_files", 1000,
     [](int n) {
         std::string rtf = "{\\rtf1 ";
         for (int i = 0; i < n; ++i)
             rtf += "{\\*\\picfile \"p" + std::to_string(i) + ".png\"}";
         return Document(rtf + "}");
     }},
    {"long_paragraph", 20000, [](int n) { return Document("{\\rtf1 " + Repeat("word {\\b bold} ", n) + "}"); }},
    // Each link looks ahead for its text; the look-ahead is bounded by the target's length.
    {"html_links", 5000,
     [](int n) { return Document("<html><body>" + Repeat("<a href=\"http://example.com/page\">a link</a> ", n) + "</body></html>"); }},
    {"html_nesting", 5000,
     [](int n) { return Document("<html><body>" + Repeat("<div><b>", n) + "x" + Repeat("</b></div>", n) + "</body></html>"); }},
    {"text_long_line", 50000, [](int n) { return Document(Repeat("many words ", n)); }},
    {"text_many_lines", 50000, [](int n) { return Document(Repeat("a line\r\n", n)); }},
    // An icon library of 1,000 sections and 5,000 resource names: each name's address was found
    // by a walk of the section table (65,535 sections and 131,070 names took 45 s).
    {"icon_sections", 1000,
     [](int n) {
         return Input{[bytes = bench::PeModuleWithManySections(n, n * 5 / 2)] {
                          benchmark::DoNotOptimize(IconLibrary(bytes).Count());
                      },
                      {}};
     }},
    // An old diary whose 1,000 records all name one memo of 20 KB: copied out for each record,
    // it wrote records x memo bytes (3,000 records and 60 KB gave 176 MB of entries).
    {"legacy_shared_memo", 1000,
     [](int n) { return Conversion(bench::LegacyTableSharingOneBlock(n, std::size_t(n) * 20)); }},
};

double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

double BestReadSeconds(const Input& input)
{
    double best = 1e9;
    for (int i = 0; i < 4; ++i) {
        const double start = ThreadSeconds();
        input.read();
        if (i > 0)
            best = std::min(best, ThreadSeconds() - start);
        if (input.reset)
            input.reset();
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
