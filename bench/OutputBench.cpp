// Exporting and printing ten years of a diary (3,650 entries) against copying the same files
// with `cp -r` in the same iteration: each benchmark reports its time and the ratio to the copy.
// Every entry is read once and laid out once; the ratio shows what reading, converting and
// writing each file whole (or painting it) costs over a plain copy.
#include "OffscreenBenchmarks.h"

#include "app/EntryStore.h"
#include "app/ExportEntries.h"
#include "app/PrintEntries.h"
#include "platform/ProgramFolder.h"
#include "richtext/qt/QtPrintDevice.h"

#include <chrono>
#include <functional>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace quillory;

namespace {

const Day kFirst = *Day::FromDate(2010, 1, 1);
constexpr int kEntries = 3650;

// About a kilobyte of RTF a day, as a diary keeps: a few paragraphs with some formatting.
std::string EntryText(int i)
{
    std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}\\f0\\fs20 ";
    for (int p = 0; p < 4; ++p) {
        rtf += "Day " + std::to_string(i) + ", part " + std::to_string(p) + ": walked along the river and \\b thought\\b0 "
            "about yesterday's letter, which arrived late. \\i Weather\\i0 : cold but bright; tea at four with "
            "friends, then reading until the lamps were lit and the house was quiet again.\\par ";
    }
    return rtf + "}";
}

class TenYears {
public:
    TenYears()
    {
        std::string pattern = (fs::temp_directory_path() / "quillory-output-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        root_ = pattern;
        fs::create_directories(root_ / "Entries");
        for (int i = 0; i < kEntries; ++i)
            std::ofstream(root_ / "Entries" / (DayKey(kFirst + i) + ".QLE"), std::ios::binary) << EntryText(i);
        SetProgramFolder(root_.string() + "/");
    }
    ~TenYears() { fs::remove_all(root_); }
    const fs::path& root() const { return root_; }
    // An empty folder for one run's output.
    fs::path Fresh(const char* name) const
    {
        const fs::path folder = root_ / name;
        fs::remove_all(folder);
        fs::create_directories(folder);
        return folder;
    }

private:
    fs::path root_;
};

const TenYears& Diary()
{
    static const TenYears diary;
    return diary;
}

double Seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double CopyWithCp()
{
    const fs::path target = Diary().root() / "copy";
    fs::remove_all(target);
    const std::string command = "cp -r '" + (Diary().root() / "Entries").string() + "' '" + target.string() + "'";
    return Seconds([&] {
        if (std::system(command.c_str()) != 0)
            std::abort();
    });
}

// Runs `work` and a copy in each iteration; the time is the work's, the counter the ratio.
void AgainstCopy(benchmark::State& state, const std::function<void()>& work)
{
    double worked = 0, copied = 0;
    for (auto _ : state) {
        const double seconds = Seconds(work);
        copied += CopyWithCp();
        worked += seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["ratio_to_cp"] = copied > 0 ? worked / copied : 0;
    state.counters["entries"] = kEntries;
}

void Export(benchmark::State& state, ExportFormat format)
{
    ExportSettings settings;
    settings.days = {kFirst, kFirst + kEntries};
    settings.format = format;
    settings.pdf = [](Day day, std::string_view rtf) {
        PdfPrintDevice device(LetterPageLayout());
        PrintEntryPages(device, day, rtf, PrintSettings{});
        const QByteArray pdf = device.Finish();
        return std::string(pdf.constData(), std::size_t(pdf.size()));
    };
    AgainstCopy(state, [&] {
        settings.folder = Diary().Fresh("export").string() + "/";
        if (ExportEntries(settings).written != kEntries)
            std::abort();
    });
}

void ExportRtf(benchmark::State& state) { Export(state, ExportFormat::Rtf); }
void ExportText(benchmark::State& state) { Export(state, ExportFormat::Text); }
void ExportPdf(benchmark::State& state) { Export(state, ExportFormat::Pdf); }

void PrintToPdf(benchmark::State& state, bool merged)
{
    PrintSettings settings;
    settings.days = {kFirst, kFirst + kEntries};
    settings.merged = merged;
    AgainstCopy(state, [&] {
        PdfPrintDevice device(LetterPageLayout());
        if (PrintEntries(device, settings, {}).entriesPrinted != kEntries || device.Finish().isEmpty())
            std::abort();
    });
}

void PrintSeparateToPdf(benchmark::State& state) { PrintToPdf(state, false); }
void PrintMergedToPdf(benchmark::State& state) { PrintToPdf(state, true); }

} // namespace

BENCHMARK(ExportRtf)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportText)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportPdf)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(PrintSeparateToPdf)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(PrintMergedToPdf)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return quillory::bench::RunOffscreenBenchmarks(argc, argv);
}
