#include "tests/support/download_server.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>
#include <vector>

namespace tamrivo::testing {

namespace {

constexpr std::size_t kSlowPiece = 4096;
constexpr auto kSlowPause = std::chrono::milliseconds(60);

std::vector<char> bodySlice(std::uint64_t offset, std::size_t length) {
    std::vector<char> slice(length);
    for (std::size_t i = 0; i < length; ++i) {
        slice[i] = static_cast<char>(bodyByte(offset + i));
    }
    return slice;
}

bool sendSlice(httplib::DataSink& sink, std::uint64_t offset, std::size_t length) {
    const auto slice = bodySlice(offset, length);
    return sink.write(slice.data(), slice.size());
}

std::size_t lengthIn(const httplib::Request& request) {
    return static_cast<std::size_t>(std::stoull(request.matches[1].str()));
}

}  // namespace

std::uint8_t bodyByte(std::uint64_t position) {
    return static_cast<std::uint8_t>((position * 2654435761U) >> 11 ^ (position >> 17));
}

bool fileHoldsBody(const std::string& path, std::uint64_t length) {
    std::ifstream file(path, std::ios::binary);
    std::vector<char> buffer(1 << 20);
    std::uint64_t position = 0;
    while (file) {
        file.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const auto count = static_cast<std::size_t>(file.gcount());
        for (std::size_t i = 0; i < count; ++i, ++position) {
            if (position >= length || static_cast<std::uint8_t>(buffer[i]) != bodyByte(position)) {
                return false;
            }
        }
    }
    return position == length;
}

DownloadServer::DownloadServer() {
    addRoutes();
    server_.start();
}

DownloadServer::~DownloadServer() {
    openGate();  // a held response ends, so the server can stop
}

std::string DownloadServer::url(std::string_view path) const {
    return server_.url(std::string(path));
}

std::string DownloadServer::lastTarget() const {
    std::lock_guard lock(lastMutex_);
    return lastTarget_;
}

std::string DownloadServer::lastProxyAuthorization() const {
    std::lock_guard lock(lastMutex_);
    return lastProxyAuthorization_;
}

void DownloadServer::openGate() {
    {
        std::lock_guard lock(gateMutex_);
        gateOpen_ = true;
    }
    gateChanged_.notify_all();
}

bool DownloadServer::waitForGate() {
    std::unique_lock lock(gateMutex_);
    gateChanged_.wait(lock, [this] { return gateOpen_; });
    return true;
}

void DownloadServer::addRoutes() {
    server_.routes().set_pre_routing_handler(
        [this](const httplib::Request& request, httplib::Response&) {
            ++requests_;
            std::lock_guard lock(lastMutex_);
            lastTarget_ = request.target;
            lastProxyAuthorization_ = request.get_header_value("Proxy-Authorization");
            return httplib::Server::HandlerResponse::Unhandled;
        });
    server_.routes().Get(
        R"(/file/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
            response.set_content_provider(
                lengthIn(request), "application/octet-stream",
                [](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                    return sendSlice(sink, offset, std::min<std::size_t>(length, 1 << 20));
                });
        });
    server_.routes().Get(
        R"(/chunked/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
            const std::size_t total = lengthIn(request);
            response.set_chunked_content_provider(
                "application/octet-stream", [total](std::size_t offset, httplib::DataSink& sink) {
                    if (offset >= total) {
                        sink.done();
                        return true;
                    }
                    return sendSlice(sink, offset, std::min<std::size_t>(total - offset, 65536));
                });
        });
    server_.routes().Get("/slow", [](const httplib::Request&, httplib::Response& response) {
        response.set_content_provider(kSlowLength, "application/octet-stream",
                                      [](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                          if (offset > 0) {
                                              std::this_thread::sleep_for(kSlowPause);
                                          }
                                          return sendSlice(sink, offset, kSlowPiece);
                                      });
    });
    server_.routes().Get("/gated", [this](const httplib::Request&, httplib::Response& response) {
        response.set_content_provider(
            kGateLength, "application/octet-stream",
            [this](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                if (offset == 0) {
                    return sendSlice(sink, offset, length / 2);
                }
                return waitForGate() && sendSlice(sink, offset, length);
            });
    });
    server_.routes().Get("/truncated", [](const httplib::Request&, httplib::Response& response) {
        response.set_content_provider(
            kTruncatedLength, "application/octet-stream",
            [](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                return offset == 0 && sendSlice(sink, offset, length / 2);
            });
    });
    server_.routes().Get("/missing", [](const httplib::Request&, httplib::Response& response) {
        response.status = 404;
        response.set_content(std::string(kMissingPage), "text/html");
    });
    server_.routes().Get("/redirect", [](const httplib::Request&, httplib::Response& response) {
        response.set_redirect("/file/1000");
    });
}

}  // namespace tamrivo::testing
