#include "net/downloader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>

#include "tests/support/download_recorder.h"
#include "tests/support/download_server.h"
#include "tests/support/file_contents.h"
#include "tests/support/loopback_socket.h"
#include "tests/support/temporary_folder.h"

namespace tamrivo {
namespace {

using testing::DownloadRecorder;
using testing::DownloadServer;
using ::testing::ElementsAre;
using testing::fileHoldsBody;
using testing::readFile;
using testing::TemporaryFolder;
using testing::waitUntil;

constexpr std::int32_t kUserData = 42;

class DownloaderTest : public ::testing::Test {
protected:
    DownloadParams paramsFor(const std::string& url) {
        DownloadParams params;
        params.url = url;
        params.userAgent = "tamrivo-test";
        params.filePath = target;
        params.callback = recorder.callback();
        params.userData = kUserData;
        return params;
    }

    // Starts a download of a path of the test server and waits for its end.
    DownloadState fetch(const std::string& path) { return fetchUrl(server.url(path)); }

    DownloadState fetchUrl(const std::string& url) {
        EXPECT_EQ(downloader.start(paramsFor(url), true), kStartOk);
        EXPECT_TRUE(recorder.waitFinished(++downloads));
        return downloader.getState();
    }

    static bool receivedSome(const Downloader& downloader) {
        return waitUntil([&] { return downloader.getState().receivedBytes > 0; });
    }

    bool receivedFirstGateHalf() {
        return waitUntil([this] {
            return downloader.getState().receivedBytes == DownloadServer::kGateLength / 2;
        });
    }

