#include "tools/launcher/version_order.h"

#include <gtest/gtest.h>

#include "tests/support/file_contents.h"
#include "tests/support/temporary_folder.h"

namespace tamrivo::launcher {
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

TEST(VersionOrder, ReadsTheFirstLineOfAShortVersionFile) {
    testing::TemporaryFolder folder;
    EXPECT_EQ(readVersion(folder.path()), "");
    testing::writeFile(folder.path() / "VERSION", "1.0.0.1\r\nmore");
    EXPECT_EQ(readVersion(folder.path()), "1.0.0.1");
    testing::writeFile(folder.path() / "VERSION", std::string(100'000, '1'));
    EXPECT_EQ(readVersion(folder.path()), "");  // not a version: whoever wrote it
}

}  // namespace
}  // namespace tamrivo::launcher
