#include "data/database.h"
#include "data/database_internal.h"
#include "ui/text_encoding.h"

namespace tamrivo {
namespace {

constexpr int kPagesPerStep = 5;
constexpr int kBusyWaitMilliseconds = 250;

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
    do {
        code = api.sqlite3_backup_step(copy, kPagesPerStep);
        if (progress) {
            progress(api.sqlite3_backup_remaining(copy), api.sqlite3_backup_pagecount(copy));
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
