#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "data/database.h"
#include "records/records_copy.h"
#include "records/secret_bytes.h"

namespace tamrivo {

inline constexpr int kKeptDailyBackups = 30;

// Data/backup beside the database.
std::filesystem::path dailyBackupFolder(const std::filesystem::path& database);

// The backup of one day (a date as yyyy-MM-dd) in the backup folder: Data-2024-03-05.db.
std::filesystem::path dailyBackupFile(const std::filesystem::path& folder, const std::string& date);

// Makes the day's backup of the database unless it is there already, then keeps only the
// day's backup and the newest `keep` - 1 others by when each was written, and removes what
// killed runs left of theirs; files of other names are never touched. Protected records (a key
// file beside them) are copied with the data key given and carry their key file beside the
// backup; without the key they are not copied. Empty on success, otherwise why not, as native
// text.
std::string makeDailyBackup(const std::filesystem::path& database, const std::string& date,
                            int keep = kKeptDailyBackups, const BackupLimits& limits = {},
                            const SecretBytes* dataKey = nullptr);

// The daily backups that open with the program's key (no key file beside them), oldest name
// first: what a copy of the backup folder still gives away once the records are protected.
std::vector<std::filesystem::path> unprotectedDailyBackups(const std::filesystem::path& database);

// Rewrites such a backup keyed like the protected records, their key file beside it. Empty on
// success; on failure the backup stays as it was.
std::string protectBackup(const std::filesystem::path& backup, const ProtectedSource& records);

// Says which daily backups carry dates after the day (yyyy-MM-dd), as native text; empty
// when none do.
std::string laterBackupsWarning(const std::filesystem::path& database, const std::string& date);

// Backs the records up once per day while the program runs, on a thread with its own
// connection, so the windows never wait for it; a failure is written to the standard error
// and tried again later, and disturbs nothing else. Going, it stops a copy under way and
// waits at most a second for the thread: one still busy then (opening or checking the
// records) is left to end with the program.
class DailyBackup {
public:
    DailyBackup() = default;
    ~DailyBackup();
    DailyBackup(const DailyBackup&) = delete;
    DailyBackup& operator=(const DailyBackup&) = delete;

    // Start-up comes first: the backup's keyed open costs as much as the program's own.
    void setFirstDelay(std::chrono::milliseconds delay) { firstDelay_ = delay; }
    void start(const std::filesystem::path& database);
    // The data key of protected records, shared with the program that unlocked them, so their
    // backups go on without asking anybody; null when they are not protected.
    void setDataKey(std::shared_ptr<const SecretBytes> dataKey);

private:
    // What the thread shares with the object, kept alive by either.
    struct Shared {
        std::mutex mutex;
        std::condition_variable wake;
        bool stopping = false;
        bool ended = false;
        std::atomic<bool> stop{false};
        std::shared_ptr<const SecretBytes> dataKey;  // under the mutex
        std::shared_ptr<const SecretBytes> currentDataKey();
        // False when the wait ended because the object is going.
        bool sleep(std::chrono::milliseconds duration);
    };

    static void run(const std::shared_ptr<Shared>& shared, const std::filesystem::path& database,
                    std::chrono::milliseconds firstDelay);

    std::chrono::milliseconds firstDelay_ = std::chrono::seconds(10);
    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    std::thread thread_;
};

}  // namespace tamrivo
