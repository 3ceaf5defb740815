#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tamrivo::testing {

// An HTTP listener on 127.0.0.1 that keeps every request byte for byte. It answers each
// request with a fixed reply and closes the connection, or, without a reply, keeps the
// connection open and never answers, noting when the client gives up and hangs up.
class RawHttpListener {
public:
    explicit RawHttpListener(std::string reply = {});
    ~RawHttpListener();
    RawHttpListener(const RawHttpListener&) = delete;
    RawHttpListener& operator=(const RawHttpListener&) = delete;

    int port() const { return port_; }

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

    int listener_ = -1;
    int wakePipe_[2] = {-1, -1};
    int port_ = 0;
    std::string reply_;
    std::mutex mutex_;
    std::condition_variable received_;
    std::vector<std::string> requests_;
    std::size_t hangUps_ = 0;
    std::vector<int> openConnections_;
    std::thread thread_;
};

}  // namespace tamrivo::testing
