// Windows are modeless: another window may let, settle or free a room while one is open on
// it. A save that comes too late is refused and writes nothing.

#include <string>

#include "app/main_window.h"
#include "tests/app/app_fixture.h"
#include "ui/windows/checkout_window.h"
#include "ui/windows/lease_window.h"
#include "ui/windows/room_window.h"

namespace tamrivo::testing {
namespace {

constexpr char kCannotLet[] = "这个房间无法出租\r\n\r\n1.房间已放弃. 2.房间已租出去";
constexpr char kNotLet[] = "这个房间未入住";

class StaleWindows : public AppTest {
protected:
    void SetUp() override {
        main = startAndLogIn();
        ASSERT_NE(main, 0);
        room = addRoom("一号房", 1);
        refreshRoomList(app);
    }

    // The window the command opened on the only room; a check-in is filled for a guest
    // who pays nothing, as a check-in needs a name and money.
    WindowHandle openOnRoom(const Text& caption, WindowKind kind) {
        const WindowHandle window = openByCommand(main, 0, caption, kind);
        if (caption == "房屋入住") {
            services.setText(window, lease_window::kNameEdit, "住客");
            services.setText(window, lease_window::kDepositEdit, "0");
            services.setText(window, lease_window::kRentEdit, "0");
        }
        return window;
    }

    // Confirms a check-out, answering 是 to the question before it.
    void settle(WindowHandle checkout) {
        responder.answer(kAnswerYes);
        confirm(checkout);
    }

    Text roomRow() {
        return queryText(
            "SELECT dizhi || '|' || zhuangtai || '|' || chuzuzhuangtai || '|' || danhao FROM "
            "b_fangjian WHERE id=" +
            std::to_string(room));
    }

    Text leaseRows() {
        return queryText(
            "SELECT group_concat(id || '|' || xingming || '|' || zulinzhuangtai || '|' || "
            "jiesuanjine || '|' || jiesuanbeizhu, ';') FROM b_zulin");
    }

    void expectRefusal(const Text& message) {
        EXPECT_TEXT_EQ(lastBoxText(), message);
        EXPECT_TEXT_EQ(responder.boxes().back().title, kDefaultMessageTitle);
    }

    WindowHandle main = 0;
    int room = 0;
};

TEST_F(StaleWindows, TwoCheckInWindowsOnOneRoomLetItOnce) {
    const WindowHandle first = openOnRoom("房屋入住", WindowKind::Lease);
    const WindowHandle second = openOnRoom("房屋入住", WindowKind::Lease);
    ASSERT_NE(first, second);
    services.setText(first, lease_window::kNameEdit, "李四");
    services.setText(second, lease_window::kNameEdit, "王五");
    const Text orderNumber = services.text(first, lease_window::kOrderNumberEdit);

    confirm(first);
    ASSERT_FALSE(isOpen(first));
    confirm(second);
    expectRefusal(kCannotLet);
    EXPECT_TRUE(isOpen(second));  // it can still be cancelled
    EXPECT_TEXT_EQ(leaseRows(), "1|李四|0|0.0|");
    EXPECT_TEXT_EQ(roomRow(), "一号房|1|1|" + orderNumber);
}

TEST_F(StaleWindows, TwoCheckOutWindowsOnOneRoomSettleOnlyTheLeaseTheyShowed) {
    confirm(openOnRoom("房屋入住", WindowKind::Lease));
    const WindowHandle first = openOnRoom("退房操作", WindowKind::Checkout);
    const WindowHandle second = openOnRoom("退房操作", WindowKind::Checkout);
    services.setText(first, checkout_window::kAmountEdit, "100");
    services.setText(second, checkout_window::kAmountEdit, "999");
    services.setText(second, lease_window::kRemarkEdit, "第二次");

    settle(first);
    ASSERT_TEXT_EQ(lastBoxText(), "退房成功");
    settle(second);  // the room is free now
    expectRefusal(kNotLet);
    EXPECT_TEXT_EQ(leaseRows(), "1|住客|1|100.0|");

    const WindowHandle checkIn = openOnRoom("房屋入住", WindowKind::Lease);
    services.setText(checkIn, lease_window::kNameEdit, "新客");
    confirm(checkIn);
    const Text letAgain = roomRow();
    settle(second);  // let again, but to another lease than the one it showed
    expectRefusal(kNotLet);
    EXPECT_TRUE(isOpen(second));
    EXPECT_TEXT_EQ(leaseRows(), "1|住客|1|100.0|;2|新客|0|0.0|");
    EXPECT_TEXT_EQ(roomRow(), letAgain);
}

TEST_F(StaleWindows, ALeaseEditedAfterItsRoomWasCheckedOutIsRefused) {
    confirm(openOnRoom("房屋入住", WindowKind::Lease));
    const WindowHandle edit = openOnRoom("修改入住", WindowKind::Lease);
    const WindowHandle checkout = openOnRoom("退房操作", WindowKind::Checkout);
    services.setText(checkout, checkout_window::kAmountEdit, "0");
    settle(checkout);
    ASSERT_TEXT_EQ(lastBoxText(), "退房成功");

    services.setText(edit, lease_window::kNameEdit, "改名");
    confirm(edit);
    expectRefusal(kNotLet);
    EXPECT_TEXT_EQ(leaseRows(), "1|住客|1|0.0|");  // still settled, and not renamed
}

TEST_F(StaleWindows, ARoomEditedAfterItWasLetIsRefused) {
    const WindowHandle edit = openOnRoom("修改房屋信息", WindowKind::Room);
    confirm(openOnRoom("房屋入住", WindowKind::Lease));
    const Text let = roomRow();

    services.setText(edit, room_window::kAddressEdit, "改址");
    pickComboItem(services, edit, room_window::kConditionCombo, 1);
    confirm(edit);
    EXPECT_TEXT_EQ(lastBoxText(), "只有闲置的房间才可以修改");
    EXPECT_TEXT_EQ(responder.boxes().back().title, "Msg");
    EXPECT_TRUE(isOpen(edit));
    EXPECT_TEXT_EQ(roomRow(), let);
}

// Another program reading the file keeps the commit from going through: the save says so,
// keeps nothing, and succeeds once the file is free.
TEST_F(StaleWindows, ACommitThatFailsIsReportedAndKeepsNothing) {
    const WindowHandle checkIn = openOnRoom("房屋入住", WindowKind::Lease);
    Database reader;
    ASSERT_TRUE(reader.open(utf8ToGbk(databaseFile().string()), "Qw482617."));
    StatementHandle reading = reader.prepare("SELECT * FROM b_fangjian");
    ASSERT_TRUE(reader.step(reading));

    confirm(checkIn);
    EXPECT_TEXT_EQ(lastBoxText(), "database is locked");
    EXPECT_TEXT_EQ(responder.boxes().back().title, "ErrMsg");
    EXPECT_TRUE(isOpen(checkIn));
    reader.finalize(reading);
    reader.close();
    EXPECT_TEXT_EQ(roomRow(), "一号房|1|0|");
    EXPECT_TEXT_EQ(leaseRows(), "");

    confirm(checkIn);
    EXPECT_FALSE(isOpen(checkIn));
    EXPECT_TEXT_EQ(leaseRows(), "1|住客|0|0.0|");
}

}  // namespace
}  // namespace tamrivo::testing
