#pragma once

#include <string>
#include <vector>

#include "data/database.h"

namespace tamrivo {

// What would keep the program from working on the database: a missing table or column, or
// a column that the screens read by position standing elsewhere. One line each (native
// text); empty when the three tables are as the program needs them.
std::vector<std::string> schemaProblems(Database& database);

}  // namespace tamrivo
