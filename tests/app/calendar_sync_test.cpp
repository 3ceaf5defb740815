#include <gmock/gmock.h>

#include <QtCore/Qt>

#include <atomic>
#include <chrono>
#include <string>

#include "app/calendar_page.h"
#include "app/calendar_sync.h"
#include "app/calendar_window.h"
#include "app/main_window.h"
#include "base/date_format.h"
#include "engine/room_calendar.h"
#include "records/bookings.h"
#include "records/calendar_feeds.h"
#include "records/ical_export.h"
#include "records/outside_bookings.h"
#include "records/stored_dates.h"
#include "tests/app/app_fixture.h"
#include "tests/support/file_contents.h"
#include "tests/support/loopback_server.h"
#include "tests/support/raw_http_listener.h"
#include "ui/windows/calendar_sync_window.h"
#include "ui/windows/calendar_window.h"

namespace tamrivo::testing {
namespace {

using ::testing::Contains;
using ::testing::Field;
using ::testing::HasSubstr;

// An all-day event of a feed, the days counted from today.
std::string event(const std::string& uid, int arrival, int departure, const std::string& summary) {
    return "BEGIN:VEVENT\r\nUID:" + uid +
           "\r\nDTSTART;VALUE=DATE:" + dayText(today() + arrival, "yyyyMMdd") +
           "\r\nDTEND;VALUE=DATE:" + dayText(today() + departure, "yyyyMMdd") +
           "\r\nSUMMARY:" + summary + "\r\nEND:VEVENT\r\n";
}

std::string calendar(const std::string& events) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Airbnb Inc//Hosting Calendar//EN\r\n" +
           events + "END:VCALENDAR\r\n";
}

class CalendarSync : public AppTest {
protected:
    void SetUp() override {
        server.routes().Get("/airbnb.ics", [this](const httplib::Request&, httplib::Response& res) {
            if (broken) {
                res.status = 404;
                return;
            }
            res.set_content(calendar(event("a@airbnb", 10, 12, "Reserved") +
                                     event("b@airbnb", 20, 22, "Reserved") +
                                     event("c@airbnb", 30, 40, "Airbnb (Not available)")),
                            "text/calendar");
        });
        server.start();
        main = startAndLogIn();
        ASSERT_NE(main, 0);
        room = addRoom("一号房", 1);
        // The automatic pull is not due while a test runs; each pulls when it says so.
        state.lastFeedPull = std::chrono::steady_clock::now();
    }

    WindowHandle openCalendar() {
        return openByCommand(main, -1, "房态预订", WindowKind::Calendar);
    }

    WindowHandle openSyncWindow(WindowHandle calendar) {
        clickControl(services, calendar, calendar_window::kSyncSettingsButton);
        processEvents();
        const auto windows = services.openWindows(WindowKind::CalendarSync);
        return windows.empty() ? 0 : windows.back();
    }

    // Pulls every feed as the calendar's button does and waits for the clock to take the
    // result in.
    bool pull(WindowHandle calendar) {
        state.lastSyncReport.clear();
        clickControl(services, calendar, calendar_window::kSyncButton);
        return waitUntil([this] { return !state.lastSyncReport.empty(); }, 20000);
    }

    const CalendarPage& page(WindowHandle calendar) {
        return static_cast<RoomCalendar*>(services.widget(calendar, calendar_window::kRoomCalendar))
            ->page();
    }

    void book(int arrival, int departure) {
        Booking booking;
        booking.roomId = room;
        booking.guest = "张三";
        booking.arrival = dayText(today() + arrival);
        booking.departure = dayText(today() + departure);
        ASSERT_EQ(saveBooking(state.database, booking).result, BookingResult::Saved);
    }

