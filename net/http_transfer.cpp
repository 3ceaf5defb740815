#include "net/http_transfer.h"

#include <algorithm>

namespace tamrivo {
namespace {

using Clock = std::chrono::steady_clock;

// How often a waiting transfer looks at its time limits.
constexpr int kPollMilliseconds = 100;

struct Progress {
    curl_off_t downloaded = 0;
    curl_off_t uploaded = 0;
    curl_off_t uploadTotal = 0;
    Clock::time_point lastActivity = Clock::now();
};

int recordProgress(void* data, curl_off_t, curl_off_t downloaded, curl_off_t uploadTotal,
                   curl_off_t uploaded) {
    auto& progress = *static_cast<Progress*>(data);
    if (downloaded != progress.downloaded || uploaded != progress.uploaded) {
        progress.downloaded = downloaded;
        progress.uploaded = uploaded;
        progress.lastActivity = Clock::now();
    }
    progress.uploadTotal = uploadTotal;
    return 0;
}

// Watches for a connection that stands but moves no bytes. Until the connection stands,
// libcurl's own connect time-out applies.
class StallWatch {
public:
    StallWatch(CURL* easy, const FetchLimits& limits) : easy_(easy), limits_(limits) {}

    bool stalled(Progress& progress) {
        const Clock::time_point now = Clock::now();
        if (!connected_) {
            curl_off_t connectMicroseconds = 0;
            curl_easy_getinfo(easy_, CURLINFO_CONNECT_TIME_T, &connectMicroseconds);
            connected_ = connectMicroseconds > 0 || now - started_ >= limits_.connectTimeout;
            progress.lastActivity = now;
            return false;
        }
        const bool sending = progress.uploaded < progress.uploadTotal;
        return now - progress.lastActivity >=
               (sending ? limits_.sendTimeout : limits_.receiveTimeout);
    }

private:
    CURL* easy_;
    const FetchLimits& limits_;
    Clock::time_point started_ = Clock::now();
    bool connected_ = false;
};

CURLcode transferResult(CURLM* multi) {
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
        if (message->msg == CURLMSG_DONE) {
            return message->data.result;
        }
    }
    return CURLE_RECV_ERROR;
}

TransferOutcome drive(CURLM* multi, CURL* easy, std::stop_token stop, const FetchLimits& limits,
                      Progress& progress) {
    // The wake-up lets a stop request cut a wait short; it is unregistered before the
    // multi handle goes away.
    const std::stop_callback wakeOnStop(stop, [multi] { curl_multi_wakeup(multi); });
    StallWatch watch(easy, limits);
    int running = 1;
    while (!stop.stop_requested()) {
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            return TransferOutcome::Failed;
        }
        if (running == 0) {
            return transferResult(multi) == CURLE_OK ? TransferOutcome::Completed
                                                     : TransferOutcome::Failed;
        }
        if (watch.stalled(progress)) {
            return TransferOutcome::Failed;
        }
        curl_multi_poll(multi, nullptr, 0, kPollMilliseconds, nullptr);
    }
    return TransferOutcome::Stopped;
}

}  // namespace

TransferOutcome runTransfer(CURL* easy, std::stop_token stop, const FetchLimits& limits) {
    CURLM* multi = curl_multi_init();
    if (multi == nullptr) {
        return TransferOutcome::Failed;
    }
    Progress progress;
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(std::max<long long>(1, limits.connectTimeout.count())));
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS,
                     static_cast<long>(std::max<long long>(1, limits.totalTimeout.count())));
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, recordProgress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &progress);
    TransferOutcome outcome = TransferOutcome::Failed;
    if (curl_multi_add_handle(multi, easy) == CURLM_OK) {
        outcome = drive(multi, easy, stop, limits, progress);
        curl_multi_remove_handle(multi, easy);
    }
    curl_multi_cleanup(multi);
    return outcome;
}

}  // namespace tamrivo
