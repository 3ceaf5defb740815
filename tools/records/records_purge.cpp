#include <ostream>

#include "base/date_format.h"
#include "base/date_time.h"
#include "records/guest_register.h"
#include "records/identity_retention.h"
#include "records/stored_dates.h"
#include "tools/records/records_access.h"
#include "tools/records/records_commands.h"

namespace tamrivo {

int runPurge(const CommandInput& input) {
    const auto lock = shareRecords(input);
    Database database;
    if (!lock || !openForCommand(input, database)) {
        return kExitFailed;
    }
    Text error;
    if (!addGuestRegisterTables(database, &error)) {
        database.close();
        return input.fail("cannot add the guest register: " + error);
    }
    const RegisterUser user{"tamrivo-records",
                            formatDateTime(currentDateTime(), "yyyy-MM-dd HH:mm:ss")};
    const auto purged = purgeExpiredIdentity(database, today(), user);
    if (!purged) {
        error = database.errorMessage();
        database.close();
        return input.fail("purge failed, nothing was purged: " + error);
    }
    input.console.out << "purged the identity of " << *purged << " guest(s), kept "
                      << identityRetentionYears(database) << " year(s) after check-out\n";
    database.close();
    return kExitDone;
}

}  // namespace tamrivo
