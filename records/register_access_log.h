#pragma once

#include <optional>
#include <vector>

#include "data/database.h"

namespace tamrivo {

// What was done with guests' identity. Stored as numbers; new kinds go at the end.
enum class RegisterAction : int { View = 1, Change = 2, Export = 3, Purge = 4 };

Text registerActionName(RegisterAction action);

struct RegisterAccess {
    Text time;  // "yyyy-MM-dd HH:mm:ss"
    Text user;
    int guestId = 0;  // 0 for an export of many
    Text guestName;   // as the register holds it now; empty for an export
    RegisterAction action = RegisterAction::View;
    Text detail;
};

// Writes one entry; runs inside the caller's transaction when there is one.
bool logRegisterAccess(Database& database, const RegisterAccess& access);

// The entries, newest first, at most `limit`; nothing when the log cannot be read.
std::optional<std::vector<RegisterAccess>> registerAccessLog(Database& database, int limit = 5000);

}  // namespace tamrivo
