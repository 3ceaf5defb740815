#pragma once

#include <chrono>
#include <filesystem>
#include <system_error>

namespace tamrivo {

// How a lock is shared. The program and the records commands that only read the records
// (backup, check, export, report) share them, so none of them keeps another from starting;
// a restore takes them alone, so it never swaps the file under anybody.
enum class LockAccess { Shared, Exclusive };

// A lock on a file, held until the object goes or the process ends, however it ends.
class FileLock {
public:
    FileLock() = default;
    explicit FileLock(int descriptor) : descriptor_(descriptor) {}
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return descriptor_ >= 0; }

private:
    int descriptor_ = -1;
};

enum class LockOutcome {
    Taken,
    Busy,        // somebody holds it in a way that excludes this access, past the wait
    Unavailable  // no lock file can be made or opened here (no folder, say), or the file
                 // system cannot lock
};

struct LockAttempt {
    LockOutcome outcome = LockOutcome::Unavailable;
    FileLock lock;
    std::error_code error;  // why the lock is unavailable
};

// Locks the file, creating it when missing, trying again until the wait has passed.
LockAttempt lockFile(const std::filesystem::path& file, LockAccess access,
                     std::chrono::milliseconds wait = {});

// The one lock on the records of a program folder: Data/Data.db.lock in its data folder.
// The lock file is never removed: a lock taken on a removed file locks nothing.
std::filesystem::path recordsLockFile(const std::filesystem::path& dataFolder);
LockAttempt lockRecords(const std::filesystem::path& dataFolder, LockAccess access,
                        std::chrono::milliseconds wait = {});

}  // namespace tamrivo
