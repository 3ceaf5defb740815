#pragma once

#include <optional>
#include <stop_token>

#include "base/value_types.h"
#include "net/http_transfer.h"

namespace tamrivo {

inline constexpr char kDefaultUserAgent[] =
    "Mozilla/5.0 (Windows NT 6.1; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/77.0.3865.90 Safari/537.36";
inline constexpr char kDefaultAcceptLine[] =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
    "application/x-shockwave-flash, application/vnd.ms-excel, application/vnd.ms-powerpoint, "
    "application/msword, */*\r\n";
inline constexpr char kDefaultAcceptLanguageLine[] = "Accept-Language: zh-cn\r\n";

// One HTTP or HTTPS request. method is "GET" (also when empty) or "POST", compared without
// regard to case and sent as written; postData is the body of a POST. proxy is "host:port"
// of an HTTP proxy for plain-HTTP requests; a text of blanks only means none. An absent
// optional header takes its default (no Referer at all); a present empty one is sent with an
// empty value.
struct PageRequest {
    Text url = {};
    Text method = "GET";
    Text postData = {};
    Text proxy = {};
    std::optional<Text> accept = {};
    std::optional<Text> userAgent = {};
    std::optional<Text> referer = {};
    std::optional<Text> acceptLanguage = {};
    FetchLimits limits = {};
};

// Performs the request and returns the response body, whatever its status code; any method
// but GET and POST returns an empty body without sending. responseHeaders, when given,
// receives the raw headers of the final response, CR LF separated, when a request was sent.
//
// Cookies that a response sets go to the process-wide store and back with later requests
// to the same host. A failure gives an empty or partial body; a body over the limit, or a
// fetch ended by a stop request, gives an empty one.
Bytes fetchPage(const PageRequest& request, Text* responseHeaders = nullptr,
                std::stop_token stop = {});

}  // namespace tamrivo
