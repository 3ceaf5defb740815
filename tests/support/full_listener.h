#pragma once

#include <sys/socket.h>
#include <unistd.h>

#include "tests/support/loopback_socket.h"

namespace tamrivo::testing {

// A port on 127.0.0.1 whose queue of waiting connections is full and never taken: a new
// connection is never made, as with a host that does not answer at all.
class FullListener {
public:
    FullListener() {
        const LoopbackSocket listening = listenOnLoopback(0);
        listener_ = listening.descriptor;
        port_ = listening.port;
        const sockaddr_in address = loopbackAddress(port_);
        // The queue holds one: it is full once these are in, and stays so.
        for (int& filler : fillers_) {
            filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            ::connect(filler, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
        }
    }
    ~FullListener() {
        for (const int filler : fillers_) {
            ::close(filler);
        }
        ::close(listener_);
    }
    FullListener(const FullListener&) = delete;
    FullListener& operator=(const FullListener&) = delete;

    int port() const { return port_; }

private:
    int listener_ = -1;
    int fillers_[2] = {-1, -1};
    int port_ = 0;
};

}  // namespace tamrivo::testing
