#pragma once

#include <cstdint>
#include <optional>

#include "data/database.h"
#include "records/guest_register.h"

namespace tamrivo {

// How many years after check-out a guest's identity is kept unless the landlord says otherwise.
inline constexpr int kDefaultRetentionYears = 3;
inline constexpr int kLongestRetentionYears = 30;

// The years set in the records, or the default when none is (or it cannot be read).
int identityRetentionYears(Database& database);
// Keeps `years` (1 to kLongestRetentionYears); false when out of range or not written.
bool setIdentityRetentionYears(Database& database, int years);

// Empties the identity of every guest whose stay was settled more than the retention years
// before `today` (a day number): sex, nation, birth date, document number, nationality,
// address, authority, validity and phone go; the stay, its money and the guest's name stay.
// One transaction, with each purged guest logged. The number of guests purged; nothing when
// it failed, in which case nothing was purged.
std::optional<int> purgeExpiredIdentity(Database& database, std::int64_t today,
                                        const RegisterUser& user);

}  // namespace tamrivo
