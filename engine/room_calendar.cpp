#include "engine/room_calendar.h"

#include <QPainter>
#include <QScrollBar>

#include <algorithm>

#include "engine/conversions.h"

namespace tamrivo {
namespace {

const QColor kGridLine(0xd0, 0xd3, 0xd4);
const QColor kHeaderFill(0xf2, 0xf3, 0xf4);
const QColor kTodayFill(0xfe, 0xf5, 0xe7);

QColor barColour(CalendarBarKind kind) {
    switch (kind) {
        case CalendarBarKind::Let:
            return {0xe6, 0x7e, 0x22};
        case CalendarBarKind::Settled:
            return {0x95, 0xa5, 0xa6};
        case CalendarBarKind::Booked:
            return {0x34, 0x98, 0xdb};
        case CalendarBarKind::Overstay:
            return {0xc0, 0x39, 0x2b};
        case CalendarBarKind::Outside:
            return {0x8e, 0x44, 0xad};
        case CalendarBarKind::Closed:
            return {0x7f, 0x8c, 0x8d};
        case CalendarBarKind::Conflict:
            return {0xe0, 0x1a, 0x6e};
        case CalendarBarKind::Cancelled:
            break;
    }
    return {0xe5, 0xe7, 0xe9};
}

}  // namespace

RoomCalendar::RoomCalendar(QWidget* container) : QAbstractScrollArea(container) {
    horizontalScrollBar()->setSingleStep(kDayWidth);
    verticalScrollBar()->setSingleStep(kRowHeight);
}

void RoomCalendar::setPage(CalendarPage page) {
    page_ = std::move(page);
    updateScrollBars();
    // The first page opens at its first day, or, when today lies beyond what that shows, with
    // a few days before today in view.
    if (!shownToday_ && page_.todayColumn >= 0) {
        // The calendar's own width: its viewport is sized only once it is shown.
        const bool todayInView =
            kRoomWidth + (page_.todayColumn + 1) * kDayWidth <= width() - 2 * frameWidth();
        horizontalScrollBar()->setValue(
            todayInView ? 0 : std::max(0, page_.todayColumn - 3) * kDayWidth);
        shownToday_ = true;
    }
    viewport()->update();
}

// The room names and the day titles stay in view; the scroll ranges cover what lies beside
// and below them.
void RoomCalendar::updateScrollBars() {
    const QSize shown = viewport()->size();
    const int width = kRoomWidth + static_cast<int>(page_.days.size()) * kDayWidth;
    const int height = kHeaderHeight + static_cast<int>(page_.rooms.size()) * kRowHeight;
    horizontalScrollBar()->setRange(0, std::max(0, width - shown.width()));
    horizontalScrollBar()->setPageStep(shown.width());
    verticalScrollBar()->setRange(0, std::max(0, height - shown.height()));
    verticalScrollBar()->setPageStep(shown.height());
}

void RoomCalendar::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

int RoomCalendar::dayLeft(int column) const {
    return kRoomWidth + column * kDayWidth - horizontalScrollBar()->value();
}

int RoomCalendar::rowTop(int row) const {
    return kHeaderHeight + row * kRowHeight - verticalScrollBar()->value();
}

void RoomCalendar::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(viewport());
    const QRect shown = viewport()->rect();
    painter.fillRect(shown, Qt::white);
    if (page_.todayColumn >= 0) {
        painter.fillRect(dayLeft(page_.todayColumn), 0, kDayWidth, shown.height(), kTodayFill);
    }
    painter.setPen(kGridLine);
    const int columns = static_cast<int>(page_.days.size());
    for (int column = std::max(0, horizontalScrollBar()->value() / kDayWidth - 3);
         column <= columns && dayLeft(column) <= shown.right(); ++column) {
        painter.drawLine(dayLeft(column), 0, dayLeft(column), shown.bottom());
    }
    const int rows = static_cast<int>(page_.rooms.size());
    for (int row = std::max(0, verticalScrollBar()->value() / kRowHeight - 2);
         row <= rows && rowTop(row) <= shown.bottom(); ++row) {
        painter.drawLine(0, rowTop(row), shown.right(), rowTop(row));
    }
    paintBars(painter);
    paintHeader(painter);
    paintRooms(painter);
    painter.fillRect(0, 0, kRoomWidth, kHeaderHeight, kHeaderFill);
}

