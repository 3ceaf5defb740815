#include "app/update_download_view.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>

#include "base/text_encoding.h"
#include "tests/app/download_window_services.h"
#include "tests/support/download_recorder.h"
#include "tests/support/download_server.h"
#include "tests/support/file_contents.h"
#include "tests/support/full_listener.h"
#include "tests/support/raw_http_listener.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/test_keys.h"
#include "tests/support/trickle_listener.h"
#include "update_format/update_format.h"
#include "update_format/updater_image.h"

namespace tamrivo {
namespace {

using testing::DownloadServer;
using testing::DownloadWindowServices;
using namespace std::chrono_literals;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::TemporaryFolder;

constexpr UpdateWindows kWindows{.update = 7, .main = 3};
constexpr char kErrorLine[] = "新版本下载错误,请联系作者 QQ:800018888\r\n";
constexpr char kRefusedLine[] = "升级文件签名校验失败,已删除,请联系作者 QQ:800018888\r\n";
constexpr char kHandOffLine[] = "下载成功,准备更新!\r\n";

// Runs a program with no arguments and gives its exit status, -1 when it did not run.
int runWithoutArguments(const std::filesystem::path& program) {
    std::string path = program.string();
    char* arguments[] = {path.data(), nullptr};
    pid_t process = 0;
    if (::posix_spawn(&process, path.c_str(), nullptr, nullptr, arguments, environ) != 0) {
        return -1;
    }
    int status = 0;
    ::waitpid(process, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class UpdateDownloadTest : public ::testing::Test {
protected:
    UpdateDownloadTest() {
        std::filesystem::create_directory(programFolder);
        services.directory = utf8ToGbk(programFolder.string());
    }

    // Presses the upgrade button and waits until the download has ended with the line;
    // how long that took.
    std::chrono::milliseconds download(const UpdatePackage& package, const Text& lastLine,
                                       std::optional<DownloadLimits> limits = std::nullopt) {
        const auto before = services.log();
        const auto started = std::chrono::steady_clock::now();
        startUpdateDownload(services, downloader, kWindows, package,
                            testing::publisherKeys().publicPem,
                            limits.value_or(packageDownloadLimits(package.statement.size)));
        const auto times = std::count(before.begin(), before.end(), lastLine) + 1;
        EXPECT_TRUE(services.waitForLogLine(lastLine, static_cast<int>(times)));
        const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - started);
        downloader.stop();  // the worker has finished its report once stop returns
        return took;
    }

    // A package of the download server, stated and signed by the publisher.
    UpdatePackage signedFile(std::uint64_t length) const {
        return signedPackage("/file/" + std::to_string(length), testing::servedBody(length));
    }
    UpdatePackage signedPackage(const std::string& path, const std::string& bytes) const {
        return testing::offeredPackage({"1.0.1.0", "", server.url(path), bytes});
    }

    // Nothing was handed over: the program runs on as it was.
    void expectNoHandOff() {
        EXPECT_THAT(services.startedPrograms(), IsEmpty());
        EXPECT_THAT(services.destroyedWindows(), IsEmpty());
        EXPECT_FALSE(std::filesystem::exists(inProgramFolder(kUpdaterFileName)));
    }

    std::filesystem::path inProgramFolder(const char* name) const {
        return programFolder / std::filesystem::path(name);
    }

    TemporaryFolder folder;
    // Blanks and Chinese in the program's folder must not split or garble any path.
    std::filesystem::path programFolder = folder.path() / gbkToUtf8("租房 管理");
    DownloadServer server;
    DownloadWindowServices services;
    Downloader downloader;
};

TEST_F(UpdateDownloadTest, FinishedDownloadHandsOverToTheUpdater) {
    download(signedFile(300000), kHandOffLine);

    EXPECT_TEXT_EQ(services.logText(),
                   "正在发送升级请求信息\r\n发送升级请求信息成功\r\n等待服务器响应\r\n"
                   "等待服务器响应\r\n新版本下载完成\r\n下载成功,准备更新!\r\n");
    EXPECT_TEXT_EQ(services.captions().front(), "正在下载.......");
    EXPECT_EQ(services.positions().back(), 100);
    EXPECT_TRUE(testing::fileHoldsBody(inProgramFolder("up.tmp"), 300000));

    const auto updater = inProgramFolder(kUpdaterFileName);
    const auto image = updaterImage();
    EXPECT_EQ(testing::readFile(updater), std::string(image.begin(), image.end()));
    EXPECT_EQ(runWithoutArguments(updater), 0) << "the carried updater is a working program";
    // The updater checks the package itself, with the signature and the key it is given.
    EXPECT_THAT(services.startedPrograms(),
                ElementsAre(ElementsAre(services.directory + "/" + kUpdaterFileName,
                                        services.directory + "/up.tmp",
                                        testing::signatureOf(testing::servedBody(300000)),
                                        testing::publisherKeys().publicPem)));
    EXPECT_THAT(services.destroyedWindows(), ElementsAre(kWindows.main));
}

TEST_F(UpdateDownloadTest, FailedDownloadLeavesTheErrorLineAndTheProgramRunning) {
    const std::string refused = "http://127.0.0.1:1/up.zip";
    for (const std::string& url : {std::string(), refused}) {
        SCOPED_TRACE(url);
        download({url, {}, {}}, kErrorLine);
        EXPECT_TEXT_EQ(services.log().back(), kErrorLine);
    }
    expectNoHandOff();
}

TEST_F(UpdateDownloadTest, PackageWithoutThePublishersSignatureIsDeletedAndNotHandedOver) {
    std::string changed = testing::servedBody(1000);
    changed[500] = static_cast<char>(changed[500] ^ 1);
    const std::string unsigned_;
    const std::vector<std::pair<const char*, std::string>> signatures = {
        {"one byte changed", testing::signatureOf(changed)},
        {"another key", testing::signatureOf(testing::servedBody(1000), testing::strangerKeys())},
        {"no signature", unsigned_},
        {"not hexadecimal", std::string(128, 'z')},
        {"cut short", testing::signatureOf(testing::servedBody(1000)).substr(0, 126)},
    };
    for (const auto& [what, signature] : signatures) {
        SCOPED_TRACE(what);
        UpdatePackage package = signedFile(1000);
        package.signature = signature;
        download(package, kRefusedLine);
        EXPECT_TEXT_EQ(services.log().back(), kRefusedLine);
        EXPECT_FALSE(std::filesystem::exists(inProgramFolder("up.tmp")));
    }
    expectNoHandOff();
}

// A server handing out another package than the statement names (an older release, say)
// is found out even when that package carries a genuine signature of its own.
TEST_F(UpdateDownloadTest, PackageOtherThanTheStatedOneIsDeletedAndNotHandedOver) {
    UpdatePackage other = signedPackage("/file/1000", testing::servedBody(999) + "!");
    other.signature = testing::signatureOf(testing::servedBody(1000));
    download(other, kRefusedLine);
    EXPECT_FALSE(std::filesystem::exists(inProgramFolder("up.tmp")));
    expectNoHandOff();
}

TEST_F(UpdateDownloadTest, PackageLongerThanStatedIsAFailedDownload) {
    const UpdatePackage stated = signedFile(100000);
    // Announced too long: the file is not even made. Sent too long: it stops at the bound.
    UpdatePackage longer = stated;
    longer.url = server.url("/file/100001");
    download(longer, kErrorLine);
    EXPECT_EQ(downloader.getState().result, kDownloadTooLarge);
    EXPECT_FALSE(std::filesystem::exists(inProgramFolder("up.tmp")));
    longer.url = server.url("/chunked/300000");
    download(longer, kErrorLine);
    EXPECT_EQ(downloader.getState().result, kDownloadTooLarge);
    EXPECT_FALSE(std::filesystem::exists(inProgramFolder("up.tmp")));
    download(stated, kHandOffLine);
}

// What a failed download wrote is no package: nothing of it stays beside the program.
TEST_F(UpdateDownloadTest, ADownloadCutShortLeavesNoPartOfThePackage) {
    UpdatePackage cut = signedFile(DownloadServer::kTruncatedLength);
    cut.url = server.url("/truncated");
    download(cut, kErrorLine);
    EXPECT_EQ(downloader.getState().result, kDownloadReadFailed);
    EXPECT_FALSE(std::filesystem::exists(inProgramFolder("up.tmp")));
    expectNoHandOff();
}

// The waits, each at a short limit: the download ends with the error line soon after it.
TEST_F(UpdateDownloadTest, ServerThatAcceptsAndNeverAnswersEndsTheDownloadAtTheSilenceLimit) {
    testing::RawHttpListener silent;
    DownloadLimits limits;
    limits.silenceTimeout = 1500ms;
    const auto took =
        download({"http://127.0.0.1:" + std::to_string(silent.port()) + "/up.zip", {}, {}},
                 kErrorLine, limits);
    EXPECT_EQ(downloader.getState().result, kDownloadResponseFailed);
    EXPECT_GE(took, 1400ms);
    EXPECT_LT(took, 6000ms);
    expectNoHandOff();
}

TEST_F(UpdateDownloadTest, BodyTricklingAByteEveryTwoSecondsRunsIntoTheSilenceLimit) {
    const std::string reply = testing::RawHttpListener::reply("", std::string(1000, 'x'));
    const std::size_t head = reply.find("\r\n\r\n") + 5;  // and the body's first byte
    testing::TrickleListener trickle(reply.substr(0, head), reply.substr(head), 2000ms);
    DownloadLimits limits;
    limits.silenceTimeout = 1500ms;
    const auto took = download({trickle.url("/up.zip"), {}, {}}, kErrorLine, limits);
    EXPECT_EQ(downloader.getState().result, kDownloadReadFailed);
    EXPECT_FALSE(std::filesystem::exists(inProgramFolder("up.tmp"))) << "the byte that came";
    EXPECT_LT(took, 6000ms);
}

TEST_F(UpdateDownloadTest, ConnectionThatIsNeverMadeEndsAtTheConnectLimit) {
    testing::FullListener full;
    DownloadLimits limits;
    limits.connectTimeout = 500ms;
    const auto took =
        download({"http://127.0.0.1:" + std::to_string(full.port()) + "/up.zip", {}, {}},
                 kErrorLine, limits);
    EXPECT_EQ(downloader.getState().result, kDownloadConnectFailed);
    EXPECT_GE(took, 400ms);
    EXPECT_LT(took, 5000ms);
}

TEST_F(UpdateDownloadTest, UpdaterThatCannotBeWrittenEndsTheHandOff) {
    std::filesystem::create_directory(inProgramFolder(kUpdaterFileName));  // as antivirus does
    download(signedFile(1000), kHandOffLine);

    EXPECT_TEXT_EQ(services.log().back(), kHandOffLine);
    EXPECT_THAT(services.startedPrograms(), IsEmpty());
    EXPECT_THAT(services.destroyedWindows(), IsEmpty());
}

// A link planted where the updater goes is replaced, never written through.
TEST_F(UpdateDownloadTest, LinkAtTheUpdatersPlaceIsNotWrittenThrough) {
    const auto victim = folder.path() / "victim";
    testing::writeFile(victim, "keep me");
    std::filesystem::create_symlink(victim, inProgramFolder(kUpdaterFileName));
    download(signedFile(1000), kHandOffLine);

    EXPECT_EQ(testing::readFile(victim), "keep me");
    EXPECT_FALSE(std::filesystem::is_symlink(inProgramFolder(kUpdaterFileName)));
    EXPECT_EQ(std::filesystem::file_size(inProgramFolder(kUpdaterFileName)), updaterImage().size());
    EXPECT_THAT(services.destroyedWindows(), ElementsAre(kWindows.main));
}

// A second copy of the program downloading beside the first cannot write into its package.
TEST_F(UpdateDownloadTest, SecondDownloadIntoTheSamePackageIsRefusedWhileTheFirstHoldsIt) {
    const UpdatePackage gated =
        signedPackage("/gated", testing::servedBody(DownloadServer::kGateLength));
    startUpdateDownload(services, downloader, kWindows, gated, testing::publisherKeys().publicPem);
    ASSERT_TRUE(testing::waitUntil([this] { return downloader.getState().receivedBytes > 0; }));

    DownloadWindowServices secondServices;
    secondServices.directory = services.directory;
    Downloader second;
    startUpdateDownload(secondServices, second, kWindows, signedFile(1000),
                        testing::publisherKeys().publicPem);
    EXPECT_TRUE(secondServices.waitForLogLine(kErrorLine, 1));
    second.stop();
    EXPECT_EQ(second.getState().result, kDownloadCannotCreateFile);

    server.openGate();
    EXPECT_TRUE(services.waitForLogLine(kHandOffLine, 1));
    downloader.stop();
    EXPECT_TRUE(testing::fileHoldsBody(inProgramFolder("up.tmp"), DownloadServer::kGateLength));
    EXPECT_THAT(services.destroyedWindows(), ElementsAre(kWindows.main));
    EXPECT_THAT(secondServices.startedPrograms(), IsEmpty());
}

TEST_F(UpdateDownloadTest, PressingTheButtonAgainCancelsAndStartsAfresh) {
    startUpdateDownload(services, downloader, kWindows,
                        signedPackage("/gated", testing::servedBody(DownloadServer::kGateLength)),
                        testing::publisherKeys().publicPem);
    ASSERT_TRUE(testing::waitUntil([this] { return downloader.getState().receivedBytes > 0; }));

    download(signedFile(1000), kHandOffLine);

    const auto log = services.log();
    const auto cancelled = std::find(log.begin(), log.end(), "下载异常被取消\r\n");
    ASSERT_NE(cancelled, log.end());
    EXPECT_TEXT_EQ(*(cancelled + 1), "正在发送升级请求信息\r\n");
    EXPECT_TRUE(testing::fileHoldsBody(inProgramFolder("up.tmp"), 1000));
    EXPECT_THAT(services.destroyedWindows(), ElementsAre(kWindows.main));
}

TEST(UpdateDownloadViewTest, ProgressMovesTheBarOrKeepsItBusyWithoutALength) {
    DownloadWindowServices services;
    services.progressBarMaximum = 250;
    UpdateDownloadView view(services, kWindows);
    const auto show = [&](ProgressEvent event, std::int64_t received, std::int64_t total) {
        DownloadState state;
        state.receivedBytes = received;
        state.totalBytes = total;
        view.onProgress(event, state);
    };

    show(ProgressEvent::LengthKnown, 0, 10000);
    show(ProgressEvent::Progress, 4566, 10000);
    show(ProgressEvent::Progress, 9996, 10000);
    show(ProgressEvent::LengthKnown, 0, 0);
    show(ProgressEvent::Progress, 5000, 0);
    show(ProgressEvent::EndOfData, 9000, 0);

    EXPECT_THAT(services.captions(), ElementsAre("正在下载.......", "正在下载...", "正在下载...",
                                                 "正在下载.......", "正在下载..."));
    EXPECT_THAT(services.positions(), ElementsAre(45, 100, 250));
    EXPECT_THAT(services.busyStates(), ElementsAre(false, true, true, false));
    EXPECT_TEXT_EQ(services.logText(), "新版本下载完成\r\n");
}

}  // namespace
}  // namespace tamrivo
