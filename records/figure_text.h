#pragma once

#include <vector>

#include "records/period_statistics.h"
#include "records/today_figures.h"
#include "ui/value_types.h"

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

// The cells of a room's row: address, stays, nights let, occupancy, income.
std::vector<Text> roomCells(const RoomFigures& room);

// Today's figures as a name and a value each.
struct TodayLine {
    Text name;
    Text value;
};
std::vector<TodayLine> todayLines(const TodayFigures& figures);

}  // namespace tamrivo
