#pragma once

#include "app/database_opening.h"
#include "app/program_state.h"

namespace tamrivo {

// The program's exit status when its database cannot be opened, so that whoever started it
// (the launcher, a script) can tell.
inline constexpr int kOpenFailedExitStatus = 1;

// Data/Data.db in the program directory.
Text databasePath(const Text& programDirectory);

// Opens Data/Data.db beside the program with the program's key; false when it cannot be used.
bool openDatabase(App& app);

// Begins opening Data/Data.db in the program directory with the program's key, for the
// start-up below to finish.
DatabaseOpening beginOpeningDatabase(const Text& programDirectory);

// Sets the version, opens the database (or finishes the opening begun earlier) and shows the
// login window. When the database cannot be opened the person is told why and no window is
// loaded, so the program ends; the result says whether the message loop has anything to run.
bool startProgram(App& app);
bool startProgram(App& app, DatabaseOpening& opening);

}  // namespace tamrivo
