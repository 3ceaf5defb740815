#include "records/lease_search.h"

#include <algorithm>
#include <string>

#include "records/statement_scope.h"
#include "ui/gbk_chars.h"

namespace tamrivo {
namespace {

// Named in the table's order, so a row reads the same whatever order the file keeps the
// settlement columns in.
constexpr char kColumns[] =
    "`id`, `danhao`, `fangzhi`, `xingming`, `lianxifangshi`, `dingjin`, `zujin`, `ruzhuriqi`, "
    "`zulinzhuangtai`, `jiesuanjine`, `jiesuanriqi`, `beizhu`, `jiesuanbeizhu`";

// Room for the decrypted pages of a hundred thousand leases and more.
constexpr int kCachedKibibytes = 64 * 1024;

constexpr char kNewestFirst[] = " ORDER BY `ruzhuriqi` DESC, `id` DESC";

// The text columns a keyword is looked for in.
constexpr const char* kSearchedColumns[] = {"danhao",        "fangzhi", "xingming",
                                            "lianxifangshi", "beizhu",  "jiesuanbeizhu"};

Text whereClause(const LeaseFilter& filter) {
    std::vector<Text> conditions;
    if (!filter.keyword.empty()) {
        Text any;
        for (const char* column : kSearchedColumns) {
            any += (any.empty() ? "(`" : " OR `") + Text(column) + "` LIKE :keyword ESCAPE '\\'";
        }
        conditions.push_back(any + ")");
    }
    if (filter.state == LeaseFilter::State::Open) {
        conditions.push_back("`zulinzhuangtai` IS NOT 1");
    } else if (filter.state == LeaseFilter::State::Settled) {
        conditions.push_back("`zulinzhuangtai`=1");
    }
    if (filter.firstDay && filter.lastDay) {
        conditions.push_back("substr(`ruzhuriqi`, 1, 10) BETWEEN :firstDay AND :lastDay");
    }
    Text where;
    for (const Text& condition : conditions) {
        where += (where.empty() ? " WHERE " : " AND ") + condition;
    }
    return where;
}

void bindFilter(StatementScope& statement, const LeaseFilter& filter) {
    if (!filter.keyword.empty()) {
        statement.bindText(":keyword", containsPattern(filter.keyword));
    }
    if (filter.firstDay && filter.lastDay) {
        const auto [first, last] = std::minmax(*filter.firstDay, *filter.lastDay);
        statement.bindText(":firstDay", first);
        statement.bindText(":lastDay", last);
    }
}

// Steps the statement to its end, handing each row on; false when it failed on the way.
bool readAll(StatementScope& statement, const std::function<void(const LeaseRow&)>& handler) {
    while (statement.step()) {
        handler(readLeaseRow(statement));
    }
    return statement.finish();
}

}  // namespace

bool LeaseRow::settled() const {
    return zulinzhuangtai == 1;
}

Text containsPattern(const Text& keyword) {
    Text pattern = "%";
    forEachChar(keyword, [&](std::size_t pos, std::size_t size) {
        if (size == 1 && (keyword[pos] == '%' || keyword[pos] == '_' || keyword[pos] == '\\')) {
            pattern += '\\';
        }
        pattern.append(keyword, pos, size);
    });
    return pattern + "%";
}

void keepLeasesInMemory(Database& database) {
    database.execute("PRAGMA cache_size=-" + std::to_string(kCachedKibibytes));
}

std::optional<FoundLeases> searchLeases(Database& database, const LeaseFilter& filter,
                                        int maxRows) {
    const Text where = whereClause(filter);
    // The newest are picked by their ids alone, so the sorting carries two columns, not all.
    StatementScope rows(database, Text("SELECT ") + kColumns +
                                      " FROM `b_zulin` WHERE `id` IN (SELECT `id` FROM `b_zulin`" +
                                      where + kNewestFirst + " LIMIT :maxRows)" + kNewestFirst);
    bindFilter(rows, filter);
    rows.bindInt(":maxRows", std::max(maxRows, 0));
    FoundLeases found;
    if (!readAll(rows, [&](const LeaseRow& row) { found.rows.push_back(row); })) {
        return std::nullopt;
    }
    if (static_cast<int>(found.rows.size()) < maxRows) {
        // Every lease found is listed: no second pass over the table for the totals.
        found.total = static_cast<std::int64_t>(found.rows.size());
        for (const LeaseRow& row : found.rows) {
            found.received += row.settled() ? row.jiesuanjine : 0;
        }
        return found;
    }
    StatementScope totals(database,
                          "SELECT COUNT(*), TOTAL(CASE WHEN `zulinzhuangtai`=1 THEN "
                          "`jiesuanjine` END) FROM `b_zulin`" +
                              where);
    bindFilter(totals, filter);
    if (!totals.step()) {
        return std::nullopt;
    }
    found.total = totals.columnInt64(0);
    found.received = totals.columnDouble(1);
    return found;
}

bool forEachFoundLease(Database& database, const LeaseFilter& filter,
                       const std::function<void(const LeaseRow&)>& handler) {
    StatementScope rows(database, Text("SELECT ") + kColumns + " FROM `b_zulin`" +
                                      whereClause(filter) + kNewestFirst);
    bindFilter(rows, filter);
    return readAll(rows, handler);
}

LeaseRow readLeaseRow(StatementScope& row) {
    LeaseRow lease;
    lease.id = row.columnInt(0);
    lease.danhao = row.columnText(1);
    lease.fangzhi = row.columnText(2);
    lease.xingming = row.columnText(3);
    lease.lianxifangshi = row.columnText(4);
    lease.dingjin = row.columnDouble(5);
    lease.zujin = row.columnDouble(6);
    lease.ruzhuriqi = row.columnText(7);
    lease.zulinzhuangtai = row.columnInt(8);
    lease.jiesuanjine = row.columnDouble(9);
    lease.jiesuanriqi = row.columnText(10);
    lease.beizhu = row.columnText(11);
    lease.jiesuanbeizhu = row.columnText(12);
    return lease;
}

std::optional<LeaseRow> findLeaseById(Database& database, int id) {
    StatementScope row(database, Text("SELECT ") + kColumns + " FROM `b_zulin` WHERE `id`=:id");
    row.bindInt(":id", id);
    if (!row.step()) {
        return std::nullopt;
    }
    return readLeaseRow(row);
}

}  // namespace tamrivo
