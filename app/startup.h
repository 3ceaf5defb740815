#pragma once

#include "app/database_opening.h"
#include "app/program_state.h"

namespace tamrivo {

// The program's exit status when its database cannot be opened, so that whoever started it
// (the launcher, a script) can tell.
inline constexpr int kOpenFailedExitStatus = 1;

// What a start does before anything else: finishes, or undoes, an update that a killed
// updater left half done in the program folder (a GBK path), so that the program files are
// all of one version.
void finishInterruptedUpdate(const Text& programDirectory);

// Finishes an interrupted update (the first form only: the second's opening began earlier,
// after the program's own first step), sets the version, opens the records (or finishes the opening
// begun earlier), starts the daily backups and shows the login window. When the records cannot be
// opened the person is told why and no window is loaded, so the program ends; the result says
// whether the message loop has anything to run.
bool startProgram(App& app);
bool startProgram(App& app, DatabaseOpening& opening);

}  // namespace tamrivo
