#include "records/period_statistics.h"

#include <algorithm>
#include <map>

#include "records/statement_scope.h"
#include "records/statistics_period.h"
#include "records/stored_dates.h"

namespace tamrivo {
namespace {

constexpr std::int64_t kMonthsInYear = 12;

double ratio(double part, double whole) {
    return whole == 0 ? 0 : part / whole;
}

// Days of the period up to tonight: those whose nights can have been let.
std::int64_t daysSoFar(ReportPeriod period, std::int64_t today) {
    return std::max<std::int64_t>(0, std::min(period.lastDay, today) - period.firstDay + 1);
}

struct Rooms {
    std::vector<Text> addresses;
    std::int64_t normal = 0;
};

bool readRooms(Database& database, Rooms& rooms) {
    StatementScope rows(database, "SELECT `dizhi`, `zhuangtai`=1 FROM `b_fangjian` ORDER BY `id`");
    while (rows.step()) {
        rooms.addresses.push_back(rows.columnText(0));
        rooms.normal += rows.columnInt(1);
    }
    return rows.finish();
}

// The leases that can touch the days [first, end): the settled ones settled on or after the
// first with a check-in before the end, or checked in or settled within; and the open ones.
// Each term has an index of its own (a single OR over both halves would read every lease),
// so a period of ten years' records reads little more than its own leases.
bool readLeases(Database& database, ReportPeriod days, std::vector<LeaseFacts>& leases) {
    constexpr char kColumns[] =
        "SELECT `id`, `fangzhi`, `ruzhuriqi`, ifnull(`zulinzhuangtai`, 0)=1, "
        "CAST(ifnull(`jiesuanjine`, 0) AS REAL), `jiesuanriqi`, CAST(ifnull(`zujin`, 0) AS REAL) "
        "FROM `b_zulin` ";
    StatementScope rows(database, Text(kColumns) +
                                      "WHERE `zulinzhuangtai`=1 AND ("
                                      "(`jiesuanriqi`>=:first AND `ruzhuriqi`<:end) "
                                      "OR (`ruzhuriqi`>=:first AND `ruzhuriqi`<:end) "
                                      "OR (`jiesuanriqi`>=:first AND `jiesuanriqi`<:end)) "
                                      "UNION ALL " +
                                      kColumns + "WHERE `zulinzhuangtai` IS NOT 1");
    rows.bindText(":first", dayText(days.firstDay));
    rows.bindText(":end", dayText(days.lastDay + 1));
    while (rows.step()) {
        leases.push_back({rows.columnText(0), rows.columnText(1), rows.columnText(2),
                          rows.columnInt(3) == 1, rows.columnDouble(4), rows.columnText(5),
                          rows.columnDouble(6)});
    }
    return rows.finish();
}

// Adds up the leases of one period, with its income chart bars and, when asked, its rooms.
class PeriodTally {
public:
    PeriodTally(ReportPeriod period, ChartSpan span) : period_(period), span_(span) {}

    void add(const LeaseFacts& lease, std::optional<std::int64_t> checkIn, std::int64_t end,
             RoomFigures* room) {
        if (lease.settled && isWithin(period_, end)) {
            figures.income += lease.amount;
            barIncome_[barOf(end)] += lease.amount;
            if (room != nullptr) {
                room->income += lease.amount;
            }
        }
        if (!checkIn) {
            return;
        }
        const std::int64_t nights = nightsWithin(period_, *checkIn, end);
        const std::int64_t stays = isWithin(period_, *checkIn) ? 1 : 0;
        figures.nightsLet += nights;
        figures.roomRevenue += static_cast<double>(nights) * lease.rent;
        figures.stays += stays;
        if (room != nullptr) {
            room->nightsLet += nights;
            room->stays += stays;
        }
    }

    std::int64_t barOf(std::int64_t day) const {
        switch (span_) {
            case ChartSpan::Day:
                break;
            case ChartSpan::Month:
                return monthIndexOf(day) - monthIndexOf(period_.firstDay);
            case ChartSpan::Year:
                return monthIndexOf(day) / kMonthsInYear -
                       monthIndexOf(period_.firstDay) / kMonthsInYear;
        }
        return day - period_.firstDay;
    }
    double barIncome(std::int64_t bar) const {
        const auto found = barIncome_.find(bar);
        return found == barIncome_.end() ? 0 : found->second;
    }

    PeriodFigures figures;

private:
    ReportPeriod period_;
    ChartSpan span_;
    std::map<std::int64_t, double> barIncome_;
};

class RoomTable {
public:
    explicit RoomTable(const std::vector<Text>& addresses) {
        for (const Text& address : addresses) {
            entry(address);
        }
        roomCount_ = rooms_.size();
    }

