#include "net/feed_fetch.h"

#include <algorithm>
#include <cctype>

#include <curl/curl.h>

#include <memory>
#include <string>

#include "base/text_ops.h"
#include "net/curl_global.h"
#include "net/http_client.h"
#include "net/http_transfer.h"

namespace tamrivo {
namespace {

// libcurl's own words when its size limit ends a transfer: "Maximum file size exceeded" up to
// 8.3, "Exceeded the maximum allowed file size (...)" since.
bool saysFileTooLarge(std::string said) {
    std::transform(said.begin(), said.end(), said.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return said.find("maximum file size") != std::string::npos ||
           said.find("maximum allowed file size") != std::string::npos;
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;

struct Body {
    Bytes bytes;
    std::size_t maxBytes = 0;
    bool overLimit = false;
};

std::size_t appendBody(char* data, std::size_t, std::size_t count, void* target) {
    auto& body = *static_cast<Body*>(target);
    if (count > body.maxBytes - body.bytes.size()) {
        body.overLimit = true;
        return 0;  // ends the transfer
    }
    body.bytes.insert(body.bytes.end(), data, data + count);
    return count;
}

bool isWebUrl(const Text& url) {
    const Text lower = lowerText(url);
    return lower.starts_with("http://") || lower.starts_with("https://");
}

FeedFetch refused(Text reason) {
    return {{}, std::move(reason)};
}

std::string megabytes(std::int64_t bytes) {
    return std::to_string(bytes / (1024 * 1024));
}

// One request, no redirect followed; its status and, for a redirect, where it points.
struct Answer {
    long status = 0;
    std::string location;
    Text error;
};

Answer request(const Text& url, Body& body, std::stop_token stop, const FeedLimits& limits) {
    const EasyHandle easy(curl_easy_init());
    if (!easy) {
        return {0, {}, "无法建立连接"};
    }
    char message[CURL_ERROR_SIZE] = {};
    CURL* handle = easy.get();
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_PROXY, "");
    curl_easy_setopt(handle, CURLOPT_USERAGENT, kDefaultUserAgent);
    curl_easy_setopt(handle, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, message);
    curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBytes));
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, static_cast<long>(limits.lowestSpeed));
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME,
                     static_cast<long>(limits.lowSpeedWindow.count()));
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &body);

    FetchLimits bounds;
    bounds.connectTimeout = limits.connectTimeout;
    bounds.sendTimeout = limits.silenceTimeout;
    bounds.receiveTimeout = limits.silenceTimeout;
    bounds.totalTimeout = limits.totalTimeout;
    const TransferOutcome outcome = runTransfer(handle, stop, bounds);
    Answer answer;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &answer.status);
    const char* location = nullptr;
    curl_easy_getinfo(handle, CURLINFO_REDIRECT_URL, &location);
    answer.location = location != nullptr ? location : "";
    const std::string said(message);
    if (outcome == TransferOutcome::Stopped) {
        answer.error = "已停止";
    } else if (body.overLimit || saysFileTooLarge(said)) {
        answer.error = "日历超过" + megabytes(limits.maxBytes) + " MB";
    } else if (said.find("too slow") != std::string::npos) {
        answer.error = "服务器太慢";
    } else if (outcome == TransferOutcome::Failed && said.empty()) {
        answer.error = "服务器没有回应";
    } else if (outcome == TransferOutcome::Failed) {
        answer.error = "连接失败：" + said;
    }
    return answer;
}

}  // namespace

FeedFetch fetchFeed(const Text& url, std::stop_token stop, const FeedLimits& limits) {
    if (!isWebUrl(url)) {
        return refused("只接受http或https地址");
    }
    ensureCurlInitialised();
    Text address = url;
    for (int redirects = 0;; ++redirects) {
        Body body;
        body.maxBytes = static_cast<std::size_t>(limits.maxBytes);
        Answer answer = request(address, body, stop, limits);
        if (!answer.error.empty()) {
            return refused(std::move(answer.error));
        }
        if (answer.status == 200) {
            return {std::move(body.bytes), {}};
        }
        if (answer.status < 300 || answer.status > 399 || answer.location.empty()) {
            return refused("服务器答复HTTP " + std::to_string(answer.status));
        }
        if (!isWebUrl(answer.location)) {
            return refused("转向了http和https以外的地址");
        }
        if (redirects >= limits.maxRedirects) {
            return refused("转向次数太多");
        }
        address = answer.location;
    }
}

}  // namespace tamrivo
