// What the landlord types into the windows is what is stored: exactly, once, and in no row
// but the one meant.

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include <string>
#include <vector>

#include "app/login_window.h"
#include "app/main_window.h"
#include "base/byte_block.h"
#include "engine/conversions.h"
#include "records/password_digest.h"
#include "tests/app/app_fixture.h"
#include "ui/windows/checkout_window.h"
#include "ui/windows/lease_window.h"
#include "ui/windows/login_window.h"
#include "ui/windows/main_window.h"
#include "ui/windows/password_window.h"
#include "ui/windows/room_window.h"

namespace tamrivo::testing {
namespace {

// Texts that ended a literal early or were stored changed: a quote after the euro sign (0x80),
// backslashes and double quotes, a quote after 礬 (whose second byte is a backslash).
const std::vector<Text> kTyped = {"\x80' WHERE 1=1 --", "A\\B\"C", "礬'\\\"", "李' OR '1'='1"};

constexpr char kRoomColumns[] =
    "dizhi || '|' || zhuangtai || '|' || chuzuzhuangtai || '|' || danhao";
constexpr char kLeaseColumns[] =
    "danhao || '|' || fangzhi || '|' || xingming || '|' || lianxifangshi || '|' || dingjin || "
    "'|' || zujin || '|' || zulinzhuangtai || '|' || jiesuanjine || '|' || beizhu || '|' || "
    "jiesuanbeizhu";

class TypedTexts : public AppTest {
protected:
    void SetUp() override {
        main = startAndLogIn();
        ASSERT_NE(main, 0);
        otherRoom = addLetRoom("别的房", "OTHER-1", "2020-02-17 09:05:03");
        refreshRoomList(app);
        untouched = otherRows();
    }

    // The room and the lease no window of the test is meant to touch.
    Text otherRows() {
        return queryText("SELECT " + Text(kRoomColumns) +
                         " FROM b_fangjian WHERE id=" + std::to_string(otherRoom)) +
               "/" + queryText("SELECT " + Text(kLeaseColumns) + " FROM b_zulin WHERE id=1");
    }
    Text room(int id) {
        return queryText("SELECT " + Text(kRoomColumns) +
                         " FROM b_fangjian WHERE id=" + std::to_string(id));
    }
    Text lease(const Text& danhao) {
        StatementHandle statement = state.database.prepare("SELECT " + Text(kLeaseColumns) +
                                                           " FROM b_zulin WHERE danhao=:danhao");
        state.database.bindText(statement, ":danhao", danhao);
        const Text row =
            state.database.step(statement) ? state.database.columnText(statement, 0) : Text("none");
        state.database.finalize(statement);
        return row;
    }

    // Confirms and waits for the save: the window closes, or, settled, stays to offer its
    // receipt and is closed here.
    void confirm(WindowHandle window) {
        clickControl(services, window, lease_window::kConfirmButton);
        const auto saved = [&] {
            const QWidget* confirmButton = services.widget(window, lease_window::kConfirmButton);
            return confirmButton == nullptr || !confirmButton->isEnabled();
        };
        ASSERT_TRUE(waitUntil(saved)) << readableGbk(lastBoxText());
        services.destroyWindow(window);
        processEvents();
    }

    // Opens the window of the command on the last row of the room list.
    WindowHandle openOnLastRoom(const Text& caption, WindowKind kind) {
        command(main, static_cast<int>(roomList(main).size()) - 1, caption);
        return only(kind);
    }

    // Adds a room through the room window, typing its address; the new room's id.
    int addRoomAsTyped(const Text& address) {
        command(main, -1, "增加房屋信息");
        const WindowHandle window = only(WindowKind::Room);
        typeText(services, window, room_window::kAddressEdit, address);
        confirm(window);
        return queryInt("SELECT max(id) FROM b_fangjian");
    }

