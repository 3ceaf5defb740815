#include <ostream>
#include <system_error>

#include "records/protected_records.h"
#include "records/records_copy.h"
#include "tools/records/progress_bar.h"
#include "tools/records/records_access.h"
#include "tools/records/records_commands.h"

namespace tamrivo {

int runBackup(const CommandInput& input) {
    const std::filesystem::path destination = input.arguments.operands.front();
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(destination, error))) {
        return input.fail(destination.string() + " already exists; give the name of a new file");
    }
    const auto lock = shareRecords(input);
    Database database;
    SecretBytes dataKey;
    if (!lock || !openForCommand(input, database, &dataKey)) {
        return kExitFailed;
    }
    // The target may appear while the copy runs; it is kept then, never replaced. Protected
    // records carry their key file beside the copy.
    const auto progress = terminalProgress(input.console);
    const std::string reason =
        dataKey.empty()
            ? copyRecords(database, destination, progress, ReplacementFile::Target::MustBeNew)
            : copyProtectedRecords(database, {dataKey, input.databaseFile()}, destination, progress,
                                   ReplacementFile::Target::MustBeNew);
    database.close();
    if (input.console.terminal) {
        input.console.err << '\n';
    }
    if (!reason.empty()) {
        return input.fail(reason);
    }
    input.console.out << "backed up " << input.databaseFile().string() << " into "
                      << destination.string() << '\n';
    if (!dataKey.empty()) {
        input.console.out << "it is protected like the records; its key file is "
                          << keySlotsFile(destination).string() << '\n';
    }
    return kExitDone;
}

}  // namespace tamrivo
