#pragma once

#include <optional>
#include <vector>

#include "base/value_types.h"
#include "data/database.h"

namespace tamrivo {

// A user as the password window lists them.
struct User {
    int id = 0;
    Text name;
};

// Every user, in the order the table keeps them; nothing when the statement cannot be
// prepared (the database's errorMessage says why).
std::optional<std::vector<User>> listUsers(Database& database);

// The id of the first user with this name, as typed; nothing when there is none.
std::optional<int> findUserId(Database& database, const Text& name);

// True when a user has this name and the digest of this password, both as typed.
bool passwordMatches(Database& database, const Text& userName, const Text& password);

enum class PasswordResult {
    Set,
    Empty,
    HasBlank,    // the login takes a password as typed, blanks and all
    NotTypable,  // the login's masked box takes printable ASCII only
    NoSuchUser,
    Failed  // the database refused; `error` says why
};

struct PasswordOutcome {
    PasswordResult result = PasswordResult::Failed;
    Text error;
};

// Why the login could never take this as a password; Set when it could.
PasswordResult checkNewPassword(const Text& password);

// Stores the digest of the password for the user, after checkNewPassword; one statement,
// so it is its own transaction, or part of the caller's when one is open.
PasswordOutcome setPassword(Database& database, int userId, const Text& password);

}  // namespace tamrivo
