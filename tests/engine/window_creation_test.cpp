#include <QChartView>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QScreen>
#include <QToolBar>

#include <vector>

#include "engine/conversions.h"
#include "tests/support/engine_fixture.h"
#include "ui/window_definition.h"
#include "ui/windows/lease_window.h"
#include "ui/windows/login_window.h"
#include "ui/windows/main_window.h"
#include "ui/windows/password_window.h"
#include "ui/windows/room_window.h"
#include "ui/windows/statistics_window.h"
#include "ui/windows/update_window.h"

namespace tamrivo {
namespace {

using testing::EngineFixture;

const std::vector<WindowKind> kAllKinds{
    WindowKind::Main,     WindowKind::Login,      WindowKind::Room,   WindowKind::Lease,
    WindowKind::Checkout, WindowKind::Statistics, WindowKind::About,  WindowKind::Password,
    WindowKind::Update,   WindowKind::Calendar,   WindowKind::Booking};

class WindowCreation : public EngineFixture {
protected:
    // The control's rectangle relative to its container's top-left corner.
    Bounds placed(WindowHandle window, const ControlDefinition& control) {
        const Rect rect = services.frameRect(services.windowHandle(window, control.name));
        Point origin;
        if (control.container.empty()) {
            const Point screenOrigin = services.screenToClient(window, {0, 0});
            origin = {-screenOrigin.x, -screenOrigin.y};
        } else {
            const Rect box = services.frameRect(services.windowHandle(window, control.container));
            origin = {box.left, box.top};
        }
        return {rect.left - origin.x, rect.top - origin.y, rect.width(), rect.height()};
    }
};

TEST_F(WindowCreation, EveryWindowHoldsExactlyItsDefinedControlsWhereTheDefinitionPutsThem) {
    for (const WindowKind kind : kAllKinds) {
        SCOPED_TRACE(static_cast<int>(kind));
        const WindowDefinition& definition = windowDefinition(kind);
        const WindowHandle window = open(kind);
        ASSERT_NE(window, 0);

        const Rect frame = services.frameRect(window);
        EXPECT_EQ(frame.width(), definition.width);
        EXPECT_EQ(frame.height(), definition.height);
        EXPECT_TEXT_EQ(services.text(window, ""), definition.caption);

        int widgets = 0;
        for (const ControlDefinition& control : definition.controls) {
            SCOPED_TRACE(testing::readableGbk(control.name));
            const WindowHandle handle = services.windowHandle(window, control.name);
            if (control.type == ControlType::Timer) {
                EXPECT_EQ(handle, 0);  // timers have no window
                continue;
            }
            ++widgets;
            ASSERT_NE(handle, 0);
            QWidget* widget = services.widget(window, control.name);
            EXPECT_EQ(widget->isVisible(), control.visible);
            EXPECT_EQ(widget->isEnabled(), !control.disabled);
            EXPECT_EQ(widget->focusPolicy() != Qt::NoFocus, control.focusable);
            if (control.type != ControlType::StatusBar && control.type != ControlType::Toolbar) {
                EXPECT_EQ(placed(window, control), control.bounds);
            }
            if (control.type != ControlType::ComboBox) {
                EXPECT_TEXT_EQ(services.text(window, control.name), control.text);
            }
        }
        const QList<QWidget*> made = services.widget(window)->findChildren<QWidget*>();
        EXPECT_EQ(std::count_if(made.begin(), made.end(),
                                [](QWidget* w) { return w->property(kControlProperty).toBool(); }),
                  widgets);
    }
}

TEST_F(WindowCreation, EachOpeningGetsItsOwnHandlesAndStartsAgainFromTheDefinition) {
    const WindowHandle first = open(WindowKind::Room);
    EXPECT_TEXT_EQ(services.text(first, room_window::kConditionCombo), "正常");
    ASSERT_TRUE(testing::pickComboItem(services, first, room_window::kConditionCombo, 1));
    EXPECT_TEXT_EQ(services.text(first, room_window::kConditionCombo), "废弃");

    const WindowHandle second = open(WindowKind::Room);
    EXPECT_NE(second, first);
    EXPECT_NE(services.windowHandle(second, room_window::kConditionCombo),
              services.windowHandle(first, room_window::kConditionCombo));
    EXPECT_TEXT_EQ(services.text(second, room_window::kConditionCombo), "正常");
    EXPECT_EQ(services.selectedIndex(second, room_window::kConditionCombo), 0);

    services.destroyWindow(first);
    services.destroyWindow(second);
    ASSERT_TRUE(testing::waitUntil([&] { return services.windowHandle(second) == 0; }));
    const WindowHandle third = open(WindowKind::Room);
    EXPECT_GT(third, second);  // handles are never reused
    EXPECT_TEXT_EQ(services.text(third, room_window::kConditionCombo), "正常");
    EXPECT_EQ(services.windowHandle(first), 0);
}

TEST_F(WindowCreation, ControlsCarryTheirTypeSettings) {
    const WindowHandle main = open(WindowKind::Main);
    auto* bar = qobject_cast<QToolBar*>(services.widget(main, main_window::kToolbar));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->actions().size(), 22);
    EXPECT_EQ(bar->iconSize(), QSize(32, 32));
    for (QAction* action : bar->actions()) {
        EXPECT_TRUE(action->isSeparator() || !action->icon().isNull());
    }
    auto* list = qobject_cast<QListWidget*>(services.widget(main, main_window::kRoomList));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->viewMode(), QListView::IconMode);
    EXPECT_EQ(list->iconSize(), QSize(32, 32));