    TemporaryFolder folder;
    std::string target = folder.file("package.bin");
    DownloadServer server;
    DownloadRecorder recorder;
    Downloader downloader;
    int downloads = 0;
};

TEST_F(DownloaderTest, LargeDownloadArrivesWholeWithItsEventsInOrder) {
    constexpr std::int64_t kLength = 50LL << 20;
    const DownloadState state = fetch("/file/" + std::to_string(kLength));

    EXPECT_EQ(state.result, kDownloadSucceeded);
    EXPECT_EQ(state.totalBytes, kLength);
    EXPECT_EQ(state.receivedBytes, kLength);
    EXPECT_TRUE(fileHoldsBody(target, kLength));
    EXPECT_THAT(recorder.eventsWithoutProgress(), ElementsAre(1, 2, 3, 4, 5, 7, 8));
    const auto events = recorder.events();
    const auto firstProgress = std::find(events.begin(), events.end(), ProgressEvent::Progress);
    EXPECT_GT(firstProgress - events.begin(), 4) << "progress reports come after the length";
    for (const auto& entry : recorder.entries()) {
        EXPECT_EQ(entry.userData, kUserData);
        if (entry.event == ProgressEvent::LengthKnown) {
            EXPECT_EQ(entry.state.totalBytes, kLength);
        }
    }
    EXPECT_EQ(recorder.last().result, kDownloadSucceeded);
}

TEST_F(DownloaderTest, ResponseWithoutLengthHasTotalZero) {
    const DownloadState state = fetch("/chunked/300000");

    EXPECT_EQ(state.result, kDownloadSucceeded);
    EXPECT_EQ(state.totalBytes, 0);
    EXPECT_EQ(state.receivedBytes, 300000);
    EXPECT_TRUE(fileHoldsBody(target, 300000));
}

TEST_F(DownloaderTest, SlowServerGetsProgressReportsWithASpeed) {
    const DownloadState state = fetch("/slow");

    EXPECT_EQ(state.result, kDownloadSucceeded);
    EXPECT_TRUE(fileHoldsBody(target, DownloadServer::kSlowLength));
    std::vector<DownloadState> reports;
    for (const auto& entry : recorder.entries()) {
        if (entry.event == ProgressEvent::Progress) {
            reports.push_back(entry.state);
        }
    }
    ASSERT_FALSE(reports.empty());
    for (const DownloadState& report : reports) {
        EXPECT_EQ(report.stage, DownloadStage::WaitingForData);
        EXPECT_EQ(report.totalBytes, static_cast<std::int64_t>(DownloadServer::kSlowLength));
        EXPECT_GT(report.receivedBytes, 0);
        EXPECT_GT(report.speed, 0.0F);
    }
}

TEST_F(DownloaderTest, PauseHoldsTheTransferAndResumeCompletesIt) {
    ASSERT_EQ(downloader.start(paramsFor(server.url("/gated")), true), kStartOk);
    ASSERT_TRUE(receivedFirstGateHalf());

    EXPECT_TRUE(downloader.pause());
    EXPECT_FALSE(downloader.pause());
    EXPECT_EQ(downloader.getState().paused, 1);
    server.openGate();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(downloader.getState().receivedBytes, DownloadServer::kGateLength / 2)
        << "nothing is read while paused, though the rest of the body is there";

    EXPECT_TRUE(downloader.resume());
    EXPECT_FALSE(downloader.resume());
    ASSERT_TRUE(recorder.waitFinished());
    EXPECT_EQ(downloader.getState().result, kDownloadSucceeded);
    EXPECT_TRUE(fileHoldsBody(target, DownloadServer::kGateLength));
}

TEST_F(DownloaderTest, StopInTheMiddleLeavesThePartialFile) {
    ASSERT_EQ(downloader.start(paramsFor(server.url("/gated")), true), kStartOk);
    ASSERT_TRUE(receivedFirstGateHalf());

    EXPECT_TRUE(downloader.stop());

    EXPECT_EQ(downloader.getState().result, kDownloadCancelled);
    EXPECT_EQ(downloader.getState().cancelRequested, 1);
    EXPECT_EQ(recorder.last().result, kDownloadCancelled);
    EXPECT_TRUE(fileHoldsBody(target, DownloadServer::kGateLength / 2));
    EXPECT_TRUE(downloader.stop()) << "nothing left to stop";
}

TEST_F(DownloaderTest, PausedDownloadIsStoppedAndBlocksStartsUntilResumed) {
    ASSERT_EQ(downloader.start(paramsFor(server.url("/gated")), true), kStartOk);
    ASSERT_TRUE(receivedFirstGateHalf());
    ASSERT_TRUE(downloader.pause());

    EXPECT_EQ(downloader.start(paramsFor(server.url("/file/10")), true), kStartPaused);
    EXPECT_TRUE(downloader.stop());
    EXPECT_EQ(downloader.getState().result, kDownloadCancelled);
    EXPECT_EQ(downloader.start(paramsFor(server.url("/file/10")), true), kStartPaused);

    EXPECT_TRUE(downloader.resume());
    EXPECT_EQ(downloader.start(paramsFor(server.url("/file/10")), true), kStartOk);
    ASSERT_TRUE(recorder.waitFinished(2));
    EXPECT_EQ(downloader.getState().result, kDownloadSucceeded);
    EXPECT_TRUE(fileHoldsBody(target, 10));
}

TEST_F(DownloaderTest, StartingAgainCancelsTheRunningDownloadAndBeginsAfresh) {
    ASSERT_EQ(downloader.start(paramsFor(server.url("/gated")), true), kStartOk);
    ASSERT_TRUE(receivedFirstGateHalf());

    ASSERT_EQ(downloader.start(paramsFor(server.url("/file/1000")), true), kStartOk);
    ASSERT_TRUE(recorder.waitFinished(2));

    std::vector<std::int32_t> results;
    for (const auto& entry : recorder.entries()) {
        if (entry.event == ProgressEvent::Finished) {
            results.push_back(entry.state.result);
        }
    }
    EXPECT_THAT(results, ElementsAre(kDownloadCancelled, kDownloadSucceeded));
    EXPECT_EQ(downloader.getState().receivedBytes, 1000);
    EXPECT_TRUE(fileHoldsBody(target, 1000));
}

TEST_F(DownloaderTest, StartAfterAFinishedDownloadWorks) {
    EXPECT_EQ(fetch("/file/500").result, kDownloadSucceeded);
    EXPECT_EQ(downloader.start(paramsFor(server.url("/file/700")), true), kStartOk);
    ASSERT_TRUE(recorder.waitFinished(2));
    EXPECT_EQ(downloader.getState().result, kDownloadSucceeded);
    EXPECT_TRUE(fileHoldsBody(target, 700));
}

TEST_F(DownloaderTest, ErrorPageIsWrittenLikeAnyOtherBody) {
    EXPECT_EQ(fetch("/missing").result, kDownloadSucceeded);
    EXPECT_EQ(readFile(target), DownloadServer::kMissingPage);
}

TEST_F(DownloaderTest, RedirectIsFollowed) {
    EXPECT_EQ(fetch("/redirect").result, kDownloadSucceeded);
    EXPECT_TRUE(fileHoldsBody(target, 1000));
    EXPECT_THAT(recorder.eventsWithoutProgress(), ElementsAre(1, 2, 3, 4, 5, 7, 8));
}

TEST_F(DownloaderTest, ServerHangingUpMidBodyFailsAndKeepsWhatCame) {
    EXPECT_EQ(fetch("/truncated").result, kDownloadReadFailed);
    EXPECT_TRUE(fileHoldsBody(target, DownloadServer::kTruncatedLength / 2));
}

TEST_F(DownloaderTest, FailuresBeforeTheResponseLeaveAnExistingFileAlone) {
    testing::writeFile(target, "old package");
    const std::string refused =
        "http://127.0.0.1:" + std::to_string(testing::freeLoopbackPort()) + "/up";

    for (const std::string& url : {refused, std::string("http://tamrivo-update.invalid/up"),
                                   // TLS is spoken on https: a plain HTTP server cannot answer it
                                   "https" + server.url("/file/1000").substr(4)}) {
        SCOPED_TRACE(url);
        const int finishedBefore = static_cast<int>(recorder.eventsWithoutProgress().size());
        EXPECT_EQ(fetchUrl(url).result, kDownloadConnectFailed);
        const auto events = recorder.eventsWithoutProgress();
        EXPECT_THAT(std::vector<int>(events.begin() + finishedBefore, events.end()),
                    ElementsAre(1, 8));
    }
    EXPECT_EQ(readFile(target), "old package");
}

TEST_F(DownloaderTest, UrlsThatAreNotHttpAreRefusedBeforeTheNetwork) {
    for (const std::string& url :
         {std::string(), std::string("127.0.0.1/up.tmp"), "ftp" + server.url("/file/10").substr(4),
          std::string("file:///etc/hostname")}) {
        SCOPED_TRACE(url);
        EXPECT_EQ(fetchUrl(url).result, kDownloadBadUrl);
        EXPECT_EQ(downloader.getState().stage, DownloadStage::WorkerStarted);
    }
    EXPECT_THAT(recorder.eventsWithoutProgress(), ElementsAre(8, 8, 8, 8));
    EXPECT_FALSE(std::filesystem::exists(target));
}

TEST_F(DownloaderTest, FileInAMissingFolderCannotBeCreated) {
    target = folder.file("no-such-folder/up.tmp");
    EXPECT_EQ(fetch("/file/10").result, kDownloadCannotCreateFile);
    EXPECT_THAT(recorder.eventsWithoutProgress(), ElementsAre(1, 2, 3, 4, 5, 8));
}

TEST_F(DownloaderTest, StartRefusesAnExistingFileUnlessToldToOverwrite) {
    testing::writeFile(target, "keep me");
    EXPECT_EQ(downloader.start(paramsFor(server.url("/file/10")), false), kStartFileExists);
    EXPECT_EQ(readFile(target), "keep me");
    EXPECT_EQ(server.requestCount(), 0);
}

TEST_F(DownloaderTest, NotReadyDownloaderStartsNothing) {
    downloader.setReady(false);
    EXPECT_FALSE(downloader.isReady());
    EXPECT_EQ(downloader.start(paramsFor(server.url("/file/10")), true), kStartNotReady);
    EXPECT_FALSE(downloader.pause());

    downloader.setReady(true);
    EXPECT_EQ(fetch("/file/10").result, kDownloadSucceeded);
}

// The owner's window thread must keep working while stop waits: a callback that needs it
// would otherwise hold the worker, and stop, for ever.
TEST_F(DownloaderTest, StopLetsTheOwnerProcessEventsWhileItWaits) {
    std::atomic<bool> ownerProcessedEvents = false;
    Downloader owned([&] { ownerProcessedEvents = true; });
    DownloadParams params = paramsFor(server.url("/gated"));
    params.callback = [&](std::int32_t, ProgressEvent event, const DownloadState& state) {
        if (event == ProgressEvent::Finished) {
            waitUntil([&] { return ownerProcessedEvents.load(); });
        }
        recorder.callback()(0, event, state);
    };
    ASSERT_EQ(owned.start(params, true), kStartOk);
    ASSERT_TRUE(receivedSome(owned));

    EXPECT_TRUE(owned.stop());
    EXPECT_TRUE(ownerProcessedEvents);
    EXPECT_EQ(recorder.last().result, kDownloadCancelled);
}

TEST_F(DownloaderTest, CallbackCannotStopItsOwnDownload) {
    DownloadParams params = paramsFor(server.url("/file/10"));
    std::atomic<std::int32_t> restart = kStartOk;
    params.callback = [&](std::int32_t, ProgressEvent event, const DownloadState& state) {
        if (event == ProgressEvent::HeadersReceived) {
            restart = downloader.start(paramsFor(server.url("/file/10")), true);
        }
        recorder.callback()(0, event, state);
    };
    ASSERT_EQ(downloader.start(params, true), kStartOk);
    ASSERT_TRUE(recorder.waitFinished());
    EXPECT_EQ(restart, kStartStopFailed);
    EXPECT_EQ(recorder.last().result, kDownloadSucceeded);
}

TEST_F(DownloaderTest, DestroyingTheDownloaderEndsItsDownload) {
    {
        Downloader owned;
        ASSERT_EQ(owned.start(paramsFor(server.url("/gated")), true), kStartOk);
        ASSERT_TRUE(receivedSome(owned));
    }
    EXPECT_EQ(recorder.last().result, kDownloadCancelled);
}

}  // namespace
}  // namespace tamrivo
