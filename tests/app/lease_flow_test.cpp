#include <QDateTime>

#include "app/checkout_window.h"
#include "app/lease_window.h"
#include "app/main_window.h"
#include "base/text_to_value.h"
#include "records/order_number.h"
#include "records/stored_dates.h"
#include "tests/app/app_fixture.h"
#include "ui/windows/checkout_window.h"
#include "ui/windows/lease_window.h"
#include "ui/windows/room_window.h"

namespace tamrivo::testing {
namespace {

class Screens : public AppTest {
protected:
    void SetUp() override {
        main = startAndLogIn();
        ASSERT_NE(main, 0);
        idle = addRoom("一号房", 1);
        refreshRoomList(app);
    }

    // Opens the lease window on the idle room and fills it.
    WindowHandle openCheckIn(const Text& deposit, const Text& rent) {
        command(main, 0, "房屋入住");
        const WindowHandle lease = services.openWindows(WindowKind::Lease).back();
        services.setText(lease, lease_window::kNameEdit, "李四");
        services.setText(lease, lease_window::kDepositEdit, deposit);
        services.setText(lease, lease_window::kRentEdit, rent);
        return lease;
    }

    WindowHandle main = 0;
    int idle = 0;
};

TEST_F(Screens, AddingAndEditingARoom) {
    command(main, -1, "增加房屋信息");
    WindowHandle room = only(WindowKind::Room);
    EXPECT_TEXT_EQ(services.text(room, {}), "增加记录");
    EXPECT_EQ(services.selectedIndex(room, room_window::kConditionCombo), 0);
    clickControl(services, room, room_window::kConfirmButton);
    EXPECT_TEXT_EQ(lastBoxText(), "房屋地址是必须要填写");

    const Text address = "O'Brien \\ \"x\" 全角　";
    services.setText(room, room_window::kAddressEdit, address);
    pickComboItem(services, room, room_window::kConditionCombo, 1);
    clickControl(services, room, room_window::kConfirmButton);
    ASSERT_TRUE(waitUntil([&] { return only(WindowKind::Room) == 0; }));
    EXPECT_EQ(roomList(main).back(), (Row{address, 1}));

    command(main, 1, "修改房屋信息");
    room = only(WindowKind::Room);
    EXPECT_TEXT_EQ(services.text(room, {}), "修改记录");
    EXPECT_EQ(services.selectedIndex(room, room_window::kConditionCombo), 1);
    pickComboItem(services, room, room_window::kConditionCombo, 0);
    services.setText(room, room_window::kAddressEdit, "   ");
    clickControl(services, room, room_window::kConfirmButton);
    ASSERT_TRUE(waitUntil([&] { return only(WindowKind::Room) == 0; }));
    EXPECT_EQ(roomList(main).back(), (Row{"   ", 0}));  // blanks are an address
}

TEST_F(Screens, TwoRoomWindowsEachSaveTheirOwnRoom) {
    command(main, -1, "增加房屋信息");
    command(main, 0, "修改房屋信息");  // overwrites the program-wide mode and room
    const auto windows = services.openWindows(WindowKind::Room);
    ASSERT_EQ(windows.size(), 2u);
    services.setText(windows[0], room_window::kAddressEdit, "新房");
    clickControl(services, windows[0], room_window::kConfirmButton);
    processEvents();
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_fangjian"), 2);  // added, not an edit
    EXPECT_TEXT_EQ(queryText("SELECT dizhi FROM b_fangjian WHERE id=" + std::to_string(idle)),
                   "一号房");
}

TEST_F(Screens, ACheckInLetsTheRoomWithRoundedMoney) {
    const WindowHandle lease = openCheckIn("0.125", "0");
    EXPECT_TEXT_EQ(services.text(lease, {}), "增加记录");
    EXPECT_TEXT_EQ(services.text(lease, lease_window::kAddressEdit), "一号房");
    const Text orderNumber = services.text(lease, lease_window::kOrderNumberEdit);
    ASSERT_EQ(orderNumber.size(), 23u);
    EXPECT_TEXT_EQ(orderNumber.substr(14), "-00001000");
    clickControl(services, lease, lease_window::kConfirmButton);
    ASSERT_TRUE(waitUntil([&] { return only(WindowKind::Lease) == 0; }));

    EXPECT_EQ(roomList(main).front().image, 2);
    EXPECT_TEXT_EQ(queryText("SELECT danhao FROM b_fangjian"), orderNumber);
    EXPECT_TEXT_EQ(queryText("SELECT dingjin || '/' || zujin || '/' || zulinzhuangtai FROM "
                             "b_zulin"),
                   "0.13/0.0/0");
}

TEST_F(Screens, ACheckInOfNobodyOrWithoutMoneyIsRefusedNamingTheBox) {
    const WindowHandle lease = openCheckIn("", "");
    // A walk-in is expected to leave the next day.
    EXPECT_EQ(services.dateTime(lease, lease_window::kDeparturePicker),
              DateTime{static_cast<double>(today() + 1)});
    services.setText(lease, lease_window::kNameEdit, "　 ");
    confirm(lease);
    EXPECT_TEXT_EQ(lastBoxText(), "请填写姓名");
    services.setText(lease, lease_window::kNameEdit, "李四");
    confirm(lease);
    EXPECT_TEXT_EQ(lastBoxText(), "请正确填写定金(没有定金请填0)");
    services.setText(lease, lease_window::kDepositEdit, "0");
    services.setText(lease, lease_window::kRentEdit, "abc");
    confirm(lease);
    EXPECT_TEXT_EQ(lastBoxText(), "请正确填写租金");
    services.setText(lease, lease_window::kRentEdit, "120");
    services.setDateTime(lease, lease_window::kDeparturePicker,
                         DateTime{static_cast<double>(today())});
    confirm(lease);
    EXPECT_TEXT_EQ(lastBoxText(), "预计退房必须在入住日期之后");
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_zulin"), 0);
    EXPECT_EQ(queryInt("SELECT chuzuzhuangtai FROM b_fangjian"), 0);

    services.setDateTime(lease, lease_window::kDeparturePicker,
                         DateTime{static_cast<double>(today() + 3)});
    confirm(lease);
    ASSERT_TRUE(waitUntil([&] { return only(WindowKind::Lease) == 0; }));
    EXPECT_TEXT_EQ(queryText("SELECT tuifangriqi FROM b_yujituifang"), dayText(today() + 3));
    // The edit shows it, and refuses a blank name too.
    command(main, 0, "修改入住");
    const WindowHandle edit = only(WindowKind::Lease);
    EXPECT_EQ(services.dateTime(edit, lease_window::kDeparturePicker),
              DateTime{static_cast<double>(today() + 3)});
    services.setText(edit, lease_window::kNameEdit, "");
    confirm(edit);
    EXPECT_TEXT_EQ(lastBoxText(), "请填写姓名");
    EXPECT_TEXT_EQ(queryText("SELECT xingming FROM b_zulin"), "李四");
}

TEST_F(Screens, TheCheckOutShowsWhatIsOwedFollowingTheDateAndSettlesTheFenTyped) {
    addLetRoom("二号房", "A-1", "2020-02-17 12:00:00");  // deposit 100.5, rent 80
    refreshRoomList(app);
    command(main, 1, "退房操作");
    const WindowHandle checkout = only(WindowKind::Checkout);
    services.setDateTime(checkout, checkout_window::kCheckOutPicker,
                         toDateTime("2020-02-19 00:00:00"));
    EXPECT_TEXT_EQ(services.text(checkout, checkout_window::kDaysLabel), "入住天数：1.5天");
    EXPECT_TEXT_EQ(services.text(checkout, checkout_window::kNightsLabel), "计费晚数：2晚");
    EXPECT_TEXT_EQ(services.text(checkout, checkout_window::kRentTotalLabel), "租金合计：160元");
    EXPECT_TEXT_EQ(services.text(checkout, checkout_window::kSettledDepositLabel), "定金：100.5元");
    EXPECT_TEXT_EQ(services.text(checkout, checkout_window::kDueLabel), "应收：59.5元");
    EXPECT_TEXT_EQ(services.text(checkout, checkout_window::kAmountEdit), "59.5");
    // Leaving the same evening: one night, and the deposit is more than the rent.
    services.setDateTime(checkout, checkout_window::kCheckOutPicker,
                         toDateTime("2020-02-17 18:00:00"));
    EXPECT_TEXT_EQ(services.text(checkout, checkout_window::kDaysLabel), "入住天数：0.25天");
    EXPECT_TEXT_EQ(services.text(checkout, checkout_window::kNightsLabel), "计费晚数：1晚");
    EXPECT_TEXT_EQ(services.text(checkout, checkout_window::kDueLabel), "应退：20.5元");
    EXPECT_TEXT_EQ(services.text(checkout, checkout_window::kAmountEdit), "-20.5");
    // What the landlord types stays when the date moves again.
    services.setText(checkout, checkout_window::kAmountEdit, "385.505");
    services.setDateTime(checkout, checkout_window::kCheckOutPicker,
                         toDateTime("2020-03-01 10:00:00"));
    EXPECT_TEXT_EQ(services.text(checkout, checkout_window::kNightsLabel), "计费晚数：13晚");
    EXPECT_TEXT_EQ(services.text(checkout, checkout_window::kAmountEdit), "385.505");

    responder.answer(kAnswerNo);
    confirm(checkout);
    EXPECT_TEXT_EQ(lastBoxText(), "确定为 张三（二号房）退房结算吗？\r\n\r\n实收金额：385.51元");
    EXPECT_EQ(queryInt("SELECT zulinzhuangtai FROM b_zulin"), 0) << "答否 settles nothing";
    responder.answer(kAnswerYes);
    confirm(checkout);
    EXPECT_TEXT_EQ(lastBoxText(), "退房成功");
    EXPECT_TEXT_EQ(queryText("SELECT jiesuanjine FROM b_zulin"), "385.51");
    EXPECT_TEXT_EQ(statusPart(main, 3), "已结算总额：385.51元");
}

TEST_F(Screens, AnEmptyOrUnreadableAmountIsRefusedNamingTheBox) {
    addLetRoom("二号房", "A-1", "2020-02-17 12:00:00");
    refreshRoomList(app);
    command(main, 1, "退房操作");
    const WindowHandle checkout = only(WindowKind::Checkout);
    services.setText(checkout, checkout_window::kAmountEdit, "");
    confirm(checkout);
    EXPECT_TEXT_EQ(lastBoxText(), "请填写实收金额");
    services.setText(checkout, checkout_window::kAmountEdit, "12..5");
    confirm(checkout);
    EXPECT_TEXT_EQ(lastBoxText(), "实收金额不是有效的金额,请重新填写");
    EXPECT_EQ(queryInt("SELECT zulinzhuangtai FROM b_zulin"), 0);
    EXPECT_EQ(queryInt("SELECT chuzuzhuangtai FROM b_fangjian WHERE dizhi='二号房'"), 1);
}

TEST_F(Screens, TheSerialFollowsTheLargestLeaseId) {
    ASSERT_TRUE(run("INSERT INTO b_zulin (id, danhao) VALUES(5, 'x')"));
    EXPECT_TEXT_EQ(newOrderNumber(state.database).substr(14), "-00001005");
    ASSERT_TRUE(run("ALTER TABLE b_zulin RENAME TO gone"));
    EXPECT_TEXT_EQ(newOrderNumber(state.database).substr(14), "-00000999");
}

TEST_F(Screens, MoneyIsRoundedAfterPassingThroughSinglePrecision) {
    EXPECT_EQ(moneyFromText("0.125", 2), 0.13);
    EXPECT_EQ(moneyFromText("150.555", 2), 150.55);
    EXPECT_EQ(moneyFromText("abc", 2), 0.0);
    EXPECT_EQ(moneyFromText("2.5", 0), 3.0);
    EXPECT_EQ(moneyFromText("150.49", 0), 150.0);
    EXPECT_EQ(moneyFromText("-2.5", 0), -3.0);
}

TEST_F(Screens, AFailedSecondWriteRollsTheCheckInBack) {
    ASSERT_TRUE(
        run("CREATE TRIGGER refuse BEFORE UPDATE ON b_fangjian BEGIN "
            "SELECT RAISE(ABORT, '房间被锁定'); END"));
    const WindowHandle lease = openCheckIn("1", "2");
    clickControl(services, lease, lease_window::kConfirmButton);
    processEvents();
    EXPECT_TEXT_EQ(lastBoxText(), "房间被锁定");
    EXPECT_TEXT_EQ(responder.boxes().back().title, "ErrMsg");
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_zulin"), 0);
    EXPECT_NE(only(WindowKind::Lease), 0);  // stays open with its contents
}

TEST_F(Screens, EditingALeaseRewritesItAndAQuotedNumberChangesNoOtherLease) {
    const int let = addLetRoom("二号房", "A-1", "2020-02-17 09:05:03");
    addLetRoom("三号房", "B-2", "2020-02-17 09:05:03");
    refreshRoomList(app);
    command(main, 1, "修改入住");
    WindowHandle lease = only(WindowKind::Lease);
    EXPECT_TEXT_EQ(services.text(lease, {}), "修改记录");
    EXPECT_TEXT_EQ(services.text(lease, lease_window::kDepositEdit), "100.5");
    EXPECT_EQ(services.dateTime(lease, lease_window::kCheckInPicker),
              toDateTime("2020-02-17 09:05:03"));
    services.setText(lease, lease_window::kNameEdit, "王五");
    clickControl(services, lease, lease_window::kConfirmButton);
    ASSERT_TRUE(waitUntil([&] { return only(WindowKind::Lease) == 0; }));
    EXPECT_TEXT_EQ(queryText("SELECT xingming FROM b_zulin WHERE danhao='A-1'"), "王五");

    command(main, 1, "修改入住");
    lease = only(WindowKind::Lease);
    services.setText(lease, lease_window::kOrderNumberEdit, "x' OR '1'='1");
    services.setText(lease, lease_window::kNameEdit, "赵六");
    clickControl(services, lease, lease_window::kConfirmButton);
    ASSERT_TRUE(waitUntil([&] { return only(WindowKind::Lease) == 0; }));
    // The quoted number is stored as typed on this lease and its room alone.
    EXPECT_TEXT_EQ(queryText("SELECT group_concat(danhao) FROM b_zulin WHERE xingming='赵六'"),
                   "x' OR '1'='1");
    EXPECT_TEXT_EQ(queryText("SELECT xingming FROM b_zulin WHERE danhao='B-2'"), "张三");
    EXPECT_EQ(let, queryInt("SELECT id FROM b_fangjian WHERE danhao='x'' OR ''1''=''1'"));
}

TEST_F(Screens, ACheckOutSettlesTheLeaseAndFreesTheRoom) {
    addLetRoom("二号房", "A-1", "2020-02-17 12:00:00");
    refreshRoomList(app);
    command(main, 1, "退房操作");
    const WindowHandle checkout = only(WindowKind::Checkout);
    EXPECT_TEXT_EQ(services.text(checkout, checkout_window::kOrderNumberLabel), "单    号：A-1");
    EXPECT_TEXT_EQ(services.text(checkout, checkout_window::kAddressLabel), "入住房址：二号房");
    services.setDateTime(checkout, checkout_window::kCheckOutPicker,
                         toDateTime("2020-02-19 00:00:00"));
    services.setText(checkout, checkout_window::kAmountEdit, "150.49");
    responder.answer(kAnswerYes);
    clickControl(services, checkout, checkout_window::kConfirmButton);
    processEvents();
    EXPECT_TEXT_EQ(lastBoxText(), "退房成功");
    // It stays to offer the receipt, and cannot settle again.
    EXPECT_FALSE(services.widget(checkout, checkout_window::kConfirmButton)->isEnabled());
    EXPECT_TRUE(services.widget(checkout, checkout_window::kReceiptButton)->isEnabled());
    EXPECT_TEXT_EQ(responder.boxes().back().title, "");
    EXPECT_TEXT_EQ(queryText("SELECT jiesuanjine || '/' || zulinzhuangtai || '/' || jiesuanriqi "
                             "FROM b_zulin"),
                   "150.49/1/2020-02-19 00:00:00");
    EXPECT_EQ(roomList(main)[1].image, 0);
    EXPECT_TEXT_EQ(statusPart(main, 3), "已结算总额：150.49元");
    command(main, 1, "修改入住");
    EXPECT_TEXT_EQ(lastBoxText(), "这个房间未入住");
}

TEST_F(Screens, TwoCheckOutWindowsEachSettleTheirOwnLease) {
    addLetRoom("二号房", "A-1", "2020-02-17 12:00:00");
    addLetRoom("三号房", "B-2", "2020-02-17 12:00:00");
    refreshRoomList(app);
    command(main, 1, "退房操作");
    command(main, 2, "退房操作");
    const auto windows = services.openWindows(WindowKind::Checkout);
    ASSERT_EQ(windows.size(), 2u);
    responder.answer(kAnswerYes);
    clickControl(services, windows[0], checkout_window::kConfirmButton);
    processEvents();
    EXPECT_EQ(queryInt("SELECT zulinzhuangtai FROM b_zulin WHERE danhao='A-1'"), 1);
    EXPECT_EQ(queryInt("SELECT zulinzhuangtai FROM b_zulin WHERE danhao='B-2'"), 0);
    EXPECT_EQ(queryInt("SELECT chuzuzhuangtai FROM b_fangjian WHERE dizhi='三号房'"), 1);
}

TEST_F(Screens, ACheckOutWithoutALeaseIsRefused) {
    addRoom("二号房", 1, 1, "无此单");
    refreshRoomList(app);
    command(main, 1, "退房操作");
    const WindowHandle checkout = only(WindowKind::Checkout);
    clickControl(services, checkout, checkout_window::kConfirmButton);
    processEvents();
    EXPECT_TEXT_EQ(lastBoxText(), "没有找到这个房间的入住记录,无法退房");
    EXPECT_EQ(queryInt("SELECT chuzuzhuangtai FROM b_fangjian WHERE dizhi='二号房'"), 1);
}

TEST(LengthOfStay, KeepsTheFractionOfADayToTwoDecimals) {
    const DateTime checkIn = toDateTime("2020-02-17 12:00:00");
    EXPECT_TEXT_EQ(lengthOfStayText(checkIn, toDateTime("2020-02-19 00:00:00")), "入住天数：1.5天");
    EXPECT_TEXT_EQ(lengthOfStayText(checkIn, checkIn), "入住天数：0天");
    EXPECT_TEXT_EQ(lengthOfStayText(checkIn, toDateTime("2020-02-17 11:00:00")),
                   "入住天数：-0.04天");
}

}  // namespace
}  // namespace tamrivo::testing
