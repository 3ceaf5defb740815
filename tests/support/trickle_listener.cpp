#include "tests/support/trickle_listener.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "tests/support/loopback_socket.h"

namespace tamrivo::testing {

TrickleListener::TrickleListener(std::string head, std::string trickled,
                                 std::chrono::milliseconds pause, std::size_t piece)
    : head_(std::move(head)), trickled_(std::move(trickled)), pause_(pause), piece_(piece) {
    const LoopbackSocket listening = listenOnLoopback(16);
    listener_ = listening.descriptor;
    port_ = listening.port;
    if (::pipe(wakePipe_) != 0) {
        std::abort();  // no test can run on a machine this short of descriptors
    }
    thread_ = std::thread([this] { serve(); });
}

TrickleListener::~TrickleListener() {
    const char stop = 's';
    [[maybe_unused]] const ssize_t written = ::write(wakePipe_[1], &stop, 1);
    thread_.join();
    ::close(listener_);
    ::close(wakePipe_[0]);
    ::close(wakePipe_[1]);
}

std::string TrickleListener::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

bool TrickleListener::pause(std::chrono::milliseconds time) {
    pollfd wake{wakePipe_[0], POLLIN, 0};
    return ::poll(&wake, 1, static_cast<int>(time.count())) == 0;
}

void TrickleListener::serve() {
    for (;;) {
        pollfd waiting[2] = {{wakePipe_[0], POLLIN, 0}, {listener_, POLLIN, 0}};
        ::poll(waiting, 2, -1);
        if (waiting[0].revents != 0) {
            return;
        }
        const int connection = ::accept(listener_, nullptr, nullptr);
        if (connection >= 0) {
            trickle(connection);
            ::close(connection);
        }
    }
}

// The request is not read: the answer does not depend on it.
void TrickleListener::trickle(int connection) {
    if (!head_.empty() && ::send(connection, head_.data(), head_.size(), MSG_NOSIGNAL) !=
                              static_cast<ssize_t>(head_.size())) {
        return;
    }
    for (std::size_t sent = 0; sent < trickled_.size(); sent += piece_) {
        const std::size_t length = std::min(piece_, trickled_.size() - sent);
        if (!pause(pause_) || ::send(connection, trickled_.data() + sent, length, MSG_NOSIGNAL) !=
                                  static_cast<ssize_t>(length)) {
            return;
        }
    }
}

}  // namespace tamrivo::testing
