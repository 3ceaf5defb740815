// Unlocking protected records as a login would: the key file read, the data key derived from
// the password at the default Argon2id cost and unwrapped, the records opened with it and
// their first table read. The goal is at most a second.

#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>

#include "records/database_setup.h"
#include "records/protected_records.h"

namespace tamrivo {
namespace {

constexpr char kUser[] = "admin";
constexpr char kPassword[] = "correct horse";

std::filesystem::path protectedFile() {
    static const std::filesystem::path file = [] {
        const std::filesystem::path folder =
            std::filesystem::temp_directory_path() / "tamrivo-unlock-bench";
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        const std::filesystem::path records = folder / "Data.db";
        createDatabase(records, true);
        const std::array secrets{SlotSecret{SlotKind::User, kUser, kPassword}};
        protectRecords(records, newDataKey(), secrets);
        return records;
    }();
    return file;
}

void unlock(benchmark::State& state) {
    const std::filesystem::path records = protectedFile();
    for (auto _ : state) {
        Database database;
        const std::string why =
            openProtectedRecords(database, records, SlotKind::User, kUser, kPassword);
        if (!why.empty()) {
            state.SkipWithError(why.c_str());
            break;
        }
        benchmark::DoNotOptimize(database.queryInt("select count(*) from b_yh"));
        database.close();
    }
}
BENCHMARK(unlock)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace tamrivo

BENCHMARK_MAIN();
