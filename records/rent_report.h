#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace tamrivo {

// Both days included, as day numbers; unbounded by default.
struct ReportPeriod {
    std::int64_t firstDay = std::numeric_limits<std::int32_t>::min();
    std::int64_t lastDay = std::numeric_limits<std::int32_t>::max();
};

// What the report needs of a lease, its texts as stored.
struct LeaseFacts {
    std::string id;
    std::string room;  // the address on the lease: leases reach their room only by it
    std::string checkIn;
    bool settled = false;
    double amount = 0;
    std::string settledAt;
    double rent = 0;  // per night
};

struct RentReport {
    std::vector<std::pair<std::string, double>> incomeByMonth;  // "2024-03", in order
    std::vector<std::pair<std::string, std::int64_t>> nightsByRoom;
    std::vector<std::string> leftOut;  // leases whose dates are no dates, and why
};

// The first day of the lease's stay; nothing, with the reason added to leftOut, when the
// check-in is no date.
std::optional<std::int64_t> checkInDay(const LeaseFacts& lease, std::vector<std::string>& leftOut);

// The day after the lease's last night: its settlement day, or while it is open, the day after
// tonight. Nothing, with the reason added to leftOut, when the settlement is no date.
std::optional<std::int64_t> stayEnd(const LeaseFacts& lease, std::int64_t today,
                                    std::vector<std::string>& leftOut);

bool isWithin(ReportPeriod period, std::int64_t day);

// The nights of the period in a stay: the dates d with checkIn <= d < end.
std::int64_t nightsWithin(ReportPeriod period, std::int64_t checkIn, std::int64_t end);

// The settled income of each month of the period, by settlement date, and the nights let of
// each room: the rooms given first, in their order (none let: 0), then any other address
// the leases name. A night is each date from the check-in up to the day before the
// check-out; an open lease counts up to tonight, `today`.
RentReport makeRentReport(std::span<const std::string> rooms, std::span<const LeaseFacts> leases,
                          ReportPeriod period, std::int64_t today);

}  // namespace tamrivo
