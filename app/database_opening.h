#pragma once

#include <functional>
#include <future>
#include <string>

#include "base/value_types.h"
#include "data/database.h"
#include "records/records_lock.h"

namespace tamrivo {

enum class OpeningOutcome {
    Opened,
    Failed,     // the reason is problem(), or else the connection's errorMessage
    Restoring,  // a restore held the records past the wait; nothing was opened
    Protected   // they open only with a user's password, at the login; nothing was opened
};

// What the program does to records it has just opened, before anything reads them: adds what
// older files lack.
void prepareOpenedRecords(Database& database);

// Takes the program's share of the records lock, then opens the records, on a thread of its
// own. The key derivation is the costliest step of start-up and needs nothing of the window
// toolkit, so the program begins it first and lets the toolkit start meanwhile. The lock
// comes first so that a restore never swaps the file under an open connection.
class DatabaseOpening {
public:
    explicit DatabaseOpening(const Text& programDirectory);
    // Waits for the thread and closes the connection when nobody took it.
    ~DatabaseOpening();
    DatabaseOpening(const DatabaseOpening&) = delete;
    DatabaseOpening& operator=(const DatabaseOpening&) = delete;

    // Waits for the outcome and hands over the connection and the lock. `whileWaiting` runs
    // between short waits, so that what the opening thread asks of the waiting one (a fatal
    // error shown in a message box) is answered. Once only.
    OpeningOutcome finish(Database& database, FileLock& lock,
                          const std::function<void()>& whileWaiting);
    // Why the opening failed before the library was asked (protected records whose key file
    // is unusable), as native text; empty otherwise. After finish.
    const std::string& problem() const { return problem_; }

private:
    OpeningOutcome lockAndOpen(const Text& programDirectory);

    Database database_;
    FileLock lock_;
    std::string problem_;
    std::future<OpeningOutcome> outcome_;
};

}  // namespace tamrivo
