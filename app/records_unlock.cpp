#include "app/records_unlock.h"

#include <utility>

#include "app/database_opening.h"
#include "base/date_format.h"
#include "base/date_time.h"
#include "base/text_encoding.h"
#include "records/identity_retention.h"
#include "records/protected_records.h"
#include "records/records_file.h"
#include "records/stored_dates.h"

namespace tamrivo {

std::filesystem::path programRecordsFile(App& app) {
    return recordsFile(gbkToUtf8(app.services.programDirectory()));
}

void startDailyTasks(App& app) {
    app.state.dailyBackup.setDataKey(app.state.dataKey);
    app.state.dailyBackup.start(programRecordsFile(app));
    // Identity kept past the retention goes each time the program starts. A purge that fails
    // leaves everything as it was and is tried again at the next start.
    purgeExpiredIdentity(app.state.database, today(),
                         {"每日任务", formatDateTime(currentDateTime(), "yyyy-MM-dd HH:mm:ss")});
}

void holdDataKey(App& app, SecretBytes dataKey) {
    app.state.dataKey = std::make_shared<const SecretBytes>(std::move(dataKey));
    app.state.dailyBackup.setDataKey(app.state.dataKey);
}

std::string unlockProgramRecords(App& app, SlotKind kind, const std::string& user,
                                 std::string_view secret) {
    const std::filesystem::path records = programRecordsFile(app);
    UnlockedKey unlocked = unlockDataKey(records, kind, user, secret);
    if (!unlocked.problem.empty()) {
        return unlocked.problem;
    }
    if (std::string why = openRecordsWithKey(app.state.database, records, unlocked.dataKey);
        !why.empty()) {
        app.state.database.close();
        return why;
    }
    prepareOpenedRecords(app.state.database);
    holdDataKey(app, std::move(unlocked.dataKey));
    return {};
}

}  // namespace tamrivo
