#include "engine/room_calendar.h"

#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include "tests/support/engine_fixture.h"
#include "ui/windows/calendar_window.h"

namespace tamrivo {
namespace {

using testing::EngineFixture;

constexpr int kRoomWidth = RoomCalendar::kRoomWidth;
constexpr int kDayWidth = RoomCalendar::kDayWidth;
constexpr int kRowHeight = RoomCalendar::kRowHeight;
constexpr int kHeaderHeight = RoomCalendar::kHeaderHeight;

CalendarPage page(int days, int todayColumn, std::vector<CalendarBar> bars) {
    CalendarPage made;
    made.rooms = {"一号房", "二号房"};
    for (int day = 0; day < days; ++day) {
        made.days.push_back(std::to_string(day + 1));
    }
    made.todayColumn = todayColumn;
    made.bars = std::move(bars);
    return made;
}

class Calendars : public EngineFixture {
protected:
    void SetUp() override {
        window = open(WindowKind::Calendar);
        calendar =
            static_cast<RoomCalendar*>(services.widget(window, calendar_window::kRoomCalendar));
        ASSERT_NE(calendar, nullptr);
    }

    QImage shown() {
        testing::processEvents();
        return calendar->viewport()->grab().toImage();
    }

    // The colour just inside the top edge of where a bar on the row and column stands, clear
    // of the name written on it.
    QColor barEdge(const QImage& image, int row, int column) {
        const int left = kRoomWidth + column * kDayWidth - calendar->horizontalScrollBar()->value();
        return image.pixelColor(left + kDayWidth / 2, kHeaderHeight + row * kRowHeight + 5);
    }

    WindowHandle window = 0;
    RoomCalendar* calendar = nullptr;
};

TEST_F(Calendars, EachKindOfBarHasItsOwnColourAndEmptyDaysStayWhite) {
    using Kind = CalendarBarKind;
    services.calendarSetPage(window, calendar_window::kRoomCalendar,
                             page(10, -1,
                                  {{0, 0, 1, Kind::Let, "甲"},
                                   {0, 3, 4, Kind::Settled, "乙"},
                                   {1, 0, 1, Kind::Booked, "丙"},
                                   {1, 3, 4, Kind::Cancelled, "丁"}}));
    const QImage image = shown();
    const QColor let = barEdge(image, 0, 0);
    const QColor settled = barEdge(image, 0, 3);
    const QColor booked = barEdge(image, 1, 0);
    const QColor cancelled = barEdge(image, 1, 3);
    const std::vector<QColor> colours = {let, settled, booked, cancelled, Qt::white};
    for (std::size_t a = 0; a < colours.size(); ++a) {
        for (std::size_t b = a + 1; b < colours.size(); ++b) {
            EXPECT_NE(colours[a], colours[b]) << a << " and " << b;
        }
    }
    EXPECT_EQ(barEdge(image, 0, 2), QColor(Qt::white));
    EXPECT_EQ(barEdge(image, 1, 1), booked) << "a bar covers every day it is given";
}

TEST_F(Calendars, TheFirstPageOpensNearTodayAndScrollingKeepsRoomsAndDaysInView) {
    services.calendarSetPage(window, calendar_window::kRoomCalendar,
                             page(68, 30, {{0, 30, 31, CalendarBarKind::Booked, "甲"}}));
    testing::processEvents();
    const int scrolled = calendar->horizontalScrollBar()->value();
    EXPECT_EQ(scrolled, 27 * kDayWidth);
    const QImage image = shown();
    EXPECT_NE(barEdge(image, 0, 30), QColor(Qt::white)) << "today's bar is in view";
    // The room names' column stays at the left however far the days scroll.
    EXPECT_EQ(image.pixelColor(2, kHeaderHeight + 5), QColor(0xf2, 0xf3, 0xf4));

    // A later page keeps the place the person scrolled to.
    calendar->horizontalScrollBar()->setValue(0);
    services.calendarSetPage(window, calendar_window::kRoomCalendar, page(68, 23, {}));
    testing::processEvents();
    EXPECT_EQ(calendar->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(calendar->page().todayColumn, 23);
}

TEST_F(Calendars, AFirstPageWithTodayInViewOpensAtItsFirstDay) {
    services.calendarSetPage(window, calendar_window::kRoomCalendar, page(68, 7, {}));
    testing::processEvents();
    EXPECT_EQ(calendar->horizontalScrollBar()->value(), 0);
}

// The thumb dragged to the right shows later days, as on every scroll bar.
TEST_F(Calendars, DraggingTheThumbRightScrollsToLaterDays) {
    services.calendarSetPage(window, calendar_window::kRoomCalendar, page(68, 7, {}));
    shown();
    QScrollBar* bar = calendar->horizontalScrollBar();
    ASSERT_EQ(bar->value(), 0);
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = Qt::Horizontal;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.pageStep = bar->pageStep();
    option.singleStep = bar->singleStep();
    const QPoint thumb =
        bar->style()
            ->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar)
            .center();
    QTest::mousePress(bar, Qt::LeftButton, {}, thumb);
    QMouseEvent move(QEvent::MouseMove, QPointF(thumb + QPoint(120, 0)),
                     bar->mapToGlobal(QPointF(thumb + QPoint(120, 0))), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &move);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, thumb + QPoint(120, 0));
    EXPECT_GT(bar->value(), 0);
    EXPECT_FALSE(bar->isRightToLeft());
    EXPECT_FALSE(bar->invertedAppearance());
}

TEST_F(Calendars, AnEmptyPageAndBarsOffThePagePaintWithoutHarm) {
    services.calendarSetPage(window, calendar_window::kRoomCalendar, CalendarPage{});
    shown();
    services.calendarSetPage(window, calendar_window::kRoomCalendar,
                             page(5, 99, {{1, 3, 40, CalendarBarKind::Let, Text(300, 'x')}}));
    const QImage image = shown();
    EXPECT_NE(barEdge(image, 1, 4), QColor(Qt::white));
}

}  // namespace
}  // namespace tamrivo
