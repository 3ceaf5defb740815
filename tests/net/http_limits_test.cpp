#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

#include <stop_token>
#include <string>
#include <thread>

#include "net/http_client.h"
#include "tests/support/loopback_server.h"
#include "tests/support/raw_http_listener.h"
#include "tests/support/trickle_listener.h"

namespace tamrivo {
namespace {

using testing::LoopbackServer;
using testing::RawHttpListener;
using namespace std::chrono_literals;

Bytes get(const std::string& url, Text& headers, std::stop_token stop = {},
          const FetchLimits& limits = {}) {
    return fetchPage({.url = url, .limits = limits}, &headers, stop);
}

std::string loopback(int port) {
    return "http://127.0.0.1:" + std::to_string(port) + "/";
}

TEST(FetchLimits, ARefusedConnectionGivesAnEmptyBody) {
    int port = 0;
    {
        RawHttpListener closed;
        port = closed.port();
    }
    Text headers = "stale";
    EXPECT_TRUE(get(loopback(port), headers).empty());
    EXPECT_EQ(headers, "");
}

TEST(FetchLimits, ASilentServerRunsIntoTheReceiveTimeOut) {
    RawHttpListener silent;
    FetchLimits limits;
    limits.receiveTimeout = std::chrono::milliseconds(200);
    Text headers;
    EXPECT_TRUE(get(loopback(silent.port()), headers, {}, limits).empty());
    EXPECT_EQ(silent.waitForRequests(1).size(), 1u);
}

TEST(FetchLimits, AServerTricklingAByteEveryTwoSecondsRunsIntoTheTotalTimeOut) {
    // Never silent for long enough for the receive time-out, and a thousand bytes long.
    testing::TrickleListener trickle({}, RawHttpListener::reply("", std::string(1000, 'x')),
                                     2000ms);
    FetchLimits limits;
    limits.totalTimeout = 3000ms;
    // A fetch the limit does not end is stopped after a while, and the test fails.
    std::stop_source giveUp;
    std::jthread overdue([&giveUp](std::stop_token finished) {
        std::mutex mutex;
        std::condition_variable_any wake;
        std::unique_lock lock(mutex);
        if (!wake.wait_for(lock, finished, 20s, [&] { return finished.stop_requested(); })) {
            giveUp.request_stop();
        }
    });
    const auto started = std::chrono::steady_clock::now();
    Text headers;
    const Bytes body = get(trickle.url("/"), headers, giveUp.get_token(), limits);
    const auto took = std::chrono::steady_clock::now() - started;
    overdue.request_stop();
    overdue.join();
    EXPECT_FALSE(giveUp.stop_requested()) << "the fetch outlived its limit";
    EXPECT_GE(took, 2500ms) << "the total time-out, not an error, ends it";
    EXPECT_LT(took, 6000ms);
    EXPECT_LT(body.size(), 1000u);
}

TEST(FetchLimits, AStopRequestEndsAFetchThatWaitsOnASilentServer) {
    RawHttpListener silent;
    std::stop_source stop;
    Bytes body = {1};
    std::thread fetching([&] {
        Text headers;
        body = get(loopback(silent.port()), headers, stop.get_token());
    });
    ASSERT_EQ(silent.waitForRequests(1).size(), 1u);
    stop.request_stop();
    fetching.join();
    EXPECT_TRUE(body.empty());
}

TEST(FetchLimits, ABodyOverTheLimitGivesAnEmptyBody) {
    LoopbackServer server;
    server.routes().Get("/big", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(std::string(5000, 'x'), "text/plain");
    });
    server.start();
    FetchLimits limits;
    limits.maxBodyBytes = 4999;
    Text headers;
    EXPECT_TRUE(get(server.url("/big"), headers, {}, limits).empty());
    limits.maxBodyBytes = 5000;
    EXPECT_EQ(get(server.url("/big"), headers, {}, limits).size(), 5000u);
}

TEST(FetchLimits, RedirectsAreFollowedAndTheFinalHeadersKept) {
    LoopbackServer server;
    server.routes().Get("/old", [](const httplib::Request&, httplib::Response& response) {
        response.set_redirect("/new");
    });
    server.routes().Get("/new", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("moved here", "text/plain");
    });
    server.start();
    Text headers;
    const Bytes body = get(server.url("/old"), headers);
    EXPECT_EQ(Text(body.begin(), body.end()), "moved here");
    EXPECT_TRUE(headers.starts_with("HTTP/1.1 200 ")) << headers;
    EXPECT_EQ(headers.find("Location"), Text::npos) << headers;
}

}  // namespace
}  // namespace tamrivo
