#include "records/lease_writes.h"

#include <string>

#include "base/date_format.h"
#include "base/text_ops.h"
#include "data/query_builder.h"
#include "records/bookings.h"
#include "records/database_queries.h"
#include "records/planned_departures.h"
#include "records/schema.h"
#include "records/stored_dates.h"

namespace tamrivo {
namespace {

// The lease's columns in the order the window has always written them.
Text leaseStatement(const LeaseForm& form, const Text& condition) {
    QueryBuilder builder;
    builder.reset("b_zulin");
    builder.name("danhao").textValue(form.orderNumber);
    builder.name("fangzhi").textValue(form.address);
    builder.name("xingming").textValue(form.guest);
    builder.name("lianxifangshi").textValue(form.contact);
    builder.name("dingjin").doubleValue(moneyFromText(form.deposit, 2));
    builder.name("zujin").doubleValue(moneyFromText(form.rent, 2));
    builder.name("ruzhuriqi").textValue(formatDateTime(form.checkIn));
    builder.name("zulinzhuangtai").intValue(schema::kLeaseOpen);
    builder.name("beizhu").textValue(form.remark);
    return condition.empty() ? builder.buildInsert() : builder.buildUpdate({}, condition);
}

bool markRoomLet(Database& database, int roomId, const Text& orderNumber) {
    QueryBuilder builder;
    builder.reset("b_fangjian").name("chuzuzhuangtai").intValue(schema::kRoomLet);
    builder.name("danhao").textValue(orderNumber);
    return database.run(builder.buildUpdate({}, "`id`=" + std::to_string(roomId)));
}

// -1 when the count cannot be made.
std::int64_t leasesCarrying(Database& database, const Text& orderNumber, int otherThan) {
    Text condition = "`danhao`=" + QueryBuilder::quoteText(orderNumber);
    if (otherThan != 0) {
        condition += " AND `id`<>" + std::to_string(otherThan);
    }
    return countRows(database, "b_zulin", condition);
}

bool bookingStillBooked(Database& database, int bookingId) {
    if (bookingId == 0) {
        return true;
    }
    const auto booking = findBooking(database, bookingId);
    return booking && booking->booked();
}

// Ends the transaction a refusal or a failure cuts short, keeping the failure's reason.
LeaseOutcome undone(Database& database, LeaseResult result) {
    LeaseOutcome outcome{result, 0, {}};
    if (result == LeaseResult::Failed) {
        outcome.error = database.errorMessage();
    }
    database.rollback();
    return outcome;
}

// Refused or failed, or Saved when no other lease carries the number.
LeaseResult orderNumberFree(Database& database, const Text& orderNumber, int leaseId) {
    const std::int64_t carriers = leasesCarrying(database, orderNumber, leaseId);
    if (carriers < 0) {
        return LeaseResult::Failed;
    }
    return carriers > 0 ? LeaseResult::OrderNumberTaken : LeaseResult::Saved;
}

LeaseOutcome committed(Database& database, int leaseId) {
    if (!database.commit()) {
        return undone(database, LeaseResult::Failed);
    }
    return {LeaseResult::Saved, leaseId, {}};
}

}  // namespace

LeaseResult checkLeaseForm(const LeaseForm& form) {
    if (trimText(form.guest).empty()) {
        return LeaseResult::BlankGuest;
    }
    if (!fenFromText(form.deposit)) {
        return LeaseResult::BadDeposit;
    }
    if (!fenFromText(form.rent)) {
        return LeaseResult::BadRent;
    }
    const auto departure = typedDay(form.plannedDeparture);
    const auto checkInDay = storedDay(formatDateTime(form.checkIn));
    if (!departure || !checkInDay || *departure <= *checkInDay) {
        return LeaseResult::BadDeparture;
    }
    return LeaseResult::Saved;
}

LeaseOutcome checkIn(Database& database, int roomId, int bookingId, const LeaseForm& form) {
    if (const LeaseResult problem = checkLeaseForm(form); problem != LeaseResult::Saved) {
        return {problem, 0, {}};
    }
    if (!database.begin()) {
        return {LeaseResult::Failed, 0, database.errorMessage()};
    }
    if (!roomIsLettable(database, roomId)) {
        return undone(database, LeaseResult::RoomChanged);
    }
    if (!bookingStillBooked(database, bookingId)) {
        return undone(database, LeaseResult::BookingGone);
    }
    if (const LeaseResult taken = orderNumberFree(database, form.orderNumber, 0);
        taken != LeaseResult::Saved) {
        return undone(database, taken);
    }
    if (!database.run(leaseStatement(form, {}))) {
        return undone(database, LeaseResult::Failed);
    }
    const int leaseId = static_cast<int>(database.lastInsertRowid());
    if (!markRoomLet(database, roomId, form.orderNumber) ||
        (bookingId != 0 && !markBookingArrived(database, bookingId, form.orderNumber)) ||
        !writePlannedDeparture(database, leaseId, form.plannedDeparture)) {
        return undone(database, LeaseResult::Failed);
    }
    return committed(database, leaseId);
}

LeaseOutcome editLease(Database& database, int roomId, int leaseId, const Text& loadedOrderNumber,
                       const LeaseForm& form) {
    if (const LeaseResult problem = checkLeaseForm(form); problem != LeaseResult::Saved) {
        return {problem, 0, {}};
    }
    if (!database.begin()) {
        return {LeaseResult::Failed, 0, database.errorMessage()};
    }
    if (!isOpenLeaseOfRoom(database, roomId, leaseId)) {
        return undone(database, LeaseResult::RoomChanged);
    }
    // The room finds its lease by the order number alone, so a changed one must be free and
    // moves to the room with the lease.
    const bool renumbered = form.orderNumber != loadedOrderNumber;
    if (renumbered) {
        if (const LeaseResult taken = orderNumberFree(database, form.orderNumber, leaseId);
            taken != LeaseResult::Saved) {
            return undone(database, taken);
        }
    }
    if (!database.run(leaseStatement(form, "`id`=" + std::to_string(leaseId))) ||
        (renumbered && !markRoomLet(database, roomId, form.orderNumber)) ||
        !writePlannedDeparture(database, leaseId, form.plannedDeparture)) {
        return undone(database, LeaseResult::Failed);
    }
    return committed(database, leaseId);
}

}  // namespace tamrivo
