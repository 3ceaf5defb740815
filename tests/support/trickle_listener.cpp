#include "tests/support/trickle_listener.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

namespace tamrivo::testing {

TrickleListener::TrickleListener(std::string head, std::string trickled,
                                 std::chrono::milliseconds pause, std::size_t piece)
    : head_(std::move(head)), trickled_(std::move(trickled)), pause_(pause), piece_(piece) {
    startServing([this] { serve(); });
}

TrickleListener::~TrickleListener() {
    stopServing();
}

void TrickleListener::serve() {
    for (;;) {
        pollfd waiting[2] = {{wakeDescriptor(), POLLIN, 0}, {listener(), POLLIN, 0}};
        ::poll(waiting, 2, -1);
        if (waiting[0].revents != 0) {
            return;
        }
        const int connection = ::accept(listener(), nullptr, nullptr);
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
