#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <thread>

namespace tamrivo::testing {

// An HTTP listener on 127.0.0.1 that answers each request with head at once, then with the
// trickled bytes a piece at a time (one byte unless told), a pause before each: a server
// that is alive but takes for ever to get to the end. One connection at a time; it stops
// when destroyed.
class TrickleListener {
public:
    TrickleListener(std::string head, std::string trickled, std::chrono::milliseconds pause,
                    std::size_t piece = 1);
    ~TrickleListener();
    TrickleListener(const TrickleListener&) = delete;
    TrickleListener& operator=(const TrickleListener&) = delete;

    int port() const { return port_; }
    std::string url(const std::string& path) const;

private:
    void serve();
    void trickle(int connection);
    // Waits for the pause, or less when asked to stop; false then.
    bool pause(std::chrono::milliseconds time);

    std::string head_;
    std::string trickled_;
    std::chrono::milliseconds pause_;
    std::size_t piece_;
    int listener_ = -1;
    int wakePipe_[2] = {-1, -1};
    int port_ = 0;
    std::thread thread_;
};

}  // namespace tamrivo::testing
