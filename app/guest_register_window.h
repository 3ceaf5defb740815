#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "app/program_state.h"
#include "records/guest.h"

namespace tamrivo {

// The guests of a stay while its lease window is open. A stored lease's register is saved
// by the register window itself; a check-in's guests wait for the lease and are saved with it.
struct StayRegister {
    int leaseId = 0;            // 0 while checking in
    std::int64_t arrival = 0;   // the stay's first day, as a day number
    std::vector<Guest> guests;  // stored ones with their numbers masked
    // Told the first guest's name when the register is confirmed: the lease's guest.
    std::function<void(const Text& firstGuestName)> confirmed;
};

// Opens the register of the stay over its lease window; the window, or 0.
WindowHandle openGuestRegisterWindow(App& app, WindowHandle owner,
                                     std::shared_ptr<StayRegister> stay);

}  // namespace tamrivo