    const WindowHandle update = open(WindowKind::Update);
    EXPECT_EQ(services.progressMaximum(update, update_window::kProgressBar), 100);
    EXPECT_EQ(
        qobject_cast<QProgressBar*>(services.widget(update, update_window::kProgressBar))->value(),
        0);

    const WindowHandle stats = open(WindowKind::Statistics);
    auto* chart =
        qobject_cast<QChartView*>(services.widget(stats, statistics_window::kIncomeChart));
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->chart()->title(), QStringLiteral("收入"));

    const WindowHandle password = open(WindowKind::Password);
    EXPECT_EQ(
        qobject_cast<QComboBox*>(services.widget(password, password_window::kUserCombo))->count(),
        0);
    EXPECT_EQ(services.selectedIndex(password, password_window::kUserCombo), -1);
}

TEST_F(WindowCreation, PasswordBoxesShowStarsAndReadOnlyBoxesRefuseTyping) {
    const WindowHandle login = open(WindowKind::Login);
    ASSERT_TRUE(testing::typeText(services, login, login_window::kPasswordEdit, "90密4"));
    EXPECT_TEXT_EQ(services.text(login, login_window::kPasswordEdit), "90密4");
    EXPECT_EQ(qobject_cast<QLineEdit*>(services.widget(login, login_window::kPasswordEdit))
                  ->displayText(),
              QStringLiteral("****"));

    const WindowHandle lease = open(WindowKind::Lease);
    ASSERT_TRUE(testing::typeText(services, lease, lease_window::kOrderNumberEdit, "123"));
    EXPECT_TEXT_EQ(services.text(lease, lease_window::kOrderNumberEdit), "");
    ASSERT_TRUE(testing::typeText(services, lease, lease_window::kRemarkEdit, "备注"));
    EXPECT_TEXT_EQ(services.text(lease, lease_window::kRemarkEdit), "备注");
}

TEST_F(WindowCreation, DatePickersStartAtTheMomentOfCreation) {
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const WindowHandle lease = open(WindowKind::Lease);
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);
    const QDateTime shown =
        qobject_cast<QDateTimeEdit*>(services.widget(lease, lease_window::kCheckInPicker))
            ->dateTime();
    EXPECT_LE(before, shown);
    EXPECT_LE(shown, after);

    // The same moment as an OLE date: whole days since 1899-12-30 plus the time of day.
    const double expected = static_cast<double>(QDate(1899, 12, 30).daysTo(shown.date())) +
                            shown.time().msecsSinceStartOfDay() / 86'400'000.0;
    EXPECT_NEAR(services.dateTime(lease, lease_window::kCheckInPicker).days, expected, 1e-8);
}

TEST_F(WindowCreation, TabVisitsTheStatedOrder) {
    const WindowHandle lease = open(WindowKind::Lease);
    // As the boxes stand from the top: the dates before the remark.
    const std::vector<Text> order{
        lease_window::kOrderNumberEdit, lease_window::kAddressEdit,
        lease_window::kNameEdit,        lease_window::kContactEdit,
        lease_window::kDepositEdit,     lease_window::kRentEdit,
        lease_window::kCheckInPicker,   lease_window::kDeparturePicker,
        lease_window::kRemarkEdit,      lease_window::kGuestRegisterButton,
        lease_window::kConfirmButton,   lease_window::kCancelButton};
    for (std::size_t i = 0; i + 1 < order.size(); ++i) {
        QWidget* next = services.widget(lease, order[i])->nextInFocusChain();
        // The chain holds every widget: skip labels and the inner widgets of controls.
        while (next != nullptr && (!next->property(kControlProperty).toBool() ||
                                   (next->focusPolicy() & Qt::TabFocus) == 0)) {
            next = next->nextInFocusChain();
        }
        EXPECT_EQ(next, services.widget(lease, order[i + 1])) << testing::readableGbk(order[i]);
    }
}

// A control drawn past its window's or group box's edge is cut off where nobody can reach it.
TEST_F(WindowCreation, EveryControlLiesInsideWhatHoldsIt) {
    for (int kind = 0; kind <= static_cast<int>(kLastWindowKind); ++kind) {
        const WindowHandle window = open(static_cast<WindowKind>(kind));
        for (const ControlDefinition& control :
             windowDefinition(static_cast<WindowKind>(kind)).controls) {
            const QWidget* widget = services.widget(window, control.name);
            if (widget == nullptr) {
                continue;  // a timer shows nothing
            }
            EXPECT_TRUE(widget->parentWidget()->rect().contains(widget->geometry()))
                << kind << " " << testing::readableGbk(control.name);
        }
    }
}

// A window centred over an owner that stands low on the screen would put its buttons below the
// screen's edge: it opens higher, with room for its title bar, and never left of the screen.
TEST_F(WindowCreation, AWindowOpensInsideTheScreenWhereverItsOwnerStands) {
    const WindowHandle main = open(WindowKind::Main);
    const QRect free = services.widget(main)->screen()->availableGeometry();
    services.widget(main)->move(free.left() - 300, free.bottom() - 100);
    for (const WindowKind kind : {WindowKind::Password, WindowKind::Checkout}) {
        const QWidget* child = services.widget(open(kind, {}, main));
        EXPECT_GE(child->x(), free.left());
        EXPECT_GE(child->y(), free.top());
        if (child->height() + 32 <= free.height()) {
            EXPECT_LE(child->y() + child->height() + 32, free.bottom() + 1);
        }
    }
}

}  // namespace
}  // namespace tamrivo
