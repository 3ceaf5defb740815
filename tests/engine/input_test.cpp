#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>

#include "engine/conversions.h"
#include "tests/support/engine_fixture.h"
#include "ui/windows/checkout_window.h"
#include "ui/windows/lease_window.h"
#include "ui/windows/login_window.h"
#include "ui/windows/main_window.h"
#include "ui/windows/update_window.h"

namespace tamrivo {
namespace {

using testing::EngineFixture;

class Input : public EngineFixture {};

TEST_F(Input, EnterInThePasswordBoxLogsInAndIsConsumedWhileOtherKeysPassThrough) {
    const WindowHandle login =
        open(WindowKind::Login, [](const WindowEvent& event) { return event.argument == 13; });
    auto* password = qobject_cast<QLineEdit*>(services.widget(login, login_window::kPasswordEdit));
    QSignalSpy reachedTheBox(password, &QLineEdit::returnPressed);

    ASSERT_TRUE(testing::typeText(services, login, login_window::kPasswordEdit, "a1"));
    ASSERT_TRUE(testing::pressKey(services, login, login_window::kPasswordEdit, Qt::Key_Return));

    ASSERT_EQ(log->count(EventKind::KeyPressed), 3);
    EXPECT_EQ(log->events[1].argument, 'A');  // Windows key codes
    EXPECT_EQ(log->events[2].argument, '1');
    const WindowEvent enter = log->last(EventKind::KeyPressed);
    EXPECT_EQ(enter.handler, Handler::Login);
    EXPECT_EQ(enter.argument, 13);
    EXPECT_EQ(enter.window, login);
    EXPECT_TEXT_EQ(enter.control, login_window::kPasswordEdit);
    EXPECT_EQ(reachedTheBox.count(), 0);
    EXPECT_TEXT_EQ(services.text(login, login_window::kPasswordEdit),
                   "a1");  // letters were not consumed
}

// The user name box has no key handler: Enter there confirms as the 确认 button does.
TEST_F(Input, EnterInTheUserNameBoxConfirmsAsTheButtonDoes) {
    const WindowHandle login = open(WindowKind::Login, [](const WindowEvent&) { return true; });
    ASSERT_TRUE(testing::typeText(services, login, login_window::kUserNameEdit, "admin"));
    ASSERT_TRUE(testing::pressKey(services, login, login_window::kUserNameEdit, Qt::Key_Return));
    EXPECT_EQ(log->count(EventKind::KeyPressed), 0);
    ASSERT_EQ(log->count(EventKind::Clicked), 1);
    EXPECT_EQ(log->last(EventKind::Clicked).handler, Handler::Login);
    EXPECT_TEXT_EQ(services.text(login, login_window::kUserNameEdit), "admin");
}

TEST_F(Input, DecimalBoxesTakeOnlyDigitsMinusAndPoint) {
    const WindowHandle lease = open(WindowKind::Lease);
    for (const Text box : {lease_window::kDepositEdit, lease_window::kRentEdit}) {
        ASSERT_TRUE(testing::typeText(services, lease, box, "abc"));
        EXPECT_TEXT_EQ(services.text(lease, box), "");
        ASSERT_TRUE(testing::typeText(services, lease, box, "-1x2.5元.-"));
        EXPECT_TEXT_EQ(services.text(lease, box), "-12.5.-");
        ASSERT_TRUE(testing::pressKey(services, lease, box, Qt::Key_Backspace));
        EXPECT_TEXT_EQ(services.text(lease, box), "-12.5.");
    }
    const WindowHandle checkout = open(WindowKind::Checkout);
    ASSERT_TRUE(testing::typeText(services, checkout, checkout_window::kAmountEdit, "1e3"));
    EXPECT_TEXT_EQ(services.text(checkout, checkout_window::kAmountEdit), "13");
    services.setText(checkout, checkout_window::kAmountEdit,
                     "abc");  // the program may write anything
    EXPECT_TEXT_EQ(services.text(checkout, checkout_window::kAmountEdit), "abc");
}

class Limits : public testing::EngineFixture {
protected:
    // The limit of a box of the lease window, in characters.
    int limitOf(const Text& box) {
        return windowDefinition(WindowKind::Lease).control(box)->maxLength;
    }
    // A text of n characters, each of two bytes.
    static Text chinese(int n) {
        Text text;
        for (int i = 0; i < n; ++i) {
            text += "房";
        }
        return text;
    }

