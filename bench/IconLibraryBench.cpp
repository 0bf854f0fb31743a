// Opening an icon library for the palette: reading its directory alone (what a list with
// caching does before its icons are drawn) against decoding every icon as well (without
// caching). The ratio of the two is what caching saves when a library is chosen.
#include "platform/IconExtraction.h"
#include "platform/qt/IconImages.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

namespace {

std::filesystem::path g_library;

void OpenCountOnly(benchmark::State& state)
{
    for (auto _ : state) {
        const quillory::IconLibrary library = quillory::IconLibrary::FromFile(g_library);
        benchmark::DoNotOptimize(library.Count());
    }
}
BENCHMARK(OpenCountOnly)->Unit(benchmark::kMicrosecond);

void OpenAndDecodeEveryIcon(benchmark::State& state)
{
    for (auto _ : state) {
        const quillory::IconLibrary library = quillory::IconLibrary::FromFile(g_library);
        for (int i = 0; i < library.Count(); ++i)
            benchmark::DoNotOptimize(quillory::IconImage(library, i));
    }
}
BENCHMARK(OpenAndDecodeEveryIcon)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // The libraries the build drew, beside the bench/ folder.
    g_library = std::filesystem::absolute(argv[0]).parent_path().parent_path() / "dist-data/icons/misc2.icl";
    if (!std::filesystem::exists(g_library)) {
        std::fprintf(stderr, "no icon library at %s\n", g_library.string().c_str());
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
