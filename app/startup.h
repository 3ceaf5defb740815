#pragma once

#include "app/program_state.h"

namespace tamrivo {

// Opens Data/Data.db beside the program with the program's key; false when it cannot be used.
bool openDatabase(App& app);

// Sets the version, opens the database and shows the login window. When the database cannot
// be opened the person is told why and no window is loaded, so the program ends; the result
// says whether the message loop has anything to run.
bool startProgram(App& app);

}  // namespace tamrivo
