#pragma once

#include <netinet/in.h>

namespace tamrivo::testing {

// 127.0.0.1 with the port.
sockaddr_in loopbackAddress(int port);

// A TCP socket on 127.0.0.1 and the port the system gave it.
struct LoopbackSocket {
    int descriptor = -1;
    int port = 0;
};

// A socket listening on a free port of 127.0.0.1 with that many connections waiting at most.
// Aborts when the machine cannot listen on loopback at all: no test that needs it can run.
LoopbackSocket listenOnLoopback(int backlog);

// A port of 127.0.0.1 that nothing listens on now; another program may take it later.
int freeLoopbackPort();

}  // namespace tamrivo::testing
