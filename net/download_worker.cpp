#include "net/download_worker.h"

#include <algorithm>
#include <memory>
#include <string_view>
#include <utility>

namespace tamrivo {

// How libcurl's failures map onto the result codes. A call that fails at once is the "did
// not go pending" code of its step; a transfer that ends in failure gives the "completed with
// failure" code of the step it was in. Until the request can go out, every failure (name
// resolution, refused connection, TLS handshake, proxy) is a connection failure.
//
//   URL not http:// or https://, or not parsed by libcurl          -1
//   easy handle, user agent or proxy cannot be set up               -2
//   callbacks cannot be set                                         -3
//   URL cannot be set; transfer fails before the request goes out   -4
//   request options cannot be set                                   -5
//   adding to the multi handle, or the multi handle, fails sending  -6
//   transfer fails while the request is sent                        -7
//   multi handle fails while waiting for the response               -8
//   transfer fails before the final response's headers are in       -9
//   multi handle fails while reading the body                      -11
//   transfer fails while reading the body                          -12
//   body longer than the limit (Content-Length or bytes received)  -15
//
// A connection not made within the connect time-out fails the transfer before the request
// goes out; a server silent for longer than the silence time-out, slower than the lowest
// speed for a whole window, or a download longer than its whole duration, fails it where it
// stands.

namespace {

constexpr std::size_t kReadSize = 81920;
constexpr long kReadSizeOption = static_cast<long>(kReadSize);
constexpr auto kReportInterval = std::chrono::milliseconds(500);
constexpr int kPollMilliseconds = 1000;  // poll returns sooner on data, a wake-up or a timer
constexpr long kMaxRedirects = 10;
constexpr char kHttpSchemes[] = "http,https";

bool isHttpUrl(const Text& url) {
    if (url.find('\0') != Text::npos) {
        return false;
    }
    std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> parsed(curl_url(), &curl_url_cleanup);
    char* scheme = nullptr;
    if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK ||
        curl_url_get(parsed.get(), CURLUPART_SCHEME, &scheme, 0) != CURLUE_OK) {
        return false;
    }
    const std::string_view name(scheme);
    const bool http = name == "http" || name == "https";
    curl_free(scheme);
    return http;
}

}  // namespace

DownloadWorker::DownloadWorker(DownloadShared& shared, CURLM* multi, DownloadParams params)
    : shared_(shared), multi_(multi), params_(std::move(params)), lastReport_(Clock::now()) {}

DownloadWorker::~DownloadWorker() {
    release();
}

void DownloadWorker::run() {
    const std::int32_t result = download();
    release();
    shared_.result.store(result);
    // The file stays held while its owner hears the end, so that a second download cannot
    // write into it while the owner checks it.
    report(ProgressEvent::Finished);
    file_.close();
}

std::int32_t DownloadWorker::download() {
    if (const std::int32_t failure = prepare(); failure != kDownloadSucceeded) {
        return failure;
    }
    return transfer();
}

std::int32_t DownloadWorker::prepare() {
    setStage(DownloadStage::WorkerStarted);
    if (!isHttpUrl(params_.url)) {
        return kDownloadBadUrl;
    }
    setStage(DownloadStage::UrlSplit);
    if (!openHandle()) {
        return kDownloadCannotOpenHandle;
    }
    setStage(DownloadStage::HandleOpened);
    if (!registerCallbacks()) {
        return kDownloadCannotRegisterCallbacks;
    }
    setStage(DownloadStage::CallbacksRegistered);
    if (!setOption(CURLOPT_URL, params_.url.c_str())) {
        return kDownloadConnectFailed;
    }
    setStage(DownloadStage::Connected);
    if (!openRequest()) {
        return kDownloadCannotOpenRequest;
    }
    setStage(DownloadStage::RequestOpened);
    return kDownloadSucceeded;
}

