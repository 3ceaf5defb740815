#include "net/final_response.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string_view>

namespace tamrivo {
namespace {

// The number of the line (from 1) at which the detector reports the final headers, 0 if none.
int finalLineOf(std::initializer_list<std::string_view> lines) {
    FinalResponseDetector detector;
    int number = 0;
    for (const std::string_view line : lines) {
        ++number;
        if (detector.feed(line)) {
            return number;
        }
    }
    return 0;
}

TEST(FinalResponseDetectorTest, InterimResponsesAndFollowedRedirectsComeFirst) {
    EXPECT_EQ(finalLineOf({"HTTP/1.1 200 OK\r\n", "Content-Length: 5\r\n", "\r\n"}), 3);
    EXPECT_EQ(finalLineOf({"HTTP/1.1 100 Continue\r\n", "\r\n", "HTTP/1.1 200 OK\r\n", "\r\n"}), 4);
    EXPECT_EQ(finalLineOf(
                  {"HTTP/1.1 302 Found\r\n", "location: /a\r\n", "\r\n", "HTTP/2 404\r\n", "\r\n"}),
              5);
    EXPECT_EQ(finalLineOf({"HTTP/1.1 302 Found\r\n", "\r\n"}), 2)
        << "a redirect without a place to go is the answer";
    EXPECT_EQ(finalLineOf({"HTTP/1.0 200 OK\n", "\n"}), 2);
}

TEST(FinalResponseDetectorTest, TrailersAfterTheBodyDoNotCountAgain) {
    FinalResponseDetector detector;
    EXPECT_FALSE(detector.feed("HTTP/1.1 200 OK\r\n"));
    EXPECT_TRUE(detector.feed("\r\n"));
    EXPECT_FALSE(detector.feed("Checksum: abc\r\n"));
    EXPECT_FALSE(detector.feed("\r\n"));
}

}  // namespace
}  // namespace tamrivo
