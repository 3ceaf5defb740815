#pragma once

#include <filesystem>
#include <string>

#include "base/value_types.h"
#include "data/database.h"
#include "records/key_wrapping.h"
#include "records/secret_bytes.h"

namespace tamrivo {

// Sets a user's password in protected records, open on the connection with their data key:
// first the user's key slot, sealed for the new password, then the digest the login checks.
// A failure between leaves the old row, which the recovery code can set again. Empty on
// success, otherwise why not, as native text.
std::string setProtectedPassword(Database& database, const std::filesystem::path& records,
                                 const SecretBytes& dataKey, const Text& user,
                                 const SecretBytes& password, const KdfCost& cost = {});

}  // namespace tamrivo
