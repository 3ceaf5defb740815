#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "records/guest.h"

namespace tamrivo {

enum class GuestField {
    Name,
    Sex,
    BirthDate,
    DocumentNumber,
    Nationality,
    Address,
    Authority,
    ValidUntil,
    Phone,
};

// Why a guest cannot be registered: the field to mend and what to tell the landlord (GBK).
struct GuestRefusal {
    GuestField field = GuestField::Name;
    Text message;
};

// Each check looks at one thing; the days are day numbers (records/stored_dates.h). Those
// that read the guest may also tidy it: a number as typed becomes the number itself, and an
// empty birth date or sex is filled from a 居民身份证 number.
std::optional<GuestRefusal> checkGuestName(const Guest& guest);
std::optional<GuestRefusal> checkDocumentNumber(Guest& guest, std::int64_t today);
std::optional<GuestRefusal> checkBirthDateAndSex(Guest& guest, std::int64_t today);
std::optional<GuestRefusal> checkValidity(const Guest& guest, std::int64_t arrival);
std::optional<GuestRefusal> checkNationality(const Guest& guest);
std::optional<GuestRefusal> checkTextLengths(const Guest& guest);

// Every check in turn, stopping at the first refusal.
std::optional<GuestRefusal> checkGuest(Guest& guest, std::int64_t arrival, std::int64_t today);

// The refusal of the guest at `index` (0-based) of a stay, named, as the window says it.
Text refusalForGuest(std::size_t index, const Text& name, const GuestRefusal& refusal);

}  // namespace tamrivo
