#include "app/feed_puller.h"

#include <filesystem>
#include <fstream>
#include <string>

#include "base/text_encoding.h"
#include "records/calendar_feeds.h"

namespace tamrivo {
namespace {

// A local file, read only as far as a feed may be long.
FeedPull readFile(const FeedSource& source, const FeedLimits& limits) {
    FeedPull pull;
    pull.feedId = source.id;
    std::ifstream file(std::filesystem::path(gbkToUtf8(source.address)), std::ios::binary);
    if (!file) {
        pull.refusal = "无法打开文件";
        return pull;
    }
    std::string text(static_cast<std::size_t>(limits.maxBytes) + 1, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (file.bad()) {
        pull.refusal = "无法读取文件";
        return pull;
    }
    text.resize(static_cast<std::size_t>(file.gcount()));
    if (static_cast<std::int64_t>(text.size()) > limits.maxBytes) {
        pull.refusal = "日历超过" + std::to_string(limits.maxBytes / (1024 * 1024)) + " MB";
        return pull;
    }
    pull.parsed = parseFeed(text);
    return pull;
}

}  // namespace

FeedPull pullFeed(const FeedSource& source, std::stop_token stop, const FeedLimits& limits) {
    if (!isWebAddress(source.address)) {
        return readFile(source, limits);
    }
    FeedPull pull;
    pull.feedId = source.id;
    FeedFetch fetched = fetchFeed(source.address, stop, limits);
    if (!fetched.error.empty()) {
        pull.refusal = std::move(fetched.error);
        return pull;
    }
    pull.parsed = parseFeed(
        std::string_view(reinterpret_cast<const char*>(fetched.body.data()), fetched.body.size()));
    return pull;
}

bool FeedPuller::start(std::vector<FeedSource> feeds) {
    bool idle = false;
    if (!busy_.compare_exchange_strong(idle, true)) {
        return false;
    }
    {
        const std::lock_guard lock(mutex_);
        results_.reset();
    }
    worker_ = std::jthread(
        [this](std::stop_token stop, std::vector<FeedSource> all) { run(stop, std::move(all)); },
        std::move(feeds));
    return true;
}

void FeedPuller::run(std::stop_token stop, std::vector<FeedSource> feeds) {
    std::vector<FeedPull> pulls(feeds.size());
    {
        // One thread a feed: a silent platform holds up only its own feed.
        std::vector<std::jthread> readers;
        for (std::size_t at = 0; at < feeds.size(); ++at) {
            readers.emplace_back([&, at] { pulls[at] = pullFeed(feeds[at], stop, limits_); });
        }
    }
    const std::lock_guard lock(mutex_);
    results_ = std::move(pulls);
}

std::optional<std::vector<FeedPull>> FeedPuller::takeResults() {
    const std::lock_guard lock(mutex_);
    if (!results_) {
        return std::nullopt;
    }
    auto taken = std::move(results_);
    results_.reset();
    busy_ = false;
    return taken;
}

}  // namespace tamrivo
