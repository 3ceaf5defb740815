#include "app/lease_window.h"
#include "app/main_window.h"
#include "base/date_format.h"
#include "base/date_time.h"
#include "base/text_to_value.h"
#include "records/bookings.h"
#include "tests/app/app_fixture.h"
#include "ui/windows/lease_window.h"

namespace tamrivo::testing {
namespace {

Text dayFromToday(int days) {
    return formatDateTime(DateTime{currentDateTime().days + days}, "yyyy-MM-dd");
}

class Arrival : public AppTest {
protected:
    void SetUp() override {
        main = startAndLogIn();
        ASSERT_NE(main, 0);
        room = addRoom("一号房", 1);
        refreshRoomList(app);
        Booking wanted;
        wanted.roomId = room;
        wanted.guest = "王五";
        wanted.contact = "139";
        wanted.arrival = dayFromToday(0);
        wanted.departure = dayFromToday(2);
        wanted.deposit = 66.5;
        wanted.remark = "靠窗";
        const BookingOutcome saved = saveBooking(state.database, wanted);
        ASSERT_EQ(saved.result, BookingResult::Saved);
        booking = *findBooking(state.database, saved.id);
    }

    // The booking carries no rent: the landlord types it.
    WindowHandle openArrival() {
        openArrivalWindow(app, booking);
        const WindowHandle lease = only(WindowKind::Lease);
        services.setText(lease, lease_window::kRentEdit, "168");
        return lease;
    }

