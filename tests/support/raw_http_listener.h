#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "tests/support/loopback_listener.h"

namespace tamrivo::testing {

// An HTTP listener on 127.0.0.1 that keeps every request byte for byte. It answers each
// request with a fixed reply and closes the connection, or, without a reply, keeps the
// connection open and never answers, noting when the client gives up and hangs up.
class RawHttpListener : public LoopbackListener {
public:
    explicit RawHttpListener(std::string reply = {});
    ~RawHttpListener();

    // Waits until the listener has received that many whole requests (or gives up after
    // a long while, so that a fault fails the test instead of hanging it).
    std::vector<std::string> waitForRequests(std::size_t count);
    // Waits until clients have hung up that many unanswered connections; true when they
    // have. A client that drops its request does so at once, so the wait is short: far
    // shorter than the clients' own receive timeouts, which would end the request anyway.
    bool waitForHangUps(std::size_t count);

    // A reply with the status line, the headers and the body.
    static std::string reply(const std::string& headers, const std::string& body);

private:
    void serve();
    void serveConnection(int connection);
    void noticeHangUp(int connection);

    std::string reply_;
    std::mutex mutex_;
    std::condition_variable received_;
    std::vector<std::string> requests_;
    std::size_t hangUps_ = 0;
    std::vector<int> openConnections_;
};

}  // namespace tamrivo::testing
