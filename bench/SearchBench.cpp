// The search across entries over ten years of a diary (3,650 entries of 1-4 KB of RTF written
// by the program's own writer), without a password, with the stored format's cipher and with the
// strong scheme (its key derived once and held, as when the diary is open), against `grep -ril`
// over the same plain files in the same run. The query occurs nowhere, so every entry is read whole by both.
// The same walk with a query in Cyrillic shows the cost of a query that is not ASCII: each
// paragraph is then case-folded through ICU rather than byte by byte.
// Each search benchmark reports, best runs against best runs:
//   x_grep       its wall time per walk / grep's          (targets: 2 without a password, 3 with)
//   x_grep_cpu   the same for processor time (grep's child processes), steadier on a busy machine
// and `entry_KB`, the mean size of an entry file.
#include "app/EntrySearch.h"
#include "app/Crypt.h"
#include "app/DiarySecurity.h"
#include "app/EntryStore.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "SearchEntries.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <ctime>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace quillory;

namespace {

constexpr int kEntries = 3650;
const Day kFirst = *Day::FromDate(2015, 1, 1);
constexpr const char* kPassword = "Ten Yrs";
constexpr const char* kAbsent = "zebra crossing";
constexpr const char* kAbsentCyrillic = "\xD0\x97\xD0\xB5\xD0\xB1\xD1\x80\xD0\xB0";  // "Зебра"


class Diary {
public:
    Diary()
    {
        std::string pattern = (fs::temp_directory_path() / "quillory-search-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        root_ = pattern;
        for (const char* name : {"plain", "enciphered", "sealed"})
            fs::create_directories(root_ / name / "Entries");
        // The strong scheme: its security record in QL.INI, every entry sealed with its key.
        NewStrongDiary strong = MakeStrongDiary(kPassword);
        IniFile ini(root_ / "sealed" / "QL.INI");
        WriteDiarySecurity(ini, strong.security);
        ini.UpdateFile();
        strongKey_ = std::move(strong.key);
        std::uintmax_t bytes = 0;
        for (int i = 0; i < kEntries; ++i) {
            const std::string rtf = bench::SearchEntryRtf(i, 150 + std::size_t(i * 7919) % 1000);
            const std::string name = DayKey(kFirst + i) + ".QLE";
            // Written directly: the program's own atomic writes flush every file, which would
            // make setting up ten years take minutes.
            std::ofstream(root_ / "plain" / "Entries" / name, std::ios::binary) << rtf;
            std::ofstream(root_ / "enciphered" / "Entries" / name, std::ios::binary) << EncipherBuffer(rtf, kPassword);
            std::ofstream(root_ / "sealed" / "Entries" / name, std::ios::binary)
                << EncodeEntry(strongKey_, DayKey(kFirst + i), rtf);
            bytes += rtf.size();
        }
        meanKilobytes_ = double(bytes) / kEntries / 1024.0;
    }
    ~Diary() { fs::remove_all(root_); }

    void Use(Scheme scheme) const
    {
        const char* folder = scheme == Scheme::Strong ? "sealed" : scheme == Scheme::Legacy ? "enciphered" : "plain";
        SetProgramFolder((root_ / folder).string() + "/");
        // The key is derived once, when the diary opens, and held for the run.
        if (scheme == Scheme::Strong)
            RememberSessionKey(kPassword, strongKey_);
    }
    std::string PlainEntries() const { return (root_ / "plain" / "Entries").string(); }
    double MeanKilobytes() const { return meanKilobytes_; }

private:
    fs::path root_;
    DiaryKey strongKey_;
    double meanKilobytes_ = 0;
};

const Diary& TenYears()
{
    static const Diary diary;
    return diary;
}

// Wall-clock and processor seconds of one run. The machine may be busy with other work, so the
// processor time is the steadier figure; both are reported.
struct Cost {
    double wall = 0;
    double cpu = 0;
};

double CpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double Since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

Cost GrepOnce()
{
    const std::string command = std::string("grep -ril -- '") + kAbsent + "' '" + TenYears().PlainEntries() + "' >/dev/null";
    const double cpu = CpuSeconds(RUSAGE_CHILDREN);
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) == -1)
        std::abort();
    return {Since(start), CpuSeconds(RUSAGE_CHILDREN) - cpu};
}

// grep's cost per walk: the best of a few runs, measured in this run.
Cost GrepCost()
{
    static const Cost best = [] {
        TenYears();  // set up before anything is timed
        Cost value = GrepOnce();
        for (int i = 0; i < 7; ++i) {
            const Cost run = GrepOnce();
            value.wall = std::min(value.wall, run.wall);
            value.cpu = std::min(value.cpu, run.cpu);
        }
        return value;
    }();
    return best;
}

void Walk(benchmark::State& state, Scheme scheme, const char* query = kAbsent)
{
    TenYears().Use(scheme);
    const Cost grep = GrepCost();
    const EntryQuery finder(query);
    int found = 0;
    Cost best{1e9, 1e9};
    for (auto _ : state) {
        const double cpu = CpuSeconds(RUSAGE_SELF);
        const auto start = std::chrono::steady_clock::now();
        SearchHooks hooks;
        hooks.found = [&](Day, const TextMatch&) {
            ++found;
            return true;
        };
        SearchEntries(Day::First(), Day::Last(), finder, scheme == Scheme::None ? "" : kPassword, hooks);
        best.wall = std::min(best.wall, Since(start));
        best.cpu = std::min(best.cpu, CpuSeconds(RUSAGE_SELF) - cpu);
    }
    if (found != 0)
        state.SkipWithError("the absent query was found");
    state.counters["x_grep"] = best.wall / grep.wall;
    state.counters["x_grep_cpu"] = best.cpu / grep.cpu;
    state.counters["entry_KB"] = TenYears().MeanKilobytes();
}

void SearchWithoutPassword(benchmark::State& state) { Walk(state, Scheme::None); }
void SearchCyrillicWithoutPassword(benchmark::State& state) { Walk(state, Scheme::None, kAbsentCyrillic); }
void SearchWithPassword(benchmark::State& state) { Walk(state, Scheme::Legacy); }
void SearchWithStrongPassword(benchmark::State& state) { Walk(state, Scheme::Strong); }

void GrepRil(benchmark::State& state)
{
    TenYears();
    for (auto _ : state)
        benchmark::DoNotOptimize(GrepOnce().wall);
}

} // namespace

BENCHMARK(GrepRil)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(SearchWithoutPassword)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(SearchCyrillicWithoutPassword)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(SearchWithPassword)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(SearchWithStrongPassword)->Unit(benchmark::kMillisecond)->MinTime(3);

BENCHMARK_MAIN();
