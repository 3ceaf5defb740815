#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace tamrivo::testing {

// What every test listener on 127.0.0.1 is made of: a listening socket on a free port, a
// thread that serves it, and a wake-up pipe that tells that thread to stop. A listener
// starts its thread last in its constructor and stops it first in its destructor, before
// the members the thread reads go.
class LoopbackListener {
public:
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    int port() const { return port_; }
    std::string url(const std::string& path) const;

protected:
    LoopbackListener();
    ~LoopbackListener();

    void startServing(std::function<void()> serve);
    // Wakes the serving thread and waits for it to end; it ends as soon as it sees the wake.
    void stopServing();

    int listener() const { return listener_; }
    // Readable once the thread is asked to stop: poll it beside whatever the thread waits on.
    int wakeDescriptor() const { return wakePipe_[0]; }
    // Waits that long, or less when asked to stop; false then.
    bool pause(std::chrono::milliseconds time) const;

private:
    int listener_ = -1;
    int wakePipe_[2] = {-1, -1};
    int port_ = 0;
    std::thread thread_;
};

}  // namespace tamrivo::testing
