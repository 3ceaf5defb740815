#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "base/value_types.h"
#include "data/database.h"
#include "records/schema.h"
#include "records/statement_scope.h"

namespace tamrivo {

// A lease row whole, open or settled.
struct LeaseRow {
    int id = 0;
    Text orderNumber{};
    Text address{};  // of the room let, as typed at check-in
    Text guest{};
    Text contact{};
    double deposit = 0;
    double rent = 0;  // a night's
    Text checkIn{};   // "yyyy-MM-dd HH:mm:ss"
    int state = schema::kLeaseOpen;
    double amountReceived = 0;  // at settlement
    Text checkOut{};            // the settlement's date-time
    Text remark{};
    Text settlementRemark{};

    bool settled() const;
};

// The lease at the statement's row, its columns in the table's order.
LeaseRow readLeaseRow(StatementScope& row);

// Which leases a search finds. Every part left at its default lets every lease through.
struct LeaseFilter {
    enum class State { All, Open, Settled };
    // Found anywhere in the order number, address, name, contact, remark or settlement
    // remark: ASCII letters in either case, every other character as typed; "%", "_" and
    // quotes are plain characters. A stay whose register holds the keyword as a whole
    // document number is found too.
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

// Lets the connection keep the leases' pages in memory once read, decrypted, so that reading
// the rows a search lists reads no page from the file again. The file does not change.
void keepLeasesInMemory(Database& database);

// Finds leases as the search window lists them. The searched texts of every lease are kept in
// memory, newest check-in first, so that a keystroke reads only the rows it lists; they are
// read again when the records changed since (a write on this connection or a commit on another).
class LeaseSearch {
public:
    explicit LeaseSearch(Database& database) : database_(database) {}

    // At most maxRows rows; nothing when a statement fails (the reason is the database's error).
    std::optional<FoundLeases> find(const LeaseFilter& filter, int maxRows);
    // Hands every lease found to the handler, newest check-in first; false when a statement
    // fails (the reason is the database's error).
    bool forEachFound(const LeaseFilter& filter,
                      const std::function<void(const LeaseRow&)>& handler);

private:
    struct Entry {
        int id = 0;
        bool settled = false;
        double received = 0;
        std::optional<std::string> day;  // the check-in's first ten characters
        std::size_t textBegin = 0;       // where its texts are in texts_
        std::size_t textEnd = 0;
    };
    struct Matches {
        std::vector<int> ids;  // newest first
        std::int64_t total = 0;
        double received = 0;
    };

    bool refresh();
    bool readTexts(std::vector<Entry>& read);
    bool putNewestFirst(std::vector<Entry>& read);
    Matches match(const LeaseFilter& filter, std::size_t maxIds) const;
    std::vector<int> leasesWithDocument(const Text& keyword) const;
    bool readRows(std::span<const int> ids, const std::function<void(const LeaseRow&)>& handler);

    Database& database_;
    std::vector<Entry> entries_;
    // Each lease's searched columns as stored (UTF-8), ASCII letters in lower case, every
    // column closed by a zero byte so that no keyword is found across two of them.
    std::string texts_;
    std::optional<std::pair<std::int64_t, std::int64_t>> readAt_;  // data_version, changes
};

// The lease with this id; nothing when there is none or the statement fails.
std::optional<LeaseRow> findLeaseById(Database& database, int id);

// The lease a room's order number leads to: its open lease, while it is let.
struct LeaseOfRoom {
    bool failed = false;  // the statement cannot be prepared; the database's error says why
    std::optional<LeaseRow> lease;
};
LeaseOfRoom leaseOfRoom(Database& database, int roomId);

}  // namespace tamrivo
