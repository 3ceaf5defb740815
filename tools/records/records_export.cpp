#include <ostream>
#include <system_error>

#include "records/csv_export.h"
#include "records/records_copy.h"
#include "tools/records/records_access.h"
#include "tools/records/records_commands.h"

namespace tamrivo {

int runExport(const CommandInput& input) {
    const std::filesystem::path folder = input.arguments.operands.front();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        return input.fail("cannot make " + folder.string() + ": " + error.message());
    }
    for (const ExportTable& table : exportTables()) {
        if (std::filesystem::exists(std::filesystem::symlink_status(folder / table.file, error))) {
            return input.fail((folder / table.file).string() +
                              " already exists; export into an empty or a new folder");
        }
    }
    const auto lock = shareRecords(input);
    Database database;
    if (!lock || !openForCommand(input, database)) {
        return kExitFailed;
    }
    for (const ExportTable& table : exportTables()) {
        const ExportOutcome written = exportTable(database, table, folder / table.file);
        if (!written.error.empty()) {
            database.close();
            return input.fail(written.error);
        }
        input.console.out << "exported " << written.rows << ' ' << table.what << " into "
                          << (folder / table.file).string() << '\n';
    }
    database.close();
    syncFolder(folder);
    return kExitDone;
}

}  // namespace tamrivo