std::int32_t DownloadWorker::transfer() {
    setStage(DownloadStage::SendingRequest);
    report(ProgressEvent::Sending);
    if (const std::int32_t failure = sendRequest(); failure != kDownloadSucceeded) {
        return failure;
    }
    setStage(DownloadStage::RequestSent);
    report(ProgressEvent::Sent);
    report(ProgressEvent::EndingRequest);
    if (const std::int32_t failure = receiveHeaders(); failure != kDownloadSucceeded) {
        return failure;
    }
    setStage(DownloadStage::HeadersReceived);
    report(ProgressEvent::HeadersReceived);
    const std::int64_t total = contentLength();
    setStage(DownloadStage::LengthKnown);
    shared_.totalBytes.store(total);
    report(ProgressEvent::LengthKnown);
    if (total > params_.limits.maxBytes) {
        return kDownloadTooLarge;  // before the file is touched
    }
    if (!file_.create(params_.filePath)) {
        return kDownloadCannotCreateFile;
    }
    setStage(DownloadStage::FileCreated);
    return readBody();
}

bool DownloadWorker::openHandle() {
    if (params_.proxyType < kProxyDirect || params_.proxyType > kProxySocks) {
        return false;
    }
    easy_ = curl_easy_init();
    return easy_ != nullptr && setOption(CURLOPT_USERAGENT, params_.userAgent.c_str()) &&
           applyProxy();
}

bool DownloadWorker::applyProxy() {
    switch (params_.proxyType) {
        case kProxyDirect:
            return setOption(CURLOPT_PROXY, "");  // also ignores the proxy variables
        case kProxySystem:
            return true;  // libcurl follows the proxy variables of the environment
        case kProxyHttp:
            return !params_.proxyAddress.empty() &&
                   setOption(CURLOPT_PROXY, ("http://" + params_.proxyAddress).c_str());
        default:
            return !params_.proxyAddress.empty() &&
                   setOption(CURLOPT_PROXY, ("socks4://" + params_.proxyAddress).c_str());
    }
}

bool DownloadWorker::registerCallbacks() {
    return setOption(CURLOPT_WRITEFUNCTION, &DownloadWorker::onBody) &&
           setOption(CURLOPT_WRITEDATA, this) &&
           setOption(CURLOPT_HEADERFUNCTION, &DownloadWorker::onHeader) &&
           setOption(CURLOPT_HEADERDATA, this) &&
           setOption(CURLOPT_PREREQFUNCTION, &DownloadWorker::onRequestReady) &&
           setOption(CURLOPT_PREREQDATA, this);
}

bool DownloadWorker::openRequest() {
    const bool proxyLogin = params_.proxyType == kProxyHttp;
    return setOption(CURLOPT_HTTPGET, 1L) && setOption(CURLOPT_PROTOCOLS_STR, kHttpSchemes) &&
           setOption(CURLOPT_FOLLOWLOCATION, 1L) &&
           setOption(CURLOPT_REDIR_PROTOCOLS_STR, kHttpSchemes) &&
           setOption(CURLOPT_MAXREDIRS, kMaxRedirects) &&
           setOption(CURLOPT_BUFFERSIZE, kReadSizeOption) && setOption(CURLOPT_NOSIGNAL, 1L) &&
           setOption(CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(std::max<std::int64_t>(
                                                    1, params_.limits.connectTimeout.count()))) &&
           applySpeedLimits() &&
           // Each download closes its connection, so nothing stays open between downloads.
           setOption(CURLOPT_FORBID_REUSE, 1L) && setOption(CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L) &&
           (!proxyLogin || params_.proxyUser.empty() ||
            setOption(CURLOPT_PROXYUSERNAME, params_.proxyUser.c_str())) &&
           (!proxyLogin || params_.proxyPassword.empty() ||
            setOption(CURLOPT_PROXYPASSWORD, params_.proxyPassword.c_str()));
}

// libcurl ends a transfer slower than the lowest speed for a whole window, or one that
// takes longer than the whole duration allows; either fails it where it stands.
bool DownloadWorker::applySpeedLimits() {
    const DownloadLimits& limits = params_.limits;
    return (limits.lowestSpeed <= 0 ||
            (setOption(CURLOPT_LOW_SPEED_LIMIT, static_cast<long>(limits.lowestSpeed)) &&
             setOption(CURLOPT_LOW_SPEED_TIME,
                       static_cast<long>(limits.lowSpeedWindow.count())))) &&
           (limits.totalTimeout.count() <= 0 ||
            setOption(CURLOPT_TIMEOUT_MS, static_cast<long>(limits.totalTimeout.count())));
}

