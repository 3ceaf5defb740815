// Start-up as the person sees it: whole runs of a program that starts as the real one does
// and ends once its login window has been painted, against a Qt program that only shows an
// empty window, in the same run; a third program that only opens the encrypted database
// shows how much of the difference its key derivation is. Each iteration spawns one process
// and waits for it; the time is wall-clock. Run by hand:
//   build/bench/app/tamrivo_startup_bench --benchmark_repetitions=10
//       --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/app/program_folder.h"

extern char** environ;

namespace tamrivo::bench {
namespace {

const ProgramFolder* folder = nullptr;

// True when the program ran and exited with status 0.
bool runToEnd(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        return false;
    }
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void measure(benchmark::State& state, const std::vector<std::string>& arguments) {
    for (auto _ : state) {
        if (!runToEnd(arguments)) {
            state.SkipWithError("the program did not end well");
            break;
        }
    }
}

void BM_ProgramToLoginShown(benchmark::State& state) {
    measure(state, {TAMRIVO_LOGIN_SHOWN_PROGRAM, folder->path().string()});
}

void BM_BareQtWindowShown(benchmark::State& state) {
    measure(state, {TAMRIVO_BARE_WINDOW_PROGRAM});
}

// Not a side of the comparison: how much of the program's start-up is the key derivation of
// its encrypted database, which the bare window does not have.
void BM_KeyedDatabaseOpen(benchmark::State& state) {
    measure(state, {TAMRIVO_KEYED_OPEN_PROGRAM, folder->path().string()});
}

BENCHMARK(BM_ProgramToLoginShown)->Unit(benchmark::kMillisecond)->UseRealTime()->MinWarmUpTime(1);
BENCHMARK(BM_BareQtWindowShown)->Unit(benchmark::kMillisecond)->UseRealTime()->MinWarmUpTime(1);
BENCHMARK(BM_KeyedDatabaseOpen)->Unit(benchmark::kMillisecond)->UseRealTime()->MinWarmUpTime(1);

}  // namespace
}  // namespace tamrivo::bench

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);  // both programs, unless told otherwise
    benchmark::Initialize(&argc, argv);
    const auto owned = std::make_unique<tamrivo::bench::ProgramFolder>();
    tamrivo::bench::folder = owned.get();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
