#pragma once

#include <curl/curl.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "net/download_file.h"
#include "net/download_shared.h"
#include "net/download_types.h"
#include "net/final_response.h"

namespace tamrivo {

// One download on its own thread: drives a libcurl easy handle through the owner's multi
// handle, writes the body to the file and tells the callback how it goes. The easy handle
// lives and dies on this thread; the owner only ever wakes the multi handle.
class DownloadWorker {
public:
    DownloadWorker(DownloadShared& shared, CURLM* multi, DownloadParams params);
    DownloadWorker(const DownloadWorker&) = delete;
    DownloadWorker& operator=(const DownloadWorker&) = delete;
    ~DownloadWorker();

    // The whole download, ending with the Finished event.
    void run();

private:
    enum class WaitResult { Cancel, Signal, Timeout };
    enum class StepOutcome { Reached, Cancelled, CallFailed, TransferFailed };
    using Clock = std::chrono::steady_clock;

    std::int32_t download();
    std::int32_t prepare();
    std::int32_t transfer();
    bool openHandle();
    bool applyProxy();
    bool registerCallbacks();
    bool openRequest();
    bool applySpeedLimits();
    std::int32_t sendRequest();
    std::int32_t receiveHeaders();
    std::int64_t contentLength();
    std::int32_t readBody();
    std::int32_t finishBody();
    void release();

    static std::size_t onBody(char* data, std::size_t size, std::size_t count, void* self);
    static std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* self);
    static int onRequestReady(void* self, char* remoteIp, char* localIp, int remotePort,
                              int localPort);
    std::size_t writeBody(const char* data, std::size_t length);

    template <typename Value>
    bool setOption(CURLoption option, Value value) {
        return curl_easy_setopt(easy_, option, value) == CURLE_OK;
    }

    bool cancelled();
    WaitResult waitForSignal(bool untilSignalled);
    void pump(int timeoutMilliseconds);
    int pollMilliseconds() const;
    bool silentTooLong() const;
    void noteActivity() { lastActivity_ = Clock::now(); }
    void collectCompletion();
    StepOutcome waitForStep(bool (DownloadWorker::*reached)() const);
    bool requestSent() const;
    bool headersReceived() const { return headersDone_; }

    void reportProgressIfDue();
    void report(ProgressEvent event);
    void setStage(DownloadStage stage) { shared_.setStage(stage); }

    DownloadShared& shared_;
    CURLM* multi_;
    DownloadParams params_;
    CURL* easy_ = nullptr;
    bool attached_ = false;
    DownloadFile file_;
    FinalResponseDetector finalResponse_;

    // What the transfer has done so far, as libcurl's callbacks saw it.
    bool requestReady_ = false;
    bool headersDone_ = false;
    bool bodyHeld_ = false;  // body data came before the file existed
    bool multiFailed_ = false;
    bool transferDone_ = false;
    CURLcode transferCode_ = CURLE_OK;
    std::uint64_t steps_ = 0;              // counts every callback that moved the transfer on
    std::optional<std::int32_t> aborted_;  // a cancel or a failed write inside the body callback

    Clock::time_point lastActivity_;  // the latest sign of life from the server
    std::int64_t received_ = 0;
    Clock::time_point lastReport_;
    std::int64_t receivedAtLastReport_ = 0;
};

}  // namespace tamrivo
