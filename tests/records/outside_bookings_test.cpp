#include "records/outside_bookings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "base/date_format.h"
#include "base/date_time.h"
#include "base/text_to_value.h"
#include "records/bookings.h"
#include "records/calendar_feeds.h"
#include "records/lease_writes.h"
#include "records/records_file.h"
#include "tests/records/records_test_support.h"
#include "tests/support/platform_feeds.h"

namespace tamrivo {
namespace {

using ::testing::HasSubstr;

// 2027-01-01: the clock the feeds are applied by, before every day they bring.
constexpr std::int64_t kApplyDay = 46388;

class OutsideBookings : public testing::RecordsTest {
protected:
    // Rooms 1 and 2 normal, each following one platform; room 1 a second one.
    void SetUp() override {
        makeDatabase();
        execute("INSERT INTO `b_fangjian` (`dizhi`, `zhuangtai`) VALUES ('101', 1), ('102', 1)");
        ASSERT_EQ(addCalendarFeed(db, 1, "Airbnb", "https://www.airbnb.com/calendar/ical/1.ics"),
                  FeedSave::Saved);
        ASSERT_EQ(addCalendarFeed(db, 1, "途家", "/home/landlord/tujia.ics"), FeedSave::Saved);
        ASSERT_EQ(addCalendarFeed(db, 2, "Booking.com", "http://admin.booking.com/x.ics"),
                  FeedSave::Saved);
    }

    static FeedEvent event(const Text& uid, const Text& arrival, const Text& departure,
                           schema::OutsideKind kind = schema::kOutsideBooking) {
        return {uid, *typedDay(arrival), *typedDay(departure), kind, "Reserved"};
    }

    FeedApplied apply(int feedId, std::vector<FeedEvent> events) {
        ParsedFeed feed;
        feed.events = std::move(events);
        const FeedApplied applied = applyFeed(db, feedId, feed, kApplyDay);
        EXPECT_TRUE(applied.applied) << testing::readableGbk(db.errorMessage());
        return applied;
    }

    // The feed's stays as "uid arrival..departure[!]" ("!" marks a conflict), by arrival.
    std::vector<std::string> stays(int feedId = 1) {
        std::vector<std::string> found;
        const auto all = outsideBookingsBetween(db, "2000-01-01", "2100-01-01");
        EXPECT_TRUE(all) << testing::readableGbk(db.errorMessage());
        for (const OutsideBooking& booking : all.value_or(std::vector<OutsideBooking>{})) {
            if (booking.feedId == feedId) {
                found.push_back(booking.uid + " " + booking.arrival + ".." + booking.departure +
                                (booking.conflict ? "!" : ""));
            }
        }
        return found;
    }

