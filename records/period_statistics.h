#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/value_types.h"
#include "data/database.h"
#include "records/rent_report.h"

namespace tamrivo {

// The figures of one period. A stay is a check-in on one of its days; its nights and income
// are those of the rent report (nights inside the period, an open lease up to tonight;
// settled amounts by settlement date). Room revenue is what the stays earned in the period,
// each of their nights in it at their rent, open ones too: unlike the money settled, it
// stands beside the nights it was earned on, so the rates are prices a landlord recognises.
// The nights on offer are the normal rooms times the days of the period up to tonight, since
// nights still to come can be neither let nor idle.
struct PeriodFigures {
    double income = 0;       // settled in the period
    double roomRevenue = 0;  // earned by the nights let in the period
    std::int64_t stays = 0;
    std::int64_t nightsLet = 0;
    std::int64_t nightsOnOffer = 0;

    double occupancy() const;                // nights let per night on offer
    double averageRate() const;              // room revenue per night let
    double incomePerAvailableNight() const;  // room revenue per night on offer
};

struct RoomFigures {
    Text room;  // the address the stays carry
    std::int64_t stays = 0;
    std::int64_t nightsLet = 0;
    double occupancy = 0;  // nights let per day of the period up to tonight
    double income = 0;
};

// One bar of the income chart: a day of the month ("3", short enough for a month of bars
// side by side), a month ("2024-03") or a year ("2024") of the period, and the one at the
// same place of the period before it.
struct IncomeBar {
    Text label;
    double income = 0;
    double previousIncome = 0;
};

// What a bar of the income chart stands for: a day for periods of up to kLongestDailyChart
// days, a month for up to kLongestMonthlyChart months, a year beyond, so that even a
// period of centuries has bars a chart can draw.
enum class ChartSpan { Day, Month, Year };

struct PeriodStatistics {
    ReportPeriod period;
    ReportPeriod previous;
    PeriodFigures figures;
    PeriodFigures previousFigures;
    ChartSpan bars = ChartSpan::Day;
    std::vector<IncomeBar> income;
    std::vector<RoomFigures> rooms;    // every room and every other address stays carry,
                                       // best income first
    std::vector<std::string> leftOut;  // leases whose dates are no dates, and why
};

inline constexpr std::int64_t kLongestDailyChart = 62;
inline constexpr std::int64_t kLongestMonthlyChart = 120;

// The period's statistics and those of the period before it (previousPeriod), with tonight
// the night of `today`. Nothing when the records cannot be read (the reason is then the
// database's errorMessage).
std::optional<PeriodStatistics> readPeriodStatistics(Database& database, ReportPeriod period,
                                                     std::int64_t today);

}  // namespace tamrivo
