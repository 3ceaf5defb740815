#include <unistd.h>

#include <ostream>
#include <system_error>
#include <vector>

#include "base/date_format.h"
#include "base/date_time.h"
#include "base/replacement_file.h"
#include "records/protected_records.h"
#include "records/record_problems.h"
#include "records/records_copy.h"
#include "records/records_file.h"
#include "records/records_lock.h"
#include "records/records_schema.h"
#include "tools/records/progress_bar.h"
#include "tools/records/records_access.h"
#include "tools/records/records_commands.h"

namespace tamrivo {
namespace {

std::filesystem::path withSuffix(std::filesystem::path path, const std::string& suffix) {
    path += suffix;
    return path;
}

// Why the file cannot stand in for the records; empty when it can. Nothing is changed. A
// protected backup opens with the data key its key file gave.
std::string unfitness(Database& candidate, const std::filesystem::path& file,
                      const SecretBytes& dataKey) {
    if (!dataKey.empty()) {
        if (std::string reason = openRecordsWithKey(candidate, file, dataKey); !reason.empty()) {
            return reason;
        }
    } else if (const std::string reason = openRecords(candidate, file); !reason.empty()) {
        return reason + "; a backup opens with the program's key, or with its key file beside it";
    }
    std::vector<std::string> problems = integrityProblems(candidate);
    const std::vector<std::string> tables = schemaProblems(candidate);
    problems.insert(problems.end(), tables.begin(), tables.end());
    std::string unfit;
    for (const std::string& problem : problems) {
        unfit += "\n  " + problem;
    }
    return unfit.empty() ? unfit
                         : file.string() + " is not a whole database of the program:" + unfit;
}

// Data-replaced-2024-03-05-143012.db beside the database, the first such name not taken.
std::filesystem::path keptName(const std::filesystem::path& database) {
    const std::string stamp = formatDateTime(currentDateTime(), "yyyy-MM-dd-HHmmss");
    const std::filesystem::path base = database.parent_path() / ("Data-replaced-" + stamp);
    std::filesystem::path kept = withSuffix(base, ".db");
    for (int n = 2; std::filesystem::exists(std::filesystem::symlink_status(kept)); ++n) {
        kept = withSuffix(base, "-" + std::to_string(n) + ".db");
    }
    return kept;
}

// Keeps the current database under a new name while it stays in place, so that at every
// moment a whole database stands at its path. Opening it first rolls back a transaction
// that a killed program left in its journal; a journal that cannot be rolled back (the file
// does not open) goes with the kept file, or it would be played into the restored one.
std::string keepCurrent(const std::filesystem::path& database, std::filesystem::path& kept) {
    Database current;
    openRecords(current, database);
    current.close();
    kept = keptName(database);
    std::error_code error;
    if (::link(database.c_str(), kept.c_str()) != 0) {
        std::filesystem::copy_file(database, kept, error);  // a file system without links
        if (error) {
            return "cannot keep the current records as " + kept.string() + ": " + error.message();
        }
    }
    // Protected records keep their key file beside them; the one in place stays until the
    // restored records take its place.
    if (nameTaken(keySlotsFile(database))) {
        std::filesystem::copy_file(keySlotsFile(database), keySlotsFile(kept), error);
        if (error) {
            return "cannot keep the key file as " + keySlotsFile(kept).string() + ": " +
                   error.message();
        }
    }
    const std::filesystem::path journal = withSuffix(database, "-journal");
    if (std::filesystem::exists(journal, error)) {
        std::filesystem::rename(journal, withSuffix(kept, "-journal"), error);
        if (error) {
            return "cannot move " + journal.string() + " aside: " + error.message();
        }
    }
    return {};
}

std::string renameTo(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code error;
    std::filesystem::rename(from, to, error);
    return error ? "cannot put " + to.string() + " in place: " + error.message() : "";
}

// Puts the staged copy in place. A protected one's key file goes in as a re-key's does: first
// as the pending key file, which a start after a kill before the records' rename finds not
// fitting and removes, and after it finishes renaming in. An unprotected one leaves no key
// file behind.
std::string putInPlace(const std::filesystem::path& staged, const std::filesystem::path& database,
                       bool isProtected) {
    if (isProtected) {
        if (std::string why = renameTo(keySlotsFile(staged), pendingKeySlotsFile(database));
            !why.empty()) {
            return why;
        }
    }
    if (std::string why = renameTo(staged, database); !why.empty()) {
        return "cannot put the restored records in place: " + why;
    }
    syncFolder(database.parent_path());
    if (isProtected) {
        return renameTo(pendingKeySlotsFile(database), keySlotsFile(database));
    }
    std::error_code error;
    std::filesystem::remove(keySlotsFile(database), error);
    return {};
}

// Stages a whole copy beside the database and swaps it in with one rename.
std::string swapIn(const CommandInput& input, Database& candidate, const SecretBytes& dataKey,
                   const std::filesystem::path& backup, std::filesystem::path& kept) {
    const std::filesystem::path database = input.databaseFile();
    const std::filesystem::path staged = withSuffix(database, ".restoring");
    const auto progress = terminalProgress(input.console);
    std::string reason = dataKey.empty()
                             ? copyRecords(candidate, staged, progress)
                             : copyProtectedRecords(candidate, {dataKey, backup}, staged, progress);
    if (input.console.terminal) {
        input.console.err << '\n';
    }
    // The backup may have changed since it was checked: what goes in is checked again,
    // under the lock, just before the swap.
    if (reason.empty()) {
        Database stagedCopy;
        const std::string unfit = unfitness(stagedCopy, staged, dataKey);
        stagedCopy.close();
        reason = unfit.empty() ? unfit : "refusing to restore: " + unfit;
    }
    std::error_code error;
    if (reason.empty() && std::filesystem::exists(database, error)) {
        reason = keepCurrent(database, kept);
    }
    if (reason.empty()) {
        reason = putInPlace(staged, database, !dataKey.empty());
    }
    std::filesystem::remove(staged, error);
    std::filesystem::remove(keySlotsFile(staged), error);
    syncFolder(input.dataFolder());
    return reason;
}

}  // namespace

int runRestore(const CommandInput& input) {
    const std::filesystem::path file = input.arguments.operands.front();
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return input.fail("refusing to restore " + file.string() + ": it is not a file");
    }
    // A protected backup opens with a password of its own day, through its own key file.
    SecretBytes dataKey;
    if (nameTaken(keySlotsFile(file))) {
        dataKey = unlockForCommand(input, file);
        if (dataKey.empty()) {
            return kExitFailed;
        }
    }
    Database candidate;
    const std::string unfit = unfitness(candidate, file, dataKey);
    if (!unfit.empty()) {
        candidate.close();
        return input.fail("refusing to restore: " + unfit);
    }
    std::filesystem::create_directories(input.dataFolder(), error);
    const LockAttempt lock = lockRecords(input.dataFolder(), LockAccess::Exclusive);
    std::string reason;
    if (lock.outcome == LockOutcome::Busy) {
        reason =
            "refusing to restore: the records are in use; close the program and any other "
            "tamrivo-records command, then try again";
    } else if (lock.outcome == LockOutcome::Unavailable) {
        reason = "refusing to restore: cannot lock the records in " + input.dataFolder().string() +
                 ": " + lock.error.message();
    }
    std::filesystem::path kept;
    // What a killed re-key left is settled first, so the records kept are whole.
    if (reason.empty() && !recordsProtected(input)) {
        candidate.close();
        return kExitFailed;
    }
    if (reason.empty()) {
        reason = swapIn(input, candidate, dataKey, file, kept);
    }
    candidate.close();
    if (!reason.empty()) {
        return input.fail(reason);
    }
    input.console.out << "restored the records of " << file.string() << " into "
                      << input.databaseFile().string() << '\n';
    if (!kept.empty()) {
        input.console.out << "the records they replace are kept as " << kept.string() << '\n';
    }
    return kExitDone;
}

}  // namespace tamrivo
