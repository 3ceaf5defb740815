#pragma once
// Running a program from a test as a person at a shell would.

#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <utility>

namespace tamrivo::testing {

// Runs a shell command line; its exit status and what it wrote to both streams.
inline std::pair<int, std::string> runCommand(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return {-1, output};
    }
    char buffer[4096];
    while (const std::size_t read = std::fread(buffer, 1, sizeof buffer, pipe)) {
        output.append(buffer, read);
    }
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

}  // namespace tamrivo::testing
