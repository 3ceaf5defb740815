#include "tests/support/loopback_socket.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace tamrivo::testing {
namespace {

// Port 0 lets the system choose a free port; getsockname tells which.
LoopbackSocket bindToFreePort() {
    LoopbackSocket bound{::socket(AF_INET, SOCK_STREAM, 0), 0};
    sockaddr_in address = loopbackAddress(0);
    socklen_t size = sizeof(address);
    if (::bind(bound.descriptor, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::getsockname(bound.descriptor, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        std::abort();  // the test machine cannot use loopback at all
    }
    bound.port = ntohs(address.sin_port);
    return bound;
}

}  // namespace

sockaddr_in loopbackAddress(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    return address;
}

LoopbackSocket listenOnLoopback(int backlog) {
    const LoopbackSocket listening = bindToFreePort();
    if (::listen(listening.descriptor, backlog) != 0) {
        std::abort();  // the test machine cannot listen on loopback at all
    }
    return listening;
}

int freeLoopbackPort() {
    const LoopbackSocket probe = bindToFreePort();
    ::close(probe.descriptor);
    return probe.port;
}

}  // namespace tamrivo::testing
