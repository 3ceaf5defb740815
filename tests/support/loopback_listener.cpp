#include "tests/support/loopback_listener.h"

#include <poll.h>
#include <unistd.h>

#include <cstdlib>

#include "tests/support/loopback_socket.h"

namespace tamrivo::testing {

LoopbackListener::LoopbackListener() {
    const LoopbackSocket listening = listenOnLoopback(16);
    listener_ = listening.descriptor;
    port_ = listening.port;
    if (::pipe(wakePipe_) != 0) {
        std::abort();  // no test can run on a machine this short of descriptors
    }
}

LoopbackListener::~LoopbackListener() {
    stopServing();
    ::close(listener_);
    ::close(wakePipe_[0]);
    ::close(wakePipe_[1]);
}

std::string LoopbackListener::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void LoopbackListener::startServing(std::function<void()> serve) {
    thread_ = std::thread(std::move(serve));
}

void LoopbackListener::stopServing() {
    if (!thread_.joinable()) {
        return;
    }
    const char stop = 's';
    [[maybe_unused]] const ssize_t written = ::write(wakePipe_[1], &stop, 1);
    thread_.join();
}

bool LoopbackListener::pause(std::chrono::milliseconds time) const {
    pollfd wake{wakePipe_[0], POLLIN, 0};
    return ::poll(&wake, 1, static_cast<int>(time.count())) == 0;
}

}  // namespace tamrivo::testing
