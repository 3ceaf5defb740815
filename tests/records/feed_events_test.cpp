#include "records/feed_events.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "records/stored_dates.h"
#include "tests/support/platform_feeds.h"

namespace tamrivo {
namespace {

using testing::airbnbFeed;
using testing::chineseFeed;
using testing::utf8;
using testing::withCrlf;

// Timed events fall on local dates: each test says which zone is local.
class FeedEvents : public ::testing::Test {
protected:
    void TearDown() override { setZone(saved_ ? saved_->c_str() : nullptr); }

    void setZone(const char* zone) {
        if (zone != nullptr) {
            ::setenv("TZ", zone, 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }

    static const FeedEvent* byUid(const ParsedFeed& feed, const std::string& uid) {
        for (const FeedEvent& event : feed.events) {
            if (event.uid == uid) {
                return &event;
            }
        }
        return nullptr;
    }

    static std::string days(const FeedEvent* event) {
        return event == nullptr ? "missing"
                                : dayText(event->arrival) + ".." + dayText(event->departure);
    }

private:
    std::optional<std::string> saved_ = [] {
        const char* zone = std::getenv("TZ");
        return zone != nullptr ? std::optional<std::string>(zone) : std::nullopt;
    }();
};

TEST_F(FeedEvents, AllDayStaysLeaveOnTheirEndDateAndBlocksAreToldApart) {
    const ParsedFeed feed = parseFeed(airbnbFeed());
    ASSERT_EQ(feed.error, "");
    ASSERT_EQ(feed.events.size(), 3U);
    const FeedEvent* first =
        byUid(feed, "1418fb94e984-e5b3ad2a6f67b7e28cf5e6dc4d8f3a83@airbnb.com");
    EXPECT_EQ(days(first), "2027-03-01..2027-03-05") << "DTEND is the day the guest leaves";
    EXPECT_EQ(first->kind, schema::kOutsideBooking);
    EXPECT_EQ(first->summary, "Reserved");
    const FeedEvent* block =
        byUid(feed, "9a8b7c6d5e4f-ffeeddccbbaa99887766554433221100@airbnb.com");
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->kind, schema::kOutsideBlock);
    EXPECT_EQ(feed.skipped, 0);
}

TEST_F(FeedEvents, TimedEventsTakeTheLocalDatesOfTheirZones) {
    setZone("UTC");
    const std::string bareZone = utf8(
        u8R"(BEGIN:VCALENDAR
VERSION:2.0
BEGIN:VEVENT
UID:early@example.com
DTSTART;TZID=Asia/Shanghai:20270601T050000
DTEND;TZID=Asia/Shanghai:20270603T050000
SUMMARY:Booked
END:VEVENT
END:VCALENDAR
)");
    // 05:00 in Shanghai is the evening before in UTC; the system's zone data knows it even
    // without a VTIMEZONE in the feed.
    EXPECT_EQ(days(byUid(parseFeed(bareZone), "early@example.com")), "2027-05-31..2027-06-02");

    setZone("Asia/Shanghai");
    const ParsedFeed feed = parseFeed(chineseFeed());
    EXPECT_EQ(days(byUid(feed, "order-20270401-001@tujia.com")), "2027-04-01..2027-04-03");
    // 17:00 UTC is 01:00 the next day in Shanghai.
    EXPECT_EQ(days(byUid(feed, "order-20270410-002@tujia.com")), "2027-04-10..2027-04-11");
}

TEST_F(FeedEvents, ATimedStayEndingOnItsFirstDayHoldsThatNight) {
    const std::string feed = utf8(
        u8R"(BEGIN:VCALENDAR
VERSION:2.0
BEGIN:VEVENT
UID:short@example.com
DTSTART:20270701T100000
DTEND:20270701T160000
SUMMARY:Day use
END:VEVENT
END:VCALENDAR
)");
    EXPECT_EQ(days(byUid(parseFeed(feed), "short@example.com")), "2027-07-01..2027-07-02");
}

TEST_F(FeedEvents, CancelledAndUnusableEventsAreLeftOutAndCounted) {
    const ParsedFeed feed = parseFeed(chineseFeed());
    ASSERT_EQ(feed.error, "");
    EXPECT_EQ(feed.cancelled, 1);
    EXPECT_EQ(feed.skipped, 3) << "no end, an end before the start, two years long";
    EXPECT_EQ(byUid(feed, "order-20270415-003@tujia.com"), nullptr);
    EXPECT_EQ(byUid(feed, "no-end@tujia.com"), nullptr);
    EXPECT_EQ(byUid(feed, "too-long@tujia.com"), nullptr);
    EXPECT_EQ(feed.events.size(), 3U);
}

TEST_F(FeedEvents, ChineseSummariesBecomeGbkAndNameBlocks) {
    const ParsedFeed feed = parseFeed(chineseFeed());
    const FeedEvent* stay = byUid(feed, "order-20270401-001@tujia.com");
    ASSERT_NE(stay, nullptr);
    EXPECT_EQ(stay->summary, "途家订单 张三");
    EXPECT_EQ(stay->kind, schema::kOutsideBooking);
    const FeedEvent* closed = byUid(feed, "closed-20270420@tujia.com");
    ASSERT_NE(closed, nullptr);
    EXPECT_EQ(closed->kind, schema::kOutsideBlock);
    EXPECT_EQ(closed->summary, "不可预订");

    for (const char* summary :
         {"Not available", "CLOSED - Not available", "Blocked", "Airbnb (Not available)"}) {
        EXPECT_TRUE(isBlockSummary(summary)) << summary;
    }
    EXPECT_TRUE(isBlockSummary(utf8(u8"不可预订")));
    for (const char* summary : {"Reserved", "Booking.com reservation", ""}) {
        EXPECT_FALSE(isBlockSummary(summary)) << summary;
    }
}

TEST_F(FeedEvents, CrlfAndLfAndFoldedLinesReadAlike) {
    const ParsedFeed lf = parseFeed(airbnbFeed());
    const ParsedFeed crlf = parseFeed(withCrlf(airbnbFeed()));
    ASSERT_EQ(crlf.error, "");
    EXPECT_EQ(lf.events, crlf.events);

    const std::string folded =
        withCrlf(utf8(u8R"(BEGIN:VCALENDAR
VERSION:2.0
BEGIN:VEVENT
UID:folded-uid-that-runs-on-past-the-seventy-five-octets-a-line-may-
 hold@example.com
DTSTART;VALUE=DATE:20270801
DTEND;VALUE=DATE:20270803
SUMMARY:途家订单 王
 五
END:VEVENT
END:VCALENDAR
)"));
    const ParsedFeed parsed = parseFeed(folded);
    const FeedEvent* event = byUid(
        parsed, "folded-uid-that-runs-on-past-the-seventy-five-octets-a-line-may-hold@example.com");
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->summary, "途家订单 王五");
}

TEST_F(FeedEvents, WhatIsNoCalendarIsRefusedWhole) {
    for (const std::string& text : {std::string("<html><body>Not found</body></html>"),
                                    std::string(""), std::string("\xFF\xFE garbage")}) {
        const ParsedFeed feed = parseFeed(text);
        EXPECT_NE(feed.error, "") << text;
        EXPECT_TRUE(feed.events.empty());
    }
    // A byte-order mark before the calendar is no reason to refuse it.
    EXPECT_EQ(parseFeed("\xEF\xBB\xBF" + airbnbFeed()).events.size(), 3U);
}

TEST_F(FeedEvents, RepeatedUidsAndHostileTextsStayBounded) {
    const std::string feed = utf8(
        u8R"(BEGIN:VCALENDAR
BEGIN:VEVENT
UID:twice@example.com
DTSTART;VALUE=DATE:20270801
DTEND;VALUE=DATE:20270803
SUMMARY:first
END:VEVENT
BEGIN:VEVENT
UID:twice@example.com
DTSTART;VALUE=DATE:20270901
DTEND;VALUE=DATE:20270903
SUMMARY:second
END:VEVENT
BEGIN:VEVENT
DTSTART;VALUE=DATE:20270901
DTEND;VALUE=DATE:20270903
SUMMARY:no uid
END:VEVENT
END:VCALENDAR
)");
    const ParsedFeed parsed = parseFeed(feed);
    ASSERT_EQ(parsed.events.size(), 1U);
    EXPECT_EQ(parsed.events[0].summary, "first");
    EXPECT_EQ(parsed.skipped, 2);

    // Characters GBK lacks and broken UTF-8 become "?", never an empty or cut-off text.
    EXPECT_EQ(gbkApproximation(utf8(u8"Anna 😀 张") + "\xC3", 100), "Anna ? 张?");
    EXPECT_EQ(gbkApproximation(std::string(1000, 'x'), 120).size(), 120U);
    EXPECT_EQ(gbkApproximation("a\tb\nc", 10), "a b c");
}

}  // namespace
}  // namespace tamrivo
