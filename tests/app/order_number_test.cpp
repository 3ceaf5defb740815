// A room reaches its lease by the order number alone: no save may give a second lease a
// number that a lease already carries, nor write a lease other than the one it loaded.

#include <string>

#include "app/main_window.h"
#include "data/query_builder.h"
#include "tests/app/app_fixture.h"
#include "ui/windows/lease_window.h"

namespace tamrivo::testing {
namespace {

constexpr char kNumberTaken[] = "这个流水号已经被使用,已换成新的流水号,请核对后再按确定保存";

class OrderNumbers : public AppTest {
protected:
    void SetUp() override {
        main = startAndLogIn();
        ASSERT_NE(main, 0);
        firstRoom = addRoom("一号房", 1);
        secondRoom = addRoom("二号房", 1);
        refreshRoomList(app);
    }

    WindowHandle checkInWindow(int row, const Text& guest) {
        const WindowHandle window = openByCommand(main, row, "房屋入住", WindowKind::Lease);
        services.setText(window, lease_window::kNameEdit, guest);
        services.setText(window, lease_window::kDepositEdit, "0");
        services.setText(window, lease_window::kRentEdit, "0");
        return window;
    }

    // Every column of every lease, with its type, in id order.
    Text allLeases() {
        return queryText(
            "SELECT group_concat(row, ';') FROM (SELECT quote(id) || ',' || quote(danhao) || ',' "
            "|| quote(fangzhi) || ',' || quote(xingming) || ',' || quote(lianxifangshi) || ',' || "
            "quote(dingjin) || ',' || quote(zujin) || ',' || quote(ruzhuriqi) || ',' || "
            "quote(zulinzhuangtai) || ',' || quote(jiesuanjine) || ',' || quote(jiesuanriqi) || "
            "',' || quote(beizhu) || ',' || quote(jiesuanbeizhu) AS row FROM b_zulin ORDER BY id)");
    }

    Text allRooms() {
        return queryText(
            "SELECT group_concat(row, ';') FROM (SELECT quote(id) || ',' || quote(dizhi) || ',' "
            "|| quote(zhuangtai) || ',' || quote(chuzuzhuangtai) || ',' || quote(danhao) AS row "
            "FROM b_fangjian ORDER BY id)");
    }

    Text roomRow(int room) {
        return queryText("SELECT chuzuzhuangtai || '|' || danhao FROM b_fangjian WHERE id=" +
                         std::to_string(room));
    }

    // The guest of the lease the room's order number leads to.
    Text guestOfRoom(int room) {
        return queryText(
            "SELECT group_concat(xingming) FROM b_zulin WHERE danhao=(SELECT danhao FROM "
            "b_fangjian WHERE id=" +
            std::to_string(room) + ")");
    }

    // Every let room leads to exactly one open lease, every open lease is led to by exactly
    // one let room, and no two leases carry one order number.
    void expectConsistent() {
        EXPECT_EQ(queryInt("SELECT count(*) FROM b_fangjian AS f WHERE f.chuzuzhuangtai=1 AND "
                           "(SELECT count(*) FROM b_zulin AS z WHERE z.danhao=f.danhao AND "
                           "z.zulinzhuangtai!=1)!=1"),
                  0);
        EXPECT_EQ(queryInt("SELECT count(*) FROM b_zulin AS z WHERE z.zulinzhuangtai!=1 AND "
                           "(SELECT count(*) FROM b_fangjian AS f WHERE f.chuzuzhuangtai=1 AND "
                           "f.danhao=z.danhao)!=1"),
                  0);
        EXPECT_EQ(queryInt("SELECT count(*) FROM (SELECT danhao FROM b_zulin GROUP BY danhao "
                           "HAVING count(*)>1)"),
                  0);
    }

    // The save was refused and the window offers a number no lease carries.
    void expectNumberReplaced(WindowHandle window, const Text& taken) {
        ASSERT_FALSE(responder.boxes().empty());
        EXPECT_TEXT_EQ(lastBoxText(), kNumberTaken);
        EXPECT_TEXT_EQ(responder.boxes().back().title, "Msg");
        ASSERT_TRUE(isOpen(window));
        const Text fresh = services.text(window, lease_window::kOrderNumberEdit);
        EXPECT_NE(fresh, taken);
        EXPECT_EQ(fresh.size(), 23u);
        EXPECT_EQ(
            queryInt("SELECT count(*) FROM b_zulin WHERE danhao=" + QueryBuilder::quoteText(fresh)),
            0);
    }