    WindowHandle main = 0;
    int room = 0;
    Booking booking;
};

TEST_F(Arrival, TheCheckInIsFilledFromTheBookingAndItsConfirmWritesAllThree) {
    const WindowHandle lease = openArrival();
    EXPECT_TEXT_EQ(services.text(lease, lease_window::kAddressEdit), "一号房");
    EXPECT_TEXT_EQ(services.text(lease, lease_window::kNameEdit), "王五");
    EXPECT_TEXT_EQ(services.text(lease, lease_window::kContactEdit), "139");
    EXPECT_TEXT_EQ(services.text(lease, lease_window::kDepositEdit), "66.5");
    EXPECT_TEXT_EQ(services.text(lease, lease_window::kRemarkEdit), "靠窗");
    EXPECT_EQ(services.dateTime(lease, lease_window::kDeparturePicker),
              toDateTime(booking.departure))
        << "the guest is expected to leave as booked";
    const Text orderNumber = services.text(lease, lease_window::kOrderNumberEdit);
    clickControl(services, lease, lease_window::kConfirmButton);
    ASSERT_TRUE(waitUntil([&] { return only(WindowKind::Lease) == 0; }));

    EXPECT_TEXT_EQ(queryText("SELECT xingming FROM b_zulin WHERE danhao='" + orderNumber + "'"),
                   "王五");
    EXPECT_TEXT_EQ(queryText("SELECT danhao FROM b_fangjian"), orderNumber);
    const Booking arrived = *findBooking(state.database, booking.id);
    EXPECT_EQ(arrived.state, schema::kBookingArrived);
    EXPECT_TEXT_EQ(arrived.orderNumber, orderNumber);
    EXPECT_TEXT_EQ(queryText("SELECT tuifangriqi FROM b_yujituifang"), booking.departure);
    EXPECT_EQ(roomList(main).front().image, 2);
}

TEST_F(Arrival, NothingIsHalfWrittenWhenAnyOfTheThreeWritesFails) {
    for (const char* table : {"b_zulin", "b_fangjian", "b_yuding"}) {
        const Text trigger = "refuse_" + Text(table);
        ASSERT_TRUE(run("CREATE TRIGGER " + trigger + " BEFORE " +
                        (Text(table) == "b_zulin" ? "INSERT" : "UPDATE") + " ON " + table +
                        " BEGIN SELECT RAISE(ABORT, '写不进去'); END"));
        const WindowHandle lease = openArrival();
        clickControl(services, lease, lease_window::kConfirmButton);
        processEvents();
        EXPECT_TEXT_EQ(lastBoxText(), "写不进去") << table;
        EXPECT_EQ(queryInt("SELECT count(*) FROM b_zulin"), 0) << table;
        EXPECT_EQ(queryInt("SELECT chuzuzhuangtai FROM b_fangjian"), 0) << table;
        EXPECT_TRUE(findBooking(state.database, booking.id)->booked()) << table;
        services.destroyWindow(lease);
        processEvents();
        ASSERT_TRUE(run("DROP TRIGGER " + trigger));
    }
}

TEST_F(Arrival, ABookingCancelledWhileTheWindowWasOpenIsNotLetIn) {
    const WindowHandle lease = openArrival();
    ASSERT_EQ(cancelBooking(state.database, booking.id).result, BookingResult::Saved);
    clickControl(services, lease, lease_window::kConfirmButton);
    processEvents();
    EXPECT_TEXT_EQ(lastBoxText(), "这个预订已经取消或已经入住");
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_zulin"), 0);
    EXPECT_EQ(queryInt("SELECT chuzuzhuangtai FROM b_fangjian"), 0);
}

TEST_F(Arrival, ACheckInFromTheToolbarOnARoomBookedForTodayAsksFirst) {
    responder.answer(kAnswerNo);
    command(main, 0, "房屋入住");
    EXPECT_TEXT_EQ(lastBoxText(), "这个房间今天已被预订：\r\n\r\n预订" +
                                      std::to_string(booking.id) + "：王五，" + booking.arrival +
                                      " 至 " + booking.departure + "\r\n\r\n确定仍要入住吗？");
    EXPECT_EQ(only(WindowKind::Lease), 0);

    responder.answer(kAnswerYes);
    command(main, 0, "房屋入住");
    const WindowHandle lease = only(WindowKind::Lease);
    ASSERT_NE(lease, 0);
    EXPECT_TEXT_EQ(services.text(lease, lease_window::kNameEdit), "")
        << "a walk-in, not the booking";
    services.setText(lease, lease_window::kNameEdit, "路人");
    services.setText(lease, lease_window::kDepositEdit, "0");
    services.setText(lease, lease_window::kRentEdit, "150");
    clickControl(services, lease, lease_window::kConfirmButton);
    ASSERT_TRUE(waitUntil([&] { return only(WindowKind::Lease) == 0; }));
    EXPECT_TRUE(findBooking(state.database, booking.id)->booked());
}

TEST_F(Arrival, ARoomBookedFromTomorrowLetsWithoutAsking) {
    ASSERT_EQ(cancelBooking(state.database, booking.id).result, BookingResult::Saved);
    booking.id = 0;
    booking.arrival = dayFromToday(1);
    booking.departure = dayFromToday(3);
    ASSERT_EQ(saveBooking(state.database, booking).result, BookingResult::Saved);
    const std::size_t boxes = responder.count();
    command(main, 0, "房屋入住");
    EXPECT_NE(only(WindowKind::Lease), 0);
    EXPECT_EQ(responder.count(), boxes);
}

// The question a save asks when the stay's nights run over another guest's booking.
Text bookedDuringStay(const Booking& other) {
    return "这个房间在预计退房前已被预订：\r\n\r\n预订" + std::to_string(other.id) + "：" +
           other.guest + "，" + other.arrival + " 至 " + other.departure +
           "\r\n\r\n确定仍要保存吗？";
}

class StayOverBooking : public Arrival {
protected:
    // Another guest's booking of the room, from days after today.
    Booking bookLater(int arrival, int departure, const Text& guest) {
        Booking later;
        later.roomId = room;
        later.guest = guest;
        later.arrival = dayFromToday(arrival);
        later.departure = dayFromToday(departure);
        const BookingOutcome saved = saveBooking(state.database, later);
        EXPECT_EQ(saved.result, BookingResult::Saved);
        return *findBooking(state.database, saved.id);
    }

