#include "records/records_copy.h"

#include <system_error>

#include "base/text_encoding.h"
#include "records/record_problems.h"
#include "records/records_file.h"
#include "records/schema.h"

namespace tamrivo {
namespace {

// Empty when the copy opens with the program's key and passes the integrity check.
std::string soundness(const std::filesystem::path& copy) {
    Database check;
    std::string reason = openRecords(check, copy);
    if (reason.empty()) {
        for (const std::string& problem : integrityProblems(check)) {
            reason += (reason.empty() ? "" : "; ") + problem;
        }
    }
    check.close();
    return reason;
}

}  // namespace

std::string copyRecords(Database& source, const std::filesystem::path& destination,
                        const BackupProgress& progress, ReplacementFile::Target target,
                        const BackupLimits& limits) {
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
    Text why;
    if (!source.backup(copyPath, progress, {}, schema::kDatabaseKey, limits, &why)) {
        return "cannot copy the records into " + copy.path().string() +
               ": the copy did not complete (" + gbkToUtf8(why) + ")";
    }
    // A copy of records already damaged is damaged too: it is never kept, so neither it
    // nor the pruning it would allow takes the place of the sound copies before it.
    if (const std::string unsound = soundness(copy.path()); !unsound.empty()) {
        return "the copy of the records is not sound, so it was not kept: " + unsound;
    }
    if (const std::error_code error = copy.commit(target)) {
        return "cannot move the copy to " + destination.string() + ": " + error.message();
    }
    return {};
}

}  // namespace tamrivo
