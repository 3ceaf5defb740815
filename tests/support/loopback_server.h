#pragma once

#include <httplib.h>

#include <chrono>
#include <string>
#include <thread>

namespace tamrivo::testing {

// A real HTTP server on 127.0.0.1 and a free port, serving the routes set up before start.
class LoopbackServer {
public:
    LoopbackServer() = default;
    ~LoopbackServer() {
        server_.stop();
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    httplib::Server& routes() { return server_; }

    void start() {
        port_ = server_.bind_to_any_port("127.0.0.1");  // listening from here on
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        // stop() does nothing to a server that is not running yet, which would then never end.
        while (port_ > 0 && !server_.is_running()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

private:
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
};

}  // namespace tamrivo::testing
