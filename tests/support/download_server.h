#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "tests/support/loopback_server.h"

namespace tamrivo::testing {

// The byte at a position of every body the server sends, so a download can be checked
// without keeping a copy.
std::uint8_t bodyByte(std::uint64_t position);
// True when the file holds exactly the first length body bytes.
bool fileHoldsBody(const std::string& path, std::uint64_t length);

// A real HTTP server on 127.0.0.1, on a port of its own, for the duration of a test.
//   /file/<n>       n body bytes with a Content-Length
//   /chunked/<n>    n body bytes, chunked, without a Content-Length
//   /slow           kSlowLength bytes in small pieces with pauses between them
//   /gated          kGateLength bytes, held back after the first half until openGate()
//   /truncated      announces kTruncatedLength bytes, sends half and hangs up
//   /missing        404 with a short page
//   /redirect       302 to /file/1000
class DownloadServer {
public:
    static constexpr std::size_t kSlowLength = 24 * 4096;
    static constexpr std::size_t kGateLength = 2 * 65536;
    static constexpr std::size_t kTruncatedLength = 100000;
    static constexpr std::string_view kMissingPage = "<html>no such package</html>";

    DownloadServer();
    DownloadServer(const DownloadServer&) = delete;
    DownloadServer& operator=(const DownloadServer&) = delete;
    ~DownloadServer();

    std::string url(std::string_view path) const;
    int requestCount() const { return requests_.load(); }
    // The request line's target and the Proxy-Authorization header of the last request.
    std::string lastTarget() const;
    std::string lastProxyAuthorization() const;
    void openGate();

private:
    void addRoutes();
    bool waitForGate();

    std::atomic<int> requests_{0};
    mutable std::mutex lastMutex_;
    std::string lastTarget_;
    std::string lastProxyAuthorization_;
    std::mutex gateMutex_;
    std::condition_variable gateChanged_;
    bool gateOpen_ = false;
    LoopbackServer server_;  // last: it stops before the state its handlers use goes
};

}  // namespace tamrivo::testing
