#include "app/update_check_view.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "net/update_checker.h"
#include "tests/app/recording_services.h"
#include "tests/support/loopback_server.h"
#include "tests/support/raw_http_listener.h"
#include "tests/support/test_keys.h"
#include "ui/windows/main_window.h"
#include "ui/windows/update_window.h"

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
            .control = main_window::kStatusBar,
            .text = text,
            .number = 5};
}

const ServiceCall kChecking = status("正在检测升级..请稍后");
const ServiceCall kCheckFailed = status("检测升级失败");
const ServiceCall kNewVersionBox = {.kind = "messageBox",
                                    .control = "信息：",
                                    .text = "发现新版本,如果需要更新,请手动点击升级按钮进行升级!",
                                    .number = kMessageOk};

ServiceCall logText(const Text& text) {
    return {.kind = "setText",
            .window = kUpdateWindow,
            .control = update_window::kLogEdit,
            .text = text};
}

const ServiceCall kUpgradeEnabled = {.kind = "setDisabled",
                                     .window = kUpdateWindow,
                                     .control = update_window::kUpgradeButton,
                                     .number = 0};

constexpr char kNotes[] = "修复若干问题";
constexpr char kPackageAddress[] = "http://example.invalid/up.zip";
constexpr char kPackage[] = "PK the package";
const ServiceCall kRefused = logText("升级信息未通过发布者的签名校验,不能升级");

testing::OfferedRelease release(const Text& version) {
    return {version, kNotes, kPackageAddress, kPackage};
}

// The reply offering the version, signed by the publisher as the release tool writes it.
Text reply(const Text& version, const release::KeyPair& keys = testing::publisherKeys()) {
    return testing::signedReply(release(version), keys);
}

Text publicKey() {
    return testing::publisherKeys().publicPem;
}

// The checker and the view that shows what it finds, as the program pairs them.
class ShownChecker {
public:
    ShownChecker(WindowServices& services, const Text& endpoint,
                 UpdateDelivery delivery = UpdateDelivery::Download)
        : view_(services, delivery), checker_(endpoint, kRunning, publicKey()) {}

    void checkOnStartup(WindowHandle window) { view_.checkOnStartup(checker_, window); }
    void checkInUpdateWindow(WindowHandle window) { view_.checkInUpdateWindow(checker_, window); }
    void stopChecks(WindowHandle window) { checker_.stopChecks(window); }
    void waitForChecks() { checker_.waitForChecks(); }
    UpdatePackage updatePackage() const { return view_.updatePackage(); }
    UpdateDelivery delivery() const { return view_.delivery(); }

private:
    UpdateCheckView view_;
    UpdateChecker checker_;
};

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
            std::make_unique<ShownChecker>(services_, server_.url("/autoUpdate.php"), delivery_);
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

    UpdateDelivery delivery_ = UpdateDelivery::Download;
    RecordingServices services_;
    LoopbackServer server_;
    std::unique_ptr<ShownChecker> checker_;
};

TEST_F(UpdateCheck, StartupWithTheRunningVersionShowsAdmin) {
    EXPECT_THAT(startupReport(reply(kRunning)), ElementsAre(kChecking, status("admin")));
}

TEST_F(UpdateCheck, StartupWithANewerVersionSaysSoAndShowsTheMessage) {
    EXPECT_THAT(startupReport(reply("1.0.0.10")),
                ElementsAre(kChecking, status("有新版本可以升级"), kNewVersionBox));
}

// A genuine older release is no update: offering it would roll the program back.
TEST_F(UpdateCheck, StartupWithAnOlderSignedVersionShowsAdmin) {
    EXPECT_THAT(startupReport(reply("0.9.0.0")), ElementsAre(kChecking, status("admin")));
}

// What the publisher did not sign offers nothing, as no newer version does: an unsigned
// version, one signed by someone else, notes changed on the way, an array or a number.
TEST_F(UpdateCheck, StartupWithoutThePublishersStatementOffersNothing) {
    Text changedNotes = reply("1.0.0.1");
    changedNotes.replace(changedNotes.find(kNotes), std::string_view(kNotes).size(), "请装旧版");
    const Text unsigned_ = R"({"软件名称":"Tamrivo","版本":"1.0.0.1","更新说明":"x"})";
    for (const Text& body : {unsigned_, reply("1.0.0.1", testing::strangerKeys()), changedNotes,
                             Text(R"({"更新说明":"x"})"), Text("[1,2]")}) {
        RecordingServices services;
        LoopbackServer server;
        server.routes().Get("/autoUpdate.php",
                            [body](const httplib::Request&, httplib::Response& response) {
                                response.set_content(body, "application/json");
                            });
        server.start();
        ShownChecker checker(services, server.url("/autoUpdate.php"));
        checker.checkOnStartup(kMainWindow);
        checker.waitForChecks();
        EXPECT_THAT(services.calls(), ElementsAre(kChecking, status("admin")))
            << body.substr(0, 60);
    }
}

