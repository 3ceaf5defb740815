#pragma once

#include <optional>

#include "app/program_state.h"
#include "records/lease_search.h"

namespace tamrivo {

// The room's open lease, found through its order number. When the statement fails the
// error code and message are shown and nothing is returned.
std::optional<LeaseRow> findLeaseOfRoom(App& app, int roomId);

// Writes the eight lease lines into the window's detail labels; without a lease they are
// emptied.
void showLeaseLines(App& app, WindowHandle window, const LeaseRow* lease);

// The main window's details of the lease of the room in the selected row; with no row
// selected (-1) the details are empty.
void showLeaseDetails(App& app, int selectedRow);

}  // namespace tamrivo
