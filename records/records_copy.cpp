#include "records/records_copy.h"

#include <system_error>

#include "records/records_file.h"
#include "records/schema.h"

namespace tamrivo {

std::string copyRecords(Database& source, const std::filesystem::path& destination,
                        const BackupProgress& progress, ReplacementFile::Target target) {
    // The file beside is created here, exclusively, so the library only ever writes into a
    // fresh file of ours, and a failure carries the system's own reason.
    ReplacementFile copy;
    if (const std::error_code error = copy.create(destination)) {
        return "cannot write beside " + destination.string() + ": " + error.message();
    }
    const Text copyPath = databasePathText(copy.path());
    if (copyPath.empty()) {
        return "cannot use " + destination.string() + ": the path has characters outside GBK";
    }
    if (!source.backup(copyPath, progress, {}, schema::kDatabaseKey)) {
        return "cannot copy the records into " + copy.path().string() +
               ": the copy did not complete (the disk may be full)";
    }
    if (const std::error_code error = copy.commit(target)) {
        return "cannot move the copy to " + destination.string() + ": " + error.message();
    }
    return {};
}

}  // namespace tamrivo
