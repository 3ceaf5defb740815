#pragma once

#include "data/database.h"
#include "records/money_text.h"

namespace tamrivo {

// A check-in or lease edit as typed. Money stays text until it is known to be a number.
struct LeaseForm {
    Text orderNumber;
    Text address;
    Text guest;
    Text contact;
    Text deposit;
    Text rent;
    DateTime checkIn;
    Text plannedDeparture;  // "yyyy-MM-dd"
    Text remark;
};

enum class LeaseResult {
    Saved,
    BlankGuest,        // no name, or only blanks
    BadDeposit,        // empty, or not a number (0 is one)
    BadRent,           // the same for the rent
    BadDeparture,      // no such day, or not after the check-in day
    RoomChanged,       // the room is no longer idle (check-in) or no longer this lease's
    BookingGone,       // the booking arriving was cancelled or let in meanwhile
    HeldOutside,       // a booking platform's guest or block holds a night: `error` names it
    OrderNumberTaken,  // another lease carries the order number
    Failed             // the database refused; `error` says why
};

struct LeaseOutcome {
    LeaseResult result = LeaseResult::Failed;
    int leaseId = 0;
    Text error;
};

// What is wrong with the form before anything is written; Saved when nothing is.
LeaseResult checkLeaseForm(const LeaseForm& form);

// Lets the idle, normal room to the form's guest: the lease, the room's occupancy, the
// booking's arrival (bookingId 0: none) and the planned departure in one transaction. The
// nights from today (or a later check-in) up to the planned departure must be free of the
// booking platforms' stays and blocks; a block over the arriving booking's own nights is its
// echo and does not count.
LeaseOutcome checkIn(Database& database, int roomId, int bookingId, const LeaseForm& form);

// Rewrites the open lease of the room, by its id, with its planned departure; a changed order
// number moves to the room in the same transaction.
LeaseOutcome editLease(Database& database, int roomId, int leaseId, const Text& loadedOrderNumber,
                       const LeaseForm& form);

}  // namespace tamrivo
