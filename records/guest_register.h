#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "data/database.h"
#include "records/guest.h"
#include "records/guest_checks.h"

namespace tamrivo {

// Creates the register's tables (guests, the access log, the settings) when they are missing,
// touching nothing else; false, with the reason in `error`, when they cannot be made.
bool addGuestRegisterTables(Database& database, Text* error = nullptr);

// Whose key the records are under: identity numbers and addresses are kept only under the
// landlord's.
enum class RecordsKey { BuiltIn, Landlords };

// Who does something with the register, and when ("yyyy-MM-dd HH:mm:ss").
struct RegisterUser {
    Text name;
    Text now;
};

// Whether the guest carries identity fields, which only the landlord's key may keep.
bool holdsIdentity(const Guest& guest);

enum class RegisterResult { Saved, Refused, NeedsProtection, Failed };

struct RegisterOutcome {
    RegisterResult result = RegisterResult::Failed;
    Text message;  // what to tell the landlord when not saved
};

// Runs every check the register makes before it writes a stay's guests, tidying them as
// the checks do: Saved when they may be written, otherwise why not, naming the guest and
// the field.
RegisterOutcome checkStayGuests(std::vector<Guest>& guests, RecordsKey key, std::int64_t arrival,
                                std::int64_t today);

// The stay's guests become these, in this order, after every check (the days are day numbers:
// the stay's arrival and today). Guests are tidied as the checks do, and get their ids. One
// transaction: on any refusal or failure the register stays as it was. Each guest whose
// identity was written is logged as a change.
RegisterOutcome saveStayGuests(Database& database, int leaseId, std::vector<Guest>& guests,
                               RecordsKey key, const RegisterUser& user, std::int64_t arrival,
                               std::int64_t today);

// The stay's guests in order, their numbers masked as lists show them; nothing when the
// register cannot be read.
std::optional<std::vector<Guest>> stayGuests(Database& database, int leaseId);

// Puts back the stored number of each of the stay's guests whose number is still as a list
// showed it (masked), so that saving an edited stay never overwrites a number with its mask.
// False when the register cannot be read.
bool restoreMaskedNumbers(Database& database, int leaseId, std::vector<Guest>& guests);

// One guest whole, as 查看 shows it; the viewing is logged. Nothing when there is no such guest
// or the log cannot be written.
std::optional<Guest> viewGuest(Database& database, int guestId, const RegisterUser& user);

// A number as lists show it: the first six and last four characters, the rest hidden.
Text maskedDocumentNumber(const Text& number);

// Ticks (or unticks) that the guest was entered into the police system.
bool markReported(Database& database, int guestId, bool reported, const RegisterUser& user);

// The guest's details from their latest stay with this document (their name, sex, nation,
// birth date, address, authority, validity, phone), for a returning guest; the lookup is
// logged as a viewing. Nothing when no stay has it.
std::optional<Guest> lastRegistration(Database& database, DocumentType type, const Text& number,
                                      const RegisterUser& user);

// The leases whose register holds exactly this document number, newest first.
std::vector<int> leasesWithDocumentNumber(Database& database, const Text& number);

// A foreign guest not yet reported a day after arrival.
struct OverdueReport {
    int guestId = 0;
    int leaseId = 0;
    Text name;
    Text room;
    Text arrival;  // the lease's check-in, "yyyy-MM-dd HH:mm:ss"
};

// Every foreign guest whose stay began more than 24 hours before `now` (a date-time text) and
// who is not reported yet.
std::vector<OverdueReport> overdueForeignReports(Database& database, const Text& now);

}  // namespace tamrivo
