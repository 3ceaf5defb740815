#pragma once

#include <atomic>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <vector>

#include "net/feed_fetch.h"
#include "records/feed_events.h"

namespace tamrivo {

// A feed as the worker needs it: where to read it.
struct FeedSource {
    int id = 0;
    Text address;  // http(s), or a local file's path (GBK)
};

// What one feed's read gave: the parsed calendar, or why it was refused (then nothing of it
// may be applied).
struct FeedPull {
    int feedId = 0;
    ParsedFeed parsed;
    Text refusal;
};

// Reads one feed, from the network or a file, within the limits, and parses it.
FeedPull pullFeed(const FeedSource& source, std::stop_token stop, const FeedLimits& limits);

// Pulls feeds on worker threads, every feed at once, so that no window waits for a slow
// platform. Only the results are handed back; the records are written by whoever takes them,
// on their own thread. Destroying it stops a pull under way and waits for its threads.
class FeedPuller {
public:
    explicit FeedPuller(FeedLimits limits = {}) : limits_(limits) {}
    FeedPuller(const FeedPuller&) = delete;
    FeedPuller& operator=(const FeedPuller&) = delete;
    ~FeedPuller() = default;  // the worker, declared last, is stopped and joined first

    // Starts pulling the feeds; false while an earlier pull runs or its results wait.
    bool start(std::vector<FeedSource> feeds);
    bool busy() const { return busy_.load(); }
    // The results of a finished pull, once; nothing while it runs or when none ran.
    std::optional<std::vector<FeedPull>> takeResults();

private:
    void run(std::stop_token stop, std::vector<FeedSource> feeds);

    const FeedLimits limits_;
    std::mutex mutex_;
    std::optional<std::vector<FeedPull>> results_;
    std::atomic<bool> busy_ = false;
    std::jthread worker_;
};

}  // namespace tamrivo
