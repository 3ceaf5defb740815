#include "net/update_checker.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "net/update_endpoint.h"
#include "net/url_parts.h"
#include "recording_services.h"
#include "tests/support/loopback_server.h"
#include "tests/support/raw_http_listener.h"

namespace tamrivo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::LoopbackServer;
using testing::RawHttpListener;
using testing::RecordingServices;
using testing::ServiceCall;

constexpr WindowHandle kMainWindow = 7;
constexpr WindowHandle kUpdateWindow = 9;
constexpr char kRunning[] = "1.0.0.0";

ServiceCall status(const Text& text) {
    return {.kind = "statusText",
            .window = kMainWindow,
            .control = "状态条1",
            .text = text,
            .number = 5};
}

const ServiceCall kChecking = status("正在检测升级..请稍后");
const ServiceCall kNewVersionBox = {.kind = "messageBox",
                                    .control = "信息：",
                                    .text = "发现新版本,如果需要更新,请手动点击升级按钮进行升级!",
                                    .number = kMessageOk};

ServiceCall logText(const Text& text) {
    return {.kind = "setText", .window = kUpdateWindow, .control = "编辑框1", .text = text};
}

const ServiceCall kUpgradeEnabled = {
    .kind = "setDisabled", .window = kUpdateWindow, .control = "按钮_升级", .number = 0};

Text reply(const Text& version) {
    return R"({"软件名称":"Tamrivo","版本":")" + version +
           R"(","更新说明":"修复若干问题","更新地址":"http://example.invalid/up.zip","签名":"5ec"})";
}

// The update server on loopback, answering every check with the same body.
class UpdateCheck : public ::testing::Test {
protected:
    void serve(const std::string& body) {
        server_.routes().Get("/autoUpdate.php",
                             [body](const httplib::Request&, httplib::Response& response) {
                                 response.set_content(body, "application/json");
                             });
        server_.start();
        checker_ =
            std::make_unique<UpdateChecker>(services_, server_.url("/autoUpdate.php"), kRunning);
    }

    std::vector<ServiceCall> startupReport(const std::string& body) {
        serve(body);
        checker_->checkOnStartup(kMainWindow);
        checker_->waitForChecks();
        return services_.calls();
    }

    std::vector<ServiceCall> updateWindowReport(const std::string& body) {
        serve(body);
        checker_->checkInUpdateWindow(kUpdateWindow);
        checker_->waitForChecks();
        return services_.calls();
    }

    RecordingServices services_;
    LoopbackServer server_;
    std::unique_ptr<UpdateChecker> checker_;
};

TEST_F(UpdateCheck, StartupWithTheRunningVersionShowsAdmin) {
    EXPECT_THAT(startupReport(reply(kRunning)), ElementsAre(kChecking, status("admin")));
}

TEST_F(UpdateCheck, StartupWithAnotherVersionSaysSoAndShowsTheMessage) {
    EXPECT_THAT(startupReport(reply("1.0.0.0 ")),
                ElementsAre(kChecking, status("有新版本可以升级"), kNewVersionBox));
}

TEST_F(UpdateCheck, StartupWithoutAVersionCountsAsANewVersion) {
    EXPECT_THAT(startupReport(R"({"更新说明":"x"})"),
                ElementsAre(kChecking, status("有新版本可以升级"), kNewVersionBox));
}

TEST_F(UpdateCheck, StartupWithAnArrayOrANumberCountsAsANewVersion) {
    EXPECT_THAT(startupReport("[1,2]"),
                ElementsAre(kChecking, status("有新版本可以升级"), kNewVersionBox));
}

TEST_F(UpdateCheck, StartupWithoutUsableReplyKeepsSayingItIsChecking) {
    for (const std::string& body :
         {std::string("<html>busy</html>"), std::string("(function(){return {}})()"),
          Text(10000, '[') + Text(10000, ']'), std::string("{\"版本\":\"\x81\x20\"}"),
          std::string()}) {
        RecordingServices services;
        LoopbackServer server;
        server.routes().Get("/autoUpdate.php",
                            [body](const httplib::Request&, httplib::Response& response) {
                                response.set_content(body, "text/plain");
                            });
        server.start();
        UpdateChecker checker(services, server.url("/autoUpdate.php"), kRunning);
        checker.checkOnStartup(kMainWindow);
        checker.waitForChecks();
        EXPECT_THAT(services.calls(), ElementsAre(kChecking)) << body.substr(0, 40);
    }
}

TEST_F(UpdateCheck, StartupWithAHugeReplyGivesUpOnIt) {
    // Valid JSON, but a hundred megabytes of it: more than a page fetch takes in.
    constexpr std::size_t kSize = std::size_t{100} << 20;
    server_.routes().Get(
        "/autoUpdate.php", [](const httplib::Request&, httplib::Response& response) {
            response.set_content_provider(
                kSize, "application/json",
                [](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                    const std::string tail = R"({"版本":"9"})";
                    const std::size_t blanks = kSize - tail.size();
                    std::string chunk;
                    if (offset < blanks) {
                        chunk.assign(std::min<std::size_t>(
                                         length, std::min<std::size_t>(blanks - offset, 1 << 16)),
                                     ' ');
                    } else {
                        chunk = tail.substr(offset - blanks);
                    }
                    return sink.write(chunk.data(), chunk.size());
                });
        });
    server_.start();
    checker_ = std::make_unique<UpdateChecker>(services_, server_.url("/autoUpdate.php"), kRunning);
    checker_->checkOnStartup(kMainWindow);
    checker_->waitForChecks();
    EXPECT_THAT(services_.calls(), ElementsAre(kChecking));
}

