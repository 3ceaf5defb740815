#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "net/http_client.h"
#include "tests/support/loopback_server.h"

namespace tamrivo {
namespace {

using ::testing::HasSubstr;
using testing::LoopbackServer;
using ::testing::Not;

// Cookies live in one store for the whole process, so each test uses names of its own.
class FetchCookies : public ::testing::Test {
protected:
    void SetUp() override {
        server_.routes().Get(
            "/set", [](const httplib::Request& request, httplib::Response& response) {
                response.set_header("Set-Cookie", request.get_param_value("cookie"));
                response.set_content("set", "text/plain");
            });
        server_.routes().Get(
            "/padded", [](const httplib::Request& request, httplib::Response& response) {
                response.set_header("X-Padding", std::string(3000, 'p'));
                response.set_header("Set-Cookie", request.get_param_value("cookie"));
                response.set_content("padded", "text/plain");
            });
        server_.routes().Get(
            R"(/.*echo)", [](const httplib::Request& request, httplib::Response& response) {
                response.set_content(request.get_header_value("Cookie"), "text/plain");
            });
        server_.start();
    }

    Text fetch(const std::string& path) {
        const Bytes body = fetchPage({.url = server_.url(path)}, &headers_);
        return Text(body.begin(), body.end());
    }

    LoopbackServer server_;
    Text headers_;
};

TEST_F(FetchCookies, ACookieSetByOneResponseGoesBackWithTheNextRequest) {
    EXPECT_THAT(fetch("/echo"), Not(HasSubstr("firstVisit")));
    fetch("/set?cookie=firstVisit%3Dabc");
    EXPECT_THAT(fetch("/echo"), HasSubstr("firstVisit=abc"));
    fetch("/set?cookie=firstVisit%3Dchanged");
    const Text cookies = fetch("/echo");
    EXPECT_THAT(cookies, HasSubstr("firstVisit=changed"));
    EXPECT_THAT(cookies, Not(HasSubstr("firstVisit=abc")));
}

TEST_F(FetchCookies, ACookieWithAPathGoesOnlyToThatPath) {
    fetch("/set?cookie=scoped%3D1%3B%20Path%3D%2Fonly");
    EXPECT_THAT(fetch("/echo"), Not(HasSubstr("scoped=1")));
    EXPECT_THAT(fetch("/only/echo"), HasSubstr("scoped=1"));
}

TEST_F(FetchCookies, LongResponseHeadersComeBackWholeAndTheirCookiesAreKept) {
    EXPECT_EQ(fetch("/padded?cookie=afterPadding%3Dyes"), "padded");
    EXPECT_GT(headers_.size(), 3000u);
    EXPECT_NE(headers_.find("X-Padding: " + std::string(3000, 'p') + "\r\n"), Text::npos);
    EXPECT_NE(headers_.find("Set-Cookie: afterPadding=yes\r\n"), Text::npos);
    EXPECT_TRUE(headers_.ends_with("\r\n\r\n"));
    EXPECT_THAT(fetch("/echo"), HasSubstr("afterPadding=yes"));
}

}  // namespace
}  // namespace tamrivo
