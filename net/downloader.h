#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

#include "net/download_shared.h"
#include "net/download_types.h"

namespace tamrivo {

// Fetches one URL with HTTP GET into a file on a worker thread, which the owner can pause,
// resume and cancel at any moment. The program keeps one for its whole run; destroying it
// cancels a running download and waits for its worker.
class Downloader {
public:
    // processEvents runs while stop waits for the worker, so that a callback writing to the
    // owner's windows cannot deadlock against it (the window services' doEvents).
    explicit Downloader(std::function<void()> processEvents = {});
    Downloader(const Downloader&) = delete;
    Downloader& operator=(const Downloader&) = delete;
    ~Downloader();

    // 0 when the worker was started, else a DownloadStartCode. A running download is
    // stopped first and ends with the cancelled result.
    std::int32_t start(const DownloadParams& params, bool overwrite);
    bool pause();
    // Cancels the running download and waits for its worker; false when called from the
    // download's own callback or while another stop waits.
    bool stop();
    DownloadState getState() const { return shared_.snapshot(); }
    bool resume();
    void setReady(bool ready);
    bool isReady() const { return shared_.stage.load() != 0; }

private:
    struct MultiHandleCleanup {
        void operator()(void* multi) const;
    };

    std::int32_t launch(DownloadParams params);
    void signal(DownloadSignal signal);

    std::function<void()> processEvents_;
    std::unique_ptr<void, MultiHandleCleanup> multi_;
    DownloadShared shared_;
    WorkerEnd workerEnd_;
    std::thread worker_;
    // Set by the worker itself, so that its callback can be told apart without touching
    // worker_ while the owner may still be assigning it.
    std::atomic<std::thread::id> workerId_;
    bool stopping_ = false;
};

}  // namespace tamrivo
