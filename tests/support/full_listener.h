#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>

namespace tamrivo::testing {

// A port on 127.0.0.1 whose queue of waiting connections is full and never taken: a new
// connection is never made, as with a host that does not answer at all.
class FullListener {
public:
    FullListener() {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof(address);
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
            ::listen(listener_, 0) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
            std::abort();  // the test machine cannot listen on loopback at all
        }
        port_ = ntohs(address.sin_port);
        // The queue holds one: it is full once these are in, and stays so.
        for (int& filler : fillers_) {
            filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            ::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof(address));
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
