#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "tests/support/loopback_listener.h"

namespace tamrivo::testing {

// An HTTP listener on 127.0.0.1 that answers each request with head at once, then with the
// trickled bytes a piece at a time (one byte unless told), a pause before each: a server
// that is alive but takes for ever to get to the end. One connection at a time; it stops
// when destroyed.
class TrickleListener : public LoopbackListener {
public:
    TrickleListener(std::string head, std::string trickled, std::chrono::milliseconds pause,
                    std::size_t piece = 1);
    ~TrickleListener();

private:
    void serve();
    void trickle(int connection);

    std::string head_;
    std::string trickled_;
    std::chrono::milliseconds pause_;
    std::size_t piece_;
};

}  // namespace tamrivo::testing
