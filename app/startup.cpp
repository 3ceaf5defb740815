#include "app/startup.h"

#include "app/login_window.h"
#include "app/screen.h"
#include "base/date_format.h"
#include "base/date_time.h"
#include "base/text_encoding.h"
#include "records/identity_retention.h"
#include "records/records_file.h"
#include "records/stored_dates.h"
#include "update_format/install_journal.h"

namespace tamrivo {

namespace {

void startDailyBackups(App& app) {
    app.state.dailyBackup.start(recordsFile(gbkToUtf8(app.services.programDirectory())));
}

// The daily task: identity kept past the retention goes each time the program starts. A
// purge that fails leaves everything as it was and is tried again at the next start.
void purgeExpiredGuestIdentity(App& app) {
    purgeExpiredIdentity(app.state.database, today(),
                         {"每日任务", formatDateTime(currentDateTime(), "yyyy-MM-dd HH:mm:ss")});
}

bool showStart(App& app, OpeningOutcome outcome) {
    app.state.runningVersion = kRunningVersion;
    if (outcome == OpeningOutcome::Restoring) {
        app.services.messageBox("数据库正在恢复，请稍后再打开", kMessageOk, kMessageTitle);
        return false;
    }
    if (outcome == OpeningOutcome::Failed) {
        app.services.messageBox("打开数据库失败\r\n" + app.state.database.errorMessage(),
                                kMessageOk, kMessageTitle);
        return false;
    }
    startDailyBackups(app);
    purgeExpiredGuestIdentity(app);
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
    return showStart(app, outcome);
}

}  // namespace tamrivo
