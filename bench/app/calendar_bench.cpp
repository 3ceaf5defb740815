// The room calendar on a large encrypted database: 50 rooms, 100,000 leases (a stay a night
// per room going back years, the newest still open) and 10,000 bookings (two nights each,
// back to back, a year either side of today). Opening the window until it is painted, and
// moving it by a week until it is painted again. Run by hand:
//   build/bench/app/tamrivo_calendar_bench --benchmark_repetitions=10
//       --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/calendar_window.h"
#include "app/main_window.h"
#include "base/date_format.h"
#include "base/text_encoding.h"
#include "bench/app/program_benchmarks.h"
#include "data/database.h"
#include "records/schema.h"
#include "records/statistics_indexes.h"
#include "records/stored_dates.h"
#include "ui/windows/calendar_window.h"

namespace tamrivo::bench {
namespace {

constexpr int kRooms = 50;
constexpr int kLeases = 100'000;
constexpr int kBookings = 10'000;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "calendar benchmark: %s\n", what);
    std::exit(1);
}

Text day(std::int64_t number, const char* picture = "yyyy-MM-dd") {
    return formatDateTime(DateTime{static_cast<double>(number)}, picture);
}

Text address(int room) {
    return "幸福小区" + std::to_string(room) + "室";
}

void run(Database& db, StatementHandle statement) {
    db.step(statement);
    db.reset(statement);
}

void fillRooms(Database& db) {
    const StatementHandle insert = db.prepare(
        "INSERT INTO `b_fangjian` (`dizhi`, `zhuangtai`, `chuzuzhuangtai`, `danhao`) "
        "VALUES(:dizhi, 1, 1, :danhao)");
    for (int room = 0; room < kRooms; ++room) {
        db.bindText(insert, ":dizhi", address(room));
        db.bindText(insert, ":danhao", "open-" + std::to_string(room));
        run(db, insert);
    }
    db.finalize(insert);
}

// A night each, going back from yesterday; the newest lease of each room is still open.
void fillLeases(Database& db, std::int64_t now) {
    const StatementHandle insert = db.prepare(
        "INSERT INTO `b_zulin` (`danhao`, `fangzhi`, `xingming`, `ruzhuriqi`, "
        "`zulinzhuangtai`, `jiesuanriqi`) VALUES(:danhao, :fangzhi, :xingming, :ruzhuriqi, "
        ":zulinzhuangtai, :jiesuanriqi)");
    for (int lease = 0; lease < kLeases; ++lease) {
        const int room = lease % kRooms;
        const int age = lease / kRooms;  // 0 for the newest
        const bool open = age == 0;
        const std::int64_t checkIn = now - age - (open ? 2 : 1);
        db.bindText(insert, ":danhao",
                    open ? "open-" + std::to_string(room) : "old-" + std::to_string(lease));
        db.bindText(insert, ":fangzhi", address(room));
        db.bindText(insert, ":xingming", "房客" + std::to_string(lease));
        db.bindText(insert, ":ruzhuriqi", day(checkIn, "yyyy-MM-dd 14:00:00"));
        db.bindInt(insert, ":zulinzhuangtai", open ? 0 : 1);
        db.bindText(insert, ":jiesuanriqi", open ? "" : day(checkIn + 1, "yyyy-MM-dd 11:00:00"));
        run(db, insert);
    }
    db.finalize(insert);
}

void fillBookings(Database& db, std::int64_t now) {
    const StatementHandle insert = db.prepare(
        "INSERT INTO `b_yuding` (`fangjianid`, `xingming`, `daodariqi`, `likairiqi`, "
        "`zhuangtai`) VALUES(:room, :guest, :arrival, :departure, :state)");
    const int perRoom = kBookings / kRooms;
    for (int booking = 0; booking < kBookings; ++booking) {
        const std::int64_t arrival = now - perRoom + 2 * (booking / kRooms);
        db.bindInt(insert, ":room", booking % kRooms + 1);
        db.bindText(insert, ":guest", "预订客" + std::to_string(booking));
        db.bindText(insert, ":arrival", day(arrival));
        db.bindText(insert, ":departure", day(arrival + 2));
        db.bindInt(insert, ":state",
                   booking % 7 == 0 ? schema::kBookingCancelled : schema::kBookingBooked);
        run(db, insert);
    }
    db.finalize(insert);
}

void fillDatabase(const ProgramFolder& folder) {
    Database db;
    if (!db.open(utf8ToGbk(folder.databaseFile().string()), schema::kDatabaseKey) || !db.begin()) {
        fail("cannot open the database");
    }
    const std::int64_t now = today();
    fillRooms(db);
    fillLeases(db, now);
    fillBookings(db, now);
    // The program makes these indexes whenever it opens the records.
    if (!db.commit() || !addStatisticsIndexes(db) ||
        db.queryInt("SELECT COUNT(*) FROM `b_zulin`") != kLeases ||
        db.queryInt("SELECT COUNT(*) FROM `b_yuding`") != kBookings) {
        fail("cannot fill the database");
    }
    db.close();
}

RunningProgram* program = nullptr;

WindowHandle calendarWindow() {
    return program->onlyWindow(WindowKind::Calendar);
}

// Paints the whole window now, as the screen would show it.
void paint(WindowHandle window) {
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(program->services.widget(window)->grab());
}

void BM_OpenCalendarUntilPainted(benchmark::State& state) {
    for (auto _ : state) {
        openCalendarWindow(program->app);
        paint(calendarWindow());
        state.PauseTiming();
        program->services.destroyWindow(calendarWindow());
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_MoveAWeekUntilPainted(benchmark::State& state) {
    openCalendarWindow(program->app);
    const WindowHandle calendar = calendarWindow();
    paint(calendar);
    bool later = true;
    for (auto _ : state) {
        auto* button = static_cast<QAbstractButton*>(program->services.widget(
            calendar, later ? calendar_window::kLaterButton : calendar_window::kEarlierButton));
        button->click();
        paint(calendar);
        later = !later;
    }
    program->services.destroyWindow(calendar);
    QCoreApplication::processEvents();
}

BENCHMARK(BM_OpenCalendarUntilPainted)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5);
BENCHMARK(BM_MoveAWeekUntilPainted)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5);

}  // namespace
}  // namespace tamrivo::bench

int main(int argc, char** argv) {
    using namespace tamrivo::bench;
    return runProgramBenchmarks(argc, argv, fillDatabase, program);
}
