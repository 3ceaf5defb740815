#pragma once
// The program with its main window open on a program folder's database, for the benchmarks
// that drive its screens. Ends the process with a message when it cannot get that far.

#include "app/program_state.h"
#include "bench/app/program_folder.h"
#include "engine/qt_window_services.h"

namespace tamrivo::bench {

struct RunningProgram {
    explicit RunningProgram(const ProgramFolder& folder);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // The open window of that kind; ends the process with a message when there is none.
    WindowHandle onlyWindow(WindowKind kind);

    QtWindowServices services;
    // A port nothing listens on: the update check of the main window ends at once.
    ProgramState state{services, "http://127.0.0.1:9/autoUpdate.php", {}};
    App app{services, state};
};

}  // namespace tamrivo::bench
