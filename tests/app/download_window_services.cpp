#include "tests/app/download_window_services.h"

#include <algorithm>
#include <chrono>
#include <fstream>

#include "base/text_encoding.h"

namespace tamrivo::testing {

namespace {

template <typename Item>
std::vector<Item> copyOf(std::mutex& mutex, const std::vector<Item>& items) {
    std::lock_guard lock(mutex);
    return items;
}

}  // namespace

std::vector<Text> DownloadWindowServices::log() const {
    return copyOf(mutex_, log_);
}
std::vector<Text> DownloadWindowServices::captions() const {
    return copyOf(mutex_, captions_);
}
std::vector<int> DownloadWindowServices::positions() const {
    return copyOf(mutex_, positions_);
}
std::vector<bool> DownloadWindowServices::busyStates() const {
    return copyOf(mutex_, busyStates_);
}
std::vector<std::vector<Text>> DownloadWindowServices::startedPrograms() const {
    return copyOf(mutex_, startedPrograms_);
}
std::vector<WindowHandle> DownloadWindowServices::destroyedWindows() const {
    return copyOf(mutex_, destroyedWindows_);
}

Text DownloadWindowServices::logText() const {
    Text text;
    for (const Text& line : log()) {
        text += line;
    }
    return text;
}

bool DownloadWindowServices::waitForLogLine(const Text& line, int times,
                                            std::chrono::milliseconds patience) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, patience,
                             [&] { return std::count(log_.begin(), log_.end(), line) >= times; });
}

void DownloadWindowServices::destroyWindow(WindowHandle window) {
    std::lock_guard lock(mutex_);
    destroyedWindows_.push_back(window);
}

void DownloadWindowServices::setText(WindowHandle, const Text& control, const Text& text) {
    std::lock_guard lock(mutex_);
    if (control.empty()) {
        captions_.push_back(text);
    }
}

int DownloadWindowServices::progressMaximum(WindowHandle, const Text&) {
    return progressBarMaximum;
}

void DownloadWindowServices::setProgressPosition(WindowHandle, const Text&, int position) {
    std::lock_guard lock(mutex_);
    positions_.push_back(position);
}

void DownloadWindowServices::setProgressBusy(WindowHandle, const Text&, bool busy) {
    std::lock_guard lock(mutex_);
    busyStates_.push_back(busy);
}

void DownloadWindowServices::editAppend(WindowHandle, const Text&, const Text& text) {
    {
        std::lock_guard lock(mutex_);
        log_.push_back(text);
    }
    changed_.notify_all();
}

bool DownloadWindowServices::runProgram(const std::vector<Text>& arguments, bool, int) {
    std::lock_guard lock(mutex_);
    startedPrograms_.push_back(arguments);
    return true;
}

bool DownloadWindowServices::writeFile(const Text& path, std::span<const Bytes> blocks) {
    if (failWrites) {
        return false;
    }
    std::ofstream file(gbkToUtf8(path), std::ios::binary | std::ios::trunc);
    for (const Bytes& block : blocks) {
        file.write(reinterpret_cast<const char*>(block.data()),
                   static_cast<std::streamsize>(block.size()));
    }
    return static_cast<bool>(file);
}

}  // namespace tamrivo::testing
