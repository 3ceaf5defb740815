#pragma once

#include <chrono>
#include <cstdint>
#include <stop_token>

#include "base/value_types.h"
#include "net/download_types.h"

namespace tamrivo {

// The bounds a booking platform's calendar is fetched within: no larger than a calendar
// ever is, and never slower than an update package may be, so a dead or hostile server
// cannot hold the sync.
struct FeedLimits {
    std::int64_t maxBytes = 5 * 1024 * 1024;
    std::int64_t lowestSpeed = kLowestDownloadSpeed;  // bytes a second, over a whole window
    std::chrono::seconds lowSpeedWindow = kLowSpeedWindow;
    std::chrono::milliseconds connectTimeout{10000};
    std::chrono::milliseconds silenceTimeout{30000};  // no byte from the server for so long
    std::chrono::milliseconds totalTimeout{600000};
    int maxRedirects = 5;
};

// The body of a good answer, or why there is none (`error`, GBK, then empty body).
struct FeedFetch {
    Bytes body;
    Text error;
};

// Fetches a calendar with GET. Only http:// and https:// addresses are fetched, and a
// redirect is followed only to another of them; any answer but 200, a body over the limit,
// a server too slow or silent, and a stop request all give an error and no body.
FeedFetch fetchFeed(const Text& url, std::stop_token stop = {}, const FeedLimits& limits = {});

}  // namespace tamrivo
