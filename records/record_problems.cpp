#include "records/record_problems.h"

#include <array>

#include "base/text_encoding.h"
#include "records/records_schema.h"
#include "records/stored_rows.h"

namespace tamrivo {
namespace {

// A query that finds records in one kind of wrong state, and the words for each one found.
struct StateRule {
    const char* sql;
    std::string (*describe)(std::span<const StoredValue> row);
};

std::string room(std::span<const StoredValue> row) {
    return "room " + row[0].text + " (" + row[1].text + ")";
}

std::string lease(std::span<const StoredValue> row) {
    return "lease " + row[0].text + " (order number " + row[1].text + ")";
}

std::string describeLetRoom(std::span<const StoredValue> row) {
    const std::string& orderNumber = row[2].text;
    const std::string& open = row[3].text;
    if (orderNumber.empty()) {
        return room(row) + " is let but holds no order number";
    }
    if (open == "0") {
        return room(row) + " is let with order number " + orderNumber +
               ", but no open lease has that number";
    }
    return room(row) + " is let with order number " + orderNumber + ", which " + open +
           " open leases share";
}

// Open means anything but settled, as the program's totals count it.
const std::array<StateRule, 6> kStateRules = {{
    {"SELECT f.`id`, f.`dizhi`, ifnull(f.`danhao`, ''), (SELECT count(*) FROM `b_zulin` z "
     "WHERE z.`danhao`=f.`danhao` AND ifnull(z.`zulinzhuangtai`, 0)<>1) AS open_leases FROM "
     "`b_fangjian` f WHERE f.`chuzuzhuangtai`=1 AND (ifnull(f.`danhao`, '')='' OR open_leases<>1) "
     "ORDER BY f.`id`",
     describeLetRoom},
    {"SELECT z.`id`, z.`danhao`, z.`fangzhi` FROM `b_zulin` z WHERE "
     "ifnull(z.`zulinzhuangtai`, 0)<>1 AND NOT EXISTS (SELECT 1 FROM `b_fangjian` f WHERE "
     "f.`chuzuzhuangtai`=1 AND f.`danhao`=z.`danhao`) ORDER BY z.`id`",
     [](std::span<const StoredValue> row) {
         return lease(row) + " for " + row[2].text +
                " is open, but no let room holds its order number";
     }},
    {"SELECT `id`, `dizhi`, `danhao` FROM `b_fangjian` WHERE `zhuangtai`=1 AND "
     "ifnull(`chuzuzhuangtai`, 0)<>1 AND ifnull(`danhao`, '')<>'' ORDER BY `id`",
     [](std::span<const StoredValue> row) {
         return room(row) + " is idle but still holds order number " + row[2].text;
     }},
    // -1 is what the room window stores when no condition was chosen: abandoned, by design.
    {"SELECT `id`, `dizhi`, quote(`zhuangtai`) FROM `b_fangjian` WHERE `zhuangtai` IS NULL "
     "OR `zhuangtai` NOT IN (0, 1, -1) ORDER BY `id`",
     [](std::span<const StoredValue> row) {
         return room(row) + " has condition " + row[2].text +
                ", not 1 (normal), 0 (abandoned) or -1 (none chosen)";
     }},
    // A missing occupancy reads as idle, which a table without a default gives new rooms.
    {"SELECT `id`, `dizhi`, quote(`chuzuzhuangtai`) FROM `b_fangjian` WHERE "
     "`chuzuzhuangtai` NOT IN (0, 1) ORDER BY `id`",
     [](std::span<const StoredValue> row) {
         return room(row) + " has occupancy " + row[2].text + ", not 1 (let) or 0 (idle)";
     }},
    {"SELECT `id`, `danhao`, quote(`zulinzhuangtai`) FROM `b_zulin` WHERE `zulinzhuangtai` "
     "IS NULL OR `zulinzhuangtai` NOT IN (0, 1) ORDER BY `id`",
     [](std::span<const StoredValue> row) {
         return lease(row) + " has state " + row[2].text + ", not 0 (open) or 1 (settled)";
     }},
}};

std::string booking(std::span<const StoredValue> row) {
    return "booking " + row[0].text + " of room " + row[1].text + " (" + row[2].text + " to " +
           row[3].text + ")";
}

// Only booked bookings hold days; arrived and cancelled ones are history, and a room deleted
// after its guests came and went leaves theirs behind by design.
const std::array<StateRule, 3> kBookingRules = {{
    {"SELECT a.`id`, a.`fangjianid`, a.`daodariqi`, a.`likairiqi`, b.`id`, b.`daodariqi`, "
     "b.`likairiqi` FROM `b_yuding` a JOIN `b_yuding` b ON a.`fangjianid`=b.`fangjianid` AND "
     "a.`id`<b.`id` WHERE a.`zhuangtai`=0 AND b.`zhuangtai`=0 AND a.`daodariqi`<b.`likairiqi` "
     "AND b.`daodariqi`<a.`likairiqi` ORDER BY a.`id`, b.`id`",
     [](std::span<const StoredValue> row) {
         return booking(row) + " overlaps booking " + row[4].text + " (" + row[5].text + " to " +
                row[6].text + ")";
     }},
    {"SELECT y.`id`, y.`fangjianid`, y.`daodariqi`, y.`likairiqi` FROM `b_yuding` y WHERE "
     "y.`zhuangtai`=0 AND NOT EXISTS (SELECT 1 FROM `b_fangjian` f WHERE f.`id`=y.`fangjianid`) "
     "ORDER BY y.`id`",
     [](std::span<const StoredValue> row) { return booking(row) + " is for a missing room"; }},
    {"SELECT `id`, `fangjianid`, `daodariqi`, `likairiqi`, quote(`zhuangtai`) FROM `b_yuding` "
     "WHERE `zhuangtai` IS NULL OR `zhuangtai` NOT IN (0, 1, 2) OR NOT "
     "(`likairiqi`>`daodariqi`) ORDER BY `id`",
     [](std::span<const StoredValue> row) {
         return booking(row) + " has state " + row[4].text +
                " or its days out of order; the states are 0 (booked), 1 (arrived) and 2 "
                "(cancelled)";
     }},
}};

// A planned departure must be a day and belong to a lease; a settled lease keeps its own.
const std::array<StateRule, 1> kPlannedDepartureRules = {{
    {"SELECT p.`zulinid`, quote(p.`tuifangriqi`), EXISTS (SELECT 1 FROM `b_zulin` z WHERE "
     "z.`id`=p.`zulinid`) FROM `b_yujituifang` p WHERE NOT EXISTS (SELECT 1 FROM `b_zulin` z "
     "WHERE z.`id`=p.`zulinid`) OR NOT (p.`tuifangriqi` GLOB "
     "'[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]' AND date(p.`tuifangriqi`)=p.`tuifangriqi`) "
     "ORDER BY p.`zulinid`",
     [](std::span<const StoredValue> row) {
         return "planned departure " + row[1].text + " of lease " + row[0].text +
                (row[2].text == "1" ? " is no day" : " is for a missing lease");
     }},
}};

std::string lastError(Database& database) {
    return gbkToUtf8(database.errorMessage());
}

void applyRules(Database& database, std::span<const StateRule> rules,
                std::vector<std::string>& problems) {
    for (const StateRule& rule : rules) {
        const bool ran = forEachRow(database, rule.sql, [&](std::span<const StoredValue> row) {
            problems.push_back(rule.describe(row));
        });
        if (!ran) {
            problems.push_back("cannot read the records: " + lastError(database));
        }
    }
}

}  // namespace

std::vector<std::string> integrityProblems(Database& database) {
    TextTable table;
    int rows = 0;
    int columns = 0;
    Text error;
    if (!database.getTable("PRAGMA integrity_check", &table, rows, columns, error)) {
        return {"the integrity check cannot run: " + gbkToUtf8(error)};
    }
    std::vector<std::string> problems;
    for (int row = 1; row <= rows && columns > 0; ++row) {
        const Text& finding = table[static_cast<std::size_t>(row)][0];
        if (finding != "ok") {
            problems.push_back("integrity check: " + gbkToUtf8(finding));
        }
    }
    return problems;
}

std::vector<std::string> recordProblems(Database& database) {
    std::vector<std::string> problems = integrityProblems(database);
    const std::vector<std::string> tables = schemaProblems(database);
    problems.insert(problems.end(), tables.begin(), tables.end());
    if (!tables.empty()) {
        return problems;  // the states cannot be read without the tables
    }
    applyRules(database, kStateRules, problems);
    // Records from before the bookings have no such table, and need none.
    if (database.tableExists("b_yuding")) {
        applyRules(database, kBookingRules, problems);
    }
    if (database.tableExists("b_yujituifang")) {
        applyRules(database, kPlannedDepartureRules, problems);
    }
    return problems;
}

}  // namespace tamrivo
