#pragma once

#include "app/program_state.h"

namespace tamrivo {

// Opens the read-only record of the lease with this id, from which its receipt is printed
// or saved as a PDF file.
void openLeaseRecordWindow(App& app, int leaseId);

}  // namespace tamrivo
