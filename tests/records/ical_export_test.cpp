#include "records/ical_export.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "base/date_time.h"
#include "base/text_encoding.h"
#include "records/bookings.h"
#include "records/calendar_feeds.h"
#include "records/feed_events.h"
#include "records/lease_writes.h"
#include "records/outside_bookings.h"
#include "tests/records/records_test_support.h"

namespace tamrivo {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class IcalExport : public testing::RecordsTest {
protected:
    void SetUp() override {
        makeDatabase();
        execute(
            "INSERT INTO `b_fangjian` (`dizhi`, `zhuangtai`) VALUES ('101', 1), ('102', 1), "
            "('103', 0)");
        now = today();
    }

    int book(int room, std::int64_t arrival, std::int64_t departure, const Text& guest) {
        Booking booking;
        booking.roomId = room;
        booking.guest = guest;
        booking.contact = "13800000000";
        booking.arrival = dayText(arrival);
        booking.departure = dayText(departure);
        return saveBooking(db, booking, now).id;
    }

    std::string file(int room) {
        return testing::readFile(roomCalendarFile(folder.path() / "out", room));
    }

    std::int64_t now = 0;
};

TEST_F(IcalExport, EachRoomsStaysAndBookingsGoOutAsAllDayEventsWithoutGuests) {
    const int booking = book(1, now + 3, now + 5, "张三");
    LeaseForm form;
    form.orderNumber = "20270101000000-00001000";
    form.address = "102";
    form.guest = "李四";
    form.contact = "13911112222";
    form.deposit = "0";
    form.rent = "100";
    form.checkIn = currentDateTime();
    form.plannedDeparture = dayText(now + 2);
    ASSERT_EQ(checkIn(db, 2, 0, form).result, LeaseResult::Saved);
    // A platform's stay in room 1 never goes back out.
    ASSERT_EQ(addCalendarFeed(db, 1, "Airbnb", "https://a.example/1.ics"), FeedSave::Saved);
    ParsedFeed feed;
    feed.events = {{"from-airbnb", now + 10, now + 12, schema::kOutsideBooking, "Reserved"}};
    ASSERT_TRUE(applyFeed(db, 1, feed, now).applied);

    const CalendarExport written = exportRoomCalendars(db, folder.path() / "out", false, now);
    ASSERT_EQ(written.error, "");
    EXPECT_EQ(written.files, 2) << "the abandoned room has none";

    const ParsedFeed room1 = parseFeed(file(1));
    ASSERT_EQ(room1.error, "");
    ASSERT_EQ(room1.events.size(), 1U);
    EXPECT_EQ(room1.events[0].uid, "booking-" + std::to_string(booking) + "@tamrivo");
    EXPECT_EQ(room1.events[0].arrival, now + 3);
    EXPECT_EQ(room1.events[0].departure, now + 5);
    EXPECT_EQ(room1.events[0].summary, "已预订");
    EXPECT_THAT(file(1), HasSubstr("DTSTART;VALUE=DATE:"));
    EXPECT_THAT(file(1), HasSubstr("\r\n"));
    EXPECT_THAT(file(1), Not(HasSubstr(gbkToUtf8("张三"))));
    EXPECT_THAT(file(1), Not(HasSubstr("13800000000")));
    EXPECT_THAT(file(1), Not(HasSubstr("from-airbnb")));

    const ParsedFeed room2 = parseFeed(file(2));
    ASSERT_EQ(room2.events.size(), 1U);
    EXPECT_EQ(room2.events[0].summary, "已入住");
    EXPECT_EQ(room2.events[0].arrival, now);
    EXPECT_EQ(room2.events[0].departure, now + 2);
}

TEST_F(IcalExport, TheFilesAreRewrittenWholeAndTheSameStaysWriteTheSameBytes) {
    const int first = book(1, now + 3, now + 5, "张三");
    ASSERT_EQ(exportRoomCalendars(db, folder.path() / "out", false, now).error, "");
    const std::string before = file(1);
    ASSERT_EQ(exportRoomCalendars(db, folder.path() / "out", false, now).error, "");
    EXPECT_EQ(file(1), before) << "nothing changed, nothing new for the platforms";

    book(1, now + 7, now + 9, "王五");
    ASSERT_TRUE(cancelBooking(db, first).result == BookingResult::Saved);
    ASSERT_EQ(exportRoomCalendars(db, folder.path() / "out", false, now).error, "");
    const ParsedFeed after = parseFeed(file(1));
    ASSERT_EQ(after.events.size(), 1U) << "the cancelled booking is gone from the file";
    EXPECT_EQ(after.events[0].arrival, now + 7);
    // Nothing is left beside the files.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(folder.path() / "out")) {
        ++entries;
    }
    EXPECT_EQ(entries, 2);
}

TEST_F(IcalExport, GuestsAreNamedOnlyWhenTheLandlordTicksIt) {
    book(1, now + 3, now + 5, "张三");
    ASSERT_EQ(exportRoomCalendars(db, folder.path() / "out", true, now).error, "");
    const ParsedFeed named = parseFeed(file(1));
    ASSERT_EQ(named.events.size(), 1U);
    EXPECT_EQ(named.events[0].summary, "张三");
    EXPECT_THAT(file(1), HasSubstr("13800000000"));
}

TEST_F(IcalExport, AFolderThatCannotBeWrittenIsReported) {
    std::filesystem::create_directories(folder.path() / "out");
    // A folder standing where the file goes cannot be replaced by it.
    std::filesystem::create_directories(roomCalendarFile(folder.path() / "out", 1));
    const CalendarExport written = exportRoomCalendars(db, folder.path() / "out", false, now);
    EXPECT_NE(written.error, "");
}

}  // namespace
}  // namespace tamrivo
