// The statistics of a period on ten years of records: 100,000 leases over 50 rooms, a stay of
// one to five nights each, the newest still open. Showing a period in the window (its
// figures beside the period before, both charts and the room table), the same figures from
// the records alone, and the raw SQL of the same figures on the library's C interface as the
// yardstick; and opening the window, today's block and this month included. Goals: a period
// in at most 100 ms, the window in at most 300 ms. Run by hand, interleaved so a busy machine
// favours neither side:
//   build/bench/app/tamrivo_statistics_bench --benchmark_repetitions=5
//       --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <QApplication>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>

#include "app/statistics_window.h"
#include "base/text_encoding.h"
#include "bench/app/program_benchmarks.h"
#include "bench/support/raw_sqlcipher.h"
#include "data/database.h"
#include "records/period_statistics.h"
#include "records/schema.h"
#include "records/statistics_indexes.h"
#include "records/statistics_period.h"
#include "records/stored_dates.h"
#include "ui/windows/statistics_window.h"

namespace tamrivo::bench {
namespace {

constexpr int kLeases = 100'000;
constexpr int kRooms = 50;
constexpr int kDays = 3653;  // ten years
constexpr int kOpenLeases = kRooms;
// 本月, 上月, 本年, 去年, 最近30天: each a different stretch of the records.
constexpr int kNamedPeriods = 5;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "statistics benchmark: %s\n", what);
    std::exit(1);
}

void fillDatabase(const ProgramFolder& folder) {
    Database db;
    if (!db.open(utf8ToGbk(folder.databaseFile().string()), schema::kDatabaseKey) || !db.begin()) {
        fail("cannot open the database");
    }
    for (int room = 0; room < kRooms; ++room) {
        db.run("INSERT INTO `b_fangjian` (`dizhi`, `zhuangtai`) VALUES('幸福小区" +
               std::to_string(room) + "号', " + (room % 10 == 9 ? "0" : "1") + ")");
    }
    const StatementHandle insert = db.prepare(
        "INSERT INTO `b_zulin` (`danhao`, `fangzhi`, `dingjin`, `zujin`, `ruzhuriqi`, "
        "`zulinzhuangtai`, `jiesuanjine`, `jiesuanriqi`) VALUES(:danhao, :fangzhi, 100, :zujin, "
        ":ruzhuriqi, :zulinzhuangtai, :jiesuanjine, :jiesuanriqi)");
    const std::int64_t first = today() - kDays;
    for (int lease = 0; lease < kLeases; ++lease) {
        const bool open = lease >= kLeases - kOpenLeases;
        const std::int64_t in = first + static_cast<std::int64_t>(lease) * kDays / kLeases;
        const int nights = 1 + lease % 5;
        db.bindText(insert, ":danhao", std::to_string(lease));
        db.bindText(insert, ":fangzhi", "幸福小区" + std::to_string(lease % kRooms) + "号");
        db.bindDouble(insert, ":zujin", 80 + lease % 40);
        db.bindText(insert, ":ruzhuriqi", dayText(in) + " 14:00:00");
        db.bindInt(insert, ":zulinzhuangtai", open ? 0 : 1);
        db.bindDouble(insert, ":jiesuanjine", open ? 0 : nights * (80 + lease % 40));
        db.bindText(insert, ":jiesuanriqi", open ? "" : dayText(in + nights) + " 11:00:00");
        db.step(insert);
        db.reset(insert);
    }
    db.finalize(insert);
    if (!db.commit() || db.queryInt("SELECT COUNT(*) FROM `b_zulin`") != kLeases ||
        !addStatisticsIndexes(db)) {
        fail("cannot fill the database");
    }
    db.close();
}

// The same figures in plain SQL: per room, the income settled in the period, the check-ins
// and the nights inside it (an open stay up to tonight), for the period and the one before.
class PlainFigures {
public:
    explicit PlainFigures(const ProgramFolder& folder) {
        const std::string file = folder.databaseFile().string();
        if (!api_.openRecords(file.c_str(), schema::kDatabaseKey, &connection_) ||
            api_.prepare(connection_, kSql, -1, &statement_, nullptr) != SQLITE_OK) {
            fail("the C interface cannot prepare the figures");
        }
    }
    ~PlainFigures() {
        api_.finalize(statement_);
        api_.close(connection_);
    }

