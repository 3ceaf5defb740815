// The check-out window on a large encrypted database (50 rooms, each let, over 100,000 settled
// leases): opening it until it is painted with what the stay comes to, and moving its
// check-out date, which redoes the figures. Run by hand:
//   build/bench/app/tamrivo_checkout_bench --benchmark_repetitions=10
//       --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

#include "app/checkout_window.h"
#include "base/text_encoding.h"
#include "bench/app/program_benchmarks.h"
#include "data/database.h"
#include "records/schema.h"
#include "records/statistics_indexes.h"
#include "ui/windows/checkout_window.h"

namespace tamrivo::bench {
namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "check-out benchmark: %s\n", what);
    std::exit(1);
}

// Settled stays of a night each going back years, then an open one in each room, with the
// indexes the program makes when it opens the records.
void fillDatabase(const ProgramFolder& folder) {
    Database db;
    if (!db.open(utf8ToGbk(folder.databaseFile().string()), schema::kDatabaseKey) || !db.begin() ||
        !db.run("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i+1 FROM n WHERE i<99999) "
                "INSERT INTO `b_zulin` (`danhao`, `fangzhi`, `xingming`, `dingjin`, `zujin`, "
                "`ruzhuriqi`, `zulinzhuangtai`, `jiesuanjine`, `jiesuanriqi`) SELECT 'old-'||i, "
                "'房'||(i%50), '房客'||i, 100, 168, date('now', '-'||(i/50+2)||' days')||' "
                "14:00:00', 1, 168, date('now', '-'||(i/50+1)||' days')||' 11:00:00' FROM n") ||
        !db.run("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i+1 FROM n WHERE i<49) "
                "INSERT INTO `b_fangjian` (`dizhi`, `zhuangtai`, `chuzuzhuangtai`, `danhao`) "
                "SELECT '房'||i, 1, 1, 'open-'||i FROM n") ||
        !db.run("INSERT INTO `b_zulin` (`danhao`, `fangzhi`, `xingming`, `dingjin`, `zujin`, "
                "`ruzhuriqi`, `zulinzhuangtai`) SELECT `danhao`, `dizhi`, '李四', 300, 128.8, "
                "date('now', '-3 days')||' 14:00:00', 0 FROM `b_fangjian`") ||
        !db.commit() || !addStatisticsIndexes(db)) {
        fail("cannot fill the database");
    }
    db.close();
}

RunningProgram* program = nullptr;

WindowHandle openCheckout(int room) {
    openCheckoutWindow(program->app, room);
    return program->onlyWindow(WindowKind::Checkout);
}

void paint(WindowHandle window) {
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(program->services.widget(window)->grab());
}

void close(WindowHandle window) {
    program->services.destroyWindow(window);
    QCoreApplication::processEvents();
}

void BM_OpenCheckoutWithItsFiguresUntilPainted(benchmark::State& state) {
    int room = 0;
    for (auto _ : state) {
        const WindowHandle checkout = openCheckout(room % 50 + 1);
        paint(checkout);
        state.PauseTiming();
        if (program->services.text(checkout, checkout_window::kDueLabel) == "应收：") {
            fail("the window shows no figures");
        }
        close(checkout);
        ++room;
        state.ResumeTiming();
    }
}

void BM_MoveTheCheckoutDateUntilPainted(benchmark::State& state) {
    const WindowHandle checkout = openCheckout(1);
    paint(checkout);
    const DateTime shown = program->services.dateTime(checkout, checkout_window::kCheckOutPicker);
    double days = 0;
    for (auto _ : state) {
        days = days == 0 ? 1 : 0;
        program->services.setDateTime(checkout, checkout_window::kCheckOutPicker,
                                      DateTime{shown.days + days});
        paint(checkout);
    }
    close(checkout);
}

BENCHMARK(BM_OpenCheckoutWithItsFiguresUntilPainted)
    ->Unit(benchmark::kMillisecond)
    ->MinWarmUpTime(0.5);
BENCHMARK(BM_MoveTheCheckoutDateUntilPainted)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5);

}  // namespace
}  // namespace tamrivo::bench

int main(int argc, char** argv) {
    using namespace tamrivo::bench;
    return runProgramBenchmarks(argc, argv, fillDatabase, program);
}
