#include "app/calendar_page.h"

#include <algorithm>
#include <map>
#include <optional>

#include "base/date_format.h"
#include "base/value_text.h"
#include "records/stored_dates.h"

namespace tamrivo {
namespace {

struct Nights {
    std::int64_t first = 0;
    std::int64_t last = 0;
};

std::optional<Nights> bookingNights(const Booking& booking) {
    const auto arrival = typedDay(booking.arrival);
    const auto departure = typedDay(booking.departure);
    if (!arrival || !departure || *departure <= *arrival) {
        return std::nullopt;
    }
    return Nights{*arrival, *departure - 1};
}

std::optional<Nights> settledNights(const LeaseStay& lease) {
    const auto checkIn = storedDay(lease.checkIn);
    if (!checkIn) {
        return std::nullopt;
    }
    const auto checkOut = storedDay(lease.checkOut);
    return Nights{*checkIn, checkOut ? std::max(*checkIn, *checkOut - 1) : *checkIn};
}

std::optional<Nights> outsideNights(const OutsideBooking& booking) {
    const auto arrival = typedDay(booking.arrival);
    const auto departure = typedDay(booking.departure);
    if (!arrival || !departure || *departure <= *arrival) {
        return std::nullopt;
    }
    return Nights{*arrival, *departure - 1};
}

CalendarBarKind outsideKind(const OutsideBooking& booking) {
    return booking.block()    ? CalendarBarKind::Closed
           : booking.conflict ? CalendarBarKind::Conflict
                              : CalendarBarKind::Outside;
}

Text outsideLabel(const OutsideBooking& booking) {
    return booking.summary.empty() ? booking.feedName : booking.feedName + " " + booking.summary;
}

CalendarBarKind bookingKind(const Booking& booking) {
    return booking.state == schema::kBookingCancelled ? CalendarBarKind::Cancelled
                                                      : CalendarBarKind::Booked;
}

const char* stateText(int state) {
    switch (state) {
        case schema::kBookingBooked:
            return "已预订";
        case schema::kBookingArrived:
            return "已入住";
        case schema::kBookingCancelled:
            return "已取消";
        default:
            return "未知";
    }
}

class PageBuilder {
public:
    PageBuilder(const CalendarRecords& records, std::int64_t firstDay, int dayCount)
        : records_(records), firstDay_(firstDay), lastDay_(firstDay + dayCount - 1) {
        for (std::size_t row = 0; row < records.rooms.size(); ++row) {
            const CalendarRoom& room = records.rooms[row];
            rowOfRoom_[room.id] = static_cast<int>(row);
            rowOfAddress_.try_emplace(room.address, static_cast<int>(row));
        }
    }

    void addBar(const std::map<Text, int>& rows, const Text& key,
                const std::optional<Nights>& nights, CalendarBarKind kind, const Text& label) {
        const auto row = rows.find(key);
        if (row != rows.end()) {
            addBar(row->second, nights, kind, label);
        }
    }

    void addBar(int row, const std::optional<Nights>& nights, CalendarBarKind kind,
                const Text& label) {
        if (!nights || nights->last < firstDay_ || nights->first > lastDay_) {
            return;
        }
        const auto first = std::max(nights->first, firstDay_) - firstDay_;
        const auto last = std::min(nights->last, lastDay_) - firstDay_;
        bars_.push_back({row, static_cast<int>(first), static_cast<int>(last), kind, label});
    }

    std::vector<CalendarBar> bars(std::int64_t today) {
        for (const LeaseStay& lease : records_.leases) {
            if (lease.settled) {
                addBar(rowOfAddress_, lease.address, settledNights(lease), CalendarBarKind::Settled,
                       lease.guest);
            }
        }
        for (const OpenStay& stay : records_.stays) {
            addStay(stay, today);
        }
        for (const OutsideBooking& booking : records_.outside) {
            const auto row = rowOfRoom_.find(booking.roomId);
            if (row != rowOfRoom_.end()) {
                addBar(row->second, outsideNights(booking), outsideKind(booking),
                       outsideLabel(booking));
            }
        }
        for (const Booking& booking : records_.bookings) {
            // An arrived booking shows as the lease it became.
            const auto row = rowOfRoom_.find(booking.roomId);
            if (booking.state != schema::kBookingArrived && row != rowOfRoom_.end()) {
                addBar(row->second, bookingNights(booking), bookingKind(booking), booking.guest);
            }
        }
        placeInLanes();
        return std::move(bars_);
    }

    // A guest in the room up to the planned departure, and past it, in the overstay's colour,
    // up to tonight.
    void addStay(const OpenStay& stay, std::int64_t today) {
        const auto row = rowOfRoom_.find(stay.roomId);
        if (row == rowOfRoom_.end()) {
            return;
        }
        addBar(row->second, Nights{stay.firstDay, stay.plannedDeparture - 1}, CalendarBarKind::Let,
               stay.guest);
        if (today > stay.plannedDeparture) {
            addBar(row->second, Nights{stay.plannedDeparture, today}, CalendarBarKind::Overstay,
                   stay.guest);
        }
    }