    // Income, stays and nights of the period, summed over the rooms.
    std::tuple<double, long long, long long> operator()(ReportPeriod period) {
        const std::string first = dayText(period.firstDay);
        const std::string end = dayText(period.lastDay + 1);
        const std::string tomorrow = dayText(today() + 1);
        api_.bindText(statement_, 1, first.c_str(), -1, SQLITE_TRANSIENT);
        api_.bindText(statement_, 2, end.c_str(), -1, SQLITE_TRANSIENT);
        api_.bindText(statement_, 3, tomorrow.c_str(), -1, SQLITE_TRANSIENT);
        double income = 0;
        long long stays = 0;
        long long nights = 0;
        while (api_.step(statement_) == SQLITE_ROW) {
            income += api_.columnDouble(statement_, 1);
            stays += api_.columnInt64(statement_, 2);
            nights += api_.columnInt64(statement_, 3);
        }
        api_.reset(statement_);
        return {income, stays, nights};
    }

private:
    static constexpr char kSql[] =
        "SELECT `fangzhi`, "
        "TOTAL(CASE WHEN `zulinzhuangtai`=1 AND `jiesuanriqi`>=?1 AND `jiesuanriqi`<?2 "
        "THEN `jiesuanjine` END), "
        "TOTAL(`ruzhuriqi`>=?1 AND `ruzhuriqi`<?2), "
        "TOTAL(max(0, min(julianday(CASE WHEN `zulinzhuangtai`=1 THEN date(`jiesuanriqi`) "
        "ELSE ?3 END), julianday(?2)) - max(julianday(date(`ruzhuriqi`)), julianday(?1)))) "
        "FROM (SELECT * FROM `b_zulin` WHERE `zulinzhuangtai`=1 AND "
        "((`jiesuanriqi`>=?1 AND `ruzhuriqi`<?2) OR (`ruzhuriqi`>=?1 AND `ruzhuriqi`<?2) "
        "OR (`jiesuanriqi`>=?1 AND `jiesuanriqi`<?2)) "
        "UNION ALL SELECT * FROM `b_zulin` WHERE `zulinzhuangtai` IS NOT 1) "
        "GROUP BY `fangzhi`";

    RawSqlcipher api_;
    sqlite3* connection_ = nullptr;
    sqlite3_stmt* statement_ = nullptr;
};

RunningProgram* program = nullptr;
PlainFigures* plain = nullptr;

WindowHandle statisticsWindow() {
    return program->onlyWindow(WindowKind::Statistics);
}

ReportPeriod namedPeriod(int index) {
    return choosePeriod(static_cast<PeriodChoice>(index), today());
}

void BM_PeriodThroughWindow(benchmark::State& state) {
    const WindowHandle window = statisticsWindow();
    int next = 0;
    for (auto _ : state) {
        program->services.setSelectedIndex(window, statistics_window::kPeriodCombo,
                                           next++ % kNamedPeriods);
        state.PauseTiming();
        QCoreApplication::processEvents();  // the charts' and table's delayed painting
        state.ResumeTiming();
    }
}

void BM_PeriodFromRecords(benchmark::State& state) {
    int next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(readPeriodStatistics(
            program->state.database, namedPeriod(next++ % kNamedPeriods), today()));
    }
}

void BM_SameFiguresInRawSql(benchmark::State& state) {
    int next = 0;
    for (auto _ : state) {
        const ReportPeriod period = namedPeriod(next++ % kNamedPeriods);
        benchmark::DoNotOptimize((*plain)(period));
        benchmark::DoNotOptimize((*plain)(previousPeriod(period)));
    }
}

void BM_OpenStatisticsWindow(benchmark::State& state) {
    program->services.destroyWindow(statisticsWindow());
    QCoreApplication::processEvents();
    for (auto _ : state) {
        openStatisticsWindow(program->app);
        QCoreApplication::processEvents();  // shown and painted
        state.PauseTiming();
        program->services.destroyWindow(statisticsWindow());
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    openStatisticsWindow(program->app);
}

BENCHMARK(BM_PeriodThroughWindow)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5);
BENCHMARK(BM_PeriodFromRecords)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5);
BENCHMARK(BM_SameFiguresInRawSql)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5);
BENCHMARK(BM_OpenStatisticsWindow)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5);

// Both sides count the same income, stays and nights for every period.
void checkBothSidesAgree() {
    for (int index = 0; index < kNamedPeriods; ++index) {
        const ReportPeriod period = namedPeriod(index);
        const auto figures = readPeriodStatistics(program->state.database, period, today());
        const auto [income, stays, nights] = (*plain)(period);
        if (!figures || std::abs(figures->figures.income - income) > 0.005 ||
            figures->figures.stays != stays || figures->figures.nightsLet != nights) {
            fail("the two sides do not count the same figures");
        }
        std::printf("%s: income %.2f, %lld stays, %lld nights\n", dayText(period.firstDay).c_str(),
                    income, stays, nights);
    }
}

}  // namespace
}  // namespace tamrivo::bench

int main(int argc, char** argv) {
    using namespace tamrivo::bench;
    return runProgramBenchmarks(argc, argv, fillDatabase, program, [](const ProgramFolder& folder) {
        auto yardstick = std::make_unique<PlainFigures>(folder);
        plain = yardstick.get();
        openStatisticsWindow(program->app);
        checkBothSidesAgree();
        return yardstick;
    });
}
