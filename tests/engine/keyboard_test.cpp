#include <QApplication>
#include <QDateTimeEdit>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTest>

#include <algorithm>

#include "base/date_format.h"
#include "tests/support/engine_fixture.h"

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
    for (const Form& form : {Form{WindowKind::Login, "编辑框_用户名", Handler::Login},
                             Form{WindowKind::Room, "编辑框_地址", Handler::SaveRoom},
                             Form{WindowKind::Lease, "编辑框_姓名", Handler::SaveLease},
                             Form{WindowKind::Checkout, "编辑框_金额", Handler::SettleLease},
                             Form{WindowKind::Booking, "编辑框_姓名", Handler::SaveBooking},
                             Form{WindowKind::Password, "编辑框1", Handler::ChangePassword},
                             Form{WindowKind::Landlord, "编辑框_地址", Handler::SaveLandlord}}) {
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
    QWidget* cancel = services.widget(room, "按钮_取消");
    cancel->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(cancel->window()));
    cancel->setFocus();
    press(room, "按钮_取消", Qt::Key_Return);
    EXPECT_EQ(lastClick(), Handler::CloseWindow);

    const WindowHandle lease = open(WindowKind::Lease);
    log->events.clear();
    testing::typeText(services, lease, "编辑框_备注", "a");
    press(lease, "编辑框_备注", Qt::Key_Return);
    testing::typeText(services, lease, "编辑框_备注", "b");
    EXPECT_EQ(lastClick(), Handler::None);
    EXPECT_TEXT_EQ(services.text(lease, "编辑框_备注"), "a\r\nb");
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
    press(checkout, "编辑框_备注", Qt::Key_Escape);
    EXPECT_EQ(lastClick(), Handler::CloseWindow);
    const WindowHandle search = open(WindowKind::Search);
    press(search, "编辑框_关键字", Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_TRUE(services.openWindows(WindowKind::Search).empty());
}

}  // namespace
}  // namespace tamrivo

namespace tamrivo {
namespace {

class DateTyping : public testing::EngineFixture {
protected:
    Text day() { return formatDateTime(services.dateTime(lease, kBox), "yyyy-MM-dd"); }

    static constexpr char kBox[] = "日期框1";
    WindowHandle lease = open(WindowKind::Lease);
};

TEST_F(DateTyping, ADateTypedWithOrWithoutDashesOrByAnInputMethodIsTaken) {
    ASSERT_TRUE(testing::typeText(services, lease, kBox, "2026-12-12"));
    EXPECT_TEXT_EQ(day(), "2026-12-12");
    ASSERT_TRUE(testing::typeText(services, lease, kBox, "20270102"));
    EXPECT_TEXT_EQ(day(), "2027-01-02");
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("２０２８－０３－０４"));
    QCoreApplication::sendEvent(services.widget(lease, kBox), &commit);
    EXPECT_TEXT_EQ(day(), "2028-03-04");
}

TEST_F(DateTyping, AShortOrImpossibleDateIsTakenOrRefusedWhenTheBoxIsLeft) {
    ASSERT_TRUE(testing::typeText(services, lease, kBox, "2026-3-5"));
    testing::pressKey(services, lease, kBox, Qt::Key_Tab);
    EXPECT_TEXT_EQ(day(), "2026-03-05");
    ASSERT_TRUE(testing::typeText(services, lease, kBox, "20261399"));
    testing::pressKey(services, lease, kBox, Qt::Key_Tab);
    EXPECT_TEXT_EQ(day(), "2026-03-05");  // no 13th month: the date before stays
    auto* box = qobject_cast<QDateTimeEdit*>(services.widget(lease, kBox));
    EXPECT_TRUE(box->text().startsWith(QStringLiteral("2026-03-05 "))) << box->text().toStdString();
}

TEST_F(DateTyping, TabLeavesTheBoxInsteadOfWalkingItsParts) {
    QWidget* box = services.widget(lease, kBox);
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
