#pragma once

#include <functional>
#include <future>

#include "data/database.h"
#include "ui/value_types.h"

namespace tamrivo {

// Opens a keyed database on a thread of its own. The key derivation is the costliest step
// of start-up and needs nothing of the window toolkit, so the program begins it first and
// lets the toolkit start meanwhile.
class DatabaseOpening {
public:
    // Begins opening `path` with `key` for reading and writing, never creating it.
    DatabaseOpening(Text path, Text key);
    // Waits for the thread and closes the connection when nobody took it.
    ~DatabaseOpening();
    DatabaseOpening(const DatabaseOpening&) = delete;
    DatabaseOpening& operator=(const DatabaseOpening&) = delete;

    // Waits for the open and hands over the connection (failed ones keep their reason for
    // errorMessage); true when the database can be used. `whileWaiting` runs between short
    // waits, so that what the opening thread asks of the waiting one (a fatal error shown
    // in a message box) is answered. Once only.
    bool finish(Database& into, const std::function<void()>& whileWaiting);

private:
    Database database_;
    std::future<bool> opened_;
};

}  // namespace tamrivo
