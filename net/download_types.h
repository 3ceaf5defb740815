#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <limits>

#include "base/value_types.h"

namespace tamrivo {

// How far a download got. The stage word doubles as the readiness flag: 0 means the
// downloader cannot be used. It keeps its last value after the worker ends.
enum class DownloadStage : std::int32_t {
    NotReady = 0,
    Ready = 1,
    WorkerStarted = 2,
    UrlSplit = 3,
    HandleOpened = 4,
    CallbacksRegistered = 5,
    Connected = 6,
    RequestOpened = 7,
    SendingRequest = 8,
    RequestSent = 9,
    HeadersReceived = 10,
    LengthKnown = 11,
    FileCreated = 12,
    Reading = 13,
    WaitingForData = 14,
    ChunkWritten = 15,
};

// How the last download ended.
enum DownloadResult : std::int32_t {
    kDownloadSucceeded = 0,
    kDownloadCancelled = 1,
    kDownloadBadUrl = -1,
    kDownloadCannotOpenHandle = -2,  // also for a proxy type outside 0 to 3
    kDownloadCannotRegisterCallbacks = -3,
    kDownloadConnectFailed = -4,
    kDownloadCannotOpenRequest = -5,
    kDownloadSendNotStarted = -6,
    kDownloadSendFailed = -7,
    kDownloadResponseNotStarted = -8,
    kDownloadResponseFailed = -9,
    kDownloadCannotCreateFile = -10,
    kDownloadReadNotStarted = -11,
    kDownloadReadFailed = -12,
    kDownloadWriteFailed = -13,
    kDownloadWriteShort = -14,
    kDownloadTooLarge = -15,  // the body is longer than DownloadLimits::maxBytes
};

// Refusals of Downloader::start.
enum DownloadStartCode : std::int32_t {
    kStartOk = 0,
    kStartNotReady = -1,
    kStartFileExists = -2,
    kStartPaused = -3,
    kStartStopFailed = -4,
    kStartNoThread = -5,
};

// What the worker tells the callback, in this order (Progress may repeat, or not come at all).
enum class ProgressEvent : std::int32_t {
    Sending = 1,          // just before the request goes out
    Sent = 2,             // the request is out
    EndingRequest = 3,    // waiting for the response from here on
    HeadersReceived = 4,  // the final response's headers are in
    LengthKnown = 5,      // state.totalBytes holds the Content-Length (0 when there is none)
    Progress = 6,         // state.receivedBytes, totalBytes and speed are current
    EndOfData = 7,        // the whole body is written
    Finished = 8,         // state.result holds the DownloadResult; the worker is about to end
};

// A copy of the record the worker shares with every other thread.
struct DownloadState {
    DownloadStage stage = DownloadStage::NotReady;
    std::int32_t result = kDownloadSucceeded;
    std::int64_t totalBytes = 0;     // Content-Length, 0 when the response has none
    std::int64_t receivedBytes = 0;  // written to the file so far
    std::int32_t paused = 0;
    std::int32_t cancelRequested = 0;
    float speed = 0.0F;  // KB per second over the last report interval
};

// Called on the worker thread with the userData given to start and a copy of the state
// taken as the event is raised.
using DownloadCallback =
    std::function<void(std::int32_t userData, ProgressEvent event, const DownloadState& state)>;

enum ProxyType : std::int32_t {
    kProxyDirect = 0,
    kProxySystem = 1,  // the proxy variables of the environment
    kProxyHttp = 2,
    kProxySocks = 3,
};

// A download slower than this, over a whole window, ends as failed, so that no download,
// whatever it is built for, can wait for ever on a server that trickles.
inline constexpr std::int64_t kLowestDownloadSpeed = 1024;  // bytes a second
inline constexpr std::chrono::seconds kLowSpeedWindow{60};

// How long a download may wait, and how much it may write. Silence counts from the moment
// the request can go out, and stops counting while the download is paused; the lowest speed
// and the whole duration count from the start, pauses included.
struct DownloadLimits {
    std::chrono::milliseconds connectTimeout{10000};  // name lookup and connection
    std::chrono::milliseconds silenceTimeout{30000};  // no byte from the server for so long
    std::int64_t lowestSpeed = kLowestDownloadSpeed;  // bytes a second, 0 for none: a download
    std::chrono::seconds lowSpeedWindow = kLowSpeedWindow;  // slower for a whole window fails
    std::chrono::milliseconds totalTimeout{0};              // the whole download, 0 for no limit
    std::int64_t maxBytes = std::numeric_limits<std::int64_t>::max();
};

struct DownloadParams {
    Text url;  // http:// or https://
    Text userAgent;
    std::int32_t proxyType = kProxyDirect;
    Text proxyAddress;   // host:port, for the HTTP and SOCKS proxies
    Text proxyUser;      // HTTP proxy only
    Text proxyPassword;  // HTTP proxy only
    Text filePath;
    DownloadCallback callback;
    std::int32_t userData = 0;
    DownloadLimits limits;
};

}  // namespace tamrivo
