#include <cstdio>
#include <ostream>
#include <vector>

#include "records/csv.h"
#include "records/rent_records.h"
#include "records/stored_dates.h"
#include "tools/records/records_access.h"
#include "tools/records/records_commands.h"
#include "tools/records/text_table.h"
#include "ui/text_encoding.h"

namespace tamrivo {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// The report's words are the program's own, GBK in the source like every text of it.
std::string words(const char* gbk) {
    return gbkToUtf8(gbk);
}

std::string money(double amount) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", amount);
    return text;
}

Rows incomeRows(const RentReport& report) {
    Rows rows = {{words("月份"), words("结算收入(元)")}};
    double total = 0;
    for (const auto& [month, amount] : report.incomeByMonth) {
        rows.push_back({month, money(amount)});
        total += amount;
    }
    rows.push_back({words("合计"), money(total)});
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

void printTables(const CommandInput& input, const RentReport& report) {
    std::ostream& out = input.console.out;
    if (input.arguments.has("--csv")) {
        out << kUtf8ByteOrderMark;
        for (const auto& row : incomeRows(report)) {
            out << csvRecord(row);
        }
        out << "\r\n";
        for (const auto& row : nightRows(report)) {
            out << csvRecord(row);
        }
        return;
    }
    out << periodLine(input.arguments) << "\n\n"
        << alignedTable(incomeRows(report)) << '\n'
        << alignedTable(nightRows(report));
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

}  // namespace

int runReport(const CommandInput& input) {
    ReportPeriod period;
    if (!readPeriod(input, period)) {
        return kExitUsage;
    }
    const auto lock = shareRecords(input);
    Database database;
    if (!lock || !openForCommand(input, database)) {
        return kExitFailed;
    }
    RentRecords records;
    const bool read = readRentRecords(database, records);
    const std::string reason = read ? std::string() : gbkToUtf8(database.errorMessage());
    database.close();
    if (!read) {
        return input.fail("cannot read the records: " + reason);
    }
    const RentReport report = makeRentReport(records.rooms, records.leases, period, today());
    for (const std::string& leftOut : report.leftOut) {
        input.warn(leftOut);
    }
    printTables(input, report);
    return kExitDone;
}

}  // namespace tamrivo