    // Each bar takes the first lane of its row that is free on all its days, stays before
    // bookings as they were added; every bar of a row then knows how many lanes it shares.
    void placeInLanes() {
        std::map<int, std::vector<std::vector<const CalendarBar*>>> lanesOfRow;
        for (CalendarBar& bar : bars_) {
            auto& lanes = lanesOfRow[bar.row];
            const auto free = std::find_if(lanes.begin(), lanes.end(), [&](const auto& lane) {
                return std::none_of(lane.begin(), lane.end(), [&](const CalendarBar* other) {
                    return other->firstColumn <= bar.lastColumn &&
                           bar.firstColumn <= other->lastColumn;
                });
            });
            bar.lane = static_cast<int>(free - lanes.begin());
            if (free == lanes.end()) {
                lanes.emplace_back();
            }
            lanes[static_cast<std::size_t>(bar.lane)].push_back(&bar);
        }
        for (CalendarBar& bar : bars_) {
            bar.lanes = static_cast<int>(lanesOfRow[bar.row].size());
        }
    }

private:
    const CalendarRecords& records_;
    const std::int64_t firstDay_;
    const std::int64_t lastDay_;
    std::map<int, int> rowOfRoom_;
    std::map<Text, int> rowOfAddress_;
    std::vector<CalendarBar> bars_;
};

Text addressOf(const std::vector<CalendarRoom>& rooms, int roomId) {
    const auto room = std::find_if(rooms.begin(), rooms.end(),
                                   [&](const CalendarRoom& each) { return each.id == roomId; });
    return room != rooms.end() ? room->address : "房间" + toText(roomId);
}

}  // namespace

CalendarPage calendarPage(const CalendarRecords& records, std::int64_t firstDay, int dayCount,
                          std::int64_t today) {
    CalendarPage page;
    for (const CalendarRoom& room : records.rooms) {
        page.rooms.push_back(room.address);
    }
    for (int column = 0; column < dayCount; ++column) {
        page.days.push_back(
            formatDateTime(DateTime{static_cast<double>(firstDay + column)}, "M/d"));
    }
    if (today >= firstDay && today < firstDay + dayCount) {
        page.todayColumn = static_cast<int>(today - firstDay);
    }
    page.bars = PageBuilder(records, firstDay, dayCount).bars(today);
    return page;
}

std::vector<TableRow> bookingRows(const CalendarRecords& records) {
    std::vector<TableRow> rows;
    for (const Booking& booking : records.bookings) {
        rows.push_back({booking.id,
                        {toText(booking.id), addressOf(records.rooms, booking.roomId),
                         booking.guest, booking.contact, booking.arrival, booking.departure,
                         toText(booking.deposit), stateText(booking.state), booking.remark}});
    }
    return rows;
}

std::optional<TodayBookings> readTodayBookings(Database& database, std::int64_t today) {
    const auto rooms = calendarRooms(database);
    const auto bookings = bookingsBetween(database, dayText(today), dayText(today));
    const auto stays = openStays(database, today);
    const auto conflicts = outsideConflicts(database, today);
    if (!rooms || !bookings || !stays || !conflicts) {
        return std::nullopt;
    }
    const Text day = dayText(today);
    TodayBookings found;
    for (const OutsideBooking& booking : *conflicts) {
        found.conflicts += (found.conflicts.empty() ? "" : "；") +
                           addressOf(*rooms, booking.roomId) + " " +
                           describeOutsideBooking(booking);
    }
    for (const Booking& booking : *bookings) {
        if (booking.booked() && booking.arrival == day) {
            const Text who = addressOf(*rooms, booking.roomId) + " " + booking.guest;
            found.arrivals += (found.arrivals.empty() ? "" : "；") + who;
        }
    }
    for (const OpenStay& stay : *stays) {
        Text* names = stay.plannedDeparture == today  ? &found.departures
                      : stay.plannedDeparture < today ? &found.overstays
                                                      : nullptr;
        if (names != nullptr) {
            *names += (names->empty() ? "" : "；") + stay.room + " " + stay.guest;
        }
    }
    for (Text* names : {&found.arrivals, &found.departures}) {
        if (names->empty()) {
            *names = "无";
        }
    }
    return found;
}

Text todayText(const TodayBookings& bookings, std::int64_t today) {
    return "今日 " + dayText(today) + "  预计到达：" + bookings.arrivals + "\r\n应离开：" +
           bookings.departures + overstayText(bookings);
}

Text overstayText(const TodayBookings& bookings) {
    const Text overstays = bookings.overstays.empty() ? Text() : "  已超期：" + bookings.overstays;
    return bookings.conflicts.empty() ? overstays
                                      : overstays + "\r\n平台冲突：" + bookings.conflicts;
}

}  // namespace tamrivo
