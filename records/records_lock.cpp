#include "records/records_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>
#include <utility>

namespace tamrivo {
namespace {

constexpr std::chrono::milliseconds kRetryInterval{50};

// flock rather than fcntl locks: it belongs to the open file, so closing some other
// descriptor of the same file (SQLite does that) never drops it, and the kernel releases it
// when the holder dies, so a killed program leaves no stale lock behind. Read-only media
// still lock through a read-only descriptor.
// A link planted at the lock's name is never followed: the lock would be made, or taken,
// wherever it points.
int openLockFile(const std::filesystem::path& file) {
    const int descriptor = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    return descriptor >= 0 || errno == ELOOP
               ? descriptor
               : ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
}

}  // namespace

FileLock::~FileLock() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

FileLock::FileLock(FileLock&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        FileLock released(std::move(*this));
        descriptor_ = std::exchange(other.descriptor_, -1);
    }
    return *this;
}

LockAttempt lockFile(const std::filesystem::path& file, LockAccess access,
                     std::chrono::milliseconds wait) {
    LockAttempt attempt;
    const int descriptor = openLockFile(file);
    if (descriptor < 0) {
        attempt.error = {errno, std::generic_category()};
        return attempt;
    }
    FileLock lock(descriptor);
    const int operation = (access == LockAccess::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (::flock(descriptor, operation) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            attempt.error = {errno, std::generic_category()};
            return attempt;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            attempt.outcome = LockOutcome::Busy;
            return attempt;
        }
        std::this_thread::sleep_for(kRetryInterval);
    }
    attempt.outcome = LockOutcome::Taken;
    attempt.lock = std::move(lock);
    return attempt;
}

std::filesystem::path recordsLockFile(const std::filesystem::path& dataFolder) {
    return dataFolder / "Data.db.lock";
}

LockAttempt lockRecords(const std::filesystem::path& dataFolder, LockAccess access,
                        std::chrono::milliseconds wait) {
    return lockFile(recordsLockFile(dataFolder), access, wait);
}

}  // namespace tamrivo
