#include "net/http_client.h"

#include <curl/curl.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "net/cookie_store.h"
#include "net/curl_global.h"
#include "net/url_parts.h"

namespace tamrivo {
namespace {

enum class Method { Get, Post, Unsupported };

Method methodOf(const Text& method) {
    Text upper = method;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    if (upper.empty() || upper == "GET") {
        return Method::Get;
    }
    return upper == "POST" ? Method::Post : Method::Unsupported;
}

// True when the text holds nothing but ASCII blanks and full-width blanks (GBK A1 A1).
bool isBlankOnly(const Text& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ') {
            continue;
        }
        if (text.compare(i, 2, "\xA1\xA1") != 0) {
            return false;
        }
        ++i;
    }
    return true;
}

// One header for libcurl, which takes lines without their CR LF and sends "Name;" as a
// header with an empty value ("Name:" alone would remove it).
std::string headerLine(std::string_view name, const Text& value) {
    return value.empty() ? std::string(name) + ";" : std::string(name) + ": " + value;
}

std::string withoutLineEnd(std::string_view line) {
    return std::string(line.substr(0, line.size() - 2));
}

std::vector<std::string> requestHeaders(Method method, const std::optional<Text>& accept,
                                        const Text& userAgent, const std::optional<Text>& referer,
                                        const std::optional<Text>& acceptLanguage) {
    std::vector<std::string> lines;
    lines.push_back(accept ? headerLine("Accept", *accept) : withoutLineEnd(kDefaultAcceptLine));
    if (referer) {
        lines.push_back(headerLine("Referer", *referer));
    }
    lines.push_back(acceptLanguage ? headerLine("Accept-Language", *acceptLanguage)
                                   : withoutLineEnd(kDefaultAcceptLanguageLine));
    lines.push_back(headerLine("User-Agent", userAgent));
    if (method == Method::Post) {
        lines.emplace_back("Content-Type: application/x-www-form-urlencoded");
    }
    lines.emplace_back("Expect:");  // a POST body goes out at once, without a 100-continue round
    return lines;
}

struct HeaderListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, HeaderListDeleter>;

HeaderList toHeaderList(const std::vector<std::string>& lines) {
    HeaderList list;
    for (const std::string& line : lines) {
        curl_slist* extended = curl_slist_append(list.get(), line.c_str());
        if (extended == nullptr) {
            return {};
        }
        list.release();
        list.reset(extended);
    }
    return list;
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;

struct Response {
    Bytes body;
    Text headers;
    std::size_t maxBodyBytes = 0;
    bool overLimit = false;
};

std::size_t appendBody(char* data, std::size_t, std::size_t count, void* target) {
    auto& response = *static_cast<Response*>(target);
    if (count > response.maxBodyBytes - response.body.size()) {
        response.overLimit = true;
        return 0;  // ends the transfer
    }
    response.body.insert(response.body.end(), data, data + count);
    return count;
}

// Keeps the header lines of the latest response only: a redirect or an interim response
// starts over with its status line.
std::size_t appendHeader(char* data, std::size_t, std::size_t count, void* target) {
    auto& response = *static_cast<Response*>(target);
    const std::string_view line(data, count);
    if (line.starts_with("HTTP/")) {
        response.headers.clear();
    }
    response.headers.append(line);
    return count;
}

// The address libcurl is given: scheme, host and port exactly as the URL helpers read them.
std::string requestUrl(const Text& url) {
    return std::string(isSecureUrl(url) ? "https://" : "http://") + urlHost(url) + ":" +
           std::to_string(urlPort(url)) + urlPath(url);
}

void setMethod(CURL* easy, Method method, const Text& methodText, const Text& postData) {
    if (method == Method::Post) {
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(postData.size()));
        curl_easy_setopt(easy, CURLOPT_COPYPOSTFIELDS, postData.c_str());
    }
    const bool sentAsWritten =
        method == Method::Post ? methodText != "POST" : !methodText.empty() && methodText != "GET";
    if (sentAsWritten) {
        curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, methodText.c_str());
    }
}

void setConnection(CURL* easy, const std::string& address, const Text& url, const Text& proxy) {
    curl_easy_setopt(easy, CURLOPT_URL, address.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    // The proxy serves plain HTTP only; an empty proxy also keeps environment settings out.
    const bool viaProxy = !isBlankOnly(proxy) && !isSecureUrl(url);
    const std::string proxyAddress = viaProxy ? "http://" + proxy : std::string();
    curl_easy_setopt(easy, CURLOPT_PROXY, proxyAddress.c_str());
    curl_easy_setopt(easy, CURLOPT_SHARE, sharedCookieStore());
    curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");
}

}  // namespace

Bytes fetchPage(const PageRequest& request, Text* responseHeaders, std::stop_token stop) {
    const Method kind = methodOf(request.method);
    if (kind == Method::Unsupported) {
        return {};
    }
    ensureCurlInitialised();
    const HeaderList headers = toHeaderList(
        requestHeaders(kind, request.accept, request.userAgent.value_or(kDefaultUserAgent),
                       request.referer, request.acceptLanguage));
    const EasyHandle easy(curl_easy_init());
    if (!easy || !headers) {
        return {};
    }
    Response response;
    response.maxBodyBytes = request.limits.maxBodyBytes;
    setConnection(easy.get(), requestUrl(request.url), request.url, request.proxy);
    setMethod(easy.get(), kind, request.method, request.postData);
    curl_easy_setopt(easy.get(), CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &response);
    curl_easy_setopt(easy.get(), CURLOPT_HEADERFUNCTION, appendHeader);
    curl_easy_setopt(easy.get(), CURLOPT_HEADERDATA, &response);

    const TransferOutcome outcome = runTransfer(easy.get(), stop, request.limits);
    if (responseHeaders != nullptr) {
        *responseHeaders = std::move(response.headers);
    }
    if (outcome == TransferOutcome::Stopped || response.overLimit) {
        return {};
    }
    return std::move(response.body);
}

}  // namespace tamrivo
