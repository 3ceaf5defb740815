#include "base/text_encoding.h"
#include "data/database.h"
#include "data/database_internal.h"

namespace tamrivo {
namespace {

constexpr int kPagesPerStep = 5;
constexpr std::chrono::milliseconds kBusyWait{250};
// A write through another connection restarts the copy; after this many restarts the rest
// is copied in one step, under one read lock, so a busy program cannot keep it from ending.
constexpr int kRestartsBeforeOneStep = 3;

bool isBusy(int code) {
    return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

bool stopped(const BackupLimits& limits) {
    return limits.stop != nullptr && limits.stop->load();
}

void say(Text* errorText, const Text& reason) {
    if (errorText != nullptr) {
        *errorText = reason;
    }
}

}  // namespace

bool Database::backup(const Text& destination, const BackupProgress& progress, const Text& schema,
                      const Text& key, const BackupLimits& limits, Text* errorText) {
    const auto keyTarget = [&key](sqlite3* target) {
        if (!key.empty()) {
            detail::applyKey(target, key);
        }
    };
    return backupInto(destination, keyTarget, progress, schema, limits, errorText);
}

bool Database::backup(const Text& destination, RawKey key, const BackupLimits& limits,
                      Text* errorText) {
    const auto keyTarget = [key](sqlite3* target) { detail::applyRawKey(target, key); };
    return backupInto(destination, keyTarget, {}, {}, limits, errorText);
}

bool Database::backup(const Text& destination, RawKey key, RawKeySalt salt,
                      const BackupProgress& progress, const BackupLimits& limits, Text* errorText) {
    const auto keyTarget = [key, salt](sqlite3* target) { detail::applyRawKey(target, key, salt); };
    return backupInto(destination, keyTarget, progress, {}, limits, errorText);
}

bool Database::backupInto(const Text& destination, const std::function<void(sqlite3*)>& keyTarget,
                          const BackupProgress& progress, const Text& schema,
                          const BackupLimits& limits, Text* errorText) {
    if (handle_ == nullptr) {
        return false;
    }
    SqliteApi& api = sqliteApi();
    sqlite3* target = nullptr;
    if (api.sqlite3_open(gbkToUtf8(destination).c_str(), &target) != SQLITE_OK) {
        say(errorText, detail::errorMessageOf(target));
        api.sqlite3_close(target);
        return false;
    }
    keyTarget(target);
    const std::string source = gbkToUtf8(schema.empty() ? Text("main") : schema);
    sqlite3_backup* copy = api.sqlite3_backup_init(target, "main", handle_, source.c_str());
    if (copy == nullptr) {
        say(errorText, detail::errorMessageOf(target));
        api.sqlite3_close(target);
        return false;
    }
    int code = SQLITE_OK;
    int pagesPerStep = kPagesPerStep;
    int restarts = 0;
    int lastRemaining = -1;
    std::chrono::milliseconds busyFor{0};
    Text reason;
    do {
        code = api.sqlite3_backup_step(copy, pagesPerStep);
        const int remaining = api.sqlite3_backup_remaining(copy);
        // A restart copies from the start again, so the pages left do not go down.
        if (lastRemaining >= 0 && remaining >= lastRemaining &&
            ++restarts >= kRestartsBeforeOneStep) {
            pagesPerStep = -1;
        }
        lastRemaining = remaining;
        if (progress) {
            progress(remaining, api.sqlite3_backup_pagecount(copy));
        }
        busyFor = isBusy(code) ? busyFor + kBusyWait : std::chrono::milliseconds{0};
        if (busyFor > limits.longestBusyWait) {
            reason = "the database stayed locked by another connection for more than " +
                     std::to_string(limits.longestBusyWait.count() / 1000) + " seconds";
            break;
        }
        if (stopped(limits)) {
            reason = "the copy was stopped";
            break;
        }
        if (isBusy(code)) {
            api.sqlite3_sleep(static_cast<int>(kBusyWait.count()));
        }
    } while (code == SQLITE_OK || isBusy(code));
    const bool finished = api.sqlite3_backup_finish(copy) == SQLITE_OK && reason.empty();
    if (!finished) {
        say(errorText, reason.empty() ? detail::errorMessageOf(target) : reason);
    }
    api.sqlite3_close(target);
    return finished;
}

}  // namespace tamrivo
