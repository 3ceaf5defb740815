#include "net/feed_fetch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "tests/support/loopback_server.h"
#include "tests/support/platform_feeds.h"
#include "tests/support/raw_http_listener.h"
#include "tests/support/trickle_listener.h"

namespace tamrivo {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;
using testing::RawHttpListener;

std::string bodyOf(const FeedFetch& fetched) {
    return {fetched.body.begin(), fetched.body.end()};
}

// Limits that end a bad server's feed within seconds rather than the real minute.
FeedLimits quickLimits() {
    FeedLimits limits;
    limits.maxBytes = 64 * 1024;
    limits.lowSpeedWindow = 2s;
    limits.silenceTimeout = 1500ms;
    limits.totalTimeout = 20s;
    return limits;
}

class FeedFetchTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.routes().Get("/airbnb.ics", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(testing::withCrlf(testing::airbnbFeed()), "text/calendar");
        });
        server.routes().Get("/moved", [this](const httplib::Request&, httplib::Response& res) {
            res.set_redirect(server.url("/airbnb.ics"));
        });
        server.routes().Get("/to-ftp", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("ftp://127.0.0.1/airbnb.ics");
        });
        server.routes().Get("/to-file", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("file:///etc/passwd");
        });
        server.routes().Get("/loop", [this](const httplib::Request&, httplib::Response& res) {
            res.set_redirect(server.url("/loop"));
        });
        server.routes().Get("/big.ics", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(std::string(100 * 1024, 'x'), "text/calendar");
        });
        server.start();
    }

    testing::LoopbackServer server;
};

TEST_F(FeedFetchTest, ACalendarComesBackWholeAlsoThroughARedirect) {
    const FeedFetch direct = fetchFeed(server.url("/airbnb.ics"), {}, quickLimits());
    EXPECT_EQ(direct.error, "");
    EXPECT_EQ(bodyOf(direct), testing::withCrlf(testing::airbnbFeed()));
    const FeedFetch moved = fetchFeed(server.url("/moved"), {}, quickLimits());
    EXPECT_EQ(moved.error, "");
    EXPECT_EQ(bodyOf(moved), bodyOf(direct));
}

TEST_F(FeedFetchTest, OnlyHttpAndHttpsAreFollowed) {
    for (const char* url :
         {"ftp://127.0.0.1/x.ics", "file:///etc/passwd", "webcal://x/y.ics", "/etc/passwd"}) {
        const FeedFetch refused = fetchFeed(url, {}, quickLimits());
        EXPECT_NE(refused.error, "") << url;
        EXPECT_TRUE(refused.body.empty());
    }
    for (const char* path : {"/to-ftp", "/to-file"}) {
        const FeedFetch refused = fetchFeed(server.url(path), {}, quickLimits());
        EXPECT_THAT(refused.error, HasSubstr("http")) << path;
        EXPECT_TRUE(refused.body.empty());
    }
    EXPECT_NE(fetchFeed(server.url("/loop"), {}, quickLimits()).error, "");
}

TEST_F(FeedFetchTest, AnErrorPageOrAnOversizedCalendarIsRefused) {
    const FeedFetch missing = fetchFeed(server.url("/nothing-here"), {}, quickLimits());
    EXPECT_THAT(missing.error, HasSubstr("404"));
    EXPECT_TRUE(missing.body.empty());
    const FeedFetch big = fetchFeed(server.url("/big.ics"), {}, quickLimits());
    EXPECT_THAT(big.error, HasSubstr("MB"));
    EXPECT_TRUE(big.body.empty());

    // Without a length announced the body is cut off all the same.
    RawHttpListener chunked("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" +
                            std::string(100 * 1024, 'x'));
    const FeedFetch unannounced = fetchFeed(
        "http://127.0.0.1:" + std::to_string(chunked.port()) + "/x.ics", {}, quickLimits());
    EXPECT_THAT(unannounced.error, HasSubstr("MB"));
    EXPECT_TRUE(unannounced.body.empty());
}

TEST(FeedFetchLimits, ASilentServerIsGivenUpOn) {
    RawHttpListener silent;  // takes the request and never answers
    const auto started = std::chrono::steady_clock::now();
    const FeedFetch refused = fetchFeed(
        "http://127.0.0.1:" + std::to_string(silent.port()) + "/x.ics", {}, quickLimits());
    EXPECT_NE(refused.error, "");
    EXPECT_TRUE(refused.body.empty());
    EXPECT_LT(std::chrono::steady_clock::now() - started, 15s) << "long before the total limit";
}

TEST(FeedFetchLimits, AServerTricklingBelowTheLowestSpeedIsRefused) {
    // Fifty bytes every tenth of a second: never silent, far below a kilobyte a second.
    testing::TrickleListener trickle({}, RawHttpListener::reply("", std::string(60 * 1024, 'x')),
                                     100ms, 50);
    const FeedFetch refused = fetchFeed(trickle.url("/x.ics"), {}, quickLimits());
    EXPECT_THAT(refused.error, HasSubstr("慢"));
    EXPECT_TRUE(refused.body.empty());
}

TEST(FeedFetchLimits, AStopRequestEndsThePullAtOnce) {
    RawHttpListener silent;
    std::stop_source stop;
    std::jthread stopper([&stop] {
        std::this_thread::sleep_for(200ms);
        stop.request_stop();
    });
    FeedLimits patient = quickLimits();
    patient.silenceTimeout = 60s;
    const auto started = std::chrono::steady_clock::now();
    const FeedFetch stopped = fetchFeed(
        "http://127.0.0.1:" + std::to_string(silent.port()) + "/x.ics", stop.get_token(), patient);
    EXPECT_NE(stopped.error, "");
    EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
}

}  // namespace
}  // namespace tamrivo
