#pragma once

#include <filesystem>
#include <string>

#include "data/database.h"

namespace tamrivo {

// Data/ of a program folder, where the records and their lock and backups live.
std::filesystem::path recordsFolder(const std::filesystem::path& programFolder);

// Data/Data.db of a program folder.
std::filesystem::path recordsFile(const std::filesystem::path& programFolder);

// The database file's path as the Database class takes it; empty when the path has
// characters outside GBK.
Text databasePathText(const std::filesystem::path& file);

// The one way the records are opened, by the program, its backups and the records tool: an
// existing file (never created) with the program's key, the connection waiting a while for
// another one's short transaction rather than failing at once. Empty on success, otherwise
// why not, as native text; the connection then keeps the library's own words for
// errorMessage until it is closed.
std::string openRecords(Database& database, const std::filesystem::path& file);

}  // namespace tamrivo
