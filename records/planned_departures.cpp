#include "records/planned_departures.h"

#include <algorithm>
#include <array>

#include "records/bookings_table.h"
#include "records/schema.h"
#include "records/statement_scope.h"
#include "records/stored_dates.h"

namespace tamrivo {
namespace {

// The lease, its guest and room, its check-in, its planned departure and the departure of the
// booking it arrived on, for each let room whose order number leads to an open lease. The
// booking is found by the order number's index ("+" keeps the planner off the room's, which
// would read every booking the room ever had).
constexpr char kOpenStays[] =
    "SELECT z.`id`, f.`id`, z.`xingming`, f.`dizhi`, z.`ruzhuriqi`, "
    "(SELECT p.`tuifangriqi` FROM `b_yujituifang` p WHERE p.`zulinid`=z.`id`), "
    "(SELECT max(y.`likairiqi`) FROM `b_yuding` y WHERE y.`danhao`=z.`danhao` AND "
    "y.`zhuangtai`=1 AND +y.`fangjianid`=f.`id`) "
    "FROM `b_fangjian` f JOIN `b_zulin` z ON z.`danhao`=f.`danhao` "
    "WHERE f.`chuzuzhuangtai`=1 AND z.`zulinzhuangtai`<>1 AND (:room=0 OR f.`id`=:room) "
    "ORDER BY f.`id`, z.`id`";

OpenStay readStay(StatementScope& row, std::int64_t today) {
    OpenStay stay;
    stay.leaseId = row.columnInt(0);
    stay.roomId = row.columnInt(1);
    stay.guest = row.columnText(2);
    stay.room = row.columnText(3);
    stay.firstDay = storedDay(row.columnView(4)).value_or(today);
    stay.plannedDeparture =
        std::max(stay.firstDay + 1, typedDay(row.columnView(5)).value_or(stay.firstDay + 1));
    const std::int64_t booked = typedDay(row.columnView(6)).value_or(0);
    // Due to leave today, the guest frees tonight; still here after that day, they hold
    // tonight too.
    const std::int64_t overstay = stay.plannedDeparture < today ? today + 1 : 0;
    stay.heldUntil = std::max({stay.plannedDeparture, overstay, booked});
    return stay;
}

}  // namespace

bool addPlannedDeparturesTable(Database& database, Text* error) {
    using namespace schema::b_yujituifang;
    static const std::array<FieldDefinition, 2> fields = {{
        {kZulinid, kFieldInteger, 0, kFieldPrimaryKey, ""},
        {kTuifangriqi, kFieldText, 0, kFieldNotNull, ""},
    }};
    return addTableOnce(database, kTable, fields, {}, error);
}

bool writePlannedDeparture(Database& database, int leaseId, const Text& day) {
    StatementScope statement(database,
                             "INSERT OR REPLACE INTO `b_yujituifang` (`zulinid`, `tuifangriqi`) "
                             "VALUES (:lease, :day)");
    statement.bindInt(":lease", leaseId);
    statement.bindText(":day", day);
    statement.step();
    return statement.finish();
}

std::optional<Text> storedPlannedDeparture(Database& database, int leaseId) {
    StatementScope statement(database,
                             "SELECT `tuifangriqi` FROM `b_yujituifang` WHERE `zulinid`=:lease");
    statement.bindInt(":lease", leaseId);
    if (!statement.step()) {
        return std::nullopt;
    }
    return statement.columnText(0);
}

std::optional<std::vector<OpenStay>> openStays(Database& database, std::int64_t today, int roomId) {
    StatementScope statement(database, kOpenStays);
    statement.bindInt(":room", roomId);
    std::vector<OpenStay> stays;
    while (statement.step()) {
        OpenStay stay = readStay(statement, today);
        // Two open leases on one order number: the room's lease is the first, as the
        // screens find it.
        if (stays.empty() || stays.back().roomId != stay.roomId) {
            stays.push_back(std::move(stay));
        }
    }
    if (!statement.finish()) {
        return std::nullopt;
    }
    return stays;
}

std::optional<OpenStay> stayHolding(const std::vector<OpenStay>& stays, std::int64_t arrival,
                                    std::int64_t departure) {
    for (const OpenStay& stay : stays) {
        if (stay.firstDay < departure && arrival < stay.heldUntil) {
            return stay;
        }
    }
    return std::nullopt;
}

}  // namespace tamrivo