TEST_F(UpdateCheck, StartupWithoutServerKeepsSayingItIsChecking) {
    int port = 0;
    {
        RawHttpListener closed;
        port = closed.port();
    }
    UpdateChecker checker(services_, "http://127.0.0.1:" + std::to_string(port) + "/autoUpdate.php",
                          kRunning);
    checker.checkOnStartup(kMainWindow);
    checker.waitForChecks();
    EXPECT_THAT(services_.calls(), ElementsAre(kChecking));
}

TEST_F(UpdateCheck, UpdateWindowWithAnotherVersionShowsItAndEnablesTheUpgrade) {
    EXPECT_THAT(updateWindowReport(reply("1.0.0.1")),
                ElementsAre(logText("1.0.0.1\r\n修复若干问题"), kUpgradeEnabled));
    EXPECT_EQ(checker_->updatePackage().url, "http://example.invalid/up.zip");
    EXPECT_EQ(checker_->updatePackage().signature, "5ec");
}

TEST_F(UpdateCheck, UpdateWindowWithoutVersionAndAddressShowsTheNotesAndClearsTheAddress) {
    serve(R"({"更新说明":"只有说明"})");
    checker_->checkInUpdateWindow(kUpdateWindow);
    checker_->waitForChecks();
    EXPECT_THAT(services_.calls(), ElementsAre(logText("\r\n只有说明"), kUpgradeEnabled));
    EXPECT_EQ(checker_->updatePackage().url, "");
    EXPECT_EQ(checker_->updatePackage().signature, "");
}

TEST_F(UpdateCheck, UpdateWindowWithTheRunningVersionSaysSoAndClosesTheWindow) {
    EXPECT_THAT(updateWindowReport(reply(kRunning)),
                ElementsAre(logText("未发现新版本!3秒后自动退出"),
                            ServiceCall{.kind = "destroyWindow", .window = kUpdateWindow}));
}

TEST_F(UpdateCheck, UpdateWindowClosedDuringTheWaitIsNotClosedAgain) {
    serve(reply(kRunning));
    checker_->checkInUpdateWindow(kUpdateWindow);
    services_.waitFor([](const auto& calls) { return !calls.empty(); });
    checker_->stopChecks(kUpdateWindow);
    checker_->waitForChecks();
    EXPECT_THAT(services_.calls(), ElementsAre(logText("未发现新版本!3秒后自动退出")));
}

TEST_F(UpdateCheck, UpdateWindowWithoutUsableReplyStaysAsItOpened) {
    EXPECT_THAT(updateWindowReport("not json"), IsEmpty());
    EXPECT_EQ(checker_->updatePackage().url, "");
}

TEST_F(UpdateCheck, BothChecksRunSideBySide) {
    serve(reply("2.0"));
    checker_->checkOnStartup(kMainWindow);
    checker_->checkInUpdateWindow(kUpdateWindow);
    checker_->waitForChecks();
    const auto calls = services_.calls();
    EXPECT_THAT(calls, ::testing::Contains(status("有新版本可以升级")));
    EXPECT_THAT(calls, ::testing::Contains(logText("2.0\r\n修复若干问题")));
}

TEST(UpdateEndpoint, IsPlainHttpOnPort81WithoutQuery) {
    const Text endpoint = updateEndpoint();
    EXPECT_TRUE(endpoint.starts_with("http://")) << endpoint;
    EXPECT_FALSE(urlHost(endpoint).empty());
    EXPECT_EQ(urlPort(endpoint), 81);
    EXPECT_EQ(urlPath(endpoint), "/autoUpdate.php");
}

TEST(UpdateCheckStop, EndingTheCheckerEndsChecksThatWaitOnASilentServer) {
    RawHttpListener silent;
    RecordingServices services;
    auto checker = std::make_unique<UpdateChecker>(
        services, "http://127.0.0.1:" + std::to_string(silent.port()) + "/autoUpdate.php",
        kRunning);
    checker->checkInUpdateWindow(kUpdateWindow);
    checker->checkOnStartup(kMainWindow);
    ASSERT_EQ(silent.waitForRequests(2).size(), 2u);
    checker.reset();
    EXPECT_THAT(services.calls(), ElementsAre(kChecking));
    EXPECT_TRUE(silent.waitForHangUps(2)) << "both requests were dropped";
}

TEST(UpdateCheckStop, StoppingTheChecksOfTheirWindowsEndsThemWithoutReports) {
    RawHttpListener silent;
    RecordingServices services;
    UpdateChecker checker(services,
                          "http://127.0.0.1:" + std::to_string(silent.port()) + "/autoUpdate.php",
                          kRunning);
    checker.checkInUpdateWindow(kUpdateWindow);
    checker.checkOnStartup(kMainWindow);
    ASSERT_EQ(silent.waitForRequests(2).size(), 2u);
    checker.stopChecks(kUpdateWindow);
    checker.stopChecks(kMainWindow);
    checker.waitForChecks();
    EXPECT_THAT(services.calls(), ElementsAre(kChecking));
    EXPECT_TRUE(silent.waitForHangUps(2)) << "both requests were dropped";
}

}  // namespace
}  // namespace tamrivo
