// Searching every stay on a large encrypted database: 100,000 leases (half settled) over 50
// rooms. A keystroke in the search window (the filter read from the window, the count and sum,
// the newest rows read and put into the table) against the yardstick of the plain SQL that
// finds the same (LIKE over the searched columns, the count and sum, the newest rows) on the
// library's C interface, reading the same columns, in the same run; and opening the window,
// which reads every lease's searched texts and lists the newest stays at once. Run by hand,
// interleaved so a busy machine favours neither side:
//   build/bench/app/tamrivo_search_bench --benchmark_repetitions=10
//       --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableView>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/search_window.h"
#include "base/text_encoding.h"
#include "bench/app/program_benchmarks.h"
#include "bench/support/raw_sqlcipher.h"
#include "data/database.h"
#include "records/lease_search.h"
#include "records/schema.h"
#include "ui/windows/search_window.h"

namespace tamrivo::bench {
namespace {

constexpr int kLeases = 100'000;
constexpr int kRooms = 50;

// What a landlord types: a name, part of a telephone number, a remark, a room, and a typo
// that finds nothing (the whole table is still read).
const std::array<Text, 5> kKeywords = {"房客123", "1380000", "续住", "幸福小区7号", "zzz"};

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "search benchmark: %s\n", what);
    std::exit(1);
}

