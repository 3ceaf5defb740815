#include <ostream>

#include "base/date_format.h"
#include "base/date_time.h"
#include "records/daily_backup.h"
#include "records/record_problems.h"
#include "tools/records/records_access.h"
#include "tools/records/records_commands.h"

namespace tamrivo {

int runCheck(const CommandInput& input) {
    const auto lock = shareRecords(input);
    Database database;
    if (!lock || !openForCommand(input, database)) {
        return kExitFailed;
    }
    const std::vector<std::string> problems = recordProblems(database);
    const int rooms = database.queryInt("SELECT count(*) FROM `b_fangjian`");
    const int leases = database.queryInt("SELECT count(*) FROM `b_zulin`");
    database.close();
    if (const std::string later = laterBackupsWarning(
            input.databaseFile(), formatDateTime(currentDateTime(), "yyyy-MM-dd"));
        !later.empty()) {
        input.warn(later);
    }
    for (const std::string& problem : problems) {
        input.console.out << problem << '\n';
    }
    if (!problems.empty()) {
        input.console.out << problems.size() << (problems.size() == 1 ? " problem" : " problems")
                          << " found in " << input.databaseFile().string() << '\n';
        return kExitProblemsFound;
    }
    input.console.out << input.databaseFile().string() << " is sound: " << rooms << " rooms, "
                      << leases << " leases\n";
    return kExitDone;
}

}  // namespace tamrivo
