#include "bench/app/running_program.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

#include "app/main_window.h"
#include "base/text_encoding.h"
#include "records/records_file.h"

namespace tamrivo::bench {

RunningProgram::RunningProgram(const ProgramFolder& folder) {
    services.setProgramDirectory(utf8ToGbk(folder.path().string()));
    if (!openRecords(state.database, recordsFile(folder.path())).empty()) {
        std::fprintf(stderr, "the program cannot open the database\n");
        std::exit(1);
    }
    openMainWindow(app);
}

WindowHandle RunningProgram::onlyWindow(WindowKind kind) {
    const auto windows = services.openWindows(kind);
    if (windows.empty()) {
        std::fprintf(stderr, "the window the benchmark needs did not open\n");
        std::exit(1);
    }
    return windows.front();
}

RunningProgram::~RunningProgram() {
    services.destroyWindow(state.mainWindow);
    QCoreApplication::processEvents();
}

}  // namespace tamrivo::bench
