// Ten years of a jrnl journal (3,650 entries, one a day, with tags and a few lines each)
// imported into an empty diary under the strong scheme, from the JSON file to the swap: the
// figure is its time against 5 s. The key is derived once, as the window and the command line
// do for a run, and measured on its own. The peak memory of the process is reported beside it.
#include "app/DiarySecurity.h"
#include "app/import/DiaryImport.h"
#include "app/import/ImportSources.h"
#include "platform/ProgramFolder.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace quillory;

namespace {

constexpr int kEntries = 3650;

class Journal {
public:
    Journal()
    {
        std::string pattern = (fs::temp_directory_path() / "quillory-import-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        root_ = pattern;
        std::ofstream out(root_ / "journal.json", std::ios::binary);
        out << "{\"tags\": {\"@work\": " << kEntries << "}, \"entries\": [";
        const Day first = *Day::FromDate(2015, 1, 1);
        for (int i = 0; i < kEntries; ++i) {
            out << (i ? ",\n" : "\n") << "{\"title\": \"Day " << i << " was a long one.\", \"body\": \"";
            for (int line = 0; line < 4; ++line)
                out << "Met @work people and wrote about it at some length, with a few more words. Привет, 世界.\\n";
            out << "\", \"date\": \"" << IsoText(first + i) << "\", \"time\": \"20:15\", \"tags\": [\"@work\"], "
                << "\"starred\": " << (i % 10 == 0 ? "true" : "false") << "}";
        }
        out << "\n]}\n";
    }
    ~Journal()
    {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    fs::path File() const { return root_ / "journal.json"; }
    fs::path Diary() const { return root_ / "diary"; }

private:
    fs::path root_;
};

void StrongKey(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(MakeStrongDiary("a good passphrase"));
}

void TenYearsOfJrnl(benchmark::State& state)
{
    const Journal journal;
    ImportOptions options;
    options.key = MakeStrongDiary("a good passphrase").key;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(journal.Diary());
        fs::create_directories(journal.Diary() / "Entries");
        SetProgramFolder(journal.Diary().string() + "/");
        state.ResumeTiming();
        const ImportReport report = ImportIntoDiary(ReadJrnlFile(journal.File()), options);
        if (report.created.size() != kEntries)
            state.SkipWithError("not every day was imported");
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = double(usage.ru_maxrss) / 1024.0;
    state.counters["entries"] = kEntries;
}

} // namespace

BENCHMARK(StrongKey)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(TenYearsOfJrnl)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
