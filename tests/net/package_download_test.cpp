#include "net/update_download.h"

#include <gtest/gtest.h>

#include "net/download_percent.h"
#include "update_format/update_format.h"

namespace tamrivo {
namespace {

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
