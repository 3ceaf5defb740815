#include <gmock/gmock.h>

#include "app/calendar_page.h"
#include "app/calendar_window.h"
#include "app/main_window.h"
#include "base/date_format.h"
#include "engine/room_calendar.h"
#include "records/bookings.h"
#include "records/stored_dates.h"
#include "tests/app/app_fixture.h"
#include "ui/windows/booking_window.h"
#include "ui/windows/calendar_window.h"
#include "ui/windows/lease_window.h"

namespace tamrivo::testing {
namespace {

Text day(int fromToday) {
    return formatDateTime(DateTime{static_cast<double>(today() + fromToday)}, "yyyy-MM-dd");
}

class Calendar : public AppTest {
protected:
    void SetUp() override {
        main = startAndLogIn();
        ASSERT_NE(main, 0);
        idle = addRoom("一号房", 1);
        addRoom("废弃房", 0);
        let = addLetRoom("二号房", "A-1", day(-3) + " 14:00:00");
        planDeparture("A-1", 0);  // due to leave today
        refreshRoomList(app);
    }

    void planDeparture(const Text& orderNumber, int fromToday) {
        ASSERT_TRUE(run("INSERT OR REPLACE INTO b_yujituifang (zulinid, tuifangriqi) SELECT id, '" +
                        day(fromToday) + "' FROM b_zulin WHERE danhao='" + orderNumber + "'"));
    }

    WindowHandle openCalendar() {
        return openByCommand(main, -1, "房态预订", WindowKind::Calendar);
    }

    const CalendarPage& page(WindowHandle calendar) {
        return static_cast<RoomCalendar*>(services.widget(calendar, calendar_window::kRoomCalendar))
            ->page();
    }

    int book(int room, int arrival, int departure, const Text& guest) {
        Booking booking;
        booking.roomId = room;
        booking.arrival = day(arrival);
        booking.departure = day(departure);
        booking.guest = guest;
        const BookingOutcome saved = saveBooking(state.database, booking);
        EXPECT_EQ(saved.result, BookingResult::Saved);
        return saved.id;
    }

    // Fills an open booking window with the guest and the days from today.
    void fillBooking(WindowHandle window, const Text& guest, int arrival, int departure) {
        services.setText(window, booking_window::kNameEdit, guest);
        services.setDateTime(window, booking_window::kArrivalPicker,
                             DateTime{static_cast<double>(today() + arrival)});
        services.setDateTime(window, booking_window::kDeparturePicker,
                             DateTime{static_cast<double>(today() + departure)});
    }

    int bookingRow(WindowHandle calendar, int id) {
        for (int row = 0;
             services.listRowNumber(calendar, calendar_window::kBookingsTable, row) > 0; ++row) {
            if (services.listRowNumber(calendar, calendar_window::kBookingsTable, row) == id) {
                return row;
            }
        }
        return -1;
    }

