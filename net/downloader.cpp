#include "net/downloader.h"

#include "net/curl_global.h"

#include <curl/curl.h>

#include <filesystem>
#include <system_error>

#include "base/text_encoding.h"
#include "net/download_worker.h"

namespace tamrivo {

namespace {

constexpr auto kStopCheckInterval = std::chrono::milliseconds(10);

bool pathExists(const Text& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(gbkToUtf8(path)), error);
}

}  // namespace

void Downloader::MultiHandleCleanup::operator()(void* multi) const {
    curl_multi_cleanup(multi);
}

Downloader::Downloader(std::function<void()> processEvents)
    : processEvents_(std::move(processEvents)) {
    ensureCurlInitialised();
    multi_.reset(curl_multi_init());
    setReady(multi_ != nullptr);
}

Downloader::~Downloader() {
    stop();
    multi_.reset();
}

std::int32_t Downloader::start(const DownloadParams& params, bool overwrite) {
    if (!isReady()) {
        return kStartNotReady;
    }
    if (!overwrite && pathExists(params.filePath)) {
        return kStartFileExists;
    }
    if (shared_.paused.load() != 0) {
        return kStartPaused;
    }
    if (!stop()) {
        return kStartStopFailed;
    }
    shared_.events.resetAll();
    setReady(true);
    shared_.clearProgress();
    return launch(params);
}

std::int32_t Downloader::launch(DownloadParams params) {
    workerEnd_.markRunning();
    try {
        worker_ = std::thread([this, params = std::move(params)]() mutable {
            workerId_.store(std::this_thread::get_id());
            DownloadWorker(shared_, multi_.get(), std::move(params)).run();
            workerId_.store({});
            workerEnd_.markEnded();
        });
    } catch (const std::system_error&) {
        workerEnd_.markEnded();
        return kStartNoThread;
    }
    return kStartOk;
}

bool Downloader::pause() {
    if (!isReady() || shared_.paused.load() != 0) {
        return false;
    }
    signal(DownloadSignal::PauseToggle);
    shared_.paused.exchange(1);
    return true;
}

bool Downloader::resume() {
    if (!isReady() || shared_.paused.load() != 1) {
        return false;
    }
    signal(DownloadSignal::PauseToggle);
    shared_.paused.exchange(0);
    return true;
}

bool Downloader::stop() {
    if (workerId_.load() == std::this_thread::get_id()) {
        return false;  // a callback cannot wait for the worker that runs it
    }
    if (!worker_.joinable()) {
        return true;
    }
    if (stopping_) {
        return false;
    }
    stopping_ = true;
    signal(DownloadSignal::Cancel);
    shared_.cancelRequested.exchange(1);
    while (!workerEnd_.waitFor(kStopCheckInterval)) {
        if (processEvents_) {
            processEvents_();
        }
    }
    worker_.join();
    stopping_ = false;
    return true;
}

void Downloader::setReady(bool ready) {
    shared_.stage.exchange(ready ? 1 : 0);
}

void Downloader::signal(DownloadSignal signal) {
    shared_.events.set(signal);
    curl_multi_wakeup(multi_.get());
}

}  // namespace tamrivo
