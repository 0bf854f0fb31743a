// Start-up of the diary to its first painted main window, with ten years of entry files (3,650
// days up to today) in its folder, against starting an empty Qt window: whole processes, started
// by turns in the same run under the same display platform, seven of each; the medians compared.
// Each program reports the moment of its first paint and its resident memory then (the
// start-up probe); the time is from the launch to that moment, so closing is not counted.
//
// Targets: at most 2 x the empty window's time, at most 40 MiB resident.
//
// The diary is the executable in $QUILLORY_EXE, else the one built beside this program
// (../quillory); the yardstick is this program itself, started with a variable that makes it
// show one empty window. Both quit after their first paint. The display platform is the one in
// QT_QPA_PLATFORM (offscreen when unset); under xvfb-run with QT_QPA_PLATFORM=xcb a painted
// window is a mapped one.
#include "app/forms/StartupProbe.h"

#include <QApplication>
#include <QWidget>

#include <benchmark/benchmark.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;
namespace fs = std::filesystem;

namespace {

constexpr const char* kMinimalWindowVariable = "QUILLORY_BENCH_MINIMAL_WINDOW";
constexpr int kEntryFiles = 3650;
constexpr int kRuns = 7;
constexpr double kTargetRatio = 2.0;
constexpr double kTargetMiB = 40.0;

fs::path SelfPath()
{
    return fs::read_symlink("/proc/self/exe");
}

// A program folder with the diary's copy, its settings and ten years of entries, today's last.
struct DiaryFolder {
    fs::path folder;

    DiaryFolder()
    {
        char pattern[] = "/tmp/quillory-startup-XXXXXX";
        folder = mkdtemp(pattern);
        const char* given = std::getenv("QUILLORY_EXE");
        const fs::path program = given ? fs::path(given) : SelfPath().parent_path().parent_path() / "quillory";
        fs::copy_file(program, folder / "quillory");
        fs::create_directories(folder / "Entries");
        fs::create_directories(folder / "run");
        fs::permissions(folder / "run", fs::perms::owner_all);
        std::ofstream(folder / "QL.INI") << "[Opening Screen]\nshow=0\n";
        using namespace std::chrono;
        const sys_days today = floor<days>(system_clock::now());
        for (int back = 0; back < kEntryFiles; ++back) {
            const year_month_day day{today - days(back)};
            char name[32];
            std::snprintf(name, sizeof name, "%04d%02u%02u.QLE", int(day.year()), unsigned(day.month()),
                          unsigned(day.day()));
            std::ofstream(folder / "Entries" / name)
                << "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1 Times New Roman;}}"
                   "\\f0\\fs20 A day like any other: up early, a walk before work, {\\b letters} to answer "
                   "and a long talk with an old friend in the evening.\\par"
                   "\\f1\\fs24 Tomorrow the garden, if the rain holds off.\\par}";
        }
    }
    ~DiaryFolder() { fs::remove_all(folder); }
};

struct Run {
    double seconds = 0;
    double residentMiB = 0;
};

Run RunToExit(const fs::path& program, std::vector<std::string> extraEnvironment)
{
    const fs::path report = fs::temp_directory_path() / ("quillory-startup-report-" + std::to_string(getpid()));
    fs::remove(report);
    std::vector<std::string> environment = std::move(extraEnvironment);
    environment.push_back(std::string(quillory::kStartupReportVariable) + "=" + report.string());
    for (char** variable = environ; *variable; ++variable)
        environment.emplace_back(*variable);
    if (!std::getenv("QT_QPA_PLATFORM"))
        environment.emplace_back("QT_QPA_PLATFORM=offscreen");
    std::vector<char*> envp;
    for (auto& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string path = program.string();
    char* argv[] = {path.data(), nullptr};
    const auto start = std::chrono::steady_clock::now().time_since_epoch();
    pid_t pid = 0;
    if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, envp.data()) != 0) {
        std::fprintf(stderr, "cannot start %s\n", path.c_str());
        std::exit(1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s ended with status %d\n", path.c_str(), status);
        std::exit(1);
    }
    long long paintedAt = 0;
    long residentKiB = 0;
    if (!(std::ifstream(report) >> paintedAt >> residentKiB)) {
        std::fprintf(stderr, "%s wrote no start-up report (built without the probe?)\n", path.c_str());
        std::exit(1);
    }
    fs::remove(report);
    Run run;
    run.seconds = double(paintedAt - std::chrono::duration_cast<std::chrono::nanoseconds>(start).count()) / 1e9;
    run.residentMiB = double(residentKiB) / 1024.0;
    return run;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Both programs by turns, the first of each pair alternating, so that a busy moment of the
// machine falls on both alike.
void BM_DiaryAgainstEmptyWindowToFirstPaint(benchmark::State& state)
{
    DiaryFolder diary;
    const std::string runtime = "XDG_RUNTIME_DIR=" + (diary.folder / "run").string();
    const std::string quitAfterPaint = std::string(quillory::kQuitAfterFirstPaintVariable) + "=1";
    auto runDiary = [&] { return RunToExit(diary.folder / "quillory", {quitAfterPaint, runtime}); };
    auto runEmpty = [&] { return RunToExit(SelfPath(), {std::string(kMinimalWindowVariable) + "=1"}); };
    runDiary();  // the file cache warmed for both
    runEmpty();
    std::vector<double> diarySeconds, emptySeconds, diaryMiB, emptyMiB;
    for (auto _ : state) {
        const bool diaryFirst = diarySeconds.size() % 2 == 0;
        const Run first = diaryFirst ? runDiary() : runEmpty();
        const Run second = diaryFirst ? runEmpty() : runDiary();
        const Run& ofDiary = diaryFirst ? first : second;
        const Run& ofEmpty = diaryFirst ? second : first;
        diarySeconds.push_back(ofDiary.seconds);
        emptySeconds.push_back(ofEmpty.seconds);
        diaryMiB.push_back(ofDiary.residentMiB);
        emptyMiB.push_back(ofEmpty.residentMiB);
    }
    const double diaryMs = Median(diarySeconds) * 1000;
    const double emptyMs = Median(emptySeconds) * 1000;
    const double ratio = emptyMs > 0 ? diaryMs / emptyMs : 0;
    const double memory = Median(diaryMiB);
    state.counters["diary_ms"] = diaryMs;
    state.counters["empty_window_ms"] = emptyMs;
    state.counters["ratio"] = ratio;
    state.counters["diary_MiB"] = memory;
    state.counters["empty_window_MiB"] = Median(emptyMiB);
    std::printf("start-up to first paint, median of %d, diary with %d entries: %.1f ms; empty Qt window: %.1f ms\n"
                "  ratio %.2f (target at most %.1f)%s\n"
                "  diary's resident memory at first paint %.1f MiB (target at most %.0f MiB)%s; empty window %.1f MiB\n",
                kRuns, kEntryFiles, diaryMs, emptyMs, ratio, kTargetRatio, ratio <= kTargetRatio ? "" : "  ** MISSED **",
                memory, kTargetMiB, memory <= kTargetMiB ? "" : "  ** MISSED **", Median(emptyMiB));
}
BENCHMARK(BM_DiaryAgainstEmptyWindowToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(kRuns)->UseRealTime();

// The yardstick: one empty window, gone after its first paint.
int MinimalWindow(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(622, 480);
    quillory::QuitAfterFirstPaintWhenMeasuring(window);
    window.show();
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    if (std::getenv(kMinimalWindowVariable)) {
        setenv(quillory::kQuitAfterFirstPaintVariable, "1", 1);
        return MinimalWindow(argc, argv);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
