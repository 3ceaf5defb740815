#include "app/startup.h"

#include "app/login_window.h"
#include "app/records_unlock.h"
#include "app/screen.h"
#include "base/text_encoding.h"
#include "records/records_file.h"
#include "update_format/install_journal.h"

namespace tamrivo {

namespace {

bool showStart(App& app, OpeningOutcome outcome, const std::string& problem) {
    app.state.runningVersion = kRunningVersion;
    if (outcome == OpeningOutcome::Restoring) {
        app.services.messageBox("数据库正在恢复，请稍后再打开", kMessageOk, kMessageTitle);
        return false;
    }
    if (outcome == OpeningOutcome::Failed) {
        const Text reason =
            problem.empty() ? app.state.database.errorMessage() : utf8ToGbk(problem);
        app.services.messageBox("打开数据库失败\r\n" + reason, kMessageOk, kMessageTitle);
        return false;
    }
    // Protected records are backed up once the login has unlocked them.
    app.state.recordsProtected = outcome == OpeningOutcome::Protected;
    if (!app.state.recordsProtected) {
        startDailyTasks(app);
    }
    openLoginWindow(app);
    return true;
}

}  // namespace

void finishInterruptedUpdate(const Text& programDirectory) {
    // Files it could not put back stay in the work folder for the next start to try.
    finishInterruptedInstall(std::filesystem::path(gbkToUtf8(programDirectory)));
}

bool startProgram(App& app) {
    finishInterruptedUpdate(app.services.programDirectory());
    DatabaseOpening opening(app.services.programDirectory());
    return startProgram(app, opening);
}

bool startProgram(App& app, DatabaseOpening& opening) {
    const OpeningOutcome outcome = opening.finish(app.state.database, app.state.recordsLock,
                                                  [&app] { app.services.doEvents(); });
    return showStart(app, outcome, opening.problem());
}

}  // namespace tamrivo
