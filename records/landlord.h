#pragma once

#include "base/text_limits.h"
#include "base/value_types.h"
#include "data/database.h"

namespace tamrivo {

// The landlord's details a receipt names as its issuer. GBK, each at most as long as the
// limits below, in characters.
struct Landlord {
    Text name;
    Text address;
    Text phone;
    friend bool operator==(const Landlord&, const Landlord&) = default;
};

// The limits of the boxes they are typed in.
inline constexpr int kLandlordNameLimit = kNameLimit;
inline constexpr int kLandlordAddressLimit = kAddressLimit;
inline constexpr int kLandlordPhoneLimit = kPhoneLimit;

// Creates the landlord's table when it is missing (records from before it), touching nothing
// else. False when it cannot be made; the reason is then in `error`.
bool addLandlordTable(Database& database, Text* error = nullptr);

// The details saved, all empty while none are (or the table is missing).
Landlord loadLandlord(Database& database);

enum class LandlordSave { Saved, TooLong, Failed };

// Keeps the details, the table made first where it is missing; a field over its limit is
// refused and nothing is written.
LandlordSave saveLandlord(Database& database, const Landlord& landlord);

}  // namespace tamrivo
