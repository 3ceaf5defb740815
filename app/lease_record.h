#pragma once

#include <vector>

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

// The receipt of the stay, printed at now.
PrintedForm receiptOf(const LeaseRow& lease, DateTime now);

}  // namespace tamrivo
