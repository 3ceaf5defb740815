#include "app/database_opening.h"

#include <chrono>
#include <utility>

#include "base/replacement_file.h"
#include "base/text_encoding.h"
#include "records/bookings_table.h"
#include "records/calendar_feeds.h"
#include "records/guest_register.h"
#include "records/landlord.h"
#include "records/planned_departures.h"
#include "records/protected_records.h"
#include "records/records_file.h"
#include "records/statistics_indexes.h"

namespace tamrivo {

namespace {

// A restore checks and copies the file before it swaps it in; it seldom takes longer.
constexpr std::chrono::seconds kRestoreWait{5};
// Short enough that nobody sees it, long enough not to keep a core busy.
constexpr std::chrono::milliseconds kWaitSlice{1};

}  // namespace

DatabaseOpening::DatabaseOpening(const Text& programDirectory)
    : outcome_(std::async(std::launch::async,
                          [this, programDirectory] { return lockAndOpen(programDirectory); })) {}

DatabaseOpening::~DatabaseOpening() {
    if (outcome_.valid()) {
        outcome_.wait();
        database_.close();  // nobody took it
    }
}

// Every instance of the program takes a share, so a second one starts beside the first (each
// transaction stays whole, the library sees to that); a restore waits until all have ended.
// Without a lock file (no Data folder, a read-only medium) there is nothing to restore into
// either, so the program goes on and the open tells what is wrong.
OpeningOutcome DatabaseOpening::lockAndOpen(const Text& programDirectory) {
    const std::filesystem::path programFolder = gbkToUtf8(programDirectory);
    LockAttempt attempt =
        lockRecords(recordsFolder(programFolder), LockAccess::Shared, kRestoreWait);
    if (attempt.outcome == LockOutcome::Busy) {
        return OpeningOutcome::Restoring;
    }
    lock_ = std::move(attempt.lock);
    const std::filesystem::path records = recordsFile(programFolder);
    // Only records that are or were being protected have their state settled: the rest open
    // as they always did, with no file made beside them.
    if (nameTaken(keySlotsFile(records)) || nameTaken(pendingKeySlotsFile(records))) {
        const RecordsProtection protection = settleProtection(records);
        if (protection.isProtected) {
            problem_ = protection.problem;
            return protection.problem.empty() ? OpeningOutcome::Protected : OpeningOutcome::Failed;
        }
    }
    if (!openRecords(database_, records).empty()) {
        return OpeningOutcome::Failed;
    }
    prepareOpenedRecords(database_);
    return OpeningOutcome::Opened;
}

void prepareOpenedRecords(Database& database) {
    // Records from before the bookings gain their table here. Where it cannot be added (a
    // read-only medium) everything else still works; the calendar then says what is wrong.
    addBookingsTable(database);
    // Likewise the landlord's details for receipts; without them receipts name no landlord.
    addLandlordTable(database);
    addPlannedDeparturesTable(database);
    // The booking platforms' calendars; without them the sync says what is wrong.
    addCalendarSyncTables(database);
    // The guest register; without it the register says it cannot be read.
    addGuestRegisterTables(database);
    // Older files gain the statistics' indexes; one that cannot take them is read slower.
    addStatisticsIndexes(database);
}

OpeningOutcome DatabaseOpening::finish(Database& database, FileLock& lock,
                                       const std::function<void()>& whileWaiting) {
    while (outcome_.wait_for(kWaitSlice) != std::future_status::ready) {
        whileWaiting();
    }
    const OpeningOutcome outcome = outcome_.get();
    database = database_;
    lock = std::move(lock_);
    return outcome;
}

}  // namespace tamrivo
