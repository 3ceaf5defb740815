#include "tests/app/update_server.h"

#include <utility>

namespace tamrivo::testing {

UpdateServer::UpdateServer() {
    server_.routes().Get("/autoUpdate.php",
                         [this](const httplib::Request&, httplib::Response& response) {
                             ++checkRequests_;
                             response.set_content(reply(), "application/json");
                         });
    server_.routes().Get("/up.zip", [this](const httplib::Request&, httplib::Response& response) {
        ++packageRequests_;
        response.set_content(package(), "application/zip");
    });
    server_.start();
}

void UpdateServer::offer(const Text& version, const Text& notes, const std::string& packageAddress,
                         const std::string& signature) {
    const std::lock_guard lock(mutex_);
    reply_ = R"({"软件名称":"Tamrivo","版本":")" + version + R"(","更新说明":")" + notes +
             R"(","更新地址":")" + packageAddress + R"(","签名":")" + signature + R"("})";
}

void UpdateServer::setPackage(std::string bytes) {
    const std::lock_guard lock(mutex_);
    package_ = std::move(bytes);
}

std::string UpdateServer::reply() const {
    const std::lock_guard lock(mutex_);
    return reply_;
}

std::string UpdateServer::package() const {
    const std::lock_guard lock(mutex_);
    return package_;
}

}  // namespace tamrivo::testing
