#pragma once

#include <span>
#include <string>
#include <vector>

#include "base/value_types.h"
#include "records/period_statistics.h"
#include "records/today_figures.h"

namespace tamrivo {

// Money to the cent, "1234.50".
Text moneyText(double amount);
// A share as per cent to one decimal, "37.5%".
Text percentText(double share);
// How far the figure moved from the one before, "+12.5%" or "-3.0%"; "—" when there was none
// to compare with.
Text changeText(double current, double previous);

// A period's figure as every screen and report shows it: its name, its value, the value of
// the period before and the change.
struct FigureLine {
    Text name;
    Text value;
    Text previousValue;
    Text change;
};
std::vector<FigureLine> periodFigureLines(const PeriodStatistics& statistics);

// Rows of cells, the first the head.
using TextRows = std::vector<std::vector<Text>>;

// The period's figures: name, this period, the one before, the change.
TextRows figureTable(const PeriodStatistics& statistics);
// A row for each room: address, stays, nights let, occupancy, income.
TextRows roomTable(const PeriodStatistics& statistics);

// The rows with their texts as UTF-8, as they leave the program.
std::vector<std::vector<std::string>> utf8Rows(const TextRows& rows);

// "期间：2024-03-01 至 2024-03-31，上期：2024-02-01 至 2024-02-29"
Text periodText(const PeriodStatistics& statistics);

// Tables as one CSV text, a blank line between two: UTF-8 with its byte-order mark, every
// field defused as the export does.
std::string csvTables(std::span<const TextRows> tables);

// Today's figures as a name and a value each.
struct TodayLine {
    Text name;
    Text value;
};
std::vector<TodayLine> todayLines(const TodayFigures& figures);

}  // namespace tamrivo
