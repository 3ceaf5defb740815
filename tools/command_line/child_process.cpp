#include "tools/command_line/child_process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace tamrivo {
namespace {

std::vector<char*> argumentVector(const std::vector<std::string>& arguments) {
    std::vector<char*> vector;
    for (const std::string& argument : arguments) {
        vector.push_back(const_cast<char*>(argument.c_str()));
    }
    vector.push_back(nullptr);
    return vector;
}

}  // namespace

int runAndWait(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        return -1;
    }
    std::vector<char*> argv = argumentVector(arguments);
    pid_t child = 0;
    if (::posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        return -1;
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string replaceWith(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        return "nothing to start";
    }
    std::vector<char*> argv = argumentVector(arguments);
    ::execv(argv[0], argv.data());
    return "cannot start " + arguments.front() + ": " + std::strerror(errno);
}

}  // namespace tamrivo
