// Runs the registered benchmarks inside an offscreen Qt GUI application, for benchmarks that
// measure with the Qt canvas and need no window.
#pragma once

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>

namespace quillory::bench {

inline int RunOffscreenBenchmarks(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace quillory::bench