Text twoDigits(int value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

void fillDatabase(const ProgramFolder& folder) {
    Database db;
    if (!db.open(utf8ToGbk(folder.databaseFile().string()), schema::kDatabaseKey) || !db.begin()) {
        fail("cannot open the database");
    }
    const StatementHandle insert = db.prepare(
        "INSERT INTO `b_zulin` (`danhao`, `fangzhi`, `xingming`, `lianxifangshi`, `dingjin`, "
        "`zujin`, `ruzhuriqi`, `zulinzhuangtai`, `jiesuanjine`, `jiesuanriqi`, `beizhu`, "
        "`jiesuanbeizhu`) VALUES(:danhao, :fangzhi, :xingming, :lianxifangshi, :dingjin, :zujin, "
        ":ruzhuriqi, :zulinzhuangtai, :jiesuanjine, :jiesuanriqi, :beizhu, :jiesuanbeizhu)");
    for (int lease = 0; lease < kLeases; ++lease) {
        const bool settled = lease % 2 == 0;
        const Text day = "20" + twoDigits(10 + lease % 15) + "-" + twoDigits(1 + lease % 12) + "-" +
                         twoDigits(1 + lease % 28);
        db.bindText(insert, ":danhao", day.substr(0, 4) + "0101120000-" + std::to_string(lease));
        db.bindText(insert, ":fangzhi",
                    "幸福小区" + std::to_string(lease % kRooms) + "号楼" +
                        std::to_string(lease % kRooms) + "室");
        db.bindText(insert, ":xingming", "房客" + std::to_string(lease));
        db.bindText(insert, ":lianxifangshi", std::to_string(13'800'000'000LL + lease));
        db.bindDouble(insert, ":dingjin", 100);
        db.bindDouble(insert, ":zujin", 80 + lease % 40);
        db.bindText(insert, ":ruzhuriqi", day + " 12:00:00");
        db.bindInt(insert, ":zulinzhuangtai", settled ? 1 : 0);
        db.bindDouble(insert, ":jiesuanjine", settled ? 80 + lease % 97 : 0);
        db.bindText(insert, ":jiesuanriqi", settled ? day + " 18:00:00" : "");
        db.bindText(insert, ":beizhu", lease % 10 == 0 ? "续住" : "");
        db.bindText(insert, ":jiesuanbeizhu", settled ? "押金已退" : "");
        db.step(insert);
        db.reset(insert);
    }
    db.finalize(insert);
    if (!db.commit() || db.queryInt("SELECT COUNT(*) FROM `b_zulin`") != kLeases) {
        fail("cannot fill the database");
    }
    db.close();
}

// The keyword as a LIKE pattern that finds it anywhere, with "%", "_" and the escape "\"
// escaped (the benchmark's keywords hold none of them).
std::string containsPattern(const Text& keyword) {
    std::string pattern = "%";
    for (const char c : gbkToUtf8(keyword)) {
        if (c == '%' || c == '_' || c == '\\') {
            pattern += '\\';
        }
        pattern += c;
    }
    return pattern + "%";
}

// The statements a search for a keyword needs without keeping anything between keystrokes, on
// the C interface, with the
// rows read as the library gives them (UTF-8).
class PlainSearch {
public:
    explicit PlainSearch(const ProgramFolder& folder) {
        const std::string file = folder.databaseFile().string();
        if (api_.open(file.c_str(), &connection_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
            api_.key(connection_, schema::kDatabaseKey, std::strlen(schema::kDatabaseKey)) !=
                SQLITE_OK) {
            fail("the C interface cannot open the database");
        }
        totals_ = prepare(
            "SELECT COUNT(*), TOTAL(CASE WHEN `zulinzhuangtai`=1 THEN `jiesuanjine` END) FROM "
            "`b_zulin`" +
            kWhere);
        rows_ = prepare(
            "SELECT `id`, `danhao`, `fangzhi`, `xingming`, `lianxifangshi`, `dingjin`, `zujin`, "
            "`ruzhuriqi`, `zulinzhuangtai`, `jiesuanjine`, `jiesuanriqi`, `beizhu`, "
            "`jiesuanbeizhu` FROM `b_zulin` WHERE `id` IN (SELECT `id` FROM `b_zulin`" +
            kWhere + kNewestFirst + " LIMIT 2000)" + kNewestFirst);
        if (api_.exec(connection_, "PRAGMA cache_size=-65536", nullptr, nullptr, nullptr) !=
            SQLITE_OK) {
            fail("the C interface cannot size the page cache");
        }
    }
    ~PlainSearch() {
        api_.finalize(totals_);
        api_.finalize(rows_);
        api_.close(connection_);
    }

    // The total found and the rows read.
    std::pair<long long, int> operator()(const std::string& pattern) {
        api_.bindText(rows_, 1, pattern.c_str(), -1, SQLITE_TRANSIENT);
        int rows = 0;
        std::size_t bytes = 0;
        while (api_.step(rows_) == SQLITE_ROW) {
            for (int column = 0; column < 13; ++column) {
                bytes += std::strlen(reinterpret_cast<const char*>(api_.columnText(rows_, column)));
            }
            ++rows;
        }
        api_.reset(rows_);
        benchmark::DoNotOptimize(bytes);
        if (rows < 2000) {
            return {rows, rows};
        }
        api_.bindText(totals_, 1, pattern.c_str(), -1, SQLITE_TRANSIENT);
        api_.step(totals_);
        const long long total = api_.columnInt64(totals_, 0);
        api_.reset(totals_);
        return {total, rows};
    }

private:
    static inline const std::string kWhere =
        " WHERE (`danhao` LIKE ?1 ESCAPE '\\' OR `fangzhi` LIKE ?1 ESCAPE '\\' OR `xingming` LIKE "
        "?1 ESCAPE '\\' OR `lianxifangshi` LIKE ?1 ESCAPE '\\' OR `beizhu` LIKE ?1 ESCAPE '\\' "
        "OR `jiesuanbeizhu` LIKE ?1 ESCAPE '\\')";
    static inline const std::string kNewestFirst = " ORDER BY `ruzhuriqi` DESC, `id` DESC";

    sqlite3_stmt* prepare(const std::string& sql) {
        sqlite3_stmt* statement = nullptr;
        if (api_.prepare(connection_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
            fail("the C interface cannot prepare the search");
        }
        return statement;
    }

    RawSqlcipher api_;
    sqlite3* connection_ = nullptr;
    sqlite3_stmt* totals_ = nullptr;
    sqlite3_stmt* rows_ = nullptr;
};

RunningProgram* program = nullptr;
PlainSearch* plain = nullptr;

WindowHandle searchWindow() {
    return program->onlyWindow(WindowKind::Search);
}

void BM_KeystrokeThroughProgram(benchmark::State& state) {
    const WindowHandle search = searchWindow();
    std::size_t next = 0;
    for (auto _ : state) {
        program->services.setText(search, search_window::kKeywordEdit,
                                  kKeywords[next++ % kKeywords.size()]);
        state.PauseTiming();
        QCoreApplication::processEvents();  // the table's delayed layout and painting
        state.ResumeTiming();
    }
}

void BM_SameQueryOnCInterface(benchmark::State& state) {
    std::size_t next = 0;
    for (auto _ : state) {
        const Text keyword = kKeywords[next++ % kKeywords.size()];
        benchmark::DoNotOptimize((*plain)(containsPattern(keyword)));
    }
}

void BM_OpenSearchWindow(benchmark::State& state) {
    program->services.destroyWindow(searchWindow());
    QCoreApplication::processEvents();
    for (auto _ : state) {
        openSearchWindow(program->app);
        state.PauseTiming();
        program->services.destroyWindow(searchWindow());
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    openSearchWindow(program->app);
}

BENCHMARK(BM_KeystrokeThroughProgram)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5);
BENCHMARK(BM_SameQueryOnCInterface)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5);
BENCHMARK(BM_OpenSearchWindow)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5);

// Both sides find the same leases for every keyword.
void checkBothSidesAgree() {
    const WindowHandle search = searchWindow();
    auto* table =
        qobject_cast<QTableView*>(program->services.widget(search, search_window::kResultsTable));
    for (const Text& keyword : kKeywords) {
        program->services.setText(search, search_window::kKeywordEdit, keyword);
        const auto [total, rows] = (*plain)(containsPattern(keyword));
        if (table == nullptr || table->model()->rowCount() != rows) {
            fail("the two sides do not find the same rows");
        }
        std::printf("%s: %lld found, %d listed\n", gbkToUtf8(keyword).c_str(), total, rows);
    }
}

}  // namespace
}  // namespace tamrivo::bench

int main(int argc, char** argv) {
    using namespace tamrivo::bench;
    return runProgramBenchmarks(argc, argv, fillDatabase, program, [](const ProgramFolder& folder) {
        auto yardstick = std::make_unique<PlainSearch>(folder);
        plain = yardstick.get();
        openSearchWindow(program->app);
        checkBothSidesAgree();
        return yardstick;
    });
}
