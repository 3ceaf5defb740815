#include "records/figure_text.h"

#include <cmath>
#include <cstdio>

#include "base/text_encoding.h"
#include "records/csv.h"
#include "records/stored_dates.h"

namespace tamrivo {
namespace {

// The value with this many decimals.
Text printed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

Text count(std::int64_t value) {
    return std::to_string(value);
}

// The figures compared between two periods: name, how each is written, and its value.
struct Figure {
    const char* name;
    Text (*write)(double);
    double (*value)(const PeriodFigures&);
};

Text writeCount(double value) {
    return count(static_cast<std::int64_t>(value));
}

constexpr Figure kFigures[] = {
    {"结算收入", moneyText, [](const PeriodFigures& f) { return f.income; }},
    {"入住次数", writeCount, [](const PeriodFigures& f) { return double(f.stays); }},
    {"出租晚数", writeCount, [](const PeriodFigures& f) { return double(f.nightsLet); }},
    {"出租率", percentText, [](const PeriodFigures& f) { return f.occupancy(); }},
    {"客房收入", moneyText, [](const PeriodFigures& f) { return f.roomRevenue; }},
    {"平均房价", moneyText, [](const PeriodFigures& f) { return f.averageRate(); }},
    {"每间可售房收入", moneyText,
     [](const PeriodFigures& f) { return f.incomePerAvailableNight(); }},
};

}  // namespace

Text moneyText(double amount) {
    // Sums of cents land a hair off the cent; -0.00 would read as a loss.
    const double cents = std::round(amount * 100) / 100;
    return printed(cents == 0 ? 0 : cents, 2);
}

Text percentText(double share) {
    const double tenths = std::round(share * 1000) / 10;
    return printed(tenths == 0 ? 0 : tenths, 1) + "%";
}

Text changeText(double current, double previous) {
    if (previous == 0) {
        return "—";
    }
    const double change = (current - previous) / std::fabs(previous);
    return (change > 0 ? "+" : "") + percentText(change);
}

std::vector<FigureLine> periodFigureLines(const PeriodStatistics& statistics) {
    std::vector<FigureLine> lines;
    for (const Figure& figure : kFigures) {
        const double current = figure.value(statistics.figures);
        const double previous = figure.value(statistics.previousFigures);
        lines.push_back({figure.name, figure.write(current), figure.write(previous),
                         changeText(current, previous)});
    }
    return lines;
}

TextRows figureTable(const PeriodStatistics& statistics) {
    TextRows rows = {{"指标", "本期", "上期", "变化"}};
    for (const FigureLine& line : periodFigureLines(statistics)) {
        rows.push_back({line.name, line.value, line.previousValue, line.change});
    }
    return rows;
}

TextRows roomTable(const PeriodStatistics& statistics) {
    TextRows rows = {{"房间", "入住次数", "出租晚数", "出租率", "收入(元)"}};
    for (const RoomFigures& room : statistics.rooms) {
        rows.push_back({room.room, count(room.stays), count(room.nightsLet),
                        percentText(room.occupancy), moneyText(room.income)});
    }
    return rows;
}

std::vector<std::vector<std::string>> utf8Rows(const TextRows& rows) {
    std::vector<std::vector<std::string>> converted;
    for (const std::vector<Text>& row : rows) {
        std::vector<std::string>& cells = converted.emplace_back();
        for (const Text& cell : row) {
            cells.push_back(gbkToUtf8(cell));
        }
    }
    return converted;
}

Text periodText(const PeriodStatistics& statistics) {
    return "期间：" + dayText(statistics.period.firstDay) + " 至 " +
           dayText(statistics.period.lastDay) + "，上期：" + dayText(statistics.previous.firstDay) +
           " 至 " + dayText(statistics.previous.lastDay);
}

std::string csvTables(std::span<const TextRows> tables) {
    std::string csv(kUtf8ByteOrderMark);
    for (const TextRows& table : tables) {
        csv += &table == tables.data() ? "" : "\r\n";
        for (const std::vector<std::string>& row : utf8Rows(table)) {
            csv += csvRecord(row);
        }
    }
    return csv;
}

std::vector<TodayLine> todayLines(const TodayFigures& figures) {
    return {
        {"正常房间", count(figures.normalRooms)},     {"废弃房间", count(figures.abandonedRooms)},
        {"在租房间", count(figures.letRooms)},        {"闲置房间", count(figures.idleRooms)},
        {"今日入住", count(figures.checkIns)},        {"今日退房", count(figures.checkOuts)},
        {"未结算租约", count(figures.openLeases)},    {"押金合计", moneyText(figures.depositsHeld)},
        {"应收租金", moneyText(figures.rentAccrued)},
    };
}

}  // namespace tamrivo
