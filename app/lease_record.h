#pragma once

#include <vector>

#include "records/landlord.h"
#include "records/lease_search.h"
#include "ui/window_services.h"

namespace tamrivo {

// One line of a lease as the record window and the receipt show it.
struct RecordLine {
    const char* label;  // the label control of the record window
    Text caption;       // "单    号："
    Text value;
};

// Every field of the lease, in the record window's order; the length of stay runs to now
// while the lease is open.
std::vector<RecordLine> recordLines(const LeaseRow& lease, DateTime now);

// The receipt (收据) the landlord hands over for the stay, issued at now: the stay's nights and
// charges, the deposit and what it leaves to refund or collect, the amount received in
// figures and in capitals, and the landlord as its issuer, with a line to sign.
PrintedForm receiptOf(const LeaseRow& lease, const Landlord& landlord, DateTime now);

}  // namespace tamrivo
