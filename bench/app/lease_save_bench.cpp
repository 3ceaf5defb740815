// Saving the lease window with every box the person can fill at its limit, with texts full of
// quotes (each doubled in the statement) and Chinese characters: the longest save there is.
// Each iteration opens the edit window on the let room, fills it, and confirms: the boxes are
// read, the UPDATE is built and run in its transaction, and the main window reloads.
//   build/bench/app/tamrivo_lease_save_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>

#include <cstdio>
#include <cstdlib>

#include "app/lease_window.h"
#include "app/main_window.h"
#include "base/text_limits.h"
#include "bench/app/program_folder.h"
#include "bench/app/running_program.h"
#include "bench/app/window_benchmarks.h"
#include "ui/windows/lease_window.h"

namespace tamrivo::bench {
namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "lease save benchmark: %s\n", what);
    std::exit(1);
}

// count characters, alternately a quote and 房.
Text quotesAndChinese(int count) {
    Text text;
    for (int i = 0; i < count; ++i) {
        text += i % 2 == 0 ? "'" : "房";
    }
    return text;
}

void letOneRoom(Database& db) {
    if (!db.run("INSERT INTO `b_zulin` (`danhao`, `fangzhi`, `zulinzhuangtai`) "
                "VALUES('D1', '一号房', 0)") ||
        !db.run("INSERT INTO `b_fangjian` (`dizhi`, `zhuangtai`, `chuzuzhuangtai`, `danhao`) "
                "VALUES('一号房', 1, 1, 'D1')")) {
        fail("cannot let the room");
    }
}

void BM_SaveALeaseWithEveryBoxFull(benchmark::State& state) {
    const ProgramFolder folder;
    RunningProgram program(folder);
    letOneRoom(program.state.database);
    const Text name = quotesAndChinese(kNameLimit);
    const Text contact = quotesAndChinese(kContactLimit);
    const Text remark = quotesAndChinese(kRemarkLimit);
    QtWindowServices& services = program.services;
    for (auto _ : state) {
        openLeaseWindow(program.app, LeaseWindowMode::Edit, 1);
        const WindowHandle lease = services.openWindows(WindowKind::Lease).front();
        services.setText(lease, lease_window::kNameEdit, name);
        services.setText(lease, lease_window::kContactEdit, contact);
        services.setText(lease, lease_window::kRemarkEdit, remark);
        qobject_cast<QPushButton*>(services.widget(lease, lease_window::kConfirmButton))->click();
        state.PauseTiming();
        QCoreApplication::processEvents();  // the closed window goes
        if (!services.openWindows(WindowKind::Lease).empty()) {
            fail("the save did not go through");
        }
        state.ResumeTiming();
    }
    if (program.state.database.queryText("SELECT `beizhu` FROM `b_zulin`") != remark) {
        fail("the remark was not stored as typed");
    }
}
BENCHMARK(BM_SaveALeaseWithEveryBoxFull)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tamrivo::bench

int main(int argc, char** argv) {
    tamrivo::bench::WindowBenchmarks benchmarks(argc, argv);
    return benchmarks.run();
}
