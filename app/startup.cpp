#include "app/startup.h"

#include <chrono>

#include "app/login_window.h"
#include "app/records_lock.h"
#include "app/schema.h"
#include "app/screen.h"
#include "ui/text_encoding.h"

namespace tamrivo {
namespace {

// Backups and the records tool read the file through connections of their own; a write that
// meets one of their short reads waits for it rather than failing.
constexpr int kBusyTimeoutMilliseconds = 5000;
// A restore checks and copies the file before it swaps it in; it seldom takes longer.
constexpr std::chrono::seconds kRestoreWait{5};

Text dataFolder(App& app) {
    return app.services.programDirectory() + "/" + schema::kDatabaseFolder;
}

}  // namespace

bool openDatabase(App& app) {
    const Text path = dataFolder(app) + "/" + schema::kDatabaseFile;
    return app.state.database.open(path, schema::kDatabaseKey) &&
           app.state.database.setBusyTimeout(kBusyTimeoutMilliseconds);
}

// Every instance of the program takes a share, so a second one starts beside the first (each
// transaction stays whole, the library sees to that); a restore waits until all have ended.
// Without a lock file (no Data folder, a read-only medium) there is nothing to restore into
// either, so the program goes on and the open tells what is wrong.
bool lockRecordsForProgram(App& app) {
    LockAttempt attempt = lockRecords(gbkToUtf8(dataFolder(app)), LockAccess::Shared, kRestoreWait);
    if (attempt.outcome == LockOutcome::Busy) {
        app.services.messageBox("数据库正在恢复，请稍后再打开", kMessageOk, kMessageTitle);
        return false;
    }
    app.state.recordsLock = std::move(attempt.lock);
    return true;
}

void startDailyBackups(App& app) {
    app.state.dailyBackup.start(gbkToUtf8(dataFolder(app) + "/" + schema::kDatabaseFile));
}

bool startProgram(App& app) {
    app.state.runningVersion = kRunningVersion;
    if (!lockRecordsForProgram(app)) {
        return false;
    }
    if (!openDatabase(app)) {
        app.services.messageBox("打开数据库失败\r\n" + app.state.database.errorMessage(),
                                kMessageOk, kMessageTitle);
        return false;
    }
    startDailyBackups(app);
    openLoginWindow(app);
    return true;
}

}  // namespace tamrivo
