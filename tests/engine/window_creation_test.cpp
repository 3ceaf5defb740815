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
    EXPECT_TEXT_EQ(services.text(first, "组合框1"), "正常");
    ASSERT_TRUE(testing::pickComboItem(services, first, "组合框1", 1));
    EXPECT_TEXT_EQ(services.text(first, "组合框1"), "废弃");

    const WindowHandle second = open(WindowKind::Room);
    EXPECT_NE(second, first);
    EXPECT_NE(services.windowHandle(second, "组合框1"), services.windowHandle(first, "组合框1"));
    EXPECT_TEXT_EQ(services.text(second, "组合框1"), "正常");
    EXPECT_EQ(services.selectedIndex(second, "组合框1"), 0);

    services.destroyWindow(first);
    services.destroyWindow(second);
    ASSERT_TRUE(testing::waitUntil([&] { return services.windowHandle(second) == 0; }));
    const WindowHandle third = open(WindowKind::Room);
    EXPECT_GT(third, second);  // handles are never reused
    EXPECT_TEXT_EQ(services.text(third, "组合框1"), "正常");
    EXPECT_EQ(services.windowHandle(first), 0);
}

TEST_F(WindowCreation, ControlsCarryTheirTypeSettings) {
    const WindowHandle main = open(WindowKind::Main);
    auto* bar = qobject_cast<QToolBar*>(services.widget(main, "工具条1"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->actions().size(), 20);
    EXPECT_EQ(bar->iconSize(), QSize(32, 32));
    for (QAction* action : bar->actions()) {
        EXPECT_TRUE(action->isSeparator() || !action->icon().isNull());
    }
    auto* list = qobject_cast<QListWidget*>(services.widget(main, "超级列表框1"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->viewMode(), QListView::IconMode);
    EXPECT_EQ(list->iconSize(), QSize(32, 32));

    const WindowHandle update = open(WindowKind::Update);
    EXPECT_EQ(services.progressMaximum(update, "进度条_进度"), 100);
    EXPECT_EQ(qobject_cast<QProgressBar*>(services.widget(update, "进度条_进度"))->value(), 0);

    const WindowHandle stats = open(WindowKind::Statistics);
    auto* chart = qobject_cast<QChartView*>(services.widget(stats, "图表_收入"));
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->chart()->title(), QStringLiteral("收入"));

    const WindowHandle password = open(WindowKind::Password);
    EXPECT_EQ(qobject_cast<QComboBox*>(services.widget(password, "组合框1"))->count(), 0);
    EXPECT_EQ(services.selectedIndex(password, "组合框1"), -1);
}

TEST_F(WindowCreation, PasswordBoxesShowStarsAndReadOnlyBoxesRefuseTyping) {
    const WindowHandle login = open(WindowKind::Login);
    ASSERT_TRUE(testing::typeText(services, login, "编辑框_密码", "90密4"));
    EXPECT_TEXT_EQ(services.text(login, "编辑框_密码"), "90密4");
    EXPECT_EQ(qobject_cast<QLineEdit*>(services.widget(login, "编辑框_密码"))->displayText(),
              QStringLiteral("****"));

    const WindowHandle lease = open(WindowKind::Lease);
    ASSERT_TRUE(testing::typeText(services, lease, "编辑框_单号", "123"));
    EXPECT_TEXT_EQ(services.text(lease, "编辑框_单号"), "");
    ASSERT_TRUE(testing::typeText(services, lease, "编辑框_备注", "备注"));
    EXPECT_TEXT_EQ(services.text(lease, "编辑框_备注"), "备注");
}

TEST_F(WindowCreation, DatePickersStartAtTheMomentOfCreation) {
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const WindowHandle lease = open(WindowKind::Lease);
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);
    const QDateTime shown =
        qobject_cast<QDateTimeEdit*>(services.widget(lease, "日期框1"))->dateTime();
    EXPECT_LE(before, shown);
    EXPECT_LE(shown, after);

    // The same moment as an OLE date: whole days since 1899-12-30 plus the time of day.
    const double expected = static_cast<double>(QDate(1899, 12, 30).daysTo(shown.date())) +
                            shown.time().msecsSinceStartOfDay() / 86'400'000.0;
    EXPECT_NEAR(services.dateTime(lease, "日期框1").days, expected, 1e-8);
}

TEST_F(WindowCreation, TabVisitsTheStatedOrder) {
    const WindowHandle lease = open(WindowKind::Lease);
    // As the boxes stand from the top: the dates before the remark.
    const std::vector<Text> order{"编辑框_单号", "编辑框_地址",   "编辑框_姓名", "编辑框_联系方式",
                                  "编辑框_定金", "编辑框_租金",   "日期框1",     "日期框_预计退房",
                                  "编辑框_备注", "按钮_住客登记", "按钮_确定",   "按钮_取消"};
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
