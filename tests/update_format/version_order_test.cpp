#include "update_format/version_order.h"

#include <gtest/gtest.h>

#include "tests/support/file_contents.h"
#include "tests/support/temporary_folder.h"

namespace tamrivo {
namespace {

TEST(VersionOrder, ComparesPartByPartAsNumbers) {
    EXPECT_LT(*compareVersions("1.0.0.9", "1.0.0.10"), 0);
    EXPECT_GT(*compareVersions("2.0", "1.99.99.99"), 0);
    EXPECT_EQ(*compareVersions("1.0", "1.0.0.0"), 0);
    EXPECT_EQ(*compareVersions("01.000.2", "1.0.2"), 0);
    // Parts longer than any integer still order by value.
    EXPECT_GT(*compareVersions("1.100000000000000000000000", "1.99999999999999999999999"), 0);
}

TEST(VersionOrder, RefusesWhatIsNotDottedNumbers) {
    for (const char* bad : {"", "1..0", "1.0.", ".1", "1.a", " 1.0", "1.0 ", "-1", "1,0"}) {
        EXPECT_FALSE(compareVersions(bad, "1.0").has_value()) << bad;
        EXPECT_FALSE(compareVersions("1.0", bad).has_value()) << bad;
    }
}

// One grammar for the release tool, the checker, the updater and the launcher: what one
// publishes the others can order.
TEST(VersionOrder, OnlyDottedNumbersAreVersions) {
    for (const char* good : {"1", "1.0.0.0", "1.1.0", "0.9", "10.200.3000.40000"}) {
        EXPECT_TRUE(versionWellFormed(good)) << good;
    }
    for (const char* bad : {"1.1.0-rc1", "1.0+build", "v1.0", "1.0_1", "", "1..0", "1.0."}) {
        EXPECT_FALSE(versionWellFormed(bad)) << bad;
    }
    EXPECT_TRUE(versionWellFormed(std::string(64, '1')));
    EXPECT_FALSE(versionWellFormed(std::string(65, '1')));
}

TEST(VersionOrder, NewerOnlyWhenBothAreVersionsAndTheFirstIsLater) {
    EXPECT_TRUE(versionNewer("1.0.0.10", "1.0.0.9"));
    EXPECT_FALSE(versionNewer("1.0.0.9", "1.0.0.10"));
    EXPECT_FALSE(versionNewer("1.0", "1.0.0.0"));
    EXPECT_FALSE(versionNewer("1.1.0-rc1", "1.0"));
    EXPECT_FALSE(versionNewer("2.0", "garbled"));
}

TEST(VersionOrder, ReadsTheFirstLineOfAShortVersionFile) {
    testing::TemporaryFolder folder;
    EXPECT_EQ(readVersion(folder.path()), "");
    testing::writeFile(folder.path() / "VERSION", "1.0.0.1\r\nmore");
    EXPECT_EQ(readVersion(folder.path()), "1.0.0.1");
    testing::writeFile(folder.path() / "VERSION", std::string(100'000, '1'));
    EXPECT_EQ(readVersion(folder.path()), "");  // not a version: whoever wrote it
}

}  // namespace
}  // namespace tamrivo