    void planDeparture(WindowHandle lease, int fromToday) {
        services.setDateTime(lease, lease_window::kDeparturePicker,
                             toDateTime(dayFromToday(fromToday)));
    }
};

TEST_F(StayOverBooking, AnArrivalStayingIntoTheNextBookingAsksAndNoSavesNothing) {
    const Booking next = bookLater(3, 5, "赵六");
    const WindowHandle lease = openArrival();
    planDeparture(lease, 4);
    responder.answer(kAnswerNo);
    confirm(lease);
    EXPECT_TEXT_EQ(lastBoxText(), bookedDuringStay(next));
    EXPECT_NE(only(WindowKind::Lease), 0) << "stays open with its contents";
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_zulin"), 0);
    EXPECT_TRUE(findBooking(state.database, booking.id)->booked());

    // Leaving the day the next guest comes takes none of their nights; the booking arriving
    // is the guest's own.
    planDeparture(lease, 3);
    const std::size_t boxes = responder.count();
    confirm(lease);
    EXPECT_EQ(responder.count(), boxes);
    EXPECT_EQ(only(WindowKind::Lease), 0);
    EXPECT_TEXT_EQ(queryText("SELECT tuifangriqi FROM b_yujituifang"), dayFromToday(3));
}

TEST_F(StayOverBooking, AYesSavesTheArrivalOverTheBooking) {
    const Booking next = bookLater(2, 4, "赵六");
    const WindowHandle lease = openArrival();
    planDeparture(lease, 3);
    responder.answer(kAnswerYes);
    confirm(lease);
    EXPECT_TEXT_EQ(lastBoxText(), bookedDuringStay(next));
    EXPECT_EQ(only(WindowKind::Lease), 0);
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_zulin"), 1);
    EXPECT_TRUE(findBooking(state.database, next.id)->booked()) << "the other booking stands";
}

TEST_F(StayOverBooking, AWalkInIsAskedOnlyAboutTheBookingsItWasNotAskedAboutYet) {
    const Booking next = bookLater(3, 6, "赵六");
    responder.answer(kAnswerYes);
    command(main, 0, "房屋入住");  // asks about today's booking
    const WindowHandle lease = only(WindowKind::Lease);
    ASSERT_NE(lease, 0);
    services.setText(lease, lease_window::kNameEdit, "路人");
    services.setText(lease, lease_window::kDepositEdit, "0");
    services.setText(lease, lease_window::kRentEdit, "150");
    planDeparture(lease, 5);
    responder.answer(kAnswerNo);
    confirm(lease);
    EXPECT_TEXT_EQ(lastBoxText(), bookedDuringStay(next)) << "not today's again";
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_zulin"), 0);

    planDeparture(lease, 2);  // only today's booking's nights, let over already
    const std::size_t boxes = responder.count();
    confirm(lease);
    EXPECT_EQ(responder.count(), boxes);
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_zulin"), 1);
}

TEST_F(StayOverBooking, ALeaseEditLengtheningTheStayAsksAndACancelledBookingDoesNot) {
    ASSERT_EQ(cancelBooking(state.database, booking.id).result, BookingResult::Saved);
    addLetRoom("二号房", "A-1", dayFromToday(-2) + " 09:00:00");
    const int let = queryInt("SELECT id FROM b_fangjian WHERE danhao='A-1'");
    refreshRoomList(app);
    room = let;
    const Booking next = bookLater(4, 6, "赵六");
    const Booking cancelled = bookLater(1, 3, "改期");
    ASSERT_EQ(cancelBooking(state.database, cancelled.id).result, BookingResult::Saved);

    command(main, 1, "修改入住");
    WindowHandle lease = only(WindowKind::Lease);
    ASSERT_NE(lease, 0);
    planDeparture(lease, 3);
    const std::size_t boxes = responder.count();
    confirm(lease);
    EXPECT_EQ(responder.count(), boxes) << "a cancelled booking holds no nights";
    EXPECT_EQ(only(WindowKind::Lease), 0);

    command(main, 1, "修改入住");
    lease = only(WindowKind::Lease);
    planDeparture(lease, 5);
    responder.answer(kAnswerNo);
    confirm(lease);
    EXPECT_TEXT_EQ(lastBoxText(), bookedDuringStay(next));
    EXPECT_TEXT_EQ(queryText("SELECT tuifangriqi FROM b_yujituifang"), dayFromToday(3));
    responder.answer(kAnswerYes);
    confirm(lease);
    EXPECT_EQ(only(WindowKind::Lease), 0);
    EXPECT_TEXT_EQ(queryText("SELECT tuifangriqi FROM b_yujituifang"), dayFromToday(5));
}

}  // namespace
}  // namespace tamrivo::testing
