#include "app/records_unlock.h"

#include <utility>

#include "app/database_opening.h"
#include "base/text_encoding.h"
#include "records/protected_records.h"
#include "records/records_file.h"

namespace tamrivo {

std::filesystem::path programRecordsFile(App& app) {
    return recordsFile(gbkToUtf8(app.services.programDirectory()));
}

void startDailyBackups(App& app) {
    app.state.dailyBackup.setDataKey(app.state.dataKey);
    app.state.dailyBackup.start(programRecordsFile(app));
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
