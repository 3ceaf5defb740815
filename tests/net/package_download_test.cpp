#include "net/update_download.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <vector>

#include "base/text_encoding.h"
#include "net/download_percent.h"
#include "tests/support/download_server.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/test_keys.h"
#include "update_format/update_format.h"

namespace tamrivo {
namespace {

using namespace std::chrono_literals;

// Downloads packages into a folder of their own and keeps the steps each download came to.
class PackageDownload : public ::testing::Test {
protected:
    // The steps after the Downloader's own events, once the download has ended.
    std::vector<PackageStep> download(const UpdatePackage& package) {
        {
            const std::lock_guard lock(mutex_);
            steps_.clear();
        }
        downloadUpdatePackage(downloader_, package, testing::publisherKeys().publicPem, path(),
                              {.progress = [](ProgressEvent, const DownloadState&) {},
                               .package =
                                   [this](PackageStep step) {
                                       const std::lock_guard lock(mutex_);
                                       steps_.push_back(step);
                                       ended_.notify_all();
                                   }},
                              packageDownloadLimits(package.statement.size));
        std::unique_lock lock(mutex_);
        ended_.wait_for(
            lock, 30s, [this] { return !steps_.empty() && steps_.back() != PackageStep::Arrived; });
        return steps_;
    }

    Text path() const { return updatePackagePath(utf8ToGbk(folder_.path().string())); }
    bool packageThere() const {
        return std::filesystem::exists(std::filesystem::path(gbkToUtf8(path())));
    }
    UpdatePackage signedFile(std::uint64_t length) const {
        return testing::offeredPackage({"1.0.1.0", "",
                                        server_.url("/file/" + std::to_string(length)),
                                        testing::servedBody(length)});
    }

    testing::TemporaryFolder folder_;
    testing::DownloadServer server_;
    Downloader downloader_;
    std::mutex mutex_;
    std::condition_variable ended_;
    std::vector<PackageStep> steps_;
};

// Only the stated and signed package stays for the updater; anything else is gone again.
TEST_F(PackageDownload, KeepsOnlyTheGenuinePackage) {
    EXPECT_EQ(download(signedFile(5000)),
              (std::vector<PackageStep>{PackageStep::Arrived, PackageStep::Genuine}));
    EXPECT_TRUE(testing::fileHoldsBody(std::filesystem::path(gbkToUtf8(path())), 5000));

    UpdatePackage forged = signedFile(5000);
    forged.signature = testing::signatureOf(testing::servedBody(5000), testing::strangerKeys());
    EXPECT_EQ(download(forged),
              (std::vector<PackageStep>{PackageStep::Arrived, PackageStep::Refused}));
    EXPECT_FALSE(packageThere());

    UpdatePackage cut = signedFile(testing::DownloadServer::kTruncatedLength);
    cut.url = server_.url("/truncated");
    EXPECT_EQ(download(cut), std::vector<PackageStep>{PackageStep::Failed});
    EXPECT_FALSE(packageThere());
    downloader_.stop();
}

TEST(PackageDownloadLimits, AllowTheStatedSizeAtTheLowestSpeedAndNoByteMore) {
    const DownloadLimits limits = packageDownloadLimits(10 << 20);
    EXPECT_EQ(limits.maxBytes, 10 << 20);
    EXPECT_EQ(limits.lowestSpeed, kLowestPackageSpeed);
    EXPECT_EQ(limits.lowSpeedWindow, kLowSpeedWindow);
    EXPECT_EQ(limits.totalTimeout, kPackageDownloadAllowance + std::chrono::seconds(10240));
    EXPECT_EQ(packageDownloadLimits(std::uint64_t{1} << 40).maxBytes, kMaxPackageBytes);
}

TEST(DownloadPercentTest, RoundsToOneDecimalThenTruncates) {
    EXPECT_EQ(downloadPercent(4566, 10000), 45);
    EXPECT_EQ(downloadPercent(9996, 10000), 100);
    EXPECT_EQ(downloadPercent(9994, 10000), 99);
    EXPECT_EQ(downloadPercent(0, 10000), 0);
    EXPECT_EQ(downloadPercent(5LL << 30, 5LL << 30), 100);
    EXPECT_EQ(downloadPercent(1, 3), 33);
}

}  // namespace
}  // namespace tamrivo
