#include <QApplication>
#include <QDateTimeEdit>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTest>

#include <algorithm>

#include "base/date_format.h"
#include "tests/support/engine_fixture.h"
#include "ui/windows/booking_window.h"
#include "ui/windows/checkout_window.h"
#include "ui/windows/landlord_window.h"
#include "ui/windows/lease_window.h"
#include "ui/windows/login_window.h"
#include "ui/windows/password_window.h"
#include "ui/windows/room_window.h"
#include "ui/windows/search_window.h"

namespace tamrivo {
namespace {

using testing::EngineFixture;

class Keyboard : public EngineFixture {
protected:
    // The handler the last click of the window raised, None when there was none.
    Handler lastClick() const {
        return log->count(EventKind::Clicked) == 0 ? Handler::None
                                                   : log->last(EventKind::Clicked).handler;
    }

    void press(WindowHandle window, const Text& control, int key) {
        QWidget* widget = services.widget(window, control);
        ASSERT_NE(widget, nullptr) << testing::readableGbk(control);
        QTest::keyClick(widget, static_cast<Qt::Key>(key));
    }
};

TEST_F(Keyboard, EnterInABoxConfirmsAsTheConfirmButtonOfEveryFormWindow) {
    struct Form {
        WindowKind kind;
        const char* box;
        Handler confirm;
    };
    for (const Form& form :
         {Form{WindowKind::Login, login_window::kUserNameEdit, Handler::Login},
          Form{WindowKind::Room, room_window::kAddressEdit, Handler::SaveRoom},
          Form{WindowKind::Lease, lease_window::kNameEdit, Handler::SaveLease},
          Form{WindowKind::Checkout, checkout_window::kAmountEdit, Handler::SettleLease},
          Form{WindowKind::Booking, booking_window::kNameEdit, Handler::SaveBooking},
          Form{WindowKind::Password, password_window::kPasswordEdit, Handler::ChangePassword},
          Form{WindowKind::Landlord, landlord_window::kAddressEdit, Handler::SaveLandlord}}) {
        SCOPED_TRACE(static_cast<int>(form.kind));
        const WindowHandle window = open(form.kind);
        press(window, form.box, Qt::Key_Return);
        EXPECT_EQ(lastClick(), form.confirm);
        log->events.clear();
        press(window, form.box, Qt::Key_Enter);  // the keypad's
        EXPECT_EQ(lastClick(), form.confirm);
        log->events.clear();
        services.destroyWindow(window);
    }
}

TEST_F(Keyboard, EnterOnAButtonPressesThatButtonAndInARemarkBreaksTheLine) {
    const WindowHandle room = open(WindowKind::Room);
    QWidget* cancel = services.widget(room, room_window::kCancelButton);
    cancel->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(cancel->window()));
    cancel->setFocus();
    press(room, room_window::kCancelButton, Qt::Key_Return);
    EXPECT_EQ(lastClick(), Handler::CloseWindow);

    const WindowHandle lease = open(WindowKind::Lease);
    log->events.clear();
    testing::typeText(services, lease, lease_window::kRemarkEdit, "a");
    press(lease, lease_window::kRemarkEdit, Qt::Key_Return);
    testing::typeText(services, lease, lease_window::kRemarkEdit, "b");
    EXPECT_EQ(lastClick(), Handler::None);
    EXPECT_TEXT_EQ(services.text(lease, lease_window::kRemarkEdit), "a\r\nb");
}

TEST_F(Keyboard, EscPressesTheCancelButtonOrClosesTheWindowButNeverTheMainOne) {
    for (int k = 0; k <= static_cast<int>(kLastWindowKind); ++k) {
        const auto kind = static_cast<WindowKind>(k);
        SCOPED_TRACE(k);
        const WindowHandle window = open(kind);
        log->events.clear();
        press(window, {}, Qt::Key_Escape);
        QApplication::processEvents();
        const bool hasCancel =
            std::any_of(windowDefinition(kind).controls.begin(),
                        windowDefinition(kind).controls.end(), [](const ControlDefinition& c) {
                            return c.type == ControlType::Button &&
                                   c.handlerFor(EventKind::Clicked) == Handler::CloseWindow;
                        });
        if (kind == WindowKind::Main) {
            EXPECT_EQ(services.openWindows(kind).size(), 1u);
        } else if (hasCancel) {
            EXPECT_EQ(lastClick(), Handler::CloseWindow);  // the controller closes, as on a click
        } else {
            EXPECT_TRUE(services.openWindows(kind).empty());
        }
        services.destroyWindow(window);
        QApplication::processEvents();
    }
}

TEST_F(Keyboard, EscInABoxClosesTheWindowToo) {
    const WindowHandle checkout = open(WindowKind::Checkout);
    log->events.clear();
    press(checkout, checkout_window::kSettlementRemarkEdit, Qt::Key_Escape);
    EXPECT_EQ(lastClick(), Handler::CloseWindow);
    const WindowHandle search = open(WindowKind::Search);
    press(search, search_window::kKeywordEdit, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_TRUE(services.openWindows(WindowKind::Search).empty());
}

}  // namespace
}  // namespace tamrivo

