#include "net/http_client.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <string>
#include <thread>

#include "tests/support/raw_http_listener.h"

namespace tamrivo {
namespace {

using testing::RawHttpListener;

const std::string kDefaultHeaderBlock = std::string(kDefaultAcceptLine) +
                                        kDefaultAcceptLanguageLine +
                                        "User-Agent: " + kDefaultUserAgent + "\r\n";

// Exact header blocks are asked of "localhost": the cookie tests, which may run in the same
// process, set their cookies for 127.0.0.1.
std::string loopback(int port, const std::string& path) {
    return "http://localhost:" + std::to_string(port) + path;
}

std::string hostLine(int port) {
    return "Host: localhost:" + std::to_string(port) + "\r\n";
}

Text asText(const Bytes& body) {
    return Text(body.begin(), body.end());
}

Bytes get(const Text& url, Text& headers, const Text& proxy = {}) {
    return fetchPage({.url = url, .proxy = proxy}, &headers);
}

TEST(FetchPage, GetSendsTheDefaultHeaderBlockAndReturnsBodyAndRawHeaders) {
    RawHttpListener server(RawHttpListener::reply("X-Note: one\r\n", "hello"));
    Text headers;
    const Bytes body = get(loopback(server.port(), "/Auto.php?Name=Value"), headers);

    EXPECT_EQ(asText(body), "hello");
    EXPECT_EQ(headers,
              "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nConnection: close\r\nX-Note: one\r\n\r\n");
    const auto requests = server.waitForRequests(1);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], "GET /Auto.php?Name=Value HTTP/1.1\r\n" + hostLine(server.port()) +
                               kDefaultHeaderBlock + "\r\n");
}

TEST(FetchPage, PostSendsRefererContentTypeAndBodyWithTheGivenHeaders) {
    RawHttpListener server(RawHttpListener::reply("", "done"));
    Text headers;
    const Bytes body = fetchPage({.url = loopback(server.port(), "/form"),
                                  .method = "POST",
                                  .postData = "a=1&b=%E4",
                                  .accept = Text("text/html"),
                                  .userAgent = Text("Tamrivo/1"),
                                  .referer = Text("http://from.example/"),
                                  .acceptLanguage = Text("en")},
                                 &headers);

    EXPECT_EQ(asText(body), "done");
    const auto requests = server.waitForRequests(1);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], "POST /form HTTP/1.1\r\n" + hostLine(server.port()) +
                               "Accept: text/html\r\n"
                               "Referer: http://from.example/\r\n"
                               "Accept-Language: en\r\n"
                               "User-Agent: Tamrivo/1\r\n"
                               "Content-Type: application/x-www-form-urlencoded\r\n"
                               "Content-Length: 9\r\n"
                               "\r\n"
                               "a=1&b=%E4");
}

TEST(FetchPage, PresentEmptyHeadersAreSentEmptyAndTheMethodAsWritten) {
    RawHttpListener server(RawHttpListener::reply("", ""));
    Text headers;
    fetchPage({.url = loopback(server.port(), "/"),
               .method = "get",
               .accept = Text(),
               .referer = Text(),
               .acceptLanguage = Text()},
              &headers);

    const auto requests = server.waitForRequests(1);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], "get / HTTP/1.1\r\n" + hostLine(server.port()) +
                               "Accept:\r\nReferer:\r\nAccept-Language:\r\nUser-Agent: " +
                               kDefaultUserAgent + "\r\n\r\n");
}

TEST(FetchPage, OtherMethodsSendNothingAndLeaveTheHeadersUntouched) {
    RawHttpListener server(RawHttpListener::reply("", "body"));
    Text headers = "before";
    EXPECT_TRUE(
        fetchPage({.url = loopback(server.port(), "/put"), .method = "PUT", .postData = "x"},
                  &headers)
            .empty());
    EXPECT_EQ(headers, "before");

    get(loopback(server.port(), "/after"), headers);
    const auto requests = server.waitForRequests(1);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_TRUE(requests[0].starts_with("GET /after ")) << requests[0];
}

TEST(FetchPage, PlainRequestsGoThroughTheProxyUnlessItIsBlank) {
    RawHttpListener proxy(RawHttpListener::reply("", "via proxy"));
    Text headers;
    const Bytes body = get("http://Update.Example.invalid:81/autoUpdate.php?v=1", headers,
                           "127.0.0.1:" + std::to_string(proxy.port()));
    EXPECT_EQ(asText(body), "via proxy");
    const auto requests = proxy.waitForRequests(1);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_TRUE(requests[0].starts_with(
        "GET http://update.example.invalid:81/autoUpdate.php?v=1 HTTP/1.1\r\n"))
        << requests[0];

    RawHttpListener direct(RawHttpListener::reply("", "direct"));
    EXPECT_EQ(asText(get(loopback(direct.port(), "/"), headers, " \xA1\xA1  ")), "direct");
}

TEST(FetchPage, ErrorPagesAreReturnedLikeAnyOtherBody) {
    httplib::Server server;
    server.Get("/missing", [](const httplib::Request&, httplib::Response& response) {
        response.status = 404;
        response.set_content("not here", "text/plain");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread serving([&] { server.listen_after_bind(); });

    Text headers;
    EXPECT_EQ(asText(get(loopback(port, "/missing"), headers)), "not here");
    EXPECT_TRUE(headers.starts_with("HTTP/1.1 404 ")) << headers;

    server.stop();
    serving.join();
}

}  // namespace
}  // namespace tamrivo
