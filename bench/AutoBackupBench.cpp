// Automatic backups of ten years of entries (3,650 files of about 2 KB): what closing the main
// window costs with a backup due against the same close with automatic backups off (the backup
// itself runs on a worker after the window has gone), the whole backup on that worker, and the
// checks that closing and starting make when no backup is due.
//
// Target: a backup adds at most 1 s to closing. Reported as added_over_1s (close with a backup
// due minus close with backups off, over one second) and, for the worker's whole backup,
// backup_over_1s.
#include "OffscreenBenchmarks.h"

#include "app/AutoBackup.h"
#include "app/EntryStore.h"
#include "app/forms/AutoBackups.h"
#include "app/forms/Main.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/PrinterList.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace fs = std::filesystem;
using namespace quillory;

namespace {

constexpr int kEntries = 3650;
const LocalTime kClosing{*Day::FromDate(2026, 12, 10), 22, 0};

// A program folder with ten years of entries up to the day of closing.
class TenYears {
public:
    TenYears()
    {
        std::string pattern = (fs::temp_directory_path() / "quillory-autobackup-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        root_ = pattern;
        fs::create_directories(root_ / "Entries");
        std::string words;
        for (int i = 0; words.size() < 2000; ++i)
            words += "word" + std::to_string(i * 7919 % 1000) + (i % 12 == 11 ? ".\\par " : " ");
        for (int i = 0; i < kEntries; ++i) {
            const Day day = kClosing.day - i;
            std::ofstream(root_ / "Entries" / (DayKey(day) + ".QLE"))
                << "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Day " << i << " " << words << "}";
        }
        std::ofstream(root_ / "QL.INI") << "[Opening Screen]\nshow=0\n";
        SetProgramFolder(root_.string());
    }
    ~TenYears() { fs::remove_all(root_); }
    TenYears(const TenYears&) = delete;
    TenYears& operator=(const TenYears&) = delete;

    void ClearBackups() const
    {
        fs::remove_all(root_ / "backups");
        fs::remove(root_ / "Backups.ini");
    }
    void SetAutomatic(bool on) const
    {
        AutoBackupSettings settings = LoadAutoBackupSettings();
        settings.enabled = on;
        SaveAutoBackupSettings(settings);
    }

private:
    fs::path root_;
};

const TenYears& Diary()
{
    static const TenYears diary;
    return diary;
}

void CloseWindow(benchmark::State& state, bool automatic)
{
    const TenYears& diary = Diary();
    const ScopedFixedToday now(kClosing);
    const ScopedPrinterNames printers{QStringList()};
    MessageBoxScript boxes;
    diary.SetAutomatic(automatic);
    for (auto _ : state) {
        state.PauseTiming();
        diary.ClearBackups();
        auto window = std::make_unique<TMainScreen>();
        window->FormActivate();
        QApplication::processEvents();
        state.ResumeTiming();

        window->close();

        state.PauseTiming();
        window.reset();  // waits for the backup on the worker
        state.ResumeTiming();
    }
    diary.SetAutomatic(true);
}

void BM_CloseWindowBackupsOff(benchmark::State& state)
{
    CloseWindow(state, false);
}
BENCHMARK(BM_CloseWindowBackupsOff)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

void BM_CloseWindowWithABackupDue(benchmark::State& state)
{
    CloseWindow(state, true);
}
BENCHMARK(BM_CloseWindowWithABackupDue)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// The whole backup of ten years as the worker runs it: written, flushed, read back, rotated.
void BM_BackupOfTenYearsOnTheWorker(benchmark::State& state)
{
    const TenYears& diary = Diary();
    const ScopedFixedToday now(kClosing);
    std::int64_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        diary.ClearBackups();
        state.ResumeTiming();
        const AutoBackupResult result = RunAutoBackup(AutoBackupOccasion::Close);
        if (result.step != AutoBackupStep::Written)
            state.SkipWithError("no backup written");
        bytes = std::int64_t(result.outcome.bytes);
    }
    state.counters["archive_MiB"] = double(bytes) / (1 << 20);
}
BENCHMARK(BM_BackupOfTenYearsOnTheWorker)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// The next evening, nothing written since: closing finds the diary unchanged (its fingerprint).
void BM_CloseCheckWhenUnchanged(benchmark::State& state)
{
    const TenYears& diary = Diary();
    diary.ClearBackups();
    {
        const ScopedFixedToday now(kClosing);
        RunAutoBackup(AutoBackupOccasion::Close);
    }
    const ScopedFixedToday next(LocalTime{kClosing.day + 1, 22, 0});
    for (auto _ : state) {
        if (RunAutoBackup(AutoBackupOccasion::Close).step != AutoBackupStep::Unchanged)
            state.SkipWithError("not unchanged");
    }
}
BENCHMARK(BM_CloseCheckWhenUnchanged)->Unit(benchmark::kMillisecond)->UseRealTime();

// The next morning's start: the last backup is recent, and the notice is looked into.
void BM_StartCheckNotOverdue(benchmark::State& state)
{
    const TenYears& diary = Diary();
    diary.ClearBackups();
    {
        const ScopedFixedToday now(kClosing);
        RunAutoBackup(AutoBackupOccasion::Close);
    }
    const ScopedFixedToday morning(LocalTime{kClosing.day + 1, 8, 0});
    for (auto _ : state) {
        if (RunAutoBackup(AutoBackupOccasion::Start).step != AutoBackupStep::NotOverdue)
            state.SkipWithError("not 'not overdue'");
        const AutoBackupSettings settings = LoadAutoBackupSettings();
        const auto found = FindAutoBackups(BackupFolderOf(settings));
        benchmark::DoNotOptimize(OverdueBackupNotice(settings, LoadBackupRecord(), found.front().time, true, Now()));
    }
}
BENCHMARK(BM_StartCheckNotOverdue)->Unit(benchmark::kMillisecond)->UseRealTime();

// The restore list and the settings dialog read the backup folder on the window's thread: twenty
// backups of ten years, as the rotation keeps them.
void BM_ListTwentyBackups(benchmark::State& state)
{
    const TenYears& diary = Diary();
    diary.ClearBackups();
    fs::path first;
    {
        const ScopedFixedToday now(kClosing);
        first = RunAutoBackup(AutoBackupOccasion::Close).outcome.archive;
    }
    for (int i = 1; i < 20; ++i)
        fs::copy_file(first, first.parent_path() / AutoBackupName(LocalTime{kClosing.day - 30 * i, 22, 0}));
    for (auto _ : state) {
        if (FindAutoBackups(first.parent_path()).size() != 20)
            state.SkipWithError("not twenty");
    }
}
BENCHMARK(BM_ListTwentyBackups)->Unit(benchmark::kMillisecond)->UseRealTime();

// The figures as ratios from the runs above.
class FigureReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            const double ms = run.GetAdjustedRealTime();  // in the benchmark's unit, milliseconds
            if (run.benchmark_name().find("BackupsOff") != std::string::npos)
                off_ = ms;
            if (run.benchmark_name().find("WithABackupDue") != std::string::npos)
                due_ = ms;
            if (run.benchmark_name().find("TenYearsOnTheWorker") != std::string::npos)
                worker_ = ms;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("closing: %.1f ms with a backup due, %.1f ms with backups off: added_over_1s = %.4f (target <= 1)\n",
                    due_, off_, (due_ - off_) / 1000.0);
        std::printf("the backup on the worker after the window has gone: %.0f ms: backup_over_1s = %.3f\n", worker_,
                    worker_ / 1000.0);
    }

private:
    double off_ = 0, due_ = 0, worker_ = 0;
};

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    FigureReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
