#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "data/database.h"
#include "records/statement_scope.h"
#include "ui/value_types.h"

namespace tamrivo {

// A lease row whole, open or settled.
struct LeaseRow {
    int id = 0;
    Text danhao{};
    Text fangzhi{};
    Text xingming{};
    Text lianxifangshi{};
    double dingjin = 0;
    double zujin = 0;
    Text ruzhuriqi{};
    int zulinzhuangtai = 0;
    double jiesuanjine = 0;
    Text jiesuanriqi{};
    Text beizhu{};
    Text jiesuanbeizhu{};

    bool settled() const;
};

// The lease at the statement's row, its columns in the table's order.
LeaseRow readLeaseRow(StatementScope& row);

// Which leases a search finds. Every part left at its default lets every lease through.
struct LeaseFilter {
    enum class State { All, Open, Settled };
    // Found anywhere in the order number, address, name, contact, remark or settlement
    // remark: ASCII letters in either case, every other character as typed; "%", "_" and
    // quotes are plain characters.
    Text keyword{};
    State state = State::All;
    // When given, only check-ins on these days, both included ("yyyy-MM-dd", in either order).
    std::optional<Text> firstDay;
    std::optional<Text> lastDay;
};

// The first rows a search finds, newest check-in first, with how many it finds in all and the
// sum received on the settled ones among them.
struct FoundLeases {
    std::vector<LeaseRow> rows;
    std::int64_t total = 0;
    double received = 0;
};

// Lets the connection keep the leases' pages in memory once read, decrypted, so that a search
// after the first reads no page from the file again. The file does not change.
void keepLeasesInMemory(Database& database);

// At most maxRows rows; nothing when a statement fails (the reason is the database's error).
std::optional<FoundLeases> searchLeases(Database& database, const LeaseFilter& filter, int maxRows);

// Hands every lease the search finds to the handler, newest check-in first; false when a
// statement fails (the reason is the database's error).
bool forEachFoundLease(Database& database, const LeaseFilter& filter,
                       const std::function<void(const LeaseRow&)>& handler);

// The lease with this id; nothing when there is none or the statement fails.
std::optional<LeaseRow> findLeaseById(Database& database, int id);

// The keyword as a LIKE pattern that finds it anywhere, with "%", "_" and the escape "\"
// escaped. Double-byte characters pass whole: a trail byte equal to "\" is not escaped.
Text containsPattern(const Text& keyword);

}  // namespace tamrivo
