#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "net/download_types.h"

namespace tamrivo::testing {

// Collects what a download tells its callback, from the worker thread.
class DownloadRecorder {
public:
    struct Entry {
        std::int32_t userData = 0;
        ProgressEvent event = ProgressEvent::Sending;
        DownloadState state;
    };

    DownloadCallback callback();
    // Waits (bounded, so that a broken download fails instead of hanging) for the events
    // that finish count downloads; true when they came.
    bool waitFinished(int count = 1);
    std::vector<Entry> entries() const;
    std::vector<ProgressEvent> events() const;
    // Without the progress reports, which may or may not come.
    std::vector<int> eventsWithoutProgress() const;
    DownloadState last() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Entry> entries_;
    int finished_ = 0;
};

// Polls until the condition holds; bounded like waitFinished.
bool waitUntil(const std::function<bool()>& condition);

}  // namespace tamrivo::testing
