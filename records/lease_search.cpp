#include "records/lease_search.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>

#include "base/text_encoding.h"
#include "records/database_queries.h"
#include "records/guest_register.h"
#include "records/statement_scope.h"

namespace tamrivo {
namespace {

// Named in the table's order, so a row reads the same whatever order the file keeps the
// settlement columns in.
constexpr char kColumns[] =
    "`id`, `danhao`, `fangzhi`, `xingming`, `lianxifangshi`, `dingjin`, `zujin`, `ruzhuriqi`, "
    "`zulinzhuangtai`, `jiesuanjine`, `jiesuanriqi`, `beizhu`, `jiesuanbeizhu`";

// Room for the decrypted pages of a hundred thousand leases and more.
constexpr int kCachedKibibytes = 64 * 1024;

// The searched texts of every lease. NULL texts are empty, numbers read as their text, as
// LIKE would compare them.
constexpr char kSearchedTexts[] =
    "SELECT `id`, `zulinzhuangtai`=1, CASE WHEN `zulinzhuangtai`=1 THEN `jiesuanjine` END, "
    "substr(`ruzhuriqi`, 1, 10), `danhao`, `fangzhi`, `xingming`, `lianxifangshi`, `beizhu`, "
    "`jiesuanbeizhu` FROM `b_zulin`";
// The order the search lists leases in. Sorting the ids alone, not the texts with them,
// keeps the sort small.
constexpr char kNewestFirst[] = "SELECT `id` FROM `b_zulin` ORDER BY `ruzhuriqi` DESC, `id` DESC";
constexpr int kFirstSearchedColumn = 4;
constexpr int kSearchedColumns = 6;

constexpr int kNullType = 5;

// The rows a search lists are read this many at a time.
constexpr std::size_t kRowsPerRead = 500;

void lowerAsciiLetters(std::string& text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
}

std::int64_t queryInt64(Database& database, const Text& sql) {
    StatementScope query(database, sql);
    return query.step() ? query.columnInt64(0) : -1;
}

}  // namespace

bool LeaseRow::settled() const {
    return state == schema::kLeaseSettled;
}

void keepLeasesInMemory(Database& database) {
    database.execute("PRAGMA cache_size=-" + std::to_string(kCachedKibibytes));
}

std::optional<FoundLeases> LeaseSearch::find(const LeaseFilter& filter, int maxRows) {
    if (!refresh()) {
        return std::nullopt;
    }
    const Matches found = match(filter, static_cast<std::size_t>(std::max(maxRows, 0)));
    FoundLeases leases;
    leases.total = found.total;
    leases.received = found.received;
    leases.rows.reserve(found.ids.size());
    if (!readRows(found.ids, [&](const LeaseRow& row) { leases.rows.push_back(row); })) {
        return std::nullopt;
    }
    return leases;
}

bool LeaseSearch::forEachFound(const LeaseFilter& filter,
                               const std::function<void(const LeaseRow&)>& handler) {
    return refresh() && readRows(match(filter, entries_.size()).ids, handler);
}

bool LeaseSearch::refresh() {
    const std::pair<std::int64_t, std::int64_t> now = {
        queryInt64(database_, "PRAGMA data_version"),
        queryInt64(database_, "SELECT total_changes()")};
    if (readAt_ == now && now.first >= 0) {
        return true;
    }
    readAt_.reset();
    entries_.clear();
    texts_.clear();
    std::vector<Entry> read;
    if (!readTexts(read) || !putNewestFirst(read)) {
        entries_.clear();
        texts_.clear();
        return false;
    }
    lowerAsciiLetters(texts_);
    readAt_ = now;
    return true;
}

bool LeaseSearch::readTexts(std::vector<Entry>& read) {
    StatementScope rows(database_, kSearchedTexts);
    while (rows.step()) {
        Entry entry;
        entry.id = rows.columnInt(0);
        entry.settled = rows.columnInt(1) != 0;
        entry.received = rows.columnDouble(2);
        if (rows.columnType(3) != kNullType) {
            entry.day = rows.columnView(3);
        }
        entry.textBegin = texts_.size();
        for (int column = kFirstSearchedColumn; column < kFirstSearchedColumn + kSearchedColumns;
             ++column) {
            texts_ += rows.columnView(column);
            texts_ += '\0';
        }
        entry.textEnd = texts_.size();
        read.push_back(std::move(entry));
    }
    return rows.finish();
}

bool LeaseSearch::putNewestFirst(std::vector<Entry>& read) {
    std::unordered_map<int, std::size_t> readAt;
    for (std::size_t at = 0; at < read.size(); ++at) {
        readAt.emplace(read[at].id, at);
    }
    entries_.reserve(read.size());
    StatementScope order(database_, kNewestFirst);
    while (order.step()) {
        if (const auto at = readAt.find(order.columnInt(0)); at != readAt.end()) {
            entries_.push_back(std::move(read[at->second]));
        }
    }
    return order.finish();
}

// The stays whose register holds the keyword as a whole document number, as typed or with
// its letters in capitals (a 居民身份证's X, a passport's letters).
std::vector<int> LeaseSearch::leasesWithDocument(const Text& keyword) const {
    std::vector<int> leases = leasesWithDocumentNumber(database_, keyword);
    Text capitals = keyword;
    std::transform(capitals.begin(), capitals.end(), capitals.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    if (capitals != keyword) {
        const std::vector<int> more = leasesWithDocumentNumber(database_, capitals);
        leases.insert(leases.end(), more.begin(), more.end());
    }
    return leases;
}

LeaseSearch::Matches LeaseSearch::match(const LeaseFilter& filter, std::size_t maxIds) const {
    std::string keyword = gbkToUtf8(filter.keyword);
    lowerAsciiLetters(keyword);
    const bool byDay = filter.firstDay && filter.lastDay;
    Text firstDay;
    Text lastDay;
    if (byDay) {
        std::tie(firstDay, lastDay) = std::minmax(*filter.firstDay, *filter.lastDay);
    }
    const std::vector<int> registered = leasesWithDocument(filter.keyword);
    const std::string_view texts = texts_;
    Matches found;
    for (const Entry& entry : entries_) {
        const std::string_view own = texts.substr(entry.textBegin, entry.textEnd - entry.textBegin);
        if ((filter.state == LeaseFilter::State::Open && entry.settled) ||
            (filter.state == LeaseFilter::State::Settled && !entry.settled) ||
            (byDay && (!entry.day || *entry.day < firstDay || *entry.day > lastDay)) ||
            (!keyword.empty() && own.find(keyword) == std::string_view::npos &&
             std::find(registered.begin(), registered.end(), entry.id) == registered.end())) {
            continue;
        }
        ++found.total;
        found.received += entry.received;
        if (found.ids.size() < maxIds) {
            found.ids.push_back(entry.id);
        }
    }
    return found;
}

bool LeaseSearch::readRows(std::span<const int> ids,
                           const std::function<void(const LeaseRow&)>& handler) {
    std::unordered_map<int, LeaseRow> read;
    for (std::size_t first = 0; first < ids.size(); first += kRowsPerRead) {
        const std::span<const int> part =
            ids.subspan(first, std::min(kRowsPerRead, ids.size() - first));
        Text list;
        for (const int id : part) {
            list += (list.empty() ? "" : ",") + std::to_string(id);
        }
        StatementScope rows(
            database_, Text("SELECT ") + kColumns + " FROM `b_zulin` WHERE `id` IN (" + list + ")");
        read.clear();
        while (rows.step()) {
            LeaseRow row = readLeaseRow(rows);
            read.emplace(row.id, std::move(row));
        }
        if (!rows.finish()) {
            return false;
        }
        // In the order found; a lease deleted since it was found is left out.
        for (const int id : part) {
            if (const auto row = read.find(id); row != read.end()) {
                handler(row->second);
            }
        }
    }
    return true;
}

LeaseRow readLeaseRow(StatementScope& row) {
    LeaseRow lease;
    lease.id = row.columnInt(0);
    lease.orderNumber = row.columnText(1);
    lease.address = row.columnText(2);
    lease.guest = row.columnText(3);
    lease.contact = row.columnText(4);
    lease.deposit = row.columnDouble(5);
    lease.rent = row.columnDouble(6);
    lease.checkIn = row.columnText(7);
    lease.state = row.columnInt(8);
    lease.amountReceived = row.columnDouble(9);
    lease.checkOut = row.columnText(10);
    lease.remark = row.columnText(11);
    lease.settlementRemark = row.columnText(12);
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

LeaseOfRoom leaseOfRoom(Database& database, int roomId) {
    StatementScope row(database, leaseOfRoomSql(roomId));
    if (!row.prepared()) {
        return {true, std::nullopt};
    }
    if (!row.step()) {
        return {};
    }
    return {false, readLeaseRow(row)};
}

}  // namespace tamrivo