    WindowHandle main = 0;
    int firstRoom = 0;
    int secondRoom = 0;
};

// Two windows opened in one second get one number; the second save must not share it.
TEST_F(OrderNumbers, TwoCheckInsWithOneNumberLetTheSecondRoomOnlyWithAFreshNumber) {
    const WindowHandle first = checkInWindow(0, "李四");
    const WindowHandle second = checkInWindow(1, "王五");
    const Text number = services.text(first, lease_window::kOrderNumberEdit);
    services.setText(second, lease_window::kOrderNumberEdit, number);

    confirm(first);
    ASSERT_FALSE(isOpen(first));
    const Text leasesBefore = allLeases();
    confirm(second);
    expectNumberReplaced(second, number);
    EXPECT_TEXT_EQ(allLeases(), leasesBefore);
    EXPECT_TEXT_EQ(roomRow(secondRoom), "0|");
    EXPECT_TEXT_EQ(services.text(second, lease_window::kOrderNumberEdit).substr(14), "-00001001");

    const Text fresh = services.text(second, lease_window::kOrderNumberEdit);
    confirm(second);
    EXPECT_FALSE(isOpen(second));
    EXPECT_TEXT_EQ(roomRow(firstRoom), "1|" + number);
    EXPECT_TEXT_EQ(roomRow(secondRoom), "1|" + fresh);
    EXPECT_TEXT_EQ(guestOfRoom(firstRoom), "李四");
    EXPECT_TEXT_EQ(guestOfRoom(secondRoom), "王五");
    expectConsistent();
}

// A settled lease still carries its number; a check-in typing it would be found in its place.
TEST_F(OrderNumbers, TheNumberOfASettledLeaseIsNotGivenAgain) {
    const Text typed = "旧单'1\\\"";
    const WindowHandle first = checkInWindow(0, "李四");
    services.setText(first, lease_window::kOrderNumberEdit, typed);
    confirm(first);
    ASSERT_FALSE(isOpen(first));
    responder.answer(kAnswerYes);
    confirm(openByCommand(main, 0, "退房操作", WindowKind::Checkout));
    ASSERT_TEXT_EQ(lastBoxText(), "退房成功");
    const Text leasesBefore = allLeases();
    const Text roomsBefore = allRooms();

    const WindowHandle second = checkInWindow(1, "王五");
    services.setText(second, lease_window::kOrderNumberEdit, typed);
    confirm(second);
    expectNumberReplaced(second, typed);
    EXPECT_TEXT_EQ(allLeases(), leasesBefore);
    EXPECT_TEXT_EQ(allRooms(), roomsBefore);

    confirm(second);
    EXPECT_FALSE(isOpen(second));
    EXPECT_TEXT_EQ(guestOfRoom(secondRoom), "王五");
    EXPECT_EQ(queryInt("SELECT zulinzhuangtai FROM b_zulin WHERE xingming='李四'"), 1);
    expectConsistent();
}

// A lookup that fails is the database's error, not a number in use.
TEST_F(OrderNumbers, ALeaseTableThatCannotBeReadIsReportedAsSuch) {
    const WindowHandle window = checkInWindow(0, "李四");
    const Text number = services.text(window, lease_window::kOrderNumberEdit);
    ASSERT_TRUE(run("ALTER TABLE b_zulin RENAME TO elsewhere"));
    confirm(window);
    ASSERT_FALSE(responder.boxes().empty());
    EXPECT_TEXT_EQ(lastBoxText(), "no such table: b_zulin");
    EXPECT_TEXT_EQ(responder.boxes().back().title, "ErrMsg");
    EXPECT_TEXT_EQ(services.text(window, lease_window::kOrderNumberEdit), number);
    EXPECT_TEXT_EQ(roomRow(firstRoom), "0|");
}

// Today's number of another open lease, or of a settled one, written into an edit: the
// save is refused with a fresh number, and confirming that one renumbers the lease and its
// room together, so the room still finds it and no other lease changes.
TEST_F(OrderNumbers, AnEditWhoseNumberNamesAnotherLeaseIsRefusedWithAFreshNumber) {
    const int edited = addLetRoom("三号房", "A-1", "2020-02-17 09:05:03");
    addLetRoom("四号房", "B-2", "2020-02-18 10:00:00");
    ASSERT_TRUE(
        run("INSERT INTO b_zulin (danhao, xingming, zulinzhuangtai, jiesuanjine) VALUES('C-3', "
            "'赵六', 1, 50)"));
    refreshRoomList(app);

    for (const Text other : {"B-2", "C-3"}) {
        const Text leasesBefore = allLeases();
        const Text roomsBefore = allRooms();
        const WindowHandle edit = openByCommand(main, 2, "修改入住", WindowKind::Lease);
        ASSERT_TEXT_EQ(services.text(edit, lease_window::kOrderNumberEdit), "A-1");
        services.setText(edit, lease_window::kOrderNumberEdit, other);
        services.setText(edit, lease_window::kNameEdit, "改名");
        confirm(edit);
        expectNumberReplaced(edit, other);
        EXPECT_TEXT_EQ(allLeases(), leasesBefore);
        EXPECT_TEXT_EQ(allRooms(), roomsBefore);
        services.destroyWindow(edit);
    }

    const WindowHandle edit = openByCommand(main, 2, "修改入住", WindowKind::Lease);
    services.setText(edit, lease_window::kOrderNumberEdit, "B-2");
    services.setText(edit, lease_window::kNameEdit, "改名");
    confirm(edit);
    const Text fresh = services.text(edit, lease_window::kOrderNumberEdit);
    confirm(edit);
    EXPECT_FALSE(isOpen(edit));
    EXPECT_TEXT_EQ(guestOfRoom(edited), "改名");
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_zulin WHERE danhao='A-1'"), 0);
    EXPECT_EQ(
        queryInt("SELECT count(*) FROM b_zulin WHERE danhao=" + QueryBuilder::quoteText(fresh)), 1);
    EXPECT_EQ(queryInt("SELECT zulinzhuangtai FROM b_zulin WHERE danhao='C-3'"), 1);
    expectConsistent();
}

// A number typed by hand that no lease carries is what the landlord meant: it is written.
TEST_F(OrderNumbers, AnEditWritesAFreeNewNumberToTheLeaseAndItsRoom) {
    const int edited = addLetRoom("三号房", "A-1", "2020-02-17 09:05:03");
    refreshRoomList(app);
    const WindowHandle edit = openByCommand(main, 2, "修改入住", WindowKind::Lease);
    services.setText(edit, lease_window::kOrderNumberEdit, "新'号\\");
    services.setText(edit, lease_window::kRemarkEdit, "改过");
    confirm(edit);
    EXPECT_FALSE(isOpen(edit));
    EXPECT_TRUE(responder.boxes().empty());
    EXPECT_TEXT_EQ(roomRow(edited), "1|新'号\\");
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_zulin WHERE danhao='新''号\\' AND beizhu='改过'"),
              1);
    expectConsistent();
}

// Records from older versions may hold two leases under one number. The edit writes the one
// it loaded, and only that one: a settled namesake keeps its fields and stays settled.
TEST_F(OrderNumbers, AnEditOfASharedNumberWritesOnlyTheLoadedLease) {
    addLetRoom("三号房", "A-1", "2020-02-17 09:05:03");
    ASSERT_TRUE(
        run("INSERT INTO b_zulin (danhao, xingming, zulinzhuangtai, jiesuanjine) VALUES('A-1', "
            "'赵六', 1, 50)"));
    refreshRoomList(app);
    const Text settledBefore =
        queryText("SELECT xingming || '|' || zulinzhuangtai FROM b_zulin WHERE xingming='赵六'");

    const WindowHandle edit = openByCommand(main, 2, "修改入住", WindowKind::Lease);
    services.setText(edit, lease_window::kNameEdit, "改名");
    confirm(edit);
    EXPECT_FALSE(isOpen(edit));
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_zulin WHERE xingming='改名'"), 1);
    EXPECT_TEXT_EQ(
        queryText("SELECT xingming || '|' || zulinzhuangtai FROM b_zulin WHERE jiesuanjine=50"),
        settledBefore);
}

// Where the number leads to a settled namesake first, the room's open lease cannot be told
// apart from it: the edit is refused as after a check-out, and nothing is reopened.
TEST_F(OrderNumbers, AnEditThatFindsASettledNamesakeFirstIsRefused) {
    ASSERT_TRUE(
        run("INSERT INTO b_zulin (danhao, xingming, zulinzhuangtai, jiesuanjine) VALUES('A-1', "
            "'赵六', 1, 50)"));
    addLetRoom("三号房", "A-1", "2020-02-17 09:05:03");
    refreshRoomList(app);
    const Text leasesBefore = allLeases();

    const WindowHandle edit = openByCommand(main, 2, "修改入住", WindowKind::Lease);
    services.setText(edit, lease_window::kNameEdit, "改名");
    confirm(edit);
    ASSERT_FALSE(responder.boxes().empty());
    EXPECT_TEXT_EQ(lastBoxText(), "这个房间未入住");
    EXPECT_TEXT_EQ(allLeases(), leasesBefore);
}

}  // namespace
}  // namespace tamrivo::testing
