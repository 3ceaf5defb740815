#pragma once

#include <span>

#include "data/database.h"
#include "data/schema_sql.h"

namespace tamrivo {

// Creates the bookings table and its indexes by room and by order number when they are
// missing, and touches nothing else: the three older tables and their rows stay exactly as they
// were. False when they cannot be made (a read-only file, say); the reason is then in `error`.
bool addBookingsTable(Database& database, Text* error = nullptr);

// An index a table of the program's own is made with; no name, no index.
struct OwnIndex {
    Text name;
    Text columns;
};

// Creates a table of the program's own beside the older ones, with its index, unless it is
// there already; the look and the creation are one transaction. False, with the reason in
// `error`, when it cannot be made.
bool addTableOnce(Database& database, const Text& table, std::span<const FieldDefinition> fields,
                  const OwnIndex& index, Text* error = nullptr);

}  // namespace tamrivo
