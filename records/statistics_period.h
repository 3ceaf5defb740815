#pragma once

#include <cstdint>

#include "records/rent_report.h"

namespace tamrivo {

// The periods the statistics offer, in the order the window lists them.
enum class PeriodChoice { ThisMonth, LastMonth, ThisYear, LastYear, Last30Days, Custom };

// The days of a choice around today; a custom choice is the days given, put in order.
ReportPeriod choosePeriod(PeriodChoice choice, std::int64_t today, ReportPeriod custom = {});

// The period a period is compared with: as many whole months before it when it is whole
// months (so March is set against February), otherwise as many days right before it.
ReportPeriod previousPeriod(ReportPeriod period);

// Both days counted.
std::int64_t daysIn(ReportPeriod period);

// The day number of the first day of a month, months counted from year 0.
std::int64_t firstDayOfMonth(std::int64_t monthIndex);
// The month (year * 12 + month - 1) a day falls in.
std::int64_t monthIndexOf(std::int64_t day);

}  // namespace tamrivo