std::int32_t DownloadWorker::sendRequest() {
    if (curl_multi_add_handle(multi_, easy_) != CURLM_OK) {
        return kDownloadSendNotStarted;
    }
    attached_ = true;
    switch (waitForStep(&DownloadWorker::requestSent)) {
        case StepOutcome::Reached:
            return kDownloadSucceeded;
        case StepOutcome::Cancelled:
            return kDownloadCancelled;
        case StepOutcome::CallFailed:
            return kDownloadSendNotStarted;
        case StepOutcome::TransferFailed:
            break;
    }
    return requestReady_ ? kDownloadSendFailed : kDownloadConnectFailed;
}

std::int32_t DownloadWorker::receiveHeaders() {
    switch (waitForStep(&DownloadWorker::headersReceived)) {
        case StepOutcome::Reached:
            return kDownloadSucceeded;
        case StepOutcome::Cancelled:
            return kDownloadCancelled;
        case StepOutcome::CallFailed:
            return kDownloadResponseNotStarted;
        case StepOutcome::TransferFailed:
            break;
    }
    return kDownloadResponseFailed;
}

std::int64_t DownloadWorker::contentLength() {
    curl_off_t length = -1;
    curl_easy_getinfo(easy_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    return std::max<std::int64_t>(length, 0);
}

std::int32_t DownloadWorker::readBody() {
    // Body data that came with the headers waited for the file; it is written now.
    if (bodyHeld_ && curl_easy_pause(easy_, CURLPAUSE_CONT) != CURLE_OK && !aborted_) {
        return kDownloadReadNotStarted;
    }
    for (;;) {
        if (aborted_) {
            return *aborted_;
        }
        setStage(DownloadStage::Reading);
        const std::uint64_t before = steps_;
        pump(0);  // the read: takes what has arrived, never waits
        if (aborted_) {
            return *aborted_;
        }
        if (multiFailed_) {
            return kDownloadReadNotStarted;
        }
        if (transferDone_) {
            return finishBody();
        }
        const bool ready = steps_ != before;
        if (!ready) {
            setStage(DownloadStage::WaitingForData);
            reportProgressIfDue();
        }
        if (waitForSignal(!ready) == WaitResult::Cancel) {
            return kDownloadCancelled;
        }
    }
}

std::int32_t DownloadWorker::finishBody() {
    if (transferCode_ != CURLE_OK) {
        return kDownloadReadFailed;
    }
    report(ProgressEvent::EndOfData);
    return kDownloadSucceeded;
}

void DownloadWorker::release() {
    if (easy_ == nullptr) {
        return;
    }
    if (attached_) {
        curl_multi_remove_handle(multi_, easy_);
        attached_ = false;
    }
    curl_easy_cleanup(easy_);
    easy_ = nullptr;
}

std::size_t DownloadWorker::onBody(char* data, std::size_t size, std::size_t count, void* self) {
    return static_cast<DownloadWorker*>(self)->writeBody(data, size * count);
}

std::size_t DownloadWorker::onHeader(char* data, std::size_t size, std::size_t count, void* self) {
    auto* worker = static_cast<DownloadWorker*>(self);
    const std::size_t length = size * count;
    worker->noteActivity();
    if (worker->finalResponse_.feed(std::string_view(data, length))) {
        worker->headersDone_ = true;
        ++worker->steps_;
    }
    return length;
}

int DownloadWorker::onRequestReady(void* self, char*, char*, int, int) {
    auto* worker = static_cast<DownloadWorker*>(self);
    worker->requestReady_ = true;
    worker->noteActivity();  // the server's silence counts from here
    ++worker->steps_;
    return CURL_PREREQFUNC_OK;
}

std::size_t DownloadWorker::writeBody(const char* data, std::size_t length) {
    if (!file_.isOpen()) {
        bodyHeld_ = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    noteActivity();
    for (std::size_t offset = 0; offset < length; offset += kReadSize) {
        const std::size_t piece = std::min(kReadSize, length - offset);
        if (cancelled()) {
            aborted_ = kDownloadCancelled;
            return 0;
        }
        if (static_cast<std::int64_t>(piece) > params_.limits.maxBytes - received_) {
            aborted_ = kDownloadTooLarge;
            return 0;
        }
        if (const std::int32_t failure = file_.write(data + offset, piece); failure != 0) {
            aborted_ = failure;
            return 0;
        }
        received_ += static_cast<std::int64_t>(piece);
        shared_.receivedBytes.store(received_);
        setStage(DownloadStage::ChunkWritten);
        ++steps_;
    }
    return length;
}

// A pause holds the worker here, without touching the transfer, until resume or cancel.
bool DownloadWorker::cancelled() {
    auto& events = shared_.events;
    for (;;) {
        if (events.take(DownloadSignal::Cancel)) {
            return true;
        }
        if (!events.take(DownloadSignal::PauseToggle)) {
            return false;
        }
        if (events.waitForCancelOrPauseToggle() == DownloadSignal::Cancel) {
            return true;
        }
        noteActivity();  // a paused download was not waiting for the server
    }
}

DownloadWorker::WaitResult DownloadWorker::waitForSignal(bool untilSignalled) {
    auto& events = shared_.events;
    for (;;) {
        if (cancelled()) {
            return WaitResult::Cancel;
        }
        const bool success = events.take(DownloadSignal::Success);
        if (events.take(DownloadSignal::Failure) || success) {
            return WaitResult::Signal;
        }
        if (!untilSignalled) {
            return WaitResult::Timeout;
        }
        pump(pollMilliseconds());
    }
}

// Lets libcurl wait for its sockets (or the owner's wake-up) and move the transfer on; what
// happened is signalled like the completion of an asynchronous call.
void DownloadWorker::pump(int timeoutMilliseconds) {
    const std::uint64_t before = steps_;
    int running = 0;
    if (curl_multi_poll(multi_, nullptr, 0, timeoutMilliseconds, nullptr) != CURLM_OK ||
        curl_multi_perform(multi_, &running) != CURLM_OK) {
        multiFailed_ = true;
        shared_.events.set(DownloadSignal::Failure);
        return;
    }
    collectCompletion();
    if (!transferDone_ && silentTooLong()) {
        transferDone_ = true;
        transferCode_ = CURLE_OPERATION_TIMEDOUT;
    }
    if (transferDone_ && transferCode_ != CURLE_OK) {
        shared_.events.set(DownloadSignal::Failure);
    } else if (transferDone_ || steps_ != before) {
        shared_.events.set(DownloadSignal::Success);
    }
}

// Waits no longer than the server may still stay silent, so that silence is noticed in time.
int DownloadWorker::pollMilliseconds() const {
    if (!requestReady_) {
        return kPollMilliseconds;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        lastActivity_ + params_.limits.silenceTimeout - Clock::now());
    return static_cast<int>(std::clamp<std::int64_t>(left.count() + 1, 1, kPollMilliseconds));
}

// Until the request can go out, libcurl's connect time-out watches the connection.
bool DownloadWorker::silentTooLong() const {
    return requestReady_ && Clock::now() - lastActivity_ >= params_.limits.silenceTimeout;
}

void DownloadWorker::collectCompletion() {
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_, &left)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == easy_) {
            transferDone_ = true;
            transferCode_ = message->data.result;
        }
    }
}