namespace tamrivo {
namespace {

class DateTyping : public testing::EngineFixture {
protected:
    Text day() {
        return formatDateTime(services.dateTime(lease, lease_window::kCheckInPicker), "yyyy-MM-dd");
    }

    WindowHandle lease = open(WindowKind::Lease);
};

TEST_F(DateTyping, ADateTypedWithOrWithoutDashesOrByAnInputMethodIsTaken) {
    ASSERT_TRUE(testing::typeText(services, lease, lease_window::kCheckInPicker, "2026-12-12"));
    EXPECT_TEXT_EQ(day(), "2026-12-12");
    ASSERT_TRUE(testing::typeText(services, lease, lease_window::kCheckInPicker, "20270102"));
    EXPECT_TEXT_EQ(day(), "2027-01-02");
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("２０２８－０３－０４"));
    QCoreApplication::sendEvent(services.widget(lease, lease_window::kCheckInPicker), &commit);
    EXPECT_TEXT_EQ(day(), "2028-03-04");
}

TEST_F(DateTyping, AShortOrImpossibleDateIsTakenOrRefusedWhenTheBoxIsLeft) {
    ASSERT_TRUE(testing::typeText(services, lease, lease_window::kCheckInPicker, "2026-3-5"));
    testing::pressKey(services, lease, lease_window::kCheckInPicker, Qt::Key_Tab);
    EXPECT_TEXT_EQ(day(), "2026-03-05");
    ASSERT_TRUE(testing::typeText(services, lease, lease_window::kCheckInPicker, "20261399"));
    testing::pressKey(services, lease, lease_window::kCheckInPicker, Qt::Key_Tab);
    EXPECT_TEXT_EQ(day(), "2026-03-05");  // no 13th month: the date before stays
    auto* box = qobject_cast<QDateTimeEdit*>(services.widget(lease, lease_window::kCheckInPicker));
    EXPECT_TRUE(box->text().startsWith(QStringLiteral("2026-03-05 "))) << box->text().toStdString();
}

TEST_F(DateTyping, TabLeavesTheBoxInsteadOfWalkingItsParts) {
    QWidget* box = services.widget(lease, lease_window::kCheckInPicker);
    box->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(box->window()));
    box->setFocus();
    ASSERT_TRUE(box->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_FALSE(box->hasFocus());
    EXPECT_NE(QApplication::focusWidget(), nullptr);
}

}  // namespace
}  // namespace tamrivo

namespace tamrivo {
namespace {

class TabOrder : public testing::EngineFixture {};

// The focusable controls of a window in reading order: row by row (tops within a few pixels
// of the row's first make one row), left to right in a row.
std::vector<QWidget*> readingOrder(std::vector<QWidget*> widgets, QWidget* window) {
    const auto at = [window](QWidget* w) { return w->mapTo(window, QPoint(0, 0)); };
    std::stable_sort(widgets.begin(), widgets.end(),
                     [&](QWidget* a, QWidget* b) { return at(a).y() < at(b).y(); });
    for (auto row = widgets.begin(); row != widgets.end();) {
        const int top = at(*row).y();
        const auto end =
            std::find_if(row, widgets.end(), [&](QWidget* w) { return at(w).y() > top + 8; });
        std::stable_sort(row, end, [&](QWidget* a, QWidget* b) { return at(a).x() < at(b).x(); });
        row = end;
    }
    return widgets;
}

TEST_F(TabOrder, TabVisitsTheControlsOfEveryWindowInReadingOrder) {
    for (int k = 0; k <= static_cast<int>(kLastWindowKind); ++k) {
        const auto kind = static_cast<WindowKind>(k);
        const WindowHandle window = open(kind);
        QWidget* top = services.widget(window);
        std::vector<QWidget*> stops;
        for (const ControlDefinition& control : windowDefinition(kind).controls) {
            QWidget* widget = services.widget(window, control.name);
            if (control.focusable && widget != nullptr && widget->isVisibleTo(top)) {
                stops.push_back(widget);
            }
        }
        const std::vector<QWidget*> expected = readingOrder(stops, top);
        std::vector<QWidget*> visited;
        for (QWidget* w = expected.empty() ? nullptr : expected.front();
             w != nullptr && visited.size() < expected.size(); w = w->nextInFocusChain()) {
            if (std::find(stops.begin(), stops.end(), w) != stops.end()) {
                if (!visited.empty() && w == visited.front()) {
                    break;
                }
                visited.push_back(w);
            }
        }
        std::string names;
        for (QWidget* w : visited) {
            names += w->objectName().toStdString() + " ";
        }
        EXPECT_EQ(visited, expected) << "window kind " << k << ": " << names;
        services.destroyWindow(window);
    }
}

}  // namespace
}  // namespace tamrivo
