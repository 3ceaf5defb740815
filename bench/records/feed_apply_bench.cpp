// Applying a booking platform's calendar of 1,000 events to the records: parsed, matched by
// UID and written in one transaction, the conflicts marked. First into an empty feed (every
// event new), then again with a tenth of the stays moved, as a later pull finds them. The
// goal is at most 200 ms each.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "records/calendar_feeds.h"
#include "records/database_setup.h"
#include "records/outside_bookings.h"
#include "records/schema.h"
#include "records/stored_dates.h"

namespace tamrivo {
namespace {

constexpr int kEvents = 1000;
constexpr std::int64_t kFirstDay = 46388;  // 2027-01-01

// Two-night stays a day apart, the moved ones a day later.
std::string feedText(int movedEvery) {
    std::string text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Bench//EN\r\n";
    for (int event = 0; event < kEvents; ++event) {
        const std::int64_t arrival = kFirstDay + event * 3 + (event % movedEvery == 0 ? 1 : 0);
        text +=
            "BEGIN:VEVENT\r\nUID:" + std::to_string(event) +
            "-0123456789abcdef@airbnb.com\r\nDTSTART;VALUE=DATE:" + dayText(arrival, "yyyyMMdd") +
            "\r\nDTEND;VALUE=DATE:" + dayText(arrival + 2, "yyyyMMdd") +
            "\r\nSUMMARY:Reserved\r\nEND:VEVENT\r\n";
    }
    return text + "END:VCALENDAR\r\n";
}

std::filesystem::path freshRecords() {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "tamrivo-feed-bench";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::filesystem::path records = folder / "Data.db";
    createDatabase(records, false);
    return records;
}

void applyFeedOf1000(benchmark::State& state) {
    const std::string first = feedText(kEvents + 1);
    const std::string later = feedText(10);
    for (auto _ : state) {
        state.PauseTiming();
        Database database;
        database.open(freshRecords().string(), schema::kDatabaseKey);
        database.run("INSERT INTO `b_fangjian` (`dizhi`, `zhuangtai`) VALUES ('101', 1)");
        addCalendarFeed(database, 1, "Airbnb", "https://www.airbnb.com/calendar/ical/1.ics");
        const bool secondPull = state.range(0) == 1;
        if (secondPull) {
            applyFeed(database, 1, parseFeed(first), kFirstDay);
        }
        state.ResumeTiming();
        const FeedApplied applied =
            applyFeed(database, 1, parseFeed(secondPull ? later : first), kFirstDay);
        state.PauseTiming();
        if (!applied.applied || applied.added + applied.moved + applied.kept != kEvents) {
            state.SkipWithError("the feed was not applied whole");
        }
        database.close();
        state.ResumeTiming();
    }
}
BENCHMARK(applyFeedOf1000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace tamrivo

BENCHMARK_MAIN();
