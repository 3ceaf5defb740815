#include "records/daily_backup.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <system_error>
#include <vector>

#include "base/date_format.h"
#include "base/date_time.h"
#include "data/database.h"
#include "records/protected_records.h"
#include "records/records_copy.h"
#include "records/records_file.h"
#include "records/records_lock.h"

namespace tamrivo {
namespace {

constexpr char kNamePrefix[] = "Data-";
constexpr char kNameSuffix[] = ".db";
constexpr char kDatePicture[] = "yyyy-MM-dd";
// A program left running past midnight makes the new day's backup within this time.
constexpr std::chrono::hours kCheckInterval{1};
// Closing the program waits no longer than this for a backup under way.
constexpr std::chrono::seconds kLongestWaitAtClose{1};

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

struct KeptBackup {
    std::filesystem::file_time_type made;
    std::filesystem::path file;
};

// The daily backups in the folder, removing what killed copies left.
std::vector<KeptBackup> listDailyBackups(const std::filesystem::path& folder) {
    std::vector<KeptBackup> backups;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (isStaleCopy(name)) {
            std::filesystem::remove(entry.path(), error);
        } else if (entry.is_regular_file(error) && isDailyBackupName(name)) {
            const auto made = entry.last_write_time(error);
            backups.push_back(
                {error ? std::filesystem::file_time_type::min() : made, entry.path()});
        }
    }
    return backups;
}

// Keeps the day's backup and the newest others by when each was written, not by the date in
// its name: a clock once ahead names backups after days still to come, and they must not
// push out the one just made.
void pruneDailyBackups(const std::filesystem::path& folder, const std::filesystem::path& latest,
                       int keep) {
    std::vector<KeptBackup> others;
    for (KeptBackup& backup : listDailyBackups(folder)) {
        if (backup.file != latest) {
            others.push_back(std::move(backup));
        }
    }
    std::sort(others.begin(), others.end(), [](const KeptBackup& a, const KeptBackup& b) {
        return a.made != b.made ? a.made > b.made : a.file > b.file;
    });
    const std::size_t kept = static_cast<std::size_t>(std::max(keep - 1, 0));
    std::error_code error;
    for (std::size_t i = kept; i < others.size(); ++i) {
        std::filesystem::remove(others[i].file, error);
        std::filesystem::remove(keySlotsFile(others[i].file), error);
    }
}

// The day's copy, keyed as the records are.
std::string copyForTheDay(const std::filesystem::path& database,
                          const std::filesystem::path& backup, const BackupLimits& limits,
                          const SecretBytes* dataKey) {
    const bool isProtected = nameTaken(keySlotsFile(database));
    if (isProtected && dataKey == nullptr) {
        return "the records are protected and nobody has unlocked them yet";
    }
    Database source;
    std::string reason = isProtected ? openRecordsWithKey(source, database, *dataKey)
                                     : openRecords(source, database);
    if (reason.empty()) {
        reason = isProtected
                     ? copyProtectedRecords(source, {*dataKey, database}, backup, {},
                                            ReplacementFile::Target::Replace, limits)
                     : copyRecords(source, backup, {}, ReplacementFile::Target::Replace, limits);
    }
    source.close();
    return reason;
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
                            int keep, const BackupLimits& limits, const SecretBytes* dataKey) {
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
        reason = copyForTheDay(database, dailyBackupFile(folder, date), limits, dataKey);
    }
    if (reason.empty()) {
        pruneDailyBackups(folder, dailyBackupFile(folder, date), keep);
    }
    return reason;
}

namespace {

// The names of the daily backups dated after the day, in date order.
std::vector<std::string> backupsAfter(const std::filesystem::path& database,
                                      const std::string& date) {
    const std::filesystem::path folder = dailyBackupFolder(database);
    const std::string after = dailyBackupFile(folder, date).filename().string();
    std::vector<std::string> later;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (isDailyBackupName(name) && name > after) {
            later.push_back(name);
        }
    }
    std::sort(later.begin(), later.end());
    return later;
}

}  // namespace

std::string laterBackupsWarning(const std::filesystem::path& database, const std::string& date) {
    const std::vector<std::string> later = backupsAfter(database, date);
    if (later.empty()) {
        return {};
    }
    std::string names;
    for (const std::string& name : later) {
        names += " " + name;
    }
    return std::to_string(later.size()) + " daily backup" + (later.size() == 1 ? "" : "s") +
           " in " + dailyBackupFolder(database).string() + " carry dates after today (" + date +
           "), so the clock was wrong when they were made or is wrong now:" + names;
}

std::vector<std::filesystem::path> unprotectedDailyBackups(const std::filesystem::path& database) {
    std::vector<std::filesystem::path> found;
    for (const KeptBackup& backup : listDailyBackups(dailyBackupFolder(database))) {
        if (!nameTaken(keySlotsFile(backup.file))) {
            found.push_back(backup.file);
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::string protectBackup(const std::filesystem::path& backup, const ProtectedSource& records) {
    Database source;
    std::string reason = openRecords(source, backup);
    if (reason.empty()) {
        reason = copyProtectedRecords(source, records, backup);
    }
    source.close();
    return reason;
}

DailyBackup::~DailyBackup() {
    bool ended = false;
    {
        std::unique_lock lock(shared_->mutex);
        shared_->stopping = true;
        shared_->stop = true;
        shared_->wake.notify_all();
        ended = !thread_.joinable() || shared_->wake.wait_for(lock, kLongestWaitAtClose,
                                                              [this] { return shared_->ended; });
    }
    if (!thread_.joinable()) {
        return;
    }
    if (ended) {
        thread_.join();
    } else {
        thread_.detach();  // it holds what it uses, and ends with the program
    }
}

void DailyBackup::start(const std::filesystem::path& database) {
    if (!thread_.joinable()) {
        thread_ = std::thread(&DailyBackup::run, shared_, database, firstDelay_);
    }
}

void DailyBackup::setDataKey(std::shared_ptr<const SecretBytes> dataKey) {
    const std::lock_guard lock(shared_->mutex);
    shared_->dataKey = std::move(dataKey);
}

void DailyBackup::run(const std::shared_ptr<Shared>& shared, const std::filesystem::path& database,
                      std::chrono::milliseconds firstDelay) {
    if (shared->sleep(firstDelay)) {
        do {
            const std::string date = today();
            const BackupLimits limits{.stop = &shared->stop};
            const std::shared_ptr<const SecretBytes> dataKey = shared->currentDataKey();
            for (const std::string& said :
                 {makeDailyBackup(database, date, kKeptDailyBackups, limits, dataKey.get()),
                  laterBackupsWarning(database, date)}) {
                if (!said.empty() && !shared->stop) {  // a copy stopped at close is no failure
                    std::fprintf(stderr, "tamrivo: daily backup: %s\n", said.c_str());
                }
            }
        } while (shared->sleep(kCheckInterval));
    }
    const std::lock_guard lock(shared->mutex);
    shared->ended = true;
    shared->wake.notify_all();
}

std::shared_ptr<const SecretBytes> DailyBackup::Shared::currentDataKey() {
    const std::lock_guard lock(mutex);
    return dataKey;
}

bool DailyBackup::Shared::sleep(std::chrono::milliseconds duration) {
    std::unique_lock lock(mutex);
    return !wake.wait_for(lock, duration, [this] { return stopping; });
}

}  // namespace tamrivo
