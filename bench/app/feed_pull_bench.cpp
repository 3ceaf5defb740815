// Ten booking platforms' calendars pulled while the window thread goes on: the benchmark is
// the whole pull, from the start to the results taken in by the thread that polls for them
// as the main window's clock does, each platform answering after a quarter of a second. The
// counter longest_call_us is the longest the polling thread spent in one call: it must stay
// far below a frame (16 ms), whatever the platforms do.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "app/feed_puller.h"
#include "tests/support/loopback_server.h"

namespace tamrivo {
namespace {

using Clock = std::chrono::steady_clock;

std::string calendar() {
    std::string text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n";
    for (int event = 0; event < 100; ++event) {
        text += "BEGIN:VEVENT\r\nUID:" + std::to_string(event) +
                "@bench\r\nDTSTART;VALUE=DATE:20270101\r\nDTEND;VALUE=DATE:20270103\r\n"
                "SUMMARY:Reserved\r\nEND:VEVENT\r\n";
    }
    return text + "END:VCALENDAR\r\n";
}

void pullTenFeeds(benchmark::State& state) {
    testing::LoopbackServer server;
    const std::string body = calendar();
    server.routes().new_task_queue = [] { return new httplib::ThreadPool(12); };
    server.routes().Get("/feed.ics", [&body](const httplib::Request&, httplib::Response& res) {
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        res.set_content(body, "text/calendar");
    });
    server.start();
    std::vector<FeedSource> feeds;
    for (int feed = 1; feed <= 10; ++feed) {
        feeds.push_back({feed, server.url("/feed.ics")});
    }
    Clock::duration longest{};
    for (auto _ : state) {
        FeedPuller puller;
        auto timed = [&longest](auto&& call) {
            const auto started = Clock::now();
            auto result = call();
            longest = std::max(longest, Clock::now() - started);
            return result;
        };
        if (!timed([&] { return puller.start(feeds); })) {
            state.SkipWithError("the pull did not start");
            break;
        }
        std::optional<std::vector<FeedPull>> pulls;
        while (!(pulls = timed([&] { return puller.takeResults(); }))) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        if (pulls->size() != feeds.size() || !pulls->front().refusal.empty()) {
            state.SkipWithError("a feed was refused");
        }
    }
    state.counters["longest_call_us"] =
        static_cast<double>(std::chrono::duration_cast<std::chrono::microseconds>(longest).count());
}
BENCHMARK(pullTenFeeds)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace tamrivo

BENCHMARK_MAIN();
