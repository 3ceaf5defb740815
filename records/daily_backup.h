#pragma once

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

namespace tamrivo {

inline constexpr int kKeptDailyBackups = 30;

// Data/backup beside the database.
std::filesystem::path dailyBackupFolder(const std::filesystem::path& database);

// The backup of one day (a date as yyyy-MM-dd) in the backup folder: Data-2024-03-05.db.
std::filesystem::path dailyBackupFile(const std::filesystem::path& folder, const std::string& date);

// Makes the day's backup of the database unless it is there already, then keeps only the
// newest `keep` daily backups and removes what killed runs left of theirs; files of other
// names are never touched. Empty on success, otherwise why not, as native text.
std::string makeDailyBackup(const std::filesystem::path& database, const std::string& date,
                            int keep = kKeptDailyBackups);

// Backs the records up once per day while the program runs, on a thread with its own
// connection, so the windows never wait for it; a failure is written to the standard error
// and tried again later, and disturbs nothing else.
class DailyBackup {
public:
    DailyBackup() = default;
    ~DailyBackup();
    DailyBackup(const DailyBackup&) = delete;
    DailyBackup& operator=(const DailyBackup&) = delete;

    // Start-up comes first: the backup's keyed open costs as much as the program's own.
    void setFirstDelay(std::chrono::milliseconds delay) { firstDelay_ = delay; }
    void start(const std::filesystem::path& database);

private:
    void run(const std::filesystem::path& database);
    // False when the wait ended because the object is going.
    bool sleep(std::chrono::milliseconds duration);

    std::chrono::milliseconds firstDelay_ = std::chrono::seconds(10);
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace tamrivo