    LoopbackServer server;
    std::atomic<bool> broken = false;
    WindowHandle main = 0;
    int room = 0;
};

TEST_F(CalendarSync, AFeedAddedInTheSyncWindowShowsItsStaysAndConflictsInTheCalendar) {
    book(11, 13);  // the landlord let two of a@airbnb's nights at the desk
    const WindowHandle calendar = openCalendar();
    const WindowHandle sync = openSyncWindow(calendar);
    ASSERT_NE(sync, 0);
    pickComboItem(services, sync, calendar_sync_window::kRoomCombo, 0);
    services.setText(sync, calendar_sync_window::kNameEdit, "Airbnb");
    services.setText(sync, calendar_sync_window::kAddressEdit, server.url("/airbnb.ics"));
    pressKey(services, sync, calendar_sync_window::kAddressEdit, Qt::Key_Return);
    processEvents();
    ASSERT_EQ(calendarFeeds(state.database)->size(), 1U) << "Enter in the address adds it";
    EXPECT_EQ(services.text(sync, calendar_sync_window::kAddressEdit), "");
    EXPECT_TRUE(isOpen(sync));

    ASSERT_TRUE(pull(calendar));
    using Kind = CalendarBarKind;
    const auto& bars = page(calendar).bars;
    EXPECT_THAT(bars, Contains(CalendarBar{0, 17, 18, Kind::Conflict, "Airbnb Reserved", 0, 2}));
    EXPECT_THAT(bars, Contains(Field(&CalendarBar::kind, Kind::Outside)));
    EXPECT_THAT(bars, Contains(Field(&CalendarBar::kind, Kind::Closed)));
    EXPECT_THAT(bars, Contains(Field(&CalendarBar::kind, Kind::Booked)))
        << "the landlord's own booking stays as it was";
    EXPECT_THAT(services.text(calendar, calendar_window::kTodayLabel), HasSubstr("平台冲突"));
    EXPECT_THAT(services.text(sync, calendar_sync_window::kResultEdit), HasSubstr("冲突"));
    EXPECT_THAT(services.listCellText(sync, calendar_sync_window::kFeedsTable, 0, 4),
                HasSubstr("新增3"));
}

TEST_F(CalendarSync, ARefusedFeedKeepsWhatItBroughtAndSaysWhy) {
    ASSERT_EQ(addCalendarFeed(state.database, room, "Airbnb", server.url("/airbnb.ics")),
              FeedSave::Saved);
    const WindowHandle calendar = openCalendar();
    ASSERT_TRUE(pull(calendar));
    const auto before = outsideBookingsBetween(state.database, "2000-01-01", "2100-01-01");
    ASSERT_EQ(before->size(), 3U);

    broken = true;
    ASSERT_TRUE(pull(calendar));
    EXPECT_EQ(outsideBookingsBetween(state.database, "2000-01-01", "2100-01-01")->size(), 3U);
    EXPECT_THAT(findCalendarFeed(state.database, 1)->lastError, HasSubstr("404"));
    EXPECT_THAT(state.lastSyncReport, HasSubstr("未更新"));
    EXPECT_THAT(services.text(calendar, calendar_window::kSyncResultLabel), HasSubstr("404"));
}

TEST_F(CalendarSync, TenFeedsPullWhileTheWindowsGoOn) {
    RawHttpListener silent;  // one platform never answers
    for (int feed = 0; feed < 9; ++feed) {
        addCalendarFeed(state.database, room, "P" + std::to_string(feed),
                        server.url("/airbnb.ics"));
    }
    addCalendarFeed(state.database, room, "Silent",
                    "http://127.0.0.1:" + std::to_string(silent.port()) + "/x.ics");
    const WindowHandle calendar = openCalendar();
    ASSERT_TRUE(startCalendarSync(app));
    EXPECT_TRUE(state.feedPuller.busy());
    // The window answers while the silent feed holds the pull.
    clickControl(services, calendar, calendar_window::kLaterButton);
    processEvents();
    EXPECT_EQ(
        page(calendar).days.front(),
        formatDateTime(DateTime{static_cast<double>(today() - kCalendarDaysBefore + 7)}, "M/d"));
    EXPECT_FALSE(startCalendarSync(app)) << "one pull at a time";
    EXPECT_TRUE(state.lastSyncReport.empty());
    // Ending the program stops the pull without waiting for the silent platform.
}

TEST_F(CalendarSync, ALocalFileIsReadAsAFeedWithinTheSameLimits) {
    const std::filesystem::path file = folder.path() / std::filesystem::path(u8"途家.ics");
    writeFile(file, calendar(event("t@tujia", 3, 5, "Reserved")));
    ASSERT_EQ(addCalendarFeed(state.database, room, "途家", utf8ToGbk(file.string())),
              FeedSave::Saved);
    ASSERT_TRUE(pull(openCalendar()));
    const auto stays = outsideBookingsBetween(state.database, "2000-01-01", "2100-01-01");
    ASSERT_EQ(stays->size(), 1U);
    EXPECT_EQ(stays->front().uid, "t@tujia");

    FeedLimits small;
    small.maxBytes = 100;
    EXPECT_THAT(pullFeed({1, utf8ToGbk(file.string())}, {}, small).refusal, HasSubstr("MB"));
    const FeedPull missing =
        pullFeed({1, utf8ToGbk((folder.path() / "gone.ics").string())}, {}, FeedLimits{});
    EXPECT_NE(missing.refusal, "");
    EXPECT_TRUE(missing.parsed.events.empty());
}

TEST_F(CalendarSync, EveryChangeRewritesTheExportedCalendars) {
    const WindowHandle calendar = openCalendar();
    const WindowHandle sync = openSyncWindow(calendar);
    const std::filesystem::path folder = this->folder.path() / "calendars";
    services.setText(sync, calendar_sync_window::kExportEdit, utf8ToGbk(folder.string()));
    services.setChecked(sync, calendar_sync_window::kAutomaticCheck, false);
    confirm(sync);
    EXPECT_FALSE(isOpen(sync));
    EXPECT_FALSE(loadSyncSettings(state.database).automatic);
    ASSERT_TRUE(std::filesystem::exists(roomCalendarFile(folder, room)));

    book(3, 5);
    refreshRoomList(app);  // as every window does after it saved
    const std::string written = readFile(roomCalendarFile(folder, room));
    EXPECT_THAT(written, HasSubstr("UID:booking-1@tamrivo"));
    EXPECT_THAT(written, HasSubstr("DTSTART;VALUE=DATE:" + dayText(today() + 3, "yyyyMMdd")));
}

}  // namespace
}  // namespace tamrivo::testing