// A check that ended without an answer no longer says it is checking: it says it failed.
TEST_F(UpdateCheck, StartupWithoutUsableReplySaysTheCheckFailed) {
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
        ShownChecker checker(services, server.url("/autoUpdate.php"));
        checker.checkOnStartup(kMainWindow);
        checker.waitForChecks();
        EXPECT_THAT(services.calls(), ElementsAre(kChecking, kCheckFailed)) << body.substr(0, 40);
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
    checker_ = std::make_unique<ShownChecker>(services_, server_.url("/autoUpdate.php"));
    checker_->checkOnStartup(kMainWindow);
    checker_->waitForChecks();
    EXPECT_THAT(services_.calls(), ElementsAre(kChecking, kCheckFailed));
}

TEST_F(UpdateCheck, StartupWithoutServerSaysTheCheckFailed) {
    int port = 0;
    {
        RawHttpListener closed;
        port = closed.port();
    }
    ShownChecker checker(services_, "http://127.0.0.1:" + std::to_string(port) + "/autoUpdate.php");
    checker.checkOnStartup(kMainWindow);
    checker.waitForChecks();
    EXPECT_THAT(services_.calls(), ElementsAre(kChecking, kCheckFailed));
}

TEST_F(UpdateCheck, UpdateWindowWithANewerVersionShowsItAndEnablesTheUpgrade) {
    EXPECT_THAT(updateWindowReport(reply("1.0.0.1")),
                ElementsAre(logText("1.0.0.1\r\n修复若干问题"), kUpgradeEnabled));
    const UpdatePackage package = checker_->updatePackage();
    EXPECT_EQ(package.url, kPackageAddress);
    EXPECT_EQ(package.signature, testing::signatureOf(kPackage));
    EXPECT_EQ(package.statement.size, std::string_view(kPackage).size());
    EXPECT_EQ(package.statement.sha256,
              testing::offeredPackage(release("1.0.0.1")).statement.sha256);
}

// The Debian package's build: apt brings the release, so the window says how and the
// upgrade button stays off; the start-up check and the no-new-version road are unchanged.
TEST_F(UpdateCheck, UpdateWindowOfABuildTheSystemUpdatesNamesTheCommandInsteadOfTheUpgrade) {
    delivery_ = UpdateDelivery::SystemPackages;
    EXPECT_THAT(
        updateWindowReport(reply("1.0.0.1")),
        ElementsAre(logText("1.0.0.1\r\n修复若干问题\r\n\r\n"
                            "新版本随系统的软件更新提供,请在软件更新中安装,或在终端运行:\r\n"
                            "sudo apt update && sudo apt upgrade")));
    EXPECT_EQ(checker_->delivery(), UpdateDelivery::SystemPackages);

    RecordingServices services;
    ShownChecker checker(services, server_.url("/autoUpdate.php"), UpdateDelivery::SystemPackages);
    checker.checkOnStartup(kMainWindow);
    checker.waitForChecks();
    EXPECT_THAT(services.calls(),
                ElementsAre(kChecking, status("有新版本可以升级"), kNewVersionBox));
}

TEST_F(UpdateCheck, UpdateWindowWithAnOlderSignedVersionFindsNoNewVersion) {
    EXPECT_THAT(updateWindowReport(reply("0.9.0.0")),
                ElementsAre(logText("未发现新版本!3秒后自动退出"),
                            ServiceCall{.kind = "destroyWindow", .window = kUpdateWindow}));
}

TEST_F(UpdateCheck, UpdateWindowWithAVersionSignedAsAnotherRefusesItAndClearsThePackage) {
    Text changedVersion = reply("1.0.0.1");
    changedVersion.replace(changedVersion.find("1.0.0.1"), 7, "1.0.0.2");
    EXPECT_THAT(updateWindowReport(changedVersion), ElementsAre(kRefused));
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

TEST_F(UpdateCheck, UpdateWindowWithoutUsableReplySaysTheCheckFailed) {
    EXPECT_THAT(updateWindowReport("not json"),
                ElementsAre(logText("检测升级失败,请检查网络连接后重新打开本窗口")));
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

TEST(UpdateCheckStop, EndingTheCheckerEndsChecksThatWaitOnASilentServer) {
    RawHttpListener silent;
    RecordingServices services;
    auto checker = std::make_unique<ShownChecker>(
        services, "http://127.0.0.1:" + std::to_string(silent.port()) + "/autoUpdate.php");
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
    ShownChecker checker(services,
                         "http://127.0.0.1:" + std::to_string(silent.port()) + "/autoUpdate.php");
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
