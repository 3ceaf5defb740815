#include <gtest/gtest.h>

#include <stop_token>
#include <string>
#include <thread>

#include "net/http_client.h"
#include "tests/support/loopback_server.h"
#include "tests/support/raw_http_listener.h"

namespace tamrivo {
namespace {

using testing::LoopbackServer;
using testing::RawHttpListener;

Bytes get(const std::string& url, Text& headers, std::stop_token stop = {},
          const FetchLimits& limits = {}) {
    return fetchPage(url, "GET", {}, {}, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                     headers, stop, limits);
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
