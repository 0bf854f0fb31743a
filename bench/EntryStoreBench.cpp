// The entry store over a large diary: first and last day, the days of a month, and the
// existence test of one entry, which must cost one stat however many entries the folder holds.
#include "app/EntryStore.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/ProgramFolder.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace quillory;

namespace {

const Day kFirstEntry = *Day::FromDate(1990, 1, 1);

// A program folder whose Entries hold `count` entries on consecutive days from 1 January 1990,
// spelled as the program writes them, and left untouched for a while like a real diary.
class Diary {
public:
    explicit Diary(int count)
    {
        std::string pattern = (fs::temp_directory_path() / "quillory-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        root_ = pattern;
        fs::create_directories(root_ / "Entries");
        for (int i = 0; i < count; ++i)
            std::ofstream(root_ / "Entries" / (DayKey(kFirstEntry + i) + ".QLE")) << "{\\rtf1 entry}";
        fs::last_write_time(root_ / "Entries", fs::file_time_type::clock::now() - std::chrono::hours(1));
    }
    ~Diary() { fs::remove_all(root_); }
    void Use() const
    {
        static const ScopedFixedToday today(*Day::FromDate(2020, 6, 15));
        SetProgramFolder(root_.string());
    }

private:
    fs::path root_;
};

const Diary& Large()
{
    static const Diary diary(10'000);
    return diary;
}

const Diary& Small()
{
    static const Diary diary(10);
    return diary;
}

void FirstAndLastDiaryRecord(benchmark::State& state)
{
    Large().Use();
    for (auto _ : state) {
        benchmark::DoNotOptimize(FirstDiaryRecord());
        benchmark::DoNotOptimize(LastDiaryRecord());
    }
}
BENCHMARK(FirstAndLastDiaryRecord)->Unit(benchmark::kMillisecond);

void ListEntryDaysOfAFullMonth(benchmark::State& state)
{
    Large().Use();
    std::vector<std::string> days;
    for (auto _ : state) {
        ListEntryDays(days, 2000, 1);
        benchmark::DoNotOptimize(days.data());
    }
}
BENCHMARK(ListEntryDaysOfAFullMonth)->Unit(benchmark::kMicrosecond);

void ListEntryDaysOfAnEmptyMonth(benchmark::State& state)
{
    Large().Use();
    std::vector<std::string> days;
    for (auto _ : state) {
        ListEntryDays(days, 2030, 1);
        benchmark::DoNotOptimize(days.data());
    }
}
BENCHMARK(ListEntryDaysOfAnEmptyMonth)->Unit(benchmark::kMicrosecond);

// The yardstick: one stat of an entry file.
void OneStat(benchmark::State& state)
{
    Large().Use();
    const std::string file = GetCurrentDateFileName(kFirstEntry + 5);
    struct stat info {};
    for (auto _ : state)
        benchmark::DoNotOptimize(::stat(file.c_str(), &info));
}
BENCHMARK(OneStat);

void EntryExists(benchmark::State& state, const Diary& diary, bool present)
{
    diary.Use();
    const Day day = present ? kFirstEntry + 5 : kFirstEntry - 5;
    for (auto _ : state)
        benchmark::DoNotOptimize(EntryFileExists(day));
}
BENCHMARK_CAPTURE(EntryExists, present_in_10, Small(), true);
BENCHMARK_CAPTURE(EntryExists, present_in_10000, Large(), true);
BENCHMARK_CAPTURE(EntryExists, absent_in_10, Small(), false);
BENCHMARK_CAPTURE(EntryExists, absent_in_10000, Large(), false);

} // namespace

BENCHMARK_MAIN();
