#pragma once

#include <string>
#include <vector>

#include "data/database.h"

namespace tamrivo {

// Everything wrong with the records: what the database's integrity check finds, tables the
// program could not work with, and each record in a state the program never makes. One
// line each (native text); empty when the records are sound.
std::vector<std::string> recordProblems(Database& database);

// Only the integrity check's findings; empty when it finds the file undamaged.
std::vector<std::string> integrityProblems(Database& database);

}  // namespace tamrivo
