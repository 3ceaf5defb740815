#pragma once

#include <string>

namespace tamrivo {

class Database;

// Rooms in every state, each let room with its open lease, and one settled lease, so a
// first run has something to show. False (with the reason in errorMessage) on failure.
bool addDemoData(Database& db);

// What addDemoData adds, in a few words.
std::string demoDataSummary();

}  // namespace tamrivo
