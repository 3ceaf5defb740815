#pragma once

#include <curl/curl.h>

#include <chrono>
#include <cstddef>
#include <stop_token>

namespace tamrivo {

// Bounds of one page fetch. A send or receive time-out is the longest time without a byte
// moving in that direction once the connection stands; the total time-out bounds the whole
// fetch, so that a server trickling its answer cannot hold it for ever.
struct FetchLimits {
    std::chrono::milliseconds connectTimeout{10000};
    std::chrono::milliseconds sendTimeout{20000};
    std::chrono::milliseconds receiveTimeout{30000};
    std::chrono::milliseconds totalTimeout{60000};
    std::size_t maxBodyBytes = 16 * 1024 * 1024;
};

enum class TransferOutcome { Completed, Failed, Stopped };

// Runs a prepared easy handle to its end within the time limits. A stop request ends it
// at once, even while it waits on a silent server.
TransferOutcome runTransfer(CURL* easy, std::stop_token stop, const FetchLimits& limits);

}  // namespace tamrivo
