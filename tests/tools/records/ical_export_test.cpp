#include <gmock/gmock.h>

#include "records/calendar_feeds.h"
#include "records/feed_events.h"
#include "records/ical_export.h"
#include "records/stored_dates.h"
#include "tests/tools/records/records_tool_test_support.h"

namespace tamrivo::testing {
namespace {

using ::testing::HasSubstr;

class IcalExportCommand : public RecordsToolTest {
protected:
    void SetUp() override { makeDatabase(); }
};

TEST_F(IcalExportCommand, WritesEachRoomsCalendarAsTheProgramDoes) {
    execute("INSERT INTO `b_fangjian` (`dizhi`, `zhuangtai`) VALUES ('101', 1), ('102', 1)");
    execute(
        "INSERT INTO `b_yuding` (`fangjianid`, `xingming`, `daodariqi`, `likairiqi`) "
        "VALUES (2, '张三', '" +
        dayText(today() + 5) + "', '" + dayText(today() + 8) + "')");
    db.close();

    const std::filesystem::path out = folder.path() / "calendars";
    const ToolRun run = tool({"ical-export", out.string()});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_THAT(run.out, HasSubstr("2 room calendars"));
    const ParsedFeed room2 = parseFeed(readFile(roomCalendarFile(out, 2)));
    ASSERT_EQ(room2.events.size(), 1U);
    EXPECT_EQ(room2.events[0].arrival, today() + 5);
    EXPECT_EQ(room2.events[0].departure, today() + 8);
    EXPECT_EQ(room2.events[0].summary, "已预订") << "no guest's name unless the landlord chose so";
    EXPECT_TRUE(parseFeed(readFile(roomCalendarFile(out, 1))).events.empty());

    // Written again whole, the same bytes for the same bookings.
    const std::string before = readFile(roomCalendarFile(out, 2));
    ASSERT_EQ(tool({"ical-export", out.string()}).status, kExitDone);
    EXPECT_EQ(readFile(roomCalendarFile(out, 2)), before);
}

TEST_F(IcalExportCommand, ANameTheFolderCannotTakeFails) {
    const std::filesystem::path blocker = folder.path() / "a-file";
    writeFile(blocker, "x");
    const ToolRun run = tool({"ical-export", (blocker / "calendars").string()});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_THAT(run.err, HasSubstr("cannot make"));
}

}  // namespace
}  // namespace tamrivo::testing
