#include "records/records_copy.h"

#include <functional>
#include <system_error>

#include "base/text_encoding.h"
#include "records/protected_records.h"
#include "records/record_problems.h"
#include "records/records_file.h"
#include "records/schema.h"

namespace tamrivo {
namespace {

// How one kind of copy is written, and opened again to be checked.
struct CopyKeying {
    std::function<bool(Database& source, const Text& copy, Text* why)> write;
    std::function<std::string(Database& copy, const std::filesystem::path& file)> open;
};

// Empty when the copy opens with its key and passes the integrity check.
std::string soundness(const CopyKeying& keying, const std::filesystem::path& copy) {
    Database check;
    std::string reason = keying.open(check, copy);
    if (reason.empty()) {
        for (const std::string& problem : integrityProblems(check)) {
            reason += (reason.empty() ? "" : "; ") + problem;
        }
    }
    check.close();
    return reason;
}

// Everything but the commit: the copy stands whole and checked beside the destination.
std::string writeCopy(Database& source, const CopyKeying& keying, ReplacementFile& copy,
                      const std::filesystem::path& destination) {
    // The file beside is created here, exclusively, so the library only ever writes into a
    // fresh file of ours, and a failure carries the system's own reason.
    if (const std::error_code error = copy.create(destination)) {
        return "cannot write beside " + destination.string() + ": " + error.message();
    }
    const Text copyPath = databasePathText(copy.path());
    if (copyPath.empty()) {
        return "cannot use " + destination.string() + ": the path has characters outside GBK";
    }
    Text why;
    if (!keying.write(source, copyPath, &why)) {
        return "cannot copy the records into " + copy.path().string() +
               ": the copy did not complete (" + gbkToUtf8(why) + ")";
    }
    // A copy of records already damaged is damaged too: it is never kept, so neither it
    // nor the pruning it would allow takes the place of the sound copies before it.
    if (const std::string unsound = soundness(keying, copy.path()); !unsound.empty()) {
        return "the copy of the records is not sound, so it was not kept: " + unsound;
    }
    return {};
}

std::string commitCopy(ReplacementFile& copy, const std::filesystem::path& destination,
                       ReplacementFile::Target target) {
    if (const std::error_code error = copy.commit(target)) {
        return "cannot move the copy to " + destination.string() + ": " + error.message();
    }
    return {};
}

}  // namespace

std::string copyRecords(Database& source, const std::filesystem::path& destination,
                        const BackupProgress& progress, ReplacementFile::Target target,
                        const BackupLimits& limits) {
    const CopyKeying keying{
        [&](Database& from, const Text& copy, Text* why) {
            return from.backup(copy, progress, {}, schema::kDatabaseKey, limits, why);
        },
        [](Database& copy, const std::filesystem::path& file) { return openRecords(copy, file); }};
    ReplacementFile copy;
    if (std::string why = writeCopy(source, keying, copy, destination); !why.empty()) {
        return why;
    }
    return commitCopy(copy, destination, target);
}

std::string copyProtectedRecords(Database& source, const ProtectedSource& protectedSource,
                                 const std::filesystem::path& destination,
                                 const BackupProgress& progress, ReplacementFile::Target target,
                                 const BackupLimits& limits) {
    const std::optional<FileId> fileId = recordsFileId(protectedSource.records);
    const ParsedKeySlots slots = readKeySlots(keySlotsFile(protectedSource.records));
    if (!slots.slots) {
        return slots.problem;
    }
    if (!fileId || slots.slots->fileId != *fileId ||
        protectedSource.dataKey.size() != kRawKeyBytes) {
        return "the key file " + keySlotsFile(protectedSource.records).string() +
               " does not belong to the records";
    }
    if (target == ReplacementFile::Target::MustBeNew && nameTaken(keySlotsFile(destination))) {
        return keySlotsFile(destination).string() + " already exists";
    }
    const RawKey key(protectedSource.dataKey.data(), kRawKeyBytes);
    const CopyKeying keying{[&](Database& from, const Text& copy, Text* why) {
                                return from.backup(copy, key,
                                                   RawKeySalt(fileId->data(), kRawKeySaltBytes),
                                                   progress, limits, why);
                            },
                            [&](Database& copy, const std::filesystem::path& file) {
                                return openRecordsWithKey(copy, file, protectedSource.dataKey);
                            }};
    ReplacementFile copy;
    if (std::string why = writeCopy(source, keying, copy, destination); !why.empty()) {
        return why;
    }
    if (recordsFileId(copy.path()) != fileId) {
        return "the copy of the records did not keep their salt, so their key file would not fit "
               "it";
    }
    // The key file goes first, so the copy never stands without it.
    if (std::string why = writeKeySlots(keySlotsFile(destination), *slots.slots); !why.empty()) {
        return why;
    }
    return commitCopy(copy, destination, target);
}

}  // namespace tamrivo
