#include "records/outside_bookings.h"

#include <algorithm>
#include <map>
#include <string>

#include "base/date_format.h"
#include "base/date_time.h"
#include "records/planned_departures.h"
#include "records/statement_scope.h"

namespace tamrivo {
namespace {

constexpr char kColumns[] =
    "SELECT w.`id`, w.`dingyueid`, w.`fangjianid`, d.`mingcheng`, w.`uid`, w.`daodariqi`, "
    "w.`likairiqi`, w.`leixing`, w.`zhaiyao`, w.`chongtu` FROM `b_waibuyuding` w "
    "LEFT JOIN `b_rilidingyue` d ON d.`id`=w.`dingyueid` ";

OutsideBooking readOutside(StatementScope& row) {
    OutsideBooking booking;
    booking.id = row.columnInt(0);
    booking.feedId = row.columnInt(1);
    booking.roomId = row.columnInt(2);
    booking.feedName = row.columnText(3);
    booking.uid = row.columnText(4);
    booking.arrival = row.columnText(5);
    booking.departure = row.columnText(6);
    booking.kind =
        row.columnInt(7) == schema::kOutsideBlock ? schema::kOutsideBlock : schema::kOutsideBooking;
    booking.summary = row.columnText(8);
    booking.conflict = row.columnInt(9) != 0;
    return booking;
}

std::optional<std::vector<OutsideBooking>> readAll(StatementScope& statement) {
    std::vector<OutsideBooking> found;
    while (statement.step()) {
        found.push_back(readOutside(statement));
    }
    if (!statement.finish()) {
        return std::nullopt;
    }
    return found;
}

// What the records hold of a feed, by UID.
struct Stored {
    int id = 0;
    Text arrival;
    Text departure;
    int kind = 0;
    Text summary;
};

std::optional<std::map<Text, Stored>> storedOfFeed(Database& database, int feedId) {
    StatementScope statement(database,
                             "SELECT `id`, `uid`, `daodariqi`, `likairiqi`, `leixing`, `zhaiyao` "
                             "FROM `b_waibuyuding` WHERE `dingyueid`=:feed");
    statement.bindInt(":feed", feedId);
    std::map<Text, Stored> stored;
    while (statement.step()) {
        stored[statement.columnText(1)] = {statement.columnInt(0), statement.columnText(2),
                                           statement.columnText(3), statement.columnInt(4),
                                           statement.columnText(5)};
    }
    if (!statement.finish()) {
        return std::nullopt;
    }
    return stored;
}

// The writes of one application, each statement prepared once.
class FeedWrites {
public:
    FeedWrites(Database& database, int feedId, int roomId)
        : insert_(database,
                  "INSERT INTO `b_waibuyuding` (`dingyueid`, `fangjianid`, `uid`, `daodariqi`, "
                  "`likairiqi`, `leixing`, `zhaiyao`, `chongtu`) VALUES (:feed, :room, :uid, "
                  ":arrival, :departure, :kind, :summary, 0)"),
          update_(database,
                  "UPDATE `b_waibuyuding` SET `daodariqi`=:arrival, `likairiqi`=:departure, "
                  "`leixing`=:kind, `zhaiyao`=:summary WHERE `id`=:id"),
          remove_(database, "DELETE FROM `b_waibuyuding` WHERE `id`=:id"),
          feedId_(feedId),
          roomId_(roomId) {}

    bool add(const FeedEvent& event, const Text& arrival, const Text& departure) {
        insert_.bindInt(":feed", feedId_);
        insert_.bindInt(":room", roomId_);
        insert_.bindText(":uid", event.uid);
        bindEvent(insert_, event, arrival, departure);
        return run(insert_);
    }

    bool change(int id, const FeedEvent& event, const Text& arrival, const Text& departure) {
        update_.bindInt(":id", id);
        bindEvent(update_, event, arrival, departure);
        return run(update_);
    }

    bool drop(int id) {
        remove_.bindInt(":id", id);
        return run(remove_);
    }

private:
    static void bindEvent(StatementScope& statement, const FeedEvent& event, const Text& arrival,
                          const Text& departure) {
        statement.bindText(":arrival", arrival);
        statement.bindText(":departure", departure);
        statement.bindInt(":kind", event.kind);
        statement.bindText(":summary", event.summary);
    }

    // A step that completes yields no row; reset tells whether it failed.
    static bool run(StatementScope& statement) {
        return statement.prepared() && !statement.step() && statement.reset();
    }