    WindowHandle main = 0;
    int idle = 0;
    int let = 0;
};

TEST_F(Calendar, BarsShowEachStayCutAtThePagesEdgesInItsKind) {
    // Settled long ago, into the page; booked to beyond its end; one cancelled.
    ASSERT_TRUE(
        run("INSERT INTO b_zulin (danhao, fangzhi, xingming, ruzhuriqi, zulinzhuangtai, "
            "jiesuanriqi) VALUES ('S-1', '一号房', '老客', '" +
            day(-30) + " 10:00:00', 1, '" + day(-5) + " 09:00:00')"));
    book(idle, 50, 70, "远客");
    const int cancelled = book(idle, 2, 4, "改期");
    cancelBooking(state.database, cancelled);
    const WindowHandle calendar = openCalendar();
    ASSERT_NE(calendar, 0);
    const CalendarPage& shown = page(calendar);
    EXPECT_EQ(shown.rooms, (std::vector<Text>{"一号房", "二号房"})) << "abandoned rooms hidden";
    ASSERT_EQ(shown.days.size(), 68u);
    EXPECT_EQ(shown.todayColumn, 7);
    using Kind = CalendarBarKind;
    EXPECT_THAT(shown.bars,
                ::testing::UnorderedElementsAre(CalendarBar{0, 0, 1, Kind::Settled, "老客"},
                                                CalendarBar{1, 4, 6, Kind::Let, "张三"},
                                                CalendarBar{0, 57, 67, Kind::Booked, "远客"},
                                                CalendarBar{0, 9, 10, Kind::Cancelled, "改期"}));

    clickControl(services, calendar, calendar_window::kLaterButton);
    processEvents();
    EXPECT_EQ(page(calendar).todayColumn, 0);
    EXPECT_EQ(page(calendar).days.front(),
              formatDateTime(DateTime{static_cast<double>(today())}, "M/d"));
    clickControl(services, calendar, calendar_window::kTodayButton);
    processEvents();
    EXPECT_EQ(page(calendar).todayColumn, 7);
}

TEST_F(Calendar, ABookingIsMadeEditedAndCancelledThroughTheWindows) {
    const WindowHandle calendar = openCalendar();
    clickControl(services, calendar, calendar_window::kBookButton);
    processEvents();
    WindowHandle booking = only(WindowKind::Booking);
    ASSERT_NE(booking, 0);
    fillBooking(booking, "王五", 1, 3);
    services.setText(booking, booking_window::kDepositEdit, "0.125");
    confirm(booking);
    EXPECT_EQ(only(WindowKind::Booking), 0);
    const int id = queryInt("SELECT id FROM b_yuding WHERE xingming='王五'");
    EXPECT_TEXT_EQ(queryText("SELECT daodariqi || '/' || likairiqi || '/' || dingjin || '/' || "
                             "fangjianid FROM b_yuding"),
                   day(1) + "/" + day(3) + "/0.13/" + std::to_string(idle));
    EXPECT_THAT(page(calendar).bars,
                ::testing::Contains(CalendarBar{0, 8, 9, CalendarBarKind::Booked, "王五"}))
        << "the calendar redraws when a window saves";

    services.setSelectedIndex(calendar, calendar_window::kBookingsTable, bookingRow(calendar, id));
    clickControl(services, calendar, calendar_window::kEditButton);
    processEvents();
    booking = only(WindowKind::Booking);
    EXPECT_TEXT_EQ(services.text(booking, booking_window::kNameEdit), "王五");
    services.setText(booking, booking_window::kNameEdit, "王五五");
    confirm(booking);
    EXPECT_TEXT_EQ(queryText("SELECT xingming FROM b_yuding"), "王五五");

    services.setSelectedIndex(calendar, calendar_window::kBookingsTable, bookingRow(calendar, id));
    responder.answer(kAnswerYes);
    clickControl(services, calendar, calendar_window::kCancelBookingButton);
    processEvents();
    EXPECT_EQ(queryInt("SELECT zhuangtai FROM b_yuding"), 2);
    EXPECT_THAT(page(calendar).bars,
                ::testing::Contains(CalendarBar{0, 8, 9, CalendarBarKind::Cancelled, "王五五"}));
}

TEST_F(Calendar, OfTwoBookingWindowsOnTheSameDaysTheSecondIsRefusedNamingTheFirst) {
    const WindowHandle calendar = openCalendar();
    clickControl(services, calendar, calendar_window::kBookButton);
    clickControl(services, calendar, calendar_window::kBookButton);
    processEvents();
    const auto windows = services.openWindows(WindowKind::Booking);
    ASSERT_EQ(windows.size(), 2u);
    fillBooking(windows[0], "甲", 1, 4);
    fillBooking(windows[1], "乙", 3, 5);
    confirm(windows[0]);
    confirm(windows[1]);
    const int first = queryInt("SELECT id FROM b_yuding");
    EXPECT_TEXT_EQ(lastBoxText(), "这些日期已被预订：\r\n预订" + std::to_string(first) + "：甲，" +
                                      day(1) + " 至 " + day(4));
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_yuding"), 1);
    EXPECT_NE(only(WindowKind::Booking), 0) << "the refused one stays open to change";
}

TEST_F(Calendar, ABookingOfNobodyInThePastOrOverAStayIsRefusedSayingWhy) {
    planDeparture("A-1", 3);
    openCalendar();
    openBookingWindow(app, 0, let);
    const WindowHandle booking = only(WindowKind::Booking);
    fillBooking(booking, " ", 4, 6);
    confirm(booking);
    EXPECT_TEXT_EQ(lastBoxText(), "请填写姓名");
    fillBooking(booking, "丁", -1, 6);
    confirm(booking);
    EXPECT_TEXT_EQ(lastBoxText(), "到达日期不能早于今天");
    fillBooking(booking, "丁", 2, 6);
    confirm(booking);
    EXPECT_TEXT_EQ(lastBoxText(),
                   "这些日期房间有客人入住：\r\n张三，二号房，" + day(-3) + " 至 " + day(3));
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_yuding"), 0);
    fillBooking(booking, "丁", 3, 6);  // from the planned departure on
    confirm(booking);
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_yuding"), 1);
}

TEST_F(Calendar, BookingALetRoomForTodayAsksAndNoSavesNothing) {
    const WindowHandle calendar = openCalendar();
    openBookingWindow(app, 0, let);
    const WindowHandle booking = only(WindowKind::Booking);
    EXPECT_TEXT_EQ(services.text(booking, booking_window::kRoomCombo), "二号房");
    fillBooking(booking, "丙", 0, 2);
    responder.answer(kAnswerNo);
    confirm(booking);
    EXPECT_TEXT_EQ(lastBoxText(), "这个房间在到达日仍在出租中，确定仍要预订吗？");
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_yuding"), 0);
    responder.answer(kAnswerYes);
    confirm(booking);
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_yuding"), 1);
    static_cast<void>(calendar);
}

TEST_F(Calendar, TheHeaderListsTodaysArrivalsAndDeparturesAndArrivalLetsTheGuestIn) {
    const int arriving = book(idle, 0, 2, "赵一");
    const WindowHandle calendar = openCalendar();
    EXPECT_TEXT_EQ(services.text(calendar, calendar_window::kTodayLabel),
                   "今日 " + day(0) + "  预计到达：一号房 赵一\r\n应离开：二号房 张三");

    services.setSelectedIndex(calendar, calendar_window::kBookingsTable,
                              bookingRow(calendar, arriving));
    clickControl(services, calendar, calendar_window::kArriveButton);
    processEvents();
    const WindowHandle lease = only(WindowKind::Lease);
    ASSERT_NE(lease, 0);
    EXPECT_TEXT_EQ(services.text(lease, lease_window::kNameEdit), "赵一");
    services.setText(lease, lease_window::kRentEdit, "150");
    confirm(lease);
    EXPECT_EQ(findBooking(state.database, arriving)->state, schema::kBookingArrived);
    EXPECT_TEXT_EQ(services.text(calendar, calendar_window::kTodayLabel),
                   "今日 " + day(0) + "  预计到达：无\r\n应离开：二号房 张三");
    // The guest stays up to the booking's departure.
    EXPECT_THAT(page(calendar).bars,
                ::testing::Contains(CalendarBar{0, 7, 8, CalendarBarKind::Let, "赵一"}));
}

TEST_F(Calendar, TheHeaderNamesTheGuestsStillInAfterTheirPlannedDeparture) {
    addLetRoom("三号房", "B-2", day(-5) + " 10:00:00");
    planDeparture("B-2", -1);
    addLetRoom("四号房", "C-3", day(-4) + " 10:00:00");
    planDeparture("C-3", -2);
    addLetRoom("五号房", "D-4", day(-1) + " 10:00:00");
    planDeparture("D-4", 1);  // due tomorrow: in neither list
    ASSERT_TRUE(run("UPDATE b_zulin SET xingming='钱二' WHERE danhao='C-3'"));
    const WindowHandle calendar = openCalendar();
    EXPECT_TEXT_EQ(services.text(calendar, calendar_window::kTodayLabel),
                   "今日 " + day(0) +
                       "  预计到达：无\r\n应离开：二号房 张三  已超期：三号房 张三；四号房 钱二");

    // Once the last of them has left, the part goes.
    ASSERT_TRUE(
        run("UPDATE b_fangjian SET chuzuzhuangtai=0, danhao='' WHERE dizhi IN "
            "('三号房', '四号房')"));
    clickControl(services, calendar, calendar_window::kTodayButton);
    processEvents();
    EXPECT_TEXT_EQ(services.text(calendar, calendar_window::kTodayLabel),
                   "今日 " + day(0) + "  预计到达：无\r\n应离开：二号房 张三");
}

// A page of ten days from 2026-11-27 (day 46353), across the month's end, with today the
// 2026-12-02: an overstaying guest, a booking and a cancelled one on the stay's nights.
TEST(CalendarPage, NoBarHidesAStayAndAnOverstayShowsUpToToday) {
    constexpr std::int64_t kFirst = 46353;
    CalendarRecords records;
    records.rooms = {{1, "101", "A-1"}, {2, "102", ""}};
    OpenStay stay;
    stay.roomId = 1;
    stay.guest = "李四";
    stay.firstDay = kFirst + 1;          // 11-28
    stay.plannedDeparture = kFirst + 4;  // 12-01
    records.stays = {stay};
    Booking over;
    over.roomId = 1;
    over.guest = "王五";
    over.arrival = "2026-11-30";
    over.departure = "2026-12-03";
    Booking cancelled = over;
    cancelled.guest = "赵六";
    cancelled.arrival = "2026-11-28";
    cancelled.state = schema::kBookingCancelled;
    Booking elsewhere = over;
    elsewhere.roomId = 2;
    elsewhere.guest = "钱七";
    records.bookings = {over, cancelled, elsewhere};

    const CalendarPage page = calendarPage(records, kFirst, 10, kFirst + 5);
    using Kind = CalendarBarKind;
    // The stay and its overstay share lane 0; each booking lies in a lane of its own.
    EXPECT_THAT(page.bars,
                ::testing::UnorderedElementsAre(CalendarBar{0, 1, 3, Kind::Let, "李四", 0, 3},
                                                CalendarBar{0, 4, 5, Kind::Overstay, "李四", 0, 3},
                                                CalendarBar{0, 3, 5, Kind::Booked, "王五", 1, 3},
                                                CalendarBar{0, 1, 5, Kind::Cancelled, "赵六", 2, 3},
                                                CalendarBar{1, 3, 5, Kind::Booked, "钱七", 0, 1}));

    // On the planned day itself the guest is due out: no overstay yet.
    const CalendarPage due = calendarPage(records, kFirst, 10, kFirst + 4);
    EXPECT_EQ(std::count_if(due.bars.begin(), due.bars.end(),
                            [](const CalendarBar& bar) { return bar.kind == Kind::Overstay; }),
              0);
}

TEST_F(Calendar, ThereIsOneCalendarAtATime) {
    const WindowHandle calendar = openCalendar();
    command(main, -1, "房态预订");
    EXPECT_EQ(services.openWindows(WindowKind::Calendar).size(), 1u);
    services.destroyWindow(calendar);
    processEvents();
    refreshRoomList(app);  // with no calendar to redraw
}

TEST_F(AppTest, RecordsFromBeforeTheBookingsGainTheirTableWhenTheProgramOpensThem) {
    makeDatabase(true);
    {
        Database older;
        ASSERT_TRUE(older.open(databaseFile().string(), schema::kDatabaseKey));
        ASSERT_TRUE(older.execute("DROP TABLE `b_yuding`"));
        ASSERT_TRUE(older.execute("DROP TABLE `b_yujituifang`"));
        older.close();
    }
    ASSERT_TRUE(startProgram(app));
    const WindowHandle main = logIn("admin", "904817");
    ASSERT_NE(main, 0);
    EXPECT_TRUE(state.database.tableExists("b_yuding"));
    EXPECT_TRUE(state.database.tableExists("b_yujituifang"));
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_zulin"), 3) << "the demo leases are still there";
    EXPECT_NE(openByCommand(main, -1, "房态预订", WindowKind::Calendar), 0);
}

}  // namespace
}  // namespace tamrivo::testing
