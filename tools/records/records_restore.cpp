#include <unistd.h>

#include <ostream>
#include <system_error>
#include <vector>

#include "base/date_format.h"
#include "base/date_time.h"
#include "records/record_problems.h"
#include "records/records_copy.h"
#include "records/records_file.h"
#include "records/records_lock.h"
#include "records/records_schema.h"
#include "tools/records/progress_bar.h"
#include "tools/records/records_commands.h"

namespace tamrivo {
namespace {

std::filesystem::path withSuffix(std::filesystem::path path, const std::string& suffix) {
    path += suffix;
    return path;
}

// Why the file cannot stand in for the records; empty when it can. Nothing is changed.
std::string unfitness(Database& candidate, const std::filesystem::path& file) {
    const std::string reason = openRecords(candidate, file);
    if (!reason.empty()) {
        return reason + "; a backup opens with the program's key";
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
    const std::filesystem::path journal = withSuffix(database, "-journal");
    if (std::filesystem::exists(journal, error)) {
        std::filesystem::rename(journal, withSuffix(kept, "-journal"), error);
        if (error) {
            return "cannot move " + journal.string() + " aside: " + error.message();
        }
    }
    return {};
}

// Stages a whole copy beside the database and swaps it in with one rename.
std::string swapIn(const CommandInput& input, Database& candidate, std::filesystem::path& kept) {
    const std::filesystem::path database = input.databaseFile();
    const std::filesystem::path staged = withSuffix(database, ".restoring");
    std::string reason = copyRecords(candidate, staged, terminalProgress(input.console));
    if (input.console.terminal) {
        input.console.err << '\n';
    }
    // The backup may have changed since it was checked: what goes in is checked again,
    // under the lock, just before the swap.
    if (reason.empty()) {
        Database stagedCopy;
        const std::string unfit = unfitness(stagedCopy, staged);
        stagedCopy.close();
        reason = unfit.empty() ? unfit : "refusing to restore: " + unfit;
    }
    std::error_code error;
    if (reason.empty() && std::filesystem::exists(database, error)) {
        reason = keepCurrent(database, kept);
    }
    if (reason.empty()) {
        std::filesystem::rename(staged, database, error);
        reason = error ? "cannot put the restored records in place: " + error.message() : "";
    }
    std::filesystem::remove(staged, error);
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
    Database candidate;
    const std::string unfit = unfitness(candidate, file);
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
    if (reason.empty()) {
        reason = swapIn(input, candidate, kept);
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
