#include "records/daily_backup.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <system_error>
#include <vector>

#include "data/database.h"
#include "records/records_copy.h"
#include "records/records_file.h"
#include "records/records_lock.h"
#include "ui/date_format.h"
#include "ui/date_time.h"

namespace tamrivo {
namespace {

constexpr char kNamePrefix[] = "Data-";
constexpr char kNameSuffix[] = ".db";
constexpr char kDatePicture[] = "yyyy-MM-dd";
// A program left running past midnight makes the new day's backup within this time.
constexpr std::chrono::hours kCheckInterval{1};

// Data-yyyy-MM-dd.db and nothing else: the only files the pruning may remove.
bool isDailyBackupName(const std::string& name) {
    const std::string_view prefix = kNamePrefix;
    const std::string_view suffix = kNameSuffix;
    constexpr std::size_t kDateLength = 10;
    if (name.size() != prefix.size() + kDateLength + suffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(suffix)) {
        return false;
    }
    for (std::size_t i = 0; i < kDateLength; ++i) {
        const char c = name[prefix.size() + i];
        const bool separator = i == 4 || i == 7;
        if (separator ? c != '-' : std::isdigit(static_cast<unsigned char>(c)) == 0) {
            return false;
        }
    }
    return true;
}

// What a run killed in the middle of a copy left: under the folder's lock nobody else can be
// writing it.
bool isStaleCopy(const std::string& name) {
    const std::size_t end = name.find(".partial");
    return end != std::string::npos && isDailyBackupName(name.substr(0, end));
}

// Names sort by date, so the oldest come first.
void pruneDailyBackups(const std::filesystem::path& folder, int keep) {
    std::vector<std::filesystem::path> backups;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (isStaleCopy(name)) {
            std::filesystem::remove(entry.path(), error);
        } else if (entry.is_regular_file(error) && isDailyBackupName(name)) {
            backups.push_back(entry.path());
        }
    }
    std::sort(backups.begin(), backups.end());
    const std::size_t kept = static_cast<std::size_t>(std::max(keep, 0));
    for (std::size_t i = 0; i + kept < backups.size(); ++i) {
        std::filesystem::remove(backups[i], error);
    }
}

std::string today() {
    return formatDateTime(currentDateTime(), kDatePicture);
}

}  // namespace

std::filesystem::path dailyBackupFolder(const std::filesystem::path& database) {
    return database.parent_path() / "backup";
}

std::filesystem::path dailyBackupFile(const std::filesystem::path& folder,
                                      const std::string& date) {
    return folder / (kNamePrefix + date + kNameSuffix);
}

std::string makeDailyBackup(const std::filesystem::path& database, const std::string& date,
                            int keep) {
    const std::filesystem::path folder = dailyBackupFolder(database);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        return "cannot make " + folder.string() + ": " + error.message();
    }
    // Two programs on the same records make one backup between them: the second finds the
    // folder taken and leaves the day's backup to the first.
    const LockAttempt lock = lockFile(folder / ".daily.lock", LockAccess::Exclusive);
    if (lock.outcome == LockOutcome::Busy) {
        return {};
    }
    std::string reason;
    if (!std::filesystem::exists(dailyBackupFile(folder, date), error)) {
        Database source;
        reason = openRecords(source, database);
        if (reason.empty()) {
            reason = copyRecords(source, dailyBackupFile(folder, date));
        }
        source.close();
    }
    if (reason.empty()) {
        pruneDailyBackups(folder, keep);
    }
    return reason;
}

DailyBackup::~DailyBackup() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void DailyBackup::start(const std::filesystem::path& database) {
    if (!thread_.joinable()) {
        thread_ = std::thread([this, database] { run(database); });
    }
}

void DailyBackup::run(const std::filesystem::path& database) {
    if (!sleep(firstDelay_)) {
        return;
    }
    do {
        const std::string reason = makeDailyBackup(database, today());
        if (!reason.empty()) {
            std::fprintf(stderr, "tamrivo: daily backup: %s\n", reason.c_str());
        }
    } while (sleep(kCheckInterval));
}

bool DailyBackup::sleep(std::chrono::milliseconds duration) {
    std::unique_lock lock(mutex_);
    return !wake_.wait_for(lock, duration, [this] { return stopping_; });
}

}  // namespace tamrivo
