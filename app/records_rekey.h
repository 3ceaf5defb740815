#pragma once
// Turning protection on and off for the records the program has open. The program's own
// connection is closed while the records are rewritten, and opened again on whatever then
// stands in their place, so no write of the program lands in a file that has been replaced.

#include <string>

#include "app/program_state.h"
#include "records/secret_bytes.h"

namespace tamrivo {

// Protects the records with a new data key, sealed for the logged-in user's password and for a
// new recovery code, which is returned grouped as it is shown; the program then holds the key.
// Empty code and a reason when it failed, the records then as they were; a code and a reason
// when they were protected but could not be opened again.
struct ProtectionOutcome {
    SecretBytes recoveryCode;
    std::string problem;
};
ProtectionOutcome protectProgramRecords(App& app, const SecretBytes& password);

// Writes the records back with the program's key. Empty on success, otherwise why not.
std::string unprotectProgramRecords(App& app);

// Whether the password is the logged-in user's, as the users table holds it.
bool isLoggedInUsersPassword(App& app, const SecretBytes& password);

}  // namespace tamrivo
