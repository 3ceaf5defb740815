#include "net/url_parts.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace tamrivo {
namespace {

constexpr std::string_view kHttps = "https://";
constexpr std::string_view kHttp = "http://";

Text lowerCase(Text text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return text;
}

bool startsWithIgnoringCase(const Text& text, std::string_view prefix) {
    return lowerCase(text.substr(0, prefix.size())) == prefix;
}

// 0-based index where the host starts: after the scheme, or at the start without one.
std::size_t hostStart(const Text& url) {
    if (startsWithIgnoringCase(url, kHttps)) {
        return kHttps.size();
    }
    return startsWithIgnoringCase(url, kHttp) ? kHttp.size() : 0;
}

// Leading decimal number of the text truncated to an integer; 0 when it has none.
int leadingNumber(std::string_view text) {
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (!std::isfinite(value) || std::fabs(value) > 2147483647.0) {
        return 0;
    }
    return static_cast<int>(value);
}

}  // namespace

bool isSecureUrl(const Text& url) {
    return startsWithIgnoringCase(url, kHttps);
}

Text urlHost(const Text& url, bool withPort) {
    const std::size_t start = std::min(hostStart(url), url.size());
    const std::size_t slash = url.find('/', start);
    Text host = url.substr(start, slash == Text::npos ? Text::npos : slash - start);
    if (!withPort) {
        host = host.substr(0, host.find(':'));
    }
    return lowerCase(std::move(host));
}

int urlPort(const Text& url) {
    const Text host = urlHost(url, true);
    const std::size_t colon = host.find(':');
    if (colon != Text::npos) {
        return leadingNumber(std::string_view(host).substr(colon + 1));
    }
    return isSecureUrl(url) ? 443 : 80;
}

Text urlPath(const Text& url) {
    const std::size_t slash = url.find('/', std::min(hostStart(url), url.size()));
    return slash == Text::npos ? Text("/") : url.substr(slash);
}

}  // namespace tamrivo