    void paste(const Text& box, const Text& text) {
        QApplication::clipboard()->setText(toQString(text));
        QTest::keyClick(services.widget(lease, box), Qt::Key_V, Qt::ControlModifier);
    }

    WindowHandle lease = open(WindowKind::Lease);
};

TEST_F(Limits, APasteStopsAtTheLimitAndTypingAtTheLimitChangesNothing) {
    for (const Text box : {lease_window::kNameEdit, lease_window::kRemarkEdit}) {
        SCOPED_TRACE(testing::readableGbk(box));
        const Text full = chinese(limitOf(box));
        paste(box, chinese(1 << 20));
        EXPECT_TEXT_EQ(services.text(lease, box), full);
        testing::typeText(services, lease, box, "x");
        testing::pressKey(services, lease, box, Qt::Key_Return);
        EXPECT_TEXT_EQ(services.text(lease, box), full);
        // What is selected makes room for what replaces it.
        QTest::keyClick(services.widget(lease, box), Qt::Key_A, Qt::ControlModifier);
        paste(box, "新" + chinese(1 << 20));
        EXPECT_TEXT_EQ(services.text(lease, box), "新" + chinese(limitOf(box) - 1));
    }
}

TEST_F(Limits, AnInputMethodCommitsOnlyWhatFits) {
    const Text remark = lease_window::kRemarkEdit;
    QWidget* box = services.widget(lease, remark);
    testing::typeText(services, lease, remark, "ab");
    QInputMethodEvent commit;
    commit.setCommitString(toQString(chinese(limitOf(remark))));
    QCoreApplication::sendEvent(box, &commit);
    EXPECT_TEXT_EQ(services.text(lease, remark), "ab" + chinese(limitOf(remark) - 2));
}

TEST_F(Limits, ALineBreakCountsAsOneCharacter) {
    const Text remark = lease_window::kRemarkEdit;
    paste(remark, chinese(limitOf(remark) - 2));
    testing::pressKey(services, lease, remark, Qt::Key_Return);
    testing::typeText(services, lease, remark, "xy");
    EXPECT_TEXT_EQ(services.text(lease, remark), chinese(limitOf(remark) - 2) + "\r\nx");
}

// The program shows a stored text whole, however long; the person can only shorten it.
TEST_F(Limits, TheProgramsTextIsNeverCut) {
    for (const Text box : {lease_window::kNameEdit, lease_window::kRemarkEdit}) {
        const Text stored = chinese(40000);
        services.setText(lease, box, stored);
        testing::typeText(services, lease, box, "x");
        EXPECT_TEXT_EQ(services.text(lease, box), stored);
    }
}

TEST_F(Input, TheToolbarReportsItemIndicesCountingSeparators) {
    const WindowHandle main = open(WindowKind::Main);
    ASSERT_TRUE(testing::clickToolbarItem(services, main, main_window::kToolbar, "房屋入住"));
    ASSERT_TRUE(testing::clickToolbarItem(services, main, main_window::kToolbar, "升级检测"));
    ASSERT_TRUE(testing::clickToolbarItem(services, main, main_window::kToolbar, "增加房屋信息"));
    ASSERT_EQ(log->count(EventKind::ToolbarClicked), 3);
    std::vector<int> indices;
    for (const WindowEvent& event : log->events) {
        if (event.kind == EventKind::ToolbarClicked) {
            EXPECT_EQ(event.handler, Handler::DispatchToolbar);
            indices.push_back(event.argument);
        }
    }
    EXPECT_EQ(indices, (std::vector<int>{5, 15, 1}));
}

TEST_F(Input, ButtonsRaiseTheirBoundHandlersAndDisabledOnesNothing) {
    const WindowHandle login = open(WindowKind::Login);
    ASSERT_TRUE(testing::clickControl(services, login, login_window::kConfirmButton));
    ASSERT_TRUE(testing::clickControl(services, login, login_window::kCancelButton));
    ASSERT_EQ(log->count(EventKind::Clicked), 2);
    EXPECT_EQ(log->events[1].handler, Handler::Login);
    EXPECT_EQ(log->events[2].handler, Handler::CloseWindow);

    const WindowHandle update = open(WindowKind::Update);
    ASSERT_TRUE(testing::clickControl(services, update, update_window::kUpgradeButton));
    EXPECT_EQ(log->count(EventKind::Clicked), 2);
    services.setDisabled(update, update_window::kUpgradeButton, false);
    ASSERT_TRUE(testing::clickControl(services, update, update_window::kUpgradeButton));
    EXPECT_EQ(log->last(EventKind::Clicked).handler, Handler::StartUpdateDownload);
}

TEST_F(Input, SelectingARoomRaisesCurrentItemChangedButClearingDoesNot) {
    const WindowHandle main = open(WindowKind::Main);
    for (int i = 0; i < 3; ++i) {
        services.listInsertRow(main, main_window::kRoomList, -1, "房间", i, 100 + i);
    }
    ASSERT_TRUE(testing::selectListRow(services, main, main_window::kRoomList, 2));
    ASSERT_EQ(log->count(EventKind::CurrentItemChanged), 1);
    const WindowEvent changed = log->last(EventKind::CurrentItemChanged);
    EXPECT_EQ(changed.handler, Handler::ShowLeaseDetails);
    EXPECT_EQ(changed.argument, 2);
    EXPECT_EQ(services.selectedIndex(main, main_window::kRoomList), 2);
    EXPECT_EQ(services.listRowNumber(main, main_window::kRoomList, 2), 102);

    services.listClear(main, main_window::kRoomList);
    EXPECT_EQ(log->count(EventKind::CurrentItemChanged), 1);
    EXPECT_EQ(services.selectedIndex(main, main_window::kRoomList), -1);
}

// Qt keeps a current row of its own that need not be selected; the event tells the selection.
TEST_F(Input, TheListReportsItsSelectionWhateverRowQtMakesCurrent) {
    const WindowHandle main = open(WindowKind::Main);
    auto* list = qobject_cast<QListWidget*>(services.widget(main, main_window::kRoomList));
    for (int i = 0; i < 3; ++i) {
        services.listInsertRow(main, main_window::kRoomList, -1, "房间", 0, 100 + i);
    }
    list->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    EXPECT_EQ(log->count(EventKind::CurrentItemChanged), 0);
    EXPECT_EQ(services.selectedIndex(main, main_window::kRoomList), -1);

    ASSERT_TRUE(testing::selectListRow(services, main, main_window::kRoomList, 1));
    ASSERT_EQ(log->count(EventKind::CurrentItemChanged), 1);
    EXPECT_EQ(log->last(EventKind::CurrentItemChanged).argument, 1);

    // A click on empty space clears the selection, and says so.
    const QRect space = list->viewport()->rect();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, space.bottomRight() - QPoint(5, 5));
    ASSERT_EQ(log->count(EventKind::CurrentItemChanged), 2);
    EXPECT_EQ(log->last(EventKind::CurrentItemChanged).argument, -1);
    EXPECT_EQ(services.selectedIndex(main, main_window::kRoomList), -1);
}

TEST_F(Input, TimersTickAtTheirIntervalAndStopAtZero) {
    const WindowHandle login = open(WindowKind::Login);
    testing::processEvents();
    EXPECT_EQ(log->count(EventKind::Tick), 0);  // stopped until its interval is set

    services.setTimerInterval(login, login_window::kClockTimer, 5);
    ASSERT_TRUE(testing::waitUntil([&] { return log->count(EventKind::Tick) >= 2; }));
    EXPECT_EQ(log->last(EventKind::Tick).handler, Handler::ShowLoginClock);
    EXPECT_TEXT_EQ(log->last(EventKind::Tick).control, login_window::kClockTimer);

    services.setTimerInterval(login, login_window::kClockTimer, 0);
    const int ticks = log->count(EventKind::Tick);
    QTest::qWait(30);
    EXPECT_EQ(log->count(EventKind::Tick), ticks);
}

}  // namespace
}  // namespace tamrivo
