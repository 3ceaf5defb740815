#include "data/database.h"
#include "data/database_internal.h"
#include "ui/text_encoding.h"

namespace tamrivo {
namespace {

constexpr int kPagesPerStep = 5;
constexpr int kBusyWaitMilliseconds = 250;
// A write through another connection restarts the copy; after this many restarts the rest
// is copied in one step, under one read lock, so a busy program cannot keep it from ending.
constexpr int kRestartsBeforeOneStep = 3;

bool isBusy(int code) {
    return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

}  // namespace

bool Database::backup(const Text& destination, const BackupProgress& progress, const Text& schema,
                      const Text& key) {
    if (handle_ == nullptr) {
        return false;
    }
    SqliteApi& api = sqliteApi();
    sqlite3* target = nullptr;
    if (api.sqlite3_open(gbkToUtf8(destination).c_str(), &target) != SQLITE_OK) {
        api.sqlite3_close(target);
        return false;
    }
    if (!key.empty()) {
        detail::applyKey(target, key);
    }
    const std::string source = gbkToUtf8(schema.empty() ? Text("main") : schema);
    sqlite3_backup* copy = api.sqlite3_backup_init(target, "main", handle_, source.c_str());
    if (copy == nullptr) {
        api.sqlite3_close(target);
        return false;
    }
    int code = SQLITE_OK;
    int pagesPerStep = kPagesPerStep;
    int restarts = 0;
    int lastRemaining = -1;
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
        if (isBusy(code)) {
            api.sqlite3_sleep(kBusyWaitMilliseconds);
        }
    } while (code == SQLITE_OK || isBusy(code));
    const bool finished = api.sqlite3_backup_finish(copy) == SQLITE_OK;
    api.sqlite3_close(target);
    return finished;
}

}  // namespace tamrivo