void RoomCalendar::paintBars(QPainter& painter) {
    const QRect shown = viewport()->rect();
    const QFont plain = painter.font();
    for (const CalendarBar& bar : page_.bars) {
        // Bars sharing a day split the row's height between them.
        const int laneHeight = (kRowHeight - 6) / std::max(1, bar.lanes);
        const QRect box(dayLeft(bar.firstColumn) + 2, rowTop(bar.row) + 3 + bar.lane * laneHeight,
                        (bar.lastColumn - bar.firstColumn + 1) * kDayWidth - 4,
                        laneHeight - (bar.lanes > 1 ? 1 : 0));
        if (!box.intersects(shown)) {
            continue;
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(barColour(bar.kind));
        painter.drawRoundedRect(box, 4, 4);
        QFont font = plain;
        font.setStrikeOut(bar.kind == CalendarBarKind::Cancelled);
        if (bar.lanes > 1) {
            font.setPixelSize(std::max(8, laneHeight - 1));
        }
        painter.setFont(font);
        painter.setPen(bar.kind == CalendarBarKind::Cancelled ? Qt::darkGray : Qt::white);
        // A bar that began before the days in view shows its name where it comes into view.
        QRect text = box.adjusted(4, 0, -4, 0);
        text.setLeft(std::max(text.left(), kRoomWidth + 4));
        painter.drawText(
            text, Qt::AlignVCenter | Qt::AlignLeft,
            painter.fontMetrics().elidedText(toQString(bar.label), Qt::ElideRight, text.width()));
    }
    painter.setFont(plain);
}

void RoomCalendar::paintHeader(QPainter& painter) {
    const QRect shown = viewport()->rect();
    painter.fillRect(0, 0, shown.width(), kHeaderHeight, kHeaderFill);
    for (int column = 0; column < static_cast<int>(page_.days.size()); ++column) {
        const QRect cell(dayLeft(column), 0, kDayWidth, kHeaderHeight);
        if (cell.right() < kRoomWidth || cell.left() > shown.right()) {
            continue;
        }
        const bool today = column == page_.todayColumn;
        if (today) {
            painter.fillRect(cell, barColour(CalendarBarKind::Let));
        }
        painter.setPen(kGridLine);
        painter.drawLine(cell.topLeft(), cell.bottomLeft());
        painter.setPen(today ? Qt::white : Qt::black);
        painter.drawText(cell, Qt::AlignCenter,
                         toQString(page_.days[static_cast<std::size_t>(column)]));
    }
}

void RoomCalendar::paintRooms(QPainter& painter) {
    const QRect shown = viewport()->rect();
    painter.fillRect(0, 0, kRoomWidth, shown.height(), kHeaderFill);
    for (int row = 0; row < static_cast<int>(page_.rooms.size()); ++row) {
        const QRect cell(0, rowTop(row), kRoomWidth, kRowHeight);
        if (cell.bottom() < kHeaderHeight || cell.top() > shown.bottom()) {
            continue;
        }
        painter.setPen(kGridLine);
        painter.drawLine(cell.bottomLeft(), cell.bottomRight());
        painter.setPen(Qt::black);
        const QRect text = cell.adjusted(6, 0, -4, 0);
        painter.drawText(
            text, Qt::AlignVCenter | Qt::AlignLeft,
            painter.fontMetrics().elidedText(toQString(page_.rooms[static_cast<std::size_t>(row)]),
                                             Qt::ElideRight, text.width()));
    }
}

}  // namespace tamrivo