    WindowHandle main = 0;
    int otherRoom = 0;
    Text untouched;
};

TEST_F(TypedTexts, ARoomAddressIsStoredAsTypedAndUnchangedEditsKeepIt) {
    for (const Text& address : kTyped) {
        const int id = addRoomAsTyped(address);
        EXPECT_TEXT_EQ(room(id), address + "|1|0|");
        for (int edit = 0; edit < 3; ++edit) {
            const WindowHandle window = openOnLastRoom("修改房屋信息", WindowKind::Room);
            ASSERT_TEXT_EQ(services.text(window, room_window::kAddressEdit), address);
            confirm(window);
        }
        EXPECT_TEXT_EQ(room(id), address + "|1|0|");
        EXPECT_TEXT_EQ(roomList(main).back().title, address);
    }
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_fangjian"), 1 + static_cast<int>(kTyped.size()));
    EXPECT_TEXT_EQ(otherRows(), untouched);
}

TEST_F(TypedTexts, CheckInEditAndCheckOutStoreEveryFieldAsTyped) {
    for (const Text& text : kTyped) {
        SCOPED_TRACE(readableGbk(text));
        const int id = addRoomAsTyped(text);
        const Text orderNumber = "单" + text;  // the box is the program's: it writes the text
        const Text remark = text + "\r\n" + text;

        WindowHandle window = openOnLastRoom("房屋入住", WindowKind::Lease);
        services.setText(window, lease_window::kOrderNumberEdit, orderNumber);
        typeText(services, window, lease_window::kNameEdit, text);
        typeText(services, window, lease_window::kContactEdit, text);
        typeText(services, window, lease_window::kDepositEdit,
                 "1'2.5\x80");  // only digits, "-" and "." stay
        typeText(services, window, lease_window::kRentEdit, "\x80'80");
        typeText(services, window, lease_window::kRemarkEdit, text);
        pressKey(services, window, lease_window::kRemarkEdit, Qt::Key_Return);
        typeText(services, window, lease_window::kRemarkEdit, text);
        confirm(window);
        const Text checkedIn =
            orderNumber + "|" + text + "|" + text + "|" + text + "|12.5|80.0|0|0.0|" + remark + "|";
        EXPECT_TEXT_EQ(lease(orderNumber), checkedIn);
        EXPECT_TEXT_EQ(room(id), text + "|1|1|" + orderNumber);

        selectListRow(services, main, main_window::kRoomList,
                      static_cast<int>(roomList(main).size()) - 1);
        EXPECT_TEXT_EQ(services.text(main, main_window::kNameLabel), "姓    名：" + text);
        window = openOnLastRoom("修改入住", WindowKind::Lease);
        EXPECT_TEXT_EQ(services.text(window, lease_window::kContactEdit), text);
        EXPECT_TEXT_EQ(services.text(window, lease_window::kRemarkEdit), remark);
        confirm(window);  // unchanged, and found by its quoted order number
        EXPECT_TEXT_EQ(lease(orderNumber), checkedIn);

        window = openOnLastRoom("退房操作", WindowKind::Checkout);
        services.setText(window, checkout_window::kAmountEdit, "");  // it opens with what is due
        typeText(services, window, checkout_window::kAmountEdit, "2.5");
        typeText(services, window, checkout_window::kSettlementRemarkEdit, text);
        responder.answer(kAnswerYes);
        confirm(window);
        EXPECT_TEXT_EQ(lease(orderNumber), orderNumber + "|" + text + "|" + text + "|" + text +
                                               "|12.5|80.0|1|2.5|" + remark + "|" + text);
        EXPECT_TEXT_EQ(room(id), text + "|1|0|");
    }
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_zulin"), 1 + static_cast<int>(kTyped.size()));
    EXPECT_TEXT_EQ(otherRows(), untouched);
}

// Pasting far more than a remark holds fills the box to its limit, and what the box shows is
// what is saved.
TEST_F(TypedTexts, APastedRemarkIsSavedAsTheBoxShowsIt) {
    const int id = addRoomAsTyped("三号房");
    const WindowHandle window = openOnLastRoom("房屋入住", WindowKind::Lease);
    Text pasted;
    while (pasted.size() < (1u << 20)) {
        pasted += "房'\\";
    }
    QApplication::clipboard()->setText(toQString(pasted));
    QTest::keyClick(services.widget(window, lease_window::kRemarkEdit), Qt::Key_V,
                    Qt::ControlModifier);
    const Text shown = services.text(window, lease_window::kRemarkEdit);
    EXPECT_TEXT_EQ(shown, pasted.substr(0, 666 * 4 + 3));  // 2000 characters: 666 times 房'\, 房'
    services.setText(window, lease_window::kNameEdit, "李四");
    services.setText(window, lease_window::kDepositEdit, "0");
    services.setText(window, lease_window::kRentEdit, "0");
    const Text orderNumber = services.text(window, lease_window::kOrderNumberEdit);
    confirm(window);
    EXPECT_TEXT_EQ(queryText("SELECT beizhu FROM b_zulin WHERE id=2"), shown);
    EXPECT_TEXT_EQ(room(id), "三号房|1|1|" + orderNumber);
}

TEST_F(TypedTexts, ANewPasswordAndALoginNameAreTakenAsTyped) {
    StatementHandle guest = state.database.prepare("INSERT INTO b_yh (yhm, mm) VALUES(:yhm, :mm)");
    state.database.bindText(guest, ":yhm", "客' --");
    state.database.bindText(guest, ":mm", md5Hex(toByteBlock("x")));
    ASSERT_TRUE(state.database.stepAndFinalize(guest));
    const Text guestRow = queryText("SELECT yhm || mm FROM b_yh WHERE id=2");

    const Text password = "'\\\"x'--";
    command(main, -1, "修改密码");
    const WindowHandle window = only(WindowKind::Password);
    pickComboItem(services, window, password_window::kUserCombo, 0);
    typeText(services, window, password_window::kPasswordEdit, password);
    clickControl(services, window, password_window::kConfirmButton);
    ASSERT_TEXT_EQ(lastBoxText(), "密码修改成功了!请牢记新密码!");
    EXPECT_TEXT_EQ(queryText("SELECT mm FROM b_yh WHERE id=1"), md5Hex(toByteBlock(password)));
    EXPECT_TEXT_EQ(queryText("SELECT yhm || mm FROM b_yh WHERE id=2"), guestRow);

    for (const auto& [user, typed] : {std::pair<Text, Text>{"admin", password}, {"客' --", "x"}}) {
        openLoginWindow(app);
        const WindowHandle login = only(WindowKind::Login);
        typeText(services, login, login_window::kUserNameEdit, user);
        typeText(services, login, login_window::kPasswordEdit, typed);
        clickControl(services, login, login_window::kConfirmButton);
        EXPECT_TRUE(waitUntil([&] { return only(WindowKind::Login) == 0; })) << readableGbk(user);
    }
}

}  // namespace
}  // namespace tamrivo::testing