    RoomFigures& entry(const Text& address) {
        const auto [found, added] = index_.try_emplace(address, rooms_.size());
        if (added) {
            rooms_.push_back({address});
        }
        return rooms_[found->second];
    }

    // Addresses that are no room's stay in the table only for what the period holds of them.
    std::vector<RoomFigures> take(std::int64_t daysOnOffer) {
        const auto others = rooms_.begin() + static_cast<std::ptrdiff_t>(roomCount_);
        rooms_.erase(std::remove_if(others, rooms_.end(),
                                    [](const RoomFigures& room) {
                                        return room.stays == 0 && room.nightsLet == 0 &&
                                               room.income == 0;
                                    }),
                     rooms_.end());
        for (RoomFigures& room : rooms_) {
            room.occupancy = ratio(static_cast<double>(room.nightsLet), daysOnOffer);
        }
        std::stable_sort(rooms_.begin(), rooms_.end(), [](const auto& a, const auto& b) {
            return a.income != b.income ? a.income > b.income : a.nightsLet > b.nightsLet;
        });
        return std::move(rooms_);
    }

private:
    std::vector<RoomFigures> rooms_;
    std::map<Text, std::size_t> index_;
    std::size_t roomCount_ = 0;
};

std::vector<IncomeBar> incomeBars(const PeriodStatistics& statistics, const PeriodTally& current,
                                  const PeriodTally& previous) {
    std::vector<IncomeBar> bars;
    const std::int64_t count = current.barOf(statistics.period.lastDay) + 1;
    for (std::int64_t bar = 0; bar < count; ++bar) {
        const std::int64_t firstMonth = monthIndexOf(statistics.period.firstDay);
        const Text label =
            statistics.bars == ChartSpan::Day ? dayText(statistics.period.firstDay + bar, "d")
            : statistics.bars == ChartSpan::Month
                ? dayText(firstDayOfMonth(firstMonth + bar), "yyyy-MM")
                : dayText(firstDayOfMonth((firstMonth / kMonthsInYear + bar) * kMonthsInYear),
                          "yyyy");
        bars.push_back({label, current.barIncome(bar), previous.barIncome(bar)});
    }
    return bars;
}

}  // namespace

double PeriodFigures::occupancy() const {
    return ratio(static_cast<double>(nightsLet), static_cast<double>(nightsOnOffer));
}

double PeriodFigures::averageRate() const {
    return ratio(roomRevenue, static_cast<double>(nightsLet));
}

double PeriodFigures::incomePerAvailableNight() const {
    return ratio(roomRevenue, static_cast<double>(nightsOnOffer));
}

std::optional<PeriodStatistics> readPeriodStatistics(Database& database, ReportPeriod period,
                                                     std::int64_t today) {
    PeriodStatistics statistics;
    statistics.period = period;
    statistics.previous = previousPeriod(period);
    const std::int64_t months = monthIndexOf(period.lastDay) - monthIndexOf(period.firstDay) + 1;
    statistics.bars = daysIn(period) <= kLongestDailyChart ? ChartSpan::Day
                      : months <= kLongestMonthlyChart     ? ChartSpan::Month
                                                           : ChartSpan::Year;
    Rooms rooms;
    std::vector<LeaseFacts> leases;
    if (!readRooms(database, rooms) ||
        !readLeases(database, {statistics.previous.firstDay, period.lastDay}, leases)) {
        return std::nullopt;
    }
    PeriodTally current(period, statistics.bars);
    PeriodTally previous(statistics.previous, statistics.bars);
    RoomTable table(rooms.addresses);
    for (const LeaseFacts& lease : leases) {
        const std::optional<std::int64_t> end = stayEnd(lease, today, statistics.leftOut);
        if (!end) {
            continue;
        }
        const std::optional<std::int64_t> checkIn = checkInDay(lease, statistics.leftOut);
        current.add(lease, checkIn, *end, &table.entry(lease.room));
        previous.add(lease, checkIn, *end, nullptr);
    }
    const std::int64_t days = daysSoFar(period, today);
    current.figures.nightsOnOffer = rooms.normal * days;
    previous.figures.nightsOnOffer = rooms.normal * daysSoFar(statistics.previous, today);
    statistics.figures = current.figures;
    statistics.previousFigures = previous.figures;
    statistics.income = incomeBars(statistics, current, previous);
    statistics.rooms = table.take(days);
    return statistics;
}

}  // namespace tamrivo
