#include "records/records_schema.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <set>
#include <span>

#include "records/schema.h"

namespace tamrivo {
namespace {

constexpr int kAnyPosition = -1;
// The four settlement columns of the leases stand at these positions, in any order.
constexpr int kSettlementPositions = -2;

struct ColumnRule {
    const char* name;
    int position;
};

struct TableRule {
    const char* name;
    std::span<const ColumnRule> columns;
};

constexpr std::array<ColumnRule, 3> kUserColumns = {{
    {schema::b_yh::kId, 0},
    {schema::b_yh::kYhm, 1},
    {schema::b_yh::kMm, kAnyPosition},
}};

constexpr std::array<ColumnRule, 5> kRoomColumns = {{
    {schema::b_fangjian::kId, 0},
    {schema::b_fangjian::kDizhi, 1},
    {schema::b_fangjian::kZhuangtai, 2},
    {schema::b_fangjian::kChuzuzhuangtai, 3},
    {schema::b_fangjian::kDanhao, kAnyPosition},
}};

constexpr std::array<ColumnRule, 13> kLeaseColumns = {{
    {schema::b_zulin::kId, 0},
    {schema::b_zulin::kDanhao, 1},
    {schema::b_zulin::kFangzhi, 2},
    {schema::b_zulin::kXingming, 3},
    {schema::b_zulin::kLianxifangshi, 4},
    {schema::b_zulin::kDingjin, 5},
    {schema::b_zulin::kZujin, 6},
    {schema::b_zulin::kRuzhuriqi, 7},
    {schema::b_zulin::kZulinzhuangtai, kSettlementPositions},
    {schema::b_zulin::kJiesuanjine, kSettlementPositions},
    {schema::b_zulin::kJiesuanriqi, kSettlementPositions},
    {schema::b_zulin::kBeizhu, 11},
    {schema::b_zulin::kJiesuanbeizhu, kSettlementPositions},
}};

constexpr std::array<TableRule, 3> kTables = {{
    {schema::b_yh::kTable, kUserColumns},
    {schema::b_fangjian::kTable, kRoomColumns},
    {schema::b_zulin::kTable, kLeaseColumns},
}};

bool standsRight(int rule, int position) {
    static const std::set<int> settlement = {8, 9, 10, 12};
    return rule == kAnyPosition ||
           (rule == kSettlementPositions ? settlement.contains(position) : rule == position);
}

// The positions of the table's columns by name; nothing when the table is missing.
std::optional<std::map<std::string, int>> columnsOf(Database& database, const TableRule& table) {
    const StatementHandle statement = database.prepare("SELECT * FROM `" + Text(table.name) + "`");
    if (statement == nullptr) {
        return std::nullopt;
    }
    std::map<std::string, int> positions;
    for (int column = database.columnCount(statement) - 1; column >= 0; --column) {
        positions[database.columnName(statement, column)] = column;
    }
    database.finalize(statement);
    return positions;
}

void checkTable(Database& database, const TableRule& table, std::vector<std::string>& problems) {
    const auto positions = columnsOf(database, table);
    if (!positions) {
        problems.push_back("table " + std::string(table.name) + " is missing");
        return;
    }
    for (const ColumnRule& column : table.columns) {
        const auto found = positions->find(column.name);
        if (found == positions->end()) {
            problems.push_back("table " + std::string(table.name) + " has no column " +
                               column.name);
        } else if (!standsRight(column.position, found->second)) {
            problems.push_back("column " + std::string(column.name) + " of table " + table.name +
                               " stands at position " + std::to_string(found->second) +
                               ", where the program does not look for it");
        }
    }
}

}  // namespace

std::vector<std::string> schemaProblems(Database& database) {
    std::vector<std::string> problems;
    for (const TableRule& table : kTables) {
        checkTable(database, table, problems);
    }
    return problems;
}

}  // namespace tamrivo
