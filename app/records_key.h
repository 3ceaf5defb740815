#pragma once

#include "app/program_state.h"
#include "records/guest_register.h"

namespace tamrivo {

// Whose key the open records are under: the landlord's when they are protected.
RecordsKey recordsKeyOf(App& app);

// The logged-in user and the moment, as the register's access log records them.
RegisterUser registerUser(App& app);

}  // namespace tamrivo
