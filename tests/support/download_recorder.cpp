#include "tests/support/download_recorder.h"

#include <thread>

namespace tamrivo::testing {

namespace {

constexpr auto kPatience = std::chrono::seconds(30);

}  // namespace

bool waitUntil(const std::function<bool()>& condition) {
    const auto limit = std::chrono::steady_clock::now() + kPatience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > limit) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

DownloadCallback DownloadRecorder::callback() {
    return [this](std::int32_t userData, ProgressEvent event, const DownloadState& state) {
        {
            std::lock_guard lock(mutex_);
            entries_.push_back({userData, event, state});
            finished_ += event == ProgressEvent::Finished ? 1 : 0;
        }
        changed_.notify_all();
    };
}

bool DownloadRecorder::waitFinished(int count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kPatience, [&] { return finished_ >= count; });
}

std::vector<DownloadRecorder::Entry> DownloadRecorder::entries() const {
    std::lock_guard lock(mutex_);
    return entries_;
}

std::vector<ProgressEvent> DownloadRecorder::events() const {
    std::vector<ProgressEvent> events;
    for (const Entry& entry : entries()) {
        events.push_back(entry.event);
    }
    return events;
}

std::vector<int> DownloadRecorder::eventsWithoutProgress() const {
    std::vector<int> events;
    for (const Entry& entry : entries()) {
        if (entry.event != ProgressEvent::Progress) {
            events.push_back(static_cast<int>(entry.event));
        }
    }
    return events;
}

DownloadState DownloadRecorder::last() const {
    std::lock_guard lock(mutex_);
    return entries_.empty() ? DownloadState{} : entries_.back().state;
}

}  // namespace tamrivo::testing
