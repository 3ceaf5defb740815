#include "net/download_shared.h"

#include <utility>

namespace tamrivo {

namespace {

std::size_t indexOf(DownloadSignal signal) {
    return static_cast<std::size_t>(signal);
}

}  // namespace

void DownloadEvents::set(DownloadSignal signal) {
    {
        std::lock_guard lock(mutex_);
        set_[indexOf(signal)] = true;
    }
    changed_.notify_all();
}

bool DownloadEvents::take(DownloadSignal signal) {
    std::lock_guard lock(mutex_);
    return std::exchange(set_[indexOf(signal)], false);
}

void DownloadEvents::resetAll() {
    std::lock_guard lock(mutex_);
    set_.fill(false);
}

DownloadSignal DownloadEvents::waitForCancelOrPauseToggle() {
    std::unique_lock lock(mutex_);
    auto& cancel = set_[indexOf(DownloadSignal::Cancel)];
    auto& pause = set_[indexOf(DownloadSignal::PauseToggle)];
    changed_.wait(lock, [&] { return cancel || pause; });
    if (std::exchange(cancel, false)) {
        return DownloadSignal::Cancel;
    }
    pause = false;
    return DownloadSignal::PauseToggle;
}

DownloadState DownloadShared::snapshot() const {
    DownloadState state;
    state.stage = static_cast<DownloadStage>(stage.load());
    state.result = result.load();
    state.totalBytes = totalBytes.load();
    state.receivedBytes = receivedBytes.load();
    state.paused = paused.load();
    state.cancelRequested = cancelRequested.load();
    state.speed = speed.load();
    return state;
}

void DownloadShared::clearProgress() {
    result.store(0);
    totalBytes.store(0);
    receivedBytes.store(0);
    paused.store(0);
    cancelRequested.store(0);
    speed.store(0.0F);
}

void WorkerEnd::markRunning() {
    std::lock_guard lock(mutex_);
    ended_ = false;
}

void WorkerEnd::markEnded() {
    {
        std::lock_guard lock(mutex_);
        ended_ = true;
    }
    changed_.notify_all();
}

bool WorkerEnd::waitFor(std::chrono::milliseconds time) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, time, [&] { return ended_; });
}

}  // namespace tamrivo
