#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace tamrivo::testing {

// Debian's nginx on 127.0.0.1 and a free port, serving the folder with the project's site
// file: its own configuration, prefix, logs and pid file in a folder of its own, as root or
// not. Started by the constructor, stopped by the destructor.
class NginxServer {
public:
    // folder holds the configuration and the logs; site is the folder served.
    NginxServer(const std::filesystem::path& folder, const std::filesystem::path& site);
    ~NginxServer();
    NginxServer(const NginxServer&) = delete;
    NginxServer& operator=(const NginxServer&) = delete;

    bool running() const { return process_ > 0; }
    int port() const { return port_; }
    std::string url(const std::string& path) const;
    // What nginx said, for a test that fails.
    std::string errorLog() const;

private:
    void writeConfiguration(const std::filesystem::path& site) const;
    bool waitUntilListening();
    void stop();

    std::filesystem::path folder_;
    int port_ = 0;
    pid_t process_ = -1;
};

}  // namespace tamrivo::testing
