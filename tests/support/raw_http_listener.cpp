#include "tests/support/raw_http_listener.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>

namespace tamrivo::testing {
namespace {

// Long enough for any loopback exchange; a fault fails the test instead of hanging it.
constexpr auto kPatience = std::chrono::seconds(60);
constexpr auto kHangUpPatience = std::chrono::seconds(5);

// A whole request: the header block and as many body bytes as Content-Length says.
bool isComplete(const std::string& request) {
    const std::size_t end = request.find("\r\n\r\n");
    if (end == std::string::npos) {
        return false;
    }
    const std::size_t length = request.find("Content-Length: ");
    const std::size_t bodyBytes =
        length < end ? std::strtoul(request.c_str() + length + 16, nullptr, 10) : 0;
    return request.size() >= end + 4 + bodyBytes;
}

void writeAll(int connection, const std::string& data) {
    std::size_t sent = 0;
    while (sent < data.size()) {
        const ssize_t written =
            ::send(connection, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (written <= 0) {
            return;
        }
        sent += static_cast<std::size_t>(written);
    }
}

}  // namespace

RawHttpListener::RawHttpListener(std::string reply) : reply_(std::move(reply)) {
    startServing([this] { serve(); });
}

RawHttpListener::~RawHttpListener() {
    stopServing();
    for (const int connection : openConnections_) {
        ::close(connection);
    }
}

std::vector<std::string> RawHttpListener::waitForRequests(std::size_t count) {
    std::unique_lock lock(mutex_);
    received_.wait_for(lock, kPatience, [&] { return requests_.size() >= count; });
    return requests_;
}

bool RawHttpListener::waitForHangUps(std::size_t count) {
    std::unique_lock lock(mutex_);
    return received_.wait_for(lock, kHangUpPatience, [&] { return hangUps_ >= count; });
}

std::string RawHttpListener::reply(const std::string& headers, const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n" + headers + "\r\n" + body;
}

void RawHttpListener::serve() {
    for (;;) {
        std::vector<pollfd> waiting{{wakeDescriptor(), POLLIN, 0}, {listener(), POLLIN, 0}};
        for (const int connection : openConnections_) {
            waiting.push_back({connection, POLLIN, 0});
        }
        ::poll(waiting.data(), waiting.size(), -1);
        if (waiting[0].revents != 0) {
            return;
        }
        for (std::size_t i = 2; i < waiting.size(); ++i) {
            if (waiting[i].revents != 0) {
                noticeHangUp(waiting[i].fd);
            }
        }
        if (waiting[1].revents != 0) {
            const int connection = ::accept(listener(), nullptr, nullptr);
            if (connection >= 0) {
                serveConnection(connection);
            }
        }
    }
}

// An unanswered connection became readable: the client has closed it, or sent more.
void RawHttpListener::noticeHangUp(int connection) {
    char byte = 0;
    const ssize_t received = ::recv(connection, &byte, 1, MSG_DONTWAIT);
    if (received > 0 || (received < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))) {
        return;
    }
    ::close(connection);
    std::erase(openConnections_, connection);
    {
        const std::lock_guard lock(mutex_);
        ++hangUps_;
    }
    received_.notify_all();
}

void RawHttpListener::serveConnection(int connection) {
    std::string request;
    char buffer[4096];
    while (!isComplete(request)) {
        pollfd waiting[2] = {{connection, POLLIN, 0}, {wakeDescriptor(), POLLIN, 0}};
        ::poll(waiting, 2, -1);
        if (waiting[1].revents != 0) {
            ::close(connection);
            return;
        }
        const ssize_t received = ::recv(connection, buffer, sizeof(buffer), 0);
        if (received <= 0) {
            ::close(connection);
            return;
        }
        request.append(buffer, static_cast<std::size_t>(received));
    }
    {
        const std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }
    received_.notify_all();
    if (reply_.empty()) {
        openConnections_.push_back(connection);  // silent: the client waits for ever
        return;
    }
    writeAll(connection, reply_);
    ::close(connection);
}

}  // namespace tamrivo::testing
