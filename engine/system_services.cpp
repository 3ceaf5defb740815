#include "engine/system_services.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

#include "base/replacement_file.h"
#include "base/text_encoding.h"

extern char** environ;

namespace tamrivo {
namespace {

using namespace std::chrono_literals;

constexpr auto kStartWait = 1000ms;
constexpr auto kPollInterval = 10ms;

// Reaps the child if it has ended; true when it has.
bool reaped(pid_t child, bool block) {
    int status = 0;
    for (;;) {
        const pid_t result = ::waitpid(child, &status, block ? 0 : WNOHANG);
        if (result == -1 && errno == EINTR) {
            continue;
        }
        return result != 0;  // the child, or an error (nothing left to wait for)
    }
}

}  // namespace

void sleepMilliseconds(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds > 0 ? milliseconds : 0));
}

ProgramStart startProgram(const std::vector<Text>& arguments, bool wait) {
    if (arguments.empty()) {
        return {};
    }
    std::vector<std::string> converted;
    for (const Text& argument : arguments) {
        converted.push_back(gbkToUtf8(argument));
        if (converted.back().empty() && !argument.empty()) {
            return {};  // not GBK: better not to start than to start with a wrong argument
        }
    }
    std::vector<char*> argv;
    for (std::string& argument : converted) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    // The program gets the standard streams and nothing else of ours: the updater would
    // otherwise hold the download's connection, and whatever else is open, while it runs.
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return {};
    }
    if (wait) {
        reaped(child, true);
        return {.created = true};
    }
    const auto deadline = std::chrono::steady_clock::now() + kStartWait;
    while (std::chrono::steady_clock::now() < deadline) {
        if (reaped(child, false)) {
            return {.created = true};
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    return {.created = true, .running = child};
}

bool writeBlocks(const Text& path, std::span<const Bytes> blocks) {
    const std::string nativePath = gbkToUtf8(path);
    if (nativePath.empty()) {
        return false;
    }
    ReplacementFile file;
    if (file.create(nativePath)) {
        return false;
    }
    for (const Bytes& block : blocks) {
        if (file.write(block)) {
            return false;
        }
    }
    return !file.commit();
}

}  // namespace tamrivo
