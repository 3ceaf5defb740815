// Reading 10,000 rows with Chinese texts through Database, against the same loop on the
// library's C interface bound by hand (no text conversion there).

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/support/raw_sqlcipher.h"
#include "data/database.h"

namespace tamrivo {
namespace {

constexpr int kRows = 10000;
constexpr char kSelect[] = "select id, dizhi, xingming, zujin from lease";

std::string databaseFile() {
    static const std::string file = [] {
        const std::string path =
            (std::filesystem::temp_directory_path() / "tamrivo-data-bench.db").string();
        std::filesystem::remove(path);
        Database db;
        db.open(path, {}, true);
        db.execute(
            "create table lease(id integer primary key, dizhi text, xingming text, zujin real);"
            "begin;"
            "with recursive n(i) as (select 1 union all select i + 1 from n where i < " +
            std::to_string(kRows) +
            ")"
            " insert into lease(dizhi, xingming, zujin)"
            " select '幸福里' || (i % 7) || '号楼' || i || '室', '房客张' || i, i * 1.25 from n;"
            "commit;");
        db.close();
        return path;
    }();
    return file;
}

void throughDatabase(benchmark::State& state) {
    Database db;
    db.open(databaseFile());
    for (auto _ : state) {
        StatementHandle statement = db.prepare(kSelect);
        while (db.step(statement)) {
            benchmark::DoNotOptimize(db.columnInt(statement, 0));
            benchmark::DoNotOptimize(db.columnText(statement, 1));
            benchmark::DoNotOptimize(db.columnText(statement, 2));
            benchmark::DoNotOptimize(db.columnDouble(statement, 3));
        }
        db.finalize(statement);
    }
    db.close();
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(throughDatabase)->Unit(benchmark::kMillisecond);

std::string rawText(const bench::RawSqlcipher& api, sqlite3_stmt* statement, int column) {
    const unsigned char* text = api.columnText(statement, column);
    return std::string(reinterpret_cast<const char*>(text), api.columnBytes(statement, column));
}

void throughCInterface(benchmark::State& state) {
    const bench::RawSqlcipher api;
    sqlite3* connection = nullptr;
    api.open(databaseFile().c_str(), &connection, SQLITE_OPEN_READWRITE, nullptr);
    for (auto _ : state) {
        sqlite3_stmt* statement = nullptr;
        api.prepare(connection, kSelect, -1, &statement, nullptr);
        while (api.step(statement) == SQLITE_ROW) {
            benchmark::DoNotOptimize(api.columnInt(statement, 0));
            benchmark::DoNotOptimize(rawText(api, statement, 1));
            benchmark::DoNotOptimize(rawText(api, statement, 2));
            benchmark::DoNotOptimize(api.columnDouble(statement, 3));
        }
        api.finalize(statement);
    }
    api.close(connection);
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(throughCInterface)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tamrivo

BENCHMARK_MAIN();
