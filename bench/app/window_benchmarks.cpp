#include "bench/app/window_benchmarks.h"

#include <benchmark/benchmark.h>

namespace tamrivo::bench {
namespace {

// Set before the application reads it.
int& offscreenUnlessTold(int& argc) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    return argc;
}

}  // namespace

WindowBenchmarks::WindowBenchmarks(int& argc, char** argv)
    : application_(offscreenUnlessTold(argc), argv) {
    benchmark::Initialize(&argc, argv);
}

int WindowBenchmarks::run() {
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace tamrivo::bench
