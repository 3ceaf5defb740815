#include "net/final_response.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace tamrivo {

namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

// "HTTP/1.1 302 Found" or "HTTP/2 200": the number after the first blank, 0 when none.
int statusOf(std::string_view statusLine) {
    const auto blank = statusLine.find(' ');
    if (blank == std::string_view::npos) {
        return 0;
    }
    int status = 0;
    const auto digits = statusLine.substr(blank + 1);
    std::from_chars(digits.data(), digits.data() + digits.size(), status);
    return status;
}

bool isFollowedRedirect(int status, bool hasLocation) {
    return hasLocation && status >= 300 && status < 400;
}

}  // namespace

bool FinalResponseDetector::feed(std::string_view line) {
    if (startsWithNoCase(line, "HTTP/")) {
        status_ = statusOf(line);
        hasLocation_ = false;
        return false;
    }
    if (startsWithNoCase(line, "Location:")) {
        hasLocation_ = true;
        return false;
    }
    const bool blank = line == "\r\n" || line == "\n";
    if (!blank || status_ == 0) {
        return false;
    }
    const bool interim = status_ < 200 || isFollowedRedirect(status_, hasLocation_);
    status_ = 0;  // trailers after the body end with a blank line too
    return !interim;
}

}  // namespace tamrivo
