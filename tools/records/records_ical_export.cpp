#include <ostream>
#include <system_error>

#include "base/replacement_file.h"
#include "records/calendar_feeds.h"
#include "records/ical_export.h"
#include "tools/records/records_access.h"
#include "tools/records/records_commands.h"

namespace tamrivo {

int runIcalExport(const CommandInput& input) {
    const std::filesystem::path folder = input.arguments.operands.front();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        return input.fail("cannot make " + folder.string() + ": " + error.message());
    }
    const auto lock = shareRecords(input);
    Database database;
    if (!lock || !openForCommand(input, database)) {
        return kExitFailed;
    }
    // The same files the program writes, guests named only where the landlord chose so.
    const SyncSettings settings = loadSyncSettings(database);
    const CalendarExport written = exportRoomCalendars(database, folder, settings.exportGuests);
    database.close();
    if (!written.error.empty()) {
        return input.fail(written.error);
    }
    syncFolder(folder);
    input.console.out << "wrote " << written.files << " room calendars into " << folder.string()
                      << '\n';
    return kExitDone;
}

}  // namespace tamrivo
