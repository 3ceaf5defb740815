#include "tests/app/nginx_server.h"

#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

#include "tests/support/file_contents.h"
#include "tests/support/loopback_socket.h"

extern char** environ;

namespace tamrivo::testing {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr auto kStartPatience = std::chrono::seconds(10);
constexpr auto kStopPatience = std::chrono::seconds(10);

bool accepts(int port) {
    const int client = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = loopbackAddress(port);
    const bool connected =
        ::connect(client, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(client);
    return connected;
}

// The project's site file, moved to the test's port and folder.
std::string siteFor(int port, const fs::path& site) {
    std::string text = readFile(fs::path(TAMRIVO_NGINX_SITE_FILE));
    const auto replace = [&text](const std::string& from, const std::string& to) {
        const std::size_t at = text.find(from);
        if (at != std::string::npos) {
            text.replace(at, from.size(), to);
        }
    };
    replace("    listen [::]:81;\n", "");
    replace("listen 81;", "listen 127.0.0.1:" + std::to_string(port) + ";");
    replace("root /srv/tamrivo-updates;", "root " + site.string() + ";");
    return text;
}

}  // namespace

NginxServer::NginxServer(const fs::path& folder, const fs::path& site)
    : folder_(folder), port_(freeLoopbackPort()) {  // nginx takes it a moment later
    fs::create_directories(folder_);
    writeConfiguration(site);
    std::vector<std::string> arguments = {TAMRIVO_NGINX_PROGRAM,
                                          "-p",
                                          folder_.string() + "/",
                                          "-c",
                                          (folder_ / "nginx.conf").string(),
                                          "-e",
                                          (folder_ / "error.log").string()};
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    if (::posix_spawn(&process_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        process_ = -1;
    } else if (!waitUntilListening()) {
        stop();
    }
}

NginxServer::~NginxServer() {
    stop();
}

void NginxServer::stop() {
    if (process_ <= 0) {
        return;
    }
    ::kill(process_, SIGQUIT);  // a graceful end: the workers finish what they serve
    const auto deadline = Clock::now() + kStopPatience;
    while (::waitpid(process_, nullptr, WNOHANG) == 0) {
        if (Clock::now() > deadline) {
            ::kill(process_, SIGKILL);
            ::waitpid(process_, nullptr, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    process_ = -1;
}

std::string NginxServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::string NginxServer::errorLog() const {
    return readFile(folder_ / "error.log");
}

void NginxServer::writeConfiguration(const fs::path& site) const {
    const std::string in = folder_.string() + "/";
    writeFile(folder_ / "site.conf", siteFor(port_, site));
    // Debian's build keeps its temporary files under /var/lib/nginx: each is moved here.
    writeFile(folder_ / "nginx.conf",
              "daemon off;\n"
              "worker_processes 1;\n"
              "pid " +
                  in +
                  "nginx.pid;\n"
                  "error_log " +
                  in +
                  "error.log;\n"
                  "events { worker_connections 64; }\n"
                  "http {\n"
                  "    access_log " +
                  in +
                  "access.log;\n"
                  "    client_body_temp_path " +
                  in +
                  "body;\n"
                  "    proxy_temp_path " +
                  in +
                  "proxy;\n"
                  "    fastcgi_temp_path " +
                  in +
                  "fastcgi;\n"
                  "    uwsgi_temp_path " +
                  in +
                  "uwsgi;\n"
                  "    scgi_temp_path " +
                  in +
                  "scgi;\n"
                  "    include " +
                  in +
                  "site.conf;\n"
                  "}\n");
}

bool NginxServer::waitUntilListening() {
    const auto deadline = Clock::now() + kStartPatience;
    while (Clock::now() < deadline) {
        if (::waitpid(process_, nullptr, WNOHANG) == process_) {
            process_ = -1;  // it ended: the error log says why
            return false;
        }
        if (accepts(port_)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

}  // namespace tamrivo::testing
