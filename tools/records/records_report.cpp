#include <optional>
#include <ostream>
#include <vector>

#include "base/text_encoding.h"
#include "records/csv.h"
#include "records/figure_text.h"
#include "records/period_statistics.h"
#include "records/rent_records.h"
#include "records/statistics_indexes.h"
#include "records/statistics_period.h"
#include "records/stored_dates.h"
#include "tools/records/records_access.h"
#include "tools/records/records_commands.h"
#include "tools/records/text_table.h"

namespace tamrivo {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// The report's words are the program's own, GBK in the source like every text of it.
std::string words(const char* gbk) {
    return gbkToUtf8(gbk);
}

constexpr std::pair<std::string_view, PeriodChoice> kPeriodNames[] = {
    {"this-month", PeriodChoice::ThisMonth},    {"last-month", PeriodChoice::LastMonth},
    {"this-year", PeriodChoice::ThisYear},      {"last-year", PeriodChoice::LastYear},
    {"last-30-days", PeriodChoice::Last30Days}, {"custom", PeriodChoice::Custom},
};

Rows incomeRows(const RentReport& report) {
    Rows rows = {{words("月份"), words("结算收入(元)")}};
    double total = 0;
    for (const auto& [month, amount] : report.incomeByMonth) {
        rows.push_back({month, moneyText(amount)});
        total += amount;
    }
    rows.push_back({words("合计"), moneyText(total)});
    return rows;
}

Rows nightRows(const RentReport& report) {
    Rows rows = {{words("房屋地址"), words("出租晚数")}};
    std::int64_t total = 0;
    for (const auto& [room, nights] : report.nightsByRoom) {
        rows.push_back({room, std::to_string(nights)});
        total += nights;
    }
    rows.push_back({words("合计"), std::to_string(total)});
    return rows;
}

// With a chosen period the report also gives its figures.
struct ReportRequest {
    ReportPeriod period;
    std::optional<PeriodStatistics> statistics;
};

std::vector<Rows> tablesOf(const RentReport& report, const ReportRequest& request) {
    std::vector<Rows> tables = {incomeRows(report), nightRows(report)};
    if (request.statistics) {
        tables.push_back(utf8Rows(figureTable(*request.statistics)));
        tables.push_back(utf8Rows(roomTable(*request.statistics)));
    }
    return tables;
}

std::string periodLine(const ParsedArguments& arguments) {
    const auto option = [&](const char* name) {
        const auto found = arguments.options.find(name);
        return found != arguments.options.end() ? found->second : std::string();
    };
    const std::string from = option("--from");
    const std::string to = option("--to");
    if (from.empty() && to.empty()) {
        return words("期间：全部记录");
    }
    return words("期间：") + (from.empty() ? "" : from + " ") + words("至") +
           (to.empty() ? "" : " " + to);
}

void printTables(const CommandInput& input, const RentReport& report,
                 const ReportRequest& request) {
    std::ostream& out = input.console.out;
    const bool csv = input.arguments.has("--csv");
    if (csv) {
        out << kUtf8ByteOrderMark;
    } else {
        out << (request.statistics ? gbkToUtf8(periodText(*request.statistics))
                                   : periodLine(input.arguments))
            << "\n";
    }
    bool first = true;
    for (const Rows& table : tablesOf(report, request)) {
        out << (!csv ? "\n" : first ? "" : "\r\n");
        first = false;
        if (csv) {
            for (const auto& row : table) {
                out << csvRecord(row);
            }
        } else {
            out << alignedTable(table);
        }
    }
}

// Reads --from and --to; false (with the person told) when one is no date or they cross.
bool readPeriod(const CommandInput& input, ReportPeriod& period) {
    for (const auto& [name, bound] :
         {std::pair{"--from", &period.firstDay}, std::pair{"--to", &period.lastDay}}) {
        const auto found = input.arguments.options.find(name);
        if (found == input.arguments.options.end()) {
            continue;
        }
        const std::optional<std::int64_t> day = typedDay(found->second);
        if (!day) {
            input.fail(std::string(name) + " wants a date as YYYY-MM-DD, not '" + found->second +
                       "'");
            return false;
        }
        *bound = *day;
    }
    if (period.firstDay > period.lastDay) {
        input.fail("the period ends before it begins");
        return false;
    }
    return true;
}

// Reads --period; false (with the person told) when it names no period or its dates clash.
bool readChoice(const CommandInput& input, ReportRequest& request,
                std::optional<PeriodChoice>& choice) {
    const auto found = input.arguments.options.find("--period");
    if (found == input.arguments.options.end()) {
        return true;
    }
    for (const auto& [name, named] : kPeriodNames) {
        if (name == found->second) {
            choice = named;
        }
    }
    const bool dated = input.arguments.has("--from") || input.arguments.has("--to");
    const bool bothDates = input.arguments.has("--from") && input.arguments.has("--to");
    if (!choice) {
        input.fail(
            "--period wants this-month, last-month, this-year, last-year, "
            "last-30-days or custom, not '" +
            found->second + "'");
    } else if (*choice == PeriodChoice::Custom && !bothDates) {
        input.fail("--period custom wants --from and --to");
    } else if (*choice != PeriodChoice::Custom && dated) {
        input.fail("--period " + found->second + " has its own dates; leave out --from and --to");
    } else {
        request.period = choosePeriod(*choice, today(), request.period);
        return true;
    }
    return false;
}

// The period's figures, when one was chosen; false when the records cannot be read.
bool readStatistics(Database& database, std::optional<PeriodChoice> choice,
                    ReportRequest& request) {
    if (!choice) {
        return true;
    }
    addStatisticsIndexes(database);
    request.statistics = readPeriodStatistics(database, request.period, today());
    return request.statistics.has_value();
}

}  // namespace

int runReport(const CommandInput& input) {
    ReportRequest request;
    std::optional<PeriodChoice> choice;
    if (!readPeriod(input, request.period) || !readChoice(input, request, choice)) {
        return kExitUsage;
    }
    const ReportPeriod& period = request.period;
    const auto lock = shareRecords(input);
    Database database;
    if (!lock || !openForCommand(input, database)) {
        return kExitFailed;
    }
    RentRecords records;
    const bool read =
        readRentRecords(database, records) && readStatistics(database, choice, request);
    const std::string reason = read ? std::string() : gbkToUtf8(database.errorMessage());
    database.close();
    if (!read) {
        return input.fail("cannot read the records: " + reason);
    }
    const RentReport report = makeRentReport(records.rooms, records.leases, period, today());
    for (const std::string& leftOut : report.leftOut) {
        input.warn(leftOut);
    }
    printTables(input, report, request);
    return kExitDone;
}

}  // namespace tamrivo
