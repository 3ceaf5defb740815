#include "app/records_rekey.h"

#include <chrono>
#include <future>
#include <utility>

#include "app/database_opening.h"
#include "app/records_unlock.h"
#include "records/protected_records.h"
#include "records/records_file.h"
#include "records/recovery_code.h"
#include "records/users.h"

namespace tamrivo {
namespace {

// Runs the work on a thread of its own while the window thread goes on answering, as the
// opening of the records at start-up does.
template <typename Work>
auto runAside(App& app, Work work) {
    auto result = std::async(std::launch::async, std::move(work));
    while (result.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
        app.services.doEvents();
    }
    return result.get();
}

// Opens the program's connection again on the records as they now stand.
std::string reopen(App& app) {
    const std::filesystem::path records = programRecordsFile(app);
    app.state.database.close();
    const std::string why =
        app.state.dataKey ? openRecordsWithKey(app.state.database, records, *app.state.dataKey)
                          : openRecords(app.state.database, records);
    if (why.empty()) {
        prepareOpenedRecords(app.state.database);
    }
    return why;
}

}  // namespace

bool isLoggedInUsersPassword(App& app, const SecretBytes& password) {
    return passwordMatches(app.state.database, app.state.userName, Text(password.text()));
}

ProtectionOutcome protectProgramRecords(App& app, const SecretBytes& password) {
    if (app.state.recordsProtected) {
        return {{}, "the records are protected already"};
    }
    SecretBytes dataKey = newDataKey();
    SecretBytes code = newRecoveryCode();
    if (dataKey.empty() || code.empty()) {
        return {{}, "no secure memory for the key"};
    }
    const std::filesystem::path records = programRecordsFile(app);
    const SlotSecret secrets[] = {{SlotKind::User, app.state.userName, password.text()},
                                  {SlotKind::RecoveryCode, {}, code.text()}};
    app.state.database.close();
    std::string why = runAside(app, [&] { return protectRecords(records, dataKey, secrets); });
    if (!why.empty()) {
        reopen(app);
        return {{}, why};
    }
    holdDataKey(app, std::move(dataKey));
    app.state.recordsProtected = true;
    // The code is shown whatever follows: without it the records could be lost.
    return {groupedRecoveryCode(code), reopen(app)};
}

std::string unprotectProgramRecords(App& app) {
    if (!app.state.recordsProtected || !app.state.dataKey) {
        return "the records are not protected";
    }
    const std::filesystem::path records = programRecordsFile(app);
    const std::shared_ptr<const SecretBytes> dataKey = app.state.dataKey;
    app.state.database.close();
    std::string why = runAside(app, [&] { return unprotectRecords(records, *dataKey); });
    if (why.empty()) {
        app.state.recordsProtected = false;
        app.state.dataKey.reset();
        app.state.dailyBackup.setDataKey(nullptr);
    }
    if (std::string reopened = reopen(app); why.empty()) {
        why = std::move(reopened);
    }
    return why;
}

}  // namespace tamrivo
