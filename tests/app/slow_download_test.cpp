// The package download's own limits at their real values, against a server that stays alive
// but never gets anywhere: it must end with the error line, not run on for ever.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>

#include "app/update_download_view.h"
#include "base/text_encoding.h"
#include "tests/app/download_window_services.h"
#include "tests/support/raw_http_listener.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/test_keys.h"
#include "tests/support/trickle_listener.h"

namespace tamrivo {
namespace {

using namespace std::chrono_literals;

constexpr char kErrorLine[] = "新版本下载错误,请联系作者 QQ:800018888\r\n";

// Serves a package of the given length in pieces, a pause before each, and downloads it as
// the upgrade button does, at the program's own limits.
class SlowPackageDownload : public ::testing::Test {
protected:
    // How long the download took to end with the error line.
    std::chrono::steady_clock::duration downloadTrickled(std::size_t length, std::size_t piece,
                                                         std::chrono::milliseconds pause) {
        const std::string package = testing::servedBody(length);
        const std::string reply = testing::RawHttpListener::reply("", package);
        const std::size_t head = reply.find("\r\n\r\n") + 4;
        testing::TrickleListener trickle(reply.substr(0, head), reply.substr(head), pause, piece);
        services.directory = utf8ToGbk(folder.path().string());

        const auto started = std::chrono::steady_clock::now();
        startUpdateDownload(
            services, downloader, {.update = 7, .main = 3},
            testing::offeredPackage({"1.0.1.0", "", trickle.url("/up.zip"), package}),
            testing::publisherKeys().publicPem);
        EXPECT_TRUE(services.waitForLogLine(kErrorLine, 1, 300s));
        const auto took = std::chrono::steady_clock::now() - started;
        downloader.stop();
        EXPECT_EQ(downloader.getState().result, kDownloadReadFailed);
        EXPECT_TRUE(services.startedPrograms().empty());
        return took;
    }

    testing::TemporaryFolder folder;
    testing::DownloadWindowServices services;
    Downloader downloader;
};

// One byte every two seconds never reaches the silence limit; the lowest speed over its
// window ends it.
TEST_F(SlowPackageDownload, TricklingAByteEveryTwoSecondsEndsAtTheLowestSpeedWindow) {
    const auto took = downloadTrickled(4000, 1, 2000ms);
    EXPECT_GE(took, kLowSpeedWindow - 5s) << "the real window, not a shortened one";
    EXPECT_LT(took, kLowSpeedWindow + 30s);
}

// A download given no limits of its own gets the lowest speed all the same: nothing built
// on the Downloader waits for ever on a server that trickles.
TEST(SlowDownload, ADownloadAtTheDefaultLimitsEndsAtTheLowestSpeedWindow) {
    const std::string reply = testing::RawHttpListener::reply("", std::string(4000, 'x'));
    const std::size_t head = reply.find("\r\n\r\n") + 4;
    testing::TrickleListener trickle(reply.substr(0, head), reply.substr(head), 2000ms, 1);
    testing::TemporaryFolder folder;
    std::promise<std::int32_t> ended;
    DownloadParams params;
    params.url = trickle.url("/page");
    params.filePath = utf8ToGbk(folder.file("page"));
    params.callback = [&ended](std::int32_t, ProgressEvent event, const DownloadState& state) {
        if (event == ProgressEvent::Finished) {
            ended.set_value(state.result);
        }
    };
    Downloader downloader;
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(downloader.start(params, true), kStartOk);
    std::future<std::int32_t> result = ended.get_future();
    ASSERT_EQ(result.wait_for(kLowSpeedWindow + 30s), std::future_status::ready);
    EXPECT_EQ(result.get(), kDownloadReadFailed);
    EXPECT_GE(std::chrono::steady_clock::now() - started, kLowSpeedWindow - 5s);
    downloader.stop();
}

// Bursts of 8 KiB every 25 seconds keep the server inside the silence limit and, each time,
// above the lowest speed; the whole duration, sized from the stated 48 KiB, ends it long
// before its last byte would come.
TEST_F(SlowPackageDownload, BurstsThatKeepTheOtherLimitsAtBayEndAtTheWholeDuration) {
    constexpr std::size_t kLength = 48 << 10;
    const auto limit = packageDownloadLimits(kLength).totalTimeout;
    const auto took = downloadTrickled(kLength, 8 << 10, 25000ms);
    EXPECT_GE(took, limit - 5s) << "the real duration, not a shortened one";
    EXPECT_LT(took, limit + 30s);
}

}  // namespace
}  // namespace tamrivo
