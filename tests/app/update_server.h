#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "base/value_types.h"
#include "tests/support/loopback_server.h"

namespace tamrivo::testing {

// The update server on loopback: answers the update check with the release it was told
// to offer (an empty body before that) and serves the package at packageUrl().
class UpdateServer {
public:
    UpdateServer();

    std::string endpoint() const { return server_.url("/autoUpdate.php"); }
    std::string packageUrl() const { return server_.url("/up.zip"); }

    // The reply offers the version with the notes and the package at the address, signed by
    // the publisher as the release tool does: the statement names the package's bytes.
    void offer(const Text& version, const Text& notes, const std::string& packageAddress,
               const std::string& packageBytes = {});
    void setPackage(std::string bytes);
    int checkRequests() const { return checkRequests_.load(); }
    int packageRequests() const { return packageRequests_.load(); }

private:
    std::string reply() const;
    std::string package() const;

    mutable std::mutex mutex_;
    std::string reply_;
    std::string package_;
    std::atomic<int> checkRequests_{0};
    std::atomic<int> packageRequests_{0};
    LoopbackServer server_;  // last: it stops before the state its handlers read goes
};

}  // namespace tamrivo::testing
