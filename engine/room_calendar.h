#pragma once

#include <QAbstractScrollArea>

#include "ui/window_services.h"

namespace tamrivo {

// The room calendar: the rooms down the left, the days across the top, both staying in view
// while the rest scrolls, today's column tinted, and each stay a bar in its kind's colour
// with the guest's name, a cancelled one struck through. Only what is in view is painted,
// so a page of many rooms and days costs no more than what the window shows.
class RoomCalendar final : public QAbstractScrollArea {
public:
    explicit RoomCalendar(QWidget* container);

    void setPage(CalendarPage page);
    const CalendarPage& page() const { return page_; }

    static constexpr int kRoomWidth = 120;
    static constexpr int kDayWidth = 46;
    static constexpr int kRowHeight = 26;
    static constexpr int kHeaderHeight = 36;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateScrollBars();
    void paintBars(QPainter& painter);
    void paintHeader(QPainter& painter);
    void paintRooms(QPainter& painter);
    int dayLeft(int column) const;
    int rowTop(int row) const;

    CalendarPage page_;
    bool shownToday_ = false;
};

}  // namespace tamrivo