DownloadWorker::StepOutcome DownloadWorker::waitForStep(bool (DownloadWorker::*reached)() const) {
    for (;;) {
        if ((this->*reached)()) {
            return StepOutcome::Reached;
        }
        if (multiFailed_) {
            return StepOutcome::CallFailed;
        }
        if (transferDone_) {
            return StepOutcome::TransferFailed;
        }
        if (waitForSignal(true) == WaitResult::Cancel) {
            return StepOutcome::Cancelled;
        }
    }
}

bool DownloadWorker::requestSent() const {
    return requestReady_ && !(transferDone_ && transferCode_ == CURLE_SEND_ERROR);
}

void DownloadWorker::reportProgressIfDue() {
    const auto now = Clock::now();
    const double elapsed = std::chrono::duration<double, std::milli>(now - lastReport_).count();
    if (now - lastReport_ <= kReportInterval) {
        return;
    }
    const double kilobytes = static_cast<double>(received_ - receivedAtLastReport_) / 1024.0;
    shared_.speed.store(static_cast<float>(kilobytes / elapsed * 1000.0));
    report(ProgressEvent::Progress);
    lastReport_ = Clock::now();
    receivedAtLastReport_ = received_;
}

void DownloadWorker::report(ProgressEvent event) {
    if (params_.callback) {
        params_.callback(params_.userData, event, shared_.snapshot());
    }
}

}  // namespace tamrivo
