// Runs the registered benchmarks inside an offscreen Qt application: a QGuiApplication for
// benchmarks that measure with the Qt canvas and need no window, a QApplication (named by the
// caller, who includes it) for those that drive the real control. `afterwards` runs while the
// application still lives, for what must go before it (a control, a file written).
#pragma once

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <functional>

namespace quillory::bench {

template <class Application = QGuiApplication>
int RunOffscreenBenchmarks(int argc, char** argv, const std::function<void()>& afterwards = {})
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    Application app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (afterwards)
        afterwards();
    return 0;
}

} // namespace quillory::bench