    StatementScope insert_;
    StatementScope update_;
    StatementScope remove_;
    const int feedId_;
    const int roomId_;
};

bool applyEvents(Database& database, int feedId, int roomId, const ParsedFeed& feed,
                 FeedApplied& applied) {
    auto stored = storedOfFeed(database, feedId);
    if (!stored) {
        return false;
    }
    FeedWrites writes(database, feedId, roomId);
    for (const FeedEvent& event : feed.events) {
        const Text arrival = dayText(event.arrival);
        const Text departure = dayText(event.departure);
        const auto found = stored->find(event.uid);
        if (found == stored->end()) {
            if (!writes.add(event, arrival, departure)) {
                return false;
            }
            ++applied.added;
            continue;
        }
        const Stored& was = found->second;
        if (was.arrival == arrival && was.departure == departure && was.kind == event.kind &&
            was.summary == event.summary) {
            ++applied.kept;
        } else if (writes.change(was.id, event, arrival, departure)) {
            ++applied.moved;
        } else {
            return false;
        }
        stored->erase(found);
    }
    for (const auto& [uid, gone] : *stored) {
        if (!writes.drop(gone.id)) {
            return false;
        }
        ++applied.removed;
    }
    return true;
}

bool noteRead(Database& database, int feedId, const Text& result) {
    StatementScope statement(database,
                             "UPDATE `b_rilidingyue` SET `duqushijian`=:time, `cuowu`='', "
                             "`jieguo`=:result WHERE `id`=:id");
    statement.bindText(":time", formatDateTime(currentDateTime()));
    statement.bindText(":result", result);
    statement.bindInt(":id", feedId);
    statement.step();
    return statement.finish() && database.changes() == 1;
}

std::optional<int> roomOfFeed(Database& database, int feedId) {
    StatementScope statement(database, "SELECT `fangjianid` FROM `b_rilidingyue` WHERE `id`=:id");
    statement.bindInt(":id", feedId);
    if (!statement.step()) {
        return std::nullopt;
    }
    return statement.columnInt(0);
}

int countConflicts(Database& database, int feedId) {
    return database.queryInt(
        "SELECT count(*) FROM `b_waibuyuding` WHERE `chongtu`=1 AND "
        "`dingyueid`=" +
        std::to_string(feedId));
}

struct Span {
    std::int64_t first = 0;
    std::int64_t end = 0;
    int feedId = 0;  // 0 for the landlord's own
};

bool overlaps(const Span& a, const Span& b) {
    return a.first < b.end && b.first < a.end;
}

std::optional<Span> spanOf(const Text& arrival, const Text& departure, int feedId) {
    const auto first = typedDay(arrival);
    const auto end = typedDay(departure);
    if (!first || !end) {
        return std::nullopt;
    }
    return Span{*first, *end, feedId};
}

// The nights the landlord's own booked bookings and open stay hold in the room.
std::optional<std::vector<Span>> ownSpans(Database& database, int roomId, std::int64_t currentDay) {
    StatementScope statement(database,
                             "SELECT `daodariqi`, `likairiqi` FROM `b_yuding` WHERE "
                             "`fangjianid`=:room AND `zhuangtai`=0");
    statement.bindInt(":room", roomId);
    std::vector<Span> spans;
    while (statement.step()) {
        if (auto span = spanOf(statement.columnText(0), statement.columnText(1), 0)) {
            spans.push_back(*span);
        }
    }
    const auto stays = openStays(database, currentDay, roomId);
    if (!statement.finish() || !stays) {
        return std::nullopt;
    }
    for (const OpenStay& stay : *stays) {
        spans.push_back({stay.firstDay, stay.heldUntil, 0});
    }
    return spans;
}

// Whether another holder's span shares a night with the span. The spans are sorted by their
// first night, so only those starting at most `longest` nights earlier need a look: a feed of
// thousands of events stays a matter of milliseconds.
bool clashes(const std::vector<Span>& sorted, std::int64_t longest, const Span& span) {
    auto other =
        std::lower_bound(sorted.begin(), sorted.end(), span.first - longest,
                         [](const Span& each, std::int64_t first) { return each.first < first; });
    for (; other != sorted.end() && other->first < span.end; ++other) {
        if (other->feedId != span.feedId && overlaps(*other, span)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool markOutsideConflicts(Database& database, int roomId, std::int64_t currentDay) {
    auto spans = ownSpans(database, roomId, currentDay);
    StatementScope statement(database, Text(kColumns) + "WHERE w.`fangjianid`=:room");
    statement.bindInt(":room", roomId);
    const auto outside = readAll(statement);
    if (!spans || !outside) {
        return false;
    }
    for (const OutsideBooking& booking : *outside) {
        const auto span = spanOf(booking.arrival, booking.departure, booking.feedId);
        if (span && !booking.block()) {
            spans->push_back(*span);
        }
    }
    std::sort(spans->begin(), spans->end(),
              [](const Span& a, const Span& b) { return a.first < b.first; });
    std::int64_t longest = 0;
    for (const Span& span : *spans) {
        longest = std::max(longest, span.end - span.first);
    }
    StatementScope mark(database, "UPDATE `b_waibuyuding` SET `chongtu`=:flag WHERE `id`=:id");
    for (const OutsideBooking& booking : *outside) {
        const auto span = spanOf(booking.arrival, booking.departure, booking.feedId);
        const bool conflict = span && !booking.block() && clashes(*spans, longest, *span);
        if (conflict == booking.conflict) {
            continue;
        }
        mark.bindInt(":flag", conflict ? 1 : 0);
        mark.bindInt(":id", booking.id);
        if (!mark.prepared() || mark.step() || !mark.reset()) {
            return false;
        }
    }
    return true;
}

bool refreshOutsideConflicts(Database& database, std::int64_t currentDay) {
    if (!database.tableExists("b_waibuyuding")) {
        return true;
    }
    std::vector<int> rooms;
    {
        StatementScope statement(database, "SELECT DISTINCT `fangjianid` FROM `b_waibuyuding`");
        while (statement.step()) {
            rooms.push_back(statement.columnInt(0));
        }
        if (!statement.finish()) {
            return false;
        }
    }
    if (rooms.empty()) {
        return true;
    }
    // Deferred: a look that changes no flag never takes the write lock.
    if (!database.begin()) {
        return false;
    }
    for (const int room : rooms) {
        if (!markOutsideConflicts(database, room, currentDay)) {
            database.rollback();
            return false;
        }
    }
    if (database.commit()) {
        return true;
    }
    database.rollback();
    return false;
}

FeedApplied applyFeed(Database& database, int feedId, const ParsedFeed& feed,
                      std::int64_t currentDay) {
    FeedApplied applied;
    applied.skipped = feed.skipped;
    applied.cancelled = feed.cancelled;
    if (!feed.error.empty() || !database.execute("BEGIN IMMEDIATE")) {
        return applied;
    }
    const auto roomId = roomOfFeed(database, feedId);
    if (roomId && applyEvents(database, feedId, *roomId, feed, applied) &&
        markOutsideConflicts(database, *roomId, currentDay)) {
        applied.conflicts = countConflicts(database, feedId);
        if (noteRead(database, feedId, appliedText(applied)) && database.commit()) {
            applied.applied = true;
            return applied;
        }
    }
    database.rollback();
    FeedApplied refused;
    refused.skipped = feed.skipped;
    refused.cancelled = feed.cancelled;
    return refused;
}

Text appliedText(const FeedApplied& applied) {
    Text text = "新增" + std::to_string(applied.added) + "，变更" + std::to_string(applied.moved) +
                "，删除" + std::to_string(applied.removed) + "，未变" +
                std::to_string(applied.kept);
    if (applied.skipped > 0) {
        text += "，跳过" + std::to_string(applied.skipped);
    }
    if (applied.cancelled > 0) {
        text += "，已取消" + std::to_string(applied.cancelled);
    }
    if (applied.conflicts > 0) {
        text += "，冲突" + std::to_string(applied.conflicts);
    }
    return text;
}

std::optional<std::vector<OutsideBooking>> outsideBookingsBetween(Database& database,
                                                                  const Text& firstDay,
                                                                  const Text& lastDay) {
    if (!database.tableExists("b_waibuyuding")) {
        return std::vector<OutsideBooking>{};
    }
    StatementScope statement(database, Text(kColumns) +
                                           "WHERE w.`daodariqi`<=:last AND w.`likairiqi`>:first "
                                           "ORDER BY w.`fangjianid`, w.`daodariqi`, w.`id`");
    statement.bindText(":first", firstDay);
    statement.bindText(":last", lastDay);
    return readAll(statement);
}

std::optional<std::vector<OutsideBooking>> outsideConflicts(Database& database,
                                                            std::int64_t currentDay) {
    if (!database.tableExists("b_waibuyuding")) {
        return std::vector<OutsideBooking>{};
    }
    StatementScope statement(database, Text(kColumns) +
                                           "WHERE w.`chongtu`=1 AND w.`likairiqi`>:today "
                                           "ORDER BY w.`daodariqi`, w.`fangjianid`, w.`id`");
    statement.bindText(":today", dayText(currentDay));
    return readAll(statement);
}

std::optional<OutsideBooking> outsideBookingHolding(Database& database, int roomId,
                                                    std::int64_t arrival, std::int64_t departure,
                                                    std::optional<DayRange> ownNights) {
    StatementScope statement(database, Text(kColumns) +
                                           "WHERE w.`fangjianid`=:room AND "
                                           "w.`daodariqi`<:departure AND :arrival<w.`likairiqi` "
                                           "ORDER BY w.`daodariqi`, w.`id`");
    statement.bindInt(":room", roomId);
    statement.bindText(":arrival", dayText(arrival));
    statement.bindText(":departure", dayText(departure));
    while (statement.step()) {
        OutsideBooking booking = readOutside(statement);
        const auto span = spanOf(booking.arrival, booking.departure, booking.feedId);
        const bool echo = booking.block() && ownNights && span &&
                          overlaps(*span, Span{ownNights->first, ownNights->end, 0});
        if (!echo) {
            return booking;
        }
    }
    return std::nullopt;
}

Text describeOutsideBooking(const OutsideBooking& booking) {
    const Text what =
        booking.summary.empty() ? Text(booking.block() ? "不可预订" : "预订") : booking.summary;
    return (booking.feedName.empty() ? Text("外部日历") : booking.feedName) + "：" + what + "，" +
           booking.arrival + " 至 " + booking.departure;
}

}  // namespace tamrivo
