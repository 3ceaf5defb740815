#include "records/rent_report.h"

#include <algorithm>
#include <map>
#include <optional>

#include "records/stored_dates.h"

namespace tamrivo {
namespace {

constexpr std::size_t kMonthLength = 7;  // "yyyy-MM"

// Nights of each room, the rooms given first in their order, other addresses after them.
class NightCounter {
public:
    explicit NightCounter(std::span<const std::string> rooms) {
        for (const std::string& room : rooms) {
            entry(room);
        }
        roomCount_ = nights_.size();
    }

    void add(const std::string& room, std::int64_t nights) {
        if (nights > 0) {
            nights_[entry(room)].second += nights;
        }
    }

    std::vector<std::pair<std::string, std::int64_t>> take() {
        std::sort(nights_.begin() + static_cast<std::ptrdiff_t>(roomCount_), nights_.end());
        return std::move(nights_);
    }

private:
    std::size_t entry(const std::string& room) {
        const auto [found, added] = index_.try_emplace(room, nights_.size());
        if (added) {
            nights_.emplace_back(room, 0);
        }
        return found->second;
    }

    std::vector<std::pair<std::string, std::int64_t>> nights_;
    std::map<std::string, std::size_t> index_;
    std::size_t roomCount_ = 0;
};

}  // namespace

std::optional<std::int64_t> checkInDay(const LeaseFacts& lease, std::vector<std::string>& leftOut) {
    const std::optional<std::int64_t> day = storedDay(lease.checkIn);
    if (!day) {
        leftOut.push_back("lease " + lease.id + ": the check-in date '" + lease.checkIn +
                          "' is no date; its nights are left out");
    }
    return day;
}

std::optional<std::int64_t> stayEnd(const LeaseFacts& lease, std::int64_t today,
                                    std::vector<std::string>& leftOut) {
    if (!lease.settled) {
        return today + 1;
    }
    const std::optional<std::int64_t> day = storedDay(lease.settledAt);
    if (!day) {
        leftOut.push_back("lease " + lease.id + ": the settlement date '" + lease.settledAt +
                          "' is no date; the lease is left out");
    }
    return day;
}

bool isWithin(ReportPeriod period, std::int64_t day) {
    return day >= period.firstDay && day <= period.lastDay;
}

std::int64_t nightsWithin(ReportPeriod period, std::int64_t checkIn, std::int64_t end) {
    const std::int64_t first = std::max(checkIn, period.firstDay);
    const std::int64_t last = std::min(end, period.lastDay + 1);
    return std::max<std::int64_t>(0, last - first);
}

RentReport makeRentReport(std::span<const std::string> rooms, std::span<const LeaseFacts> leases,
                          ReportPeriod period, std::int64_t today) {
    RentReport report;
    std::map<std::string, double> income;
    NightCounter nights(rooms);
    for (const LeaseFacts& lease : leases) {
        const std::optional<std::int64_t> end = stayEnd(lease, today, report.leftOut);
        if (!end) {
            continue;
        }
        if (lease.settled && isWithin(period, *end)) {
            income[lease.settledAt.substr(0, kMonthLength)] += lease.amount;
        }
        if (const auto checkIn = checkInDay(lease, report.leftOut)) {
            nights.add(lease.room, nightsWithin(period, *checkIn, *end));
        }
    }
    report.incomeByMonth.assign(income.begin(), income.end());
    report.nightsByRoom = nights.take();
    return report;
}

}  // namespace tamrivo
