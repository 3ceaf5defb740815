#include "app/lease_window.h"
#include "app/main_window.h"
#include "records/bookings.h"
#include "tests/app/app_fixture.h"
#include "ui/date_format.h"
#include "ui/date_time.h"
#include "ui/text_to_value.h"

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
        services.setText(lease, "编辑框_租金", "168");
        return lease;
    }

    WindowHandle main = 0;
    int room = 0;
    Booking booking;
};

TEST_F(Arrival, TheCheckInIsFilledFromTheBookingAndItsConfirmWritesAllThree) {
    const WindowHandle lease = openArrival();
    EXPECT_TEXT_EQ(services.text(lease, "编辑框_地址"), "一号房");
    EXPECT_TEXT_EQ(services.text(lease, "编辑框_姓名"), "王五");
    EXPECT_TEXT_EQ(services.text(lease, "编辑框_联系方式"), "139");
    EXPECT_TEXT_EQ(services.text(lease, "编辑框_定金"), "66.5");
    EXPECT_TEXT_EQ(services.text(lease, "编辑框_备注"), "靠窗");
    EXPECT_EQ(services.dateTime(lease, "日期框_预计退房"), toDateTime(booking.departure))
        << "the guest is expected to leave as booked";
    const Text orderNumber = services.text(lease, "编辑框_单号");
    clickControl(services, lease, "按钮_确定");
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
        clickControl(services, lease, "按钮_确定");
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
    clickControl(services, lease, "按钮_确定");
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
    EXPECT_TEXT_EQ(services.text(lease, "编辑框_姓名"), "") << "a walk-in, not the booking";
    services.setText(lease, "编辑框_姓名", "路人");
    services.setText(lease, "编辑框_定金", "0");
    services.setText(lease, "编辑框_租金", "150");
    clickControl(services, lease, "按钮_确定");
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

}  // namespace
}  // namespace tamrivo::testing
