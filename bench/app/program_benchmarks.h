#pragma once
// The one main of the benchmarks that drive the running program's windows.

#include <cstddef>
#include <memory>

#include "bench/app/program_folder.h"
#include "bench/app/running_program.h"
#include "bench/app/window_benchmarks.h"

namespace tamrivo::bench {

// A benchmark that needs nothing beyond the open program.
struct NothingToSetUp {
    std::nullptr_t operator()(const ProgramFolder& /*folder*/) const { return nullptr; }
};

// Fills a new program folder, opens the program on it, points program at it and hands the
// folder to setUp, whose result (a yardstick the benchmarks compare with, say) lives until
// the benchmarks the command line chose have run. The process's exit status.
template <class SetUp = NothingToSetUp>
int runProgramBenchmarks(int argc, char** argv, void (*fill)(const ProgramFolder&),
                         RunningProgram*& program, SetUp setUp = {}) {
    WindowBenchmarks benchmarks(argc, argv);
    const ProgramFolder folder;
    fill(folder);
    const auto running = std::make_unique<RunningProgram>(folder);
    program = running.get();
    [[maybe_unused]] const auto kept = setUp(folder);
    return benchmarks.run();
}

}  // namespace tamrivo::bench