    int book(int room, const Text& arrival, const Text& departure) {
        Booking booking;
        booking.roomId = room;
        booking.guest = "张三";
        booking.arrival = arrival;
        booking.departure = departure;
        const BookingOutcome outcome = saveBooking(db, booking, kApplyDay);
        EXPECT_EQ(outcome.result, BookingResult::Saved);
        return outcome.id;
    }
};

TEST_F(OutsideBookings, OlderRecordsGainTheTablesOnce) {
    for (const char* table : {"b_rilidingyue", "b_waibuyuding", "b_tongbushezhi"}) {
        execute("DROP TABLE `" + Text(table) + "`");
    }
    db.close();
    ASSERT_EQ(openRecords(db, databaseFile()), "");
    EXPECT_TRUE(addCalendarSyncTables(db));
    EXPECT_TRUE(addCalendarSyncTables(db)) << "a second opening finds them there";
    EXPECT_TRUE(db.tableExists("b_waibuyuding"));
    EXPECT_EQ(loadSyncSettings(db), SyncSettings{}) << "defaults until saved";
    const SyncSettings chosen{false, "/srv/www/calendars", true};
    ASSERT_TRUE(saveSyncSettings(db, chosen));
    EXPECT_EQ(loadSyncSettings(db), chosen);
}

TEST_F(OutsideBookings, FeedsAreCheckedWhenAdded) {
    EXPECT_EQ(addCalendarFeed(db, 1, "  ", "https://a.example/x.ics"), FeedSave::BlankName);
    EXPECT_EQ(addCalendarFeed(db, 1, "A", " "), FeedSave::BadAddress);
    EXPECT_EQ(addCalendarFeed(db, 1, "A", "ftp://a.example/x.ics"), FeedSave::BadAddress);
    EXPECT_EQ(addCalendarFeed(db, 1, "A", "webcal://a.example/x.ics"), FeedSave::BadAddress);
    EXPECT_EQ(addCalendarFeed(db, 9, "A", "https://a.example/x.ics"), FeedSave::NoRoom);
    ASSERT_EQ(addCalendarFeed(db, 2, "Local", "file:///home/landlord/x.ics"), FeedSave::Saved);
    EXPECT_EQ(calendarFeeds(db)->back().address, "/home/landlord/x.ics");
    EXPECT_EQ(calendarFeeds(db)->size(), 4U);
}

TEST_F(OutsideBookings, AUidIsAddedMovedAndRemovedNeverDoubled) {
    FeedApplied first = apply(1, {event("a@airbnb", "2027-03-01", "2027-03-05"),
                                  event("b@airbnb", "2027-03-08", "2027-03-12")});
    EXPECT_EQ(first.added, 2);
    EXPECT_THAT(stays(), ::testing::ElementsAre("a@airbnb 2027-03-01..2027-03-05",
                                                "b@airbnb 2027-03-08..2027-03-12"));

    // The guest of b moved a day on; a is gone from the feed; c is new.
    const FeedApplied second = apply(1, {event("b@airbnb", "2027-03-09", "2027-03-13"),
                                         event("c@airbnb", "2027-04-01", "2027-04-02")});
    EXPECT_EQ(second.moved, 1);
    EXPECT_EQ(second.removed, 1);
    EXPECT_EQ(second.added, 1);
    EXPECT_THAT(stays(), ::testing::ElementsAre("b@airbnb 2027-03-09..2027-03-13",
                                                "c@airbnb 2027-04-01..2027-04-02"));

    // The same feed again changes nothing: a rolling block stays one block.
    const FeedApplied again = apply(1, {event("b@airbnb", "2027-03-09", "2027-03-13"),
                                        event("c@airbnb", "2027-04-01", "2027-04-02")});
    EXPECT_EQ(again.kept, 2);
    EXPECT_EQ(again.added + again.moved + again.removed, 0);
    EXPECT_EQ(db.queryInt("SELECT count(*) FROM `b_waibuyuding`"), 2);

    const CalendarFeed feed = *findCalendarFeed(db, 1);
    EXPECT_EQ(feed.lastRead.size(), 19U);
    EXPECT_EQ(feed.lastError, "");
    EXPECT_THAT(feed.lastResult, HasSubstr("未变2"));
}

TEST_F(OutsideBookings, ARefusedReadKeepsWhatTheLastGoodOneBrought) {
    apply(1, {event("a@airbnb", "2027-03-01", "2027-03-05")});
    const Text readBefore = findCalendarFeed(db, 1)->lastRead;
    ParsedFeed broken;
    broken.error = "不是iCalendar日历";
    EXPECT_FALSE(applyFeed(db, 1, broken, kApplyDay).applied);
    ASSERT_TRUE(recordFeedRefusal(db, 1, "服务器没有回应"));
    EXPECT_THAT(stays(), ::testing::ElementsAre("a@airbnb 2027-03-01..2027-03-05"));
    EXPECT_EQ(findCalendarFeed(db, 1)->lastError, "服务器没有回应");
    EXPECT_EQ(findCalendarFeed(db, 1)->lastRead, readBefore);

    // A feed removed meanwhile takes nothing in.
    ParsedFeed feed;
    feed.events = {event("z@x", "2027-05-01", "2027-05-02")};
    EXPECT_FALSE(applyFeed(db, 99, feed, kApplyDay).applied);
    EXPECT_EQ(db.queryInt("SELECT count(*) FROM `b_waibuyuding` WHERE `uid`='z@x'"), 0);
}

TEST_F(OutsideBookings, AnApplicationIsOneTransaction) {
    apply(1, {event("a@airbnb", "2027-03-01", "2027-03-05")});
    // A write that fails halfway (a trigger refusing the second insert) undoes the first.
    execute(
        "CREATE TRIGGER refuse BEFORE INSERT ON `b_waibuyuding` WHEN NEW.`uid`='bad' BEGIN "
        "SELECT RAISE(ABORT, 'refused'); END");
    ParsedFeed feed;
    feed.events = {event("new@airbnb", "2027-06-01", "2027-06-03"),
                   event("bad", "2027-07-01", "2027-07-03")};
    EXPECT_FALSE(applyFeed(db, 1, feed, kApplyDay).applied);
    EXPECT_THAT(stays(), ::testing::ElementsAre("a@airbnb 2027-03-01..2027-03-05"));
    EXPECT_EQ(findCalendarFeed(db, 1)->lastResult, "新增1，变更0，删除0，未变0");
}

TEST_F(OutsideBookings, OverlapsAreKeptAndMarkedNeverWrittenOverLocalBookings) {
    const int local = book(1, "2027-03-03", "2027-03-06");
    const FeedApplied applied =
        apply(1, {event("a@airbnb", "2027-03-01", "2027-03-04"),
                  event("free@airbnb", "2027-03-06", "2027-03-08"),
                  event("closed@airbnb", "2027-03-03", "2027-03-06", schema::kOutsideBlock)});
    EXPECT_EQ(applied.conflicts, 1);
    EXPECT_THAT(stays(), ::testing::ElementsAre("a@airbnb 2027-03-01..2027-03-04!",
                                                "closed@airbnb 2027-03-03..2027-03-06",
                                                "free@airbnb 2027-03-06..2027-03-08"));
    const Booking kept = *findBooking(db, local);
    EXPECT_EQ(kept.arrival, "2027-03-03");
    EXPECT_TRUE(kept.booked());

    // The landlord cancels at the desk: the platform's guest is in the clear, and back in
    // conflict when the nights are booked again.
    ASSERT_EQ(cancelBooking(db, local).result, BookingResult::Saved);
    ASSERT_TRUE(refreshOutsideConflicts(db, kApplyDay));
    EXPECT_THAT(stays(), ::testing::Contains("a@airbnb 2027-03-01..2027-03-04"));
    execute("UPDATE `b_yuding` SET `zhuangtai`=0 WHERE `id`=" + std::to_string(local));
    ASSERT_TRUE(refreshOutsideConflicts(db, kApplyDay));
    EXPECT_THAT(stays(), ::testing::Contains("a@airbnb 2027-03-01..2027-03-04!"));

    // Another platform's guest on the same night: both are conflicts.
    apply(2, {event("t@tujia", "2027-03-07", "2027-03-09")});
    EXPECT_THAT(stays(2), ::testing::ElementsAre("t@tujia 2027-03-07..2027-03-09!"));
    EXPECT_THAT(stays(), ::testing::Contains("free@airbnb 2027-03-06..2027-03-08!"));
    const auto conflicts = outsideConflicts(db, kApplyDay);
    ASSERT_EQ(conflicts->size(), 3U);
    EXPECT_EQ(conflicts->front().feedName, "Airbnb");

    // When the first platform lets go, the second's guest is in the clear.
    apply(1, {});
    EXPECT_THAT(stays(2), ::testing::ElementsAre("t@tujia 2027-03-07..2027-03-09"));
    // The other room's feed never sees room 1's stays.
    apply(3, {event("b@booking", "2027-03-03", "2027-03-06")});
    EXPECT_THAT(stays(3), ::testing::ElementsAre("b@booking 2027-03-03..2027-03-06"));
}

TEST_F(OutsideBookings, TheDeskIsRefusedOverAPlatformsNightsNamingIt) {
    apply(1, {event("a@airbnb", "2027-03-01", "2027-03-05")});
    Booking tried;
    tried.roomId = 1;
    tried.guest = "李四";
    tried.arrival = "2027-03-04";
    tried.departure = "2027-03-06";
    const BookingOutcome refused = saveBooking(db, tried, kApplyDay);
    ASSERT_EQ(refused.result, BookingResult::HeldOutside);
    EXPECT_EQ(refused.outside.uid, "a@airbnb");
    EXPECT_THAT(describeOutsideBooking(refused.outside), HasSubstr("Airbnb"));
    EXPECT_THAT(describeOutsideBooking(refused.outside), HasSubstr("2027-03-01 至 2027-03-05"));
    tried.arrival = "2027-03-05";
    EXPECT_EQ(saveBooking(db, tried, kApplyDay).result, BookingResult::Saved)
        << "arriving the morning the platform's guest leaves";
}

TEST_F(OutsideBookings, ABlockOverABookingsOwnNightsIsItsEchoNotAnObstacle) {
    const int local = book(1, "2027-05-01", "2027-05-04");
    // The platform read this program's calendar and closed those nights; it closed others
    // of its own accord.
    apply(1, {event("echo@airbnb", "2027-05-01", "2027-05-04", schema::kOutsideBlock),
              event("closed@airbnb", "2027-06-01", "2027-06-03", schema::kOutsideBlock)});
    Booking edited = *findBooking(db, local);
    edited.contact = "13900000000";
    edited.departure = "2027-05-05";
    EXPECT_EQ(saveBooking(db, edited, kApplyDay).result, BookingResult::Saved);
    EXPECT_TRUE(outsideConflicts(db, kApplyDay)->empty()) << "a block conflicts with nothing";

    Booking other;
    other.roomId = 1;
    other.guest = "王五";
    other.arrival = "2027-06-02";
    other.departure = "2027-06-04";
    const BookingOutcome refused = saveBooking(db, other, kApplyDay);
    EXPECT_EQ(refused.result, BookingResult::HeldOutside);
    EXPECT_EQ(refused.outside.uid, "closed@airbnb");
    // Moving the edited booking onto the closed nights is refused too: they are not its own.
    edited.arrival = "2027-05-30";
    edited.departure = "2027-06-02";
    EXPECT_EQ(saveBooking(db, edited, kApplyDay).result, BookingResult::HeldOutside);
}

TEST_F(OutsideBookings, ACheckInOverAPlatformsGuestIsRefused) {
    const std::int64_t now = today();
    apply(1, {event("soon@airbnb", dayText(now + 2), dayText(now + 4))});
    LeaseForm form;
    form.orderNumber = "20270101000000-00001000";
    form.address = "101";
    form.guest = "赵六";
    form.deposit = "100";
    form.rent = "100";
    form.checkIn = currentDateTime();
    form.plannedDeparture = dayText(now + 3);
    const LeaseOutcome refused = checkIn(db, 1, 0, form);
    EXPECT_EQ(refused.result, LeaseResult::HeldOutside);
    EXPECT_THAT(refused.error, HasSubstr("Airbnb"));
    EXPECT_EQ(db.queryInt("SELECT count(*) FROM `b_zulin`"), 0);
    form.plannedDeparture = dayText(now + 2);
    EXPECT_EQ(checkIn(db, 1, 0, form).result, LeaseResult::Saved);

    // The guest in now holds the nights a platform's guest arriving later overlaps.
    apply(1, {event("soon@airbnb", dayText(now + 1), dayText(now + 4))});
    EXPECT_THAT(stays(), ::testing::ElementsAre("soon@airbnb " + dayText(now + 1) + ".." +
                                                dayText(now + 4) + "!"));
}

TEST_F(OutsideBookings, RemovingAFeedTakesItsStaysAlong) {
    apply(1, {event("a@airbnb", "2027-03-01", "2027-03-05")});
    apply(2, {event("t@tujia", "2027-04-01", "2027-04-05")});
    ASSERT_TRUE(removeCalendarFeed(db, 1));
    EXPECT_FALSE(findCalendarFeed(db, 1));
    EXPECT_TRUE(stays(1).empty());
    EXPECT_EQ(stays(2).size(), 1U);
}

}  // namespace
}  // namespace tamrivo
