#include "tests/app/update_server.h"

#include <utility>

#include "tests/support/test_keys.h"

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
                         const std::string& packageBytes) {
    const std::string reply = signedReply({version, notes, packageAddress, packageBytes});
    const std::lock_guard lock(mutex_);
    reply_ = reply;
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
