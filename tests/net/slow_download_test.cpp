// The package download's own limits at their real values, against a server that stays alive
// but never gets anywhere: it must end with the error line, not run on for ever.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "net/update_download.h"
#include "tests/net/download_window_services.h"
#include "tests/support/raw_http_listener.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/test_keys.h"
#include "tests/support/trickle_listener.h"
#include "ui/text_encoding.h"

namespace tamrivo {
namespace {

using namespace std::chrono_literals;

constexpr char kErrorLine[] = "新版本下载错误,请联系作者 QQ:800018888\r\n";

// One byte every two seconds never reaches the silence limit; the lowest speed over its
// window ends it.
TEST(SlowPackageDownload, TricklingAByteEveryTwoSecondsEndsAtTheLowestSpeedWindow) {
    const std::string package = testing::servedBody(4000);
    const std::string reply = testing::RawHttpListener::reply("", package);
    const std::size_t head = reply.find("\r\n\r\n") + 5;  // and the body's first byte
    testing::TrickleListener trickle(reply.substr(0, head), reply.substr(head), 2000ms);
    testing::TemporaryFolder folder;
    testing::DownloadWindowServices services;
    services.directory = utf8ToGbk(folder.path().string());
    Downloader downloader;

    const auto started = std::chrono::steady_clock::now();
    startUpdateDownload(services, downloader, {.update = 7, .main = 3},
                        testing::offeredPackage({"1.0.1.0", "", trickle.url("/up.zip"), package}),
                        testing::publisherKeys().publicPem);
    ASSERT_TRUE(services.waitForLogLine(kErrorLine, 1, 180s));
    const auto took = std::chrono::steady_clock::now() - started;
    downloader.stop();

    EXPECT_EQ(downloader.getState().result, kDownloadReadFailed);
    EXPECT_GE(took, kLowSpeedWindow - 5s) << "the real window, not a shortened one";
    EXPECT_LT(took, kLowSpeedWindow + 30s);
    EXPECT_TRUE(services.startedPrograms().empty());
}

}  // namespace
}  // namespace tamrivo
