// Start-up of the diary to its first painted main window, with ten years of entry files (3,650)
// in its folder, against starting a minimal Qt window: both are whole processes started and
// waited for in the same run, under the same display platform.
//
// The diary is the executable in $QUILLORY_EXE, else the one built beside this program
// (../quillory); the yardstick is this program itself, started with a variable that makes it
// show one empty window. Both quit after their first paint.
#include "app/forms/StartupProbe.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <benchmark/benchmark.h>
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

fs::path SelfPath()
{
    return fs::read_symlink("/proc/self/exe");
}

// A program folder with the diary's copy, its settings and the entry files.
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
        // Ten years of days, each a short entry.
        int written = 0;
        for (int year = 2017; written < kEntryFiles; ++year)
            for (int month = 1; month <= 12 && written < kEntryFiles; ++month)
                for (int day = 1; day <= 28 && written < kEntryFiles; ++day, ++written) {
                    char name[32];
                    std::snprintf(name, sizeof name, "%04d%02d%02d.QLE", year, month, day);
                    std::ofstream(folder / "Entries" / name) << "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}"
                                                                "\\f0\\fs20 A day like any other.\\par}";
                }
    }
    ~DiaryFolder() { fs::remove_all(folder); }
};

DiaryFolder& Diary()
{
    static DiaryFolder diary;
    return diary;
}

void RunToExit(const fs::path& program, std::vector<std::string> extraEnvironment)
{
    std::vector<std::string> environment = std::move(extraEnvironment);
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
}

double diarySeconds = 0;
double minimalSeconds = 0;

double MeanSeconds(benchmark::State& state, double total)
{
    return state.iterations() ? total / double(state.iterations()) : 0;
}

void BM_DiaryToFirstPaint(benchmark::State& state)
{
    DiaryFolder& diary = Diary();
    const std::string runtime = "XDG_RUNTIME_DIR=" + (diary.folder / "run").string();
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        RunToExit(diary.folder / "quillory", {std::string(quillory::kQuitAfterFirstPaintVariable) + "=1", runtime});
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    diarySeconds = MeanSeconds(state, total);
}
BENCHMARK(BM_DiaryToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

void BM_MinimalQtWindowToFirstPaint(benchmark::State& state)
{
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        RunToExit(SelfPath(), {std::string(kMinimalWindowVariable) + "=1"});
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    minimalSeconds = MeanSeconds(state, total);
}
BENCHMARK(BM_MinimalQtWindowToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

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
    if (minimalSeconds > 0)
        std::printf("start-up to first paint, diary with %d entries / minimal Qt window: %.2f\n", kEntryFiles,
                    diarySeconds / minimalSeconds);
    return 0;
}
