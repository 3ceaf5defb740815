#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "net/download_types.h"

namespace tamrivo {

// The four events between a download's owner and its worker. Each is auto-reset: taking it
// clears it, and setting it twice before it is taken counts once.
enum class DownloadSignal {
    Success = 0,      // a step of the transfer went forward
    Failure = 1,      // the transfer failed
    PauseToggle = 2,  // pause, and again to resume
    Cancel = 3,
};

class DownloadEvents {
public:
    void set(DownloadSignal signal);
    // True when the event was set; it is cleared.
    bool take(DownloadSignal signal);
    void resetAll();
    // Blocks until cancel or the pause toggle is set, takes it and says which.
    DownloadSignal waitForCancelOrPauseToggle();

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::array<bool, 4> set_{};
};

// The record a download's owner and its worker share. The worker writes the progress
// fields; the owner writes paused, cancelRequested and the stage word through setReady.
struct DownloadShared {
    DownloadEvents events;
    std::atomic<std::int32_t> stage{0};
    std::atomic<std::int32_t> result{0};
    std::atomic<std::int64_t> totalBytes{0};
    std::atomic<std::int64_t> receivedBytes{0};
    std::atomic<std::int32_t> paused{0};
    std::atomic<std::int32_t> cancelRequested{0};
    std::atomic<float> speed{0.0F};

    DownloadState snapshot() const;
    void setStage(DownloadStage value) { stage.store(static_cast<std::int32_t>(value)); }
    // Clears the progress of the last download before a new one.
    void clearProgress();
};

// Lets the owner wait for a worker's end without blocking on the thread itself.
class WorkerEnd {
public:
    void markRunning();
    void markEnded();
    // True once the worker has ended; waits at most the given time for that.
    bool waitFor(std::chrono::milliseconds time);

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool ended_ = true;
};

}  // namespace tamrivo
