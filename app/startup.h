#pragma once

#include "app/program_state.h"

namespace tamrivo {

// Opens Data/Data.db beside the program with the program's key; false when it cannot be used.
bool openDatabase(App& app);

// Takes the program's share of the records lock, waiting a little for a restore to finish;
// false (the person told why) when one still holds the records.
bool lockRecordsForProgram(App& app);

// Backs the records up into Data/backup once per day while the program runs.
void startDailyBackups(App& app);

// Sets the version, locks and opens the database, starts the daily backups and shows the
// login window. When the database cannot
// be opened the person is told why and no window is loaded, so the program ends; the result
// says whether the message loop has anything to run.
bool startProgram(App& app);

}  // namespace tamrivo
