#include "records/protected_records.h"

#include <fstream>
#include <map>
#include <system_error>
#include <utility>
#include <vector>

#include "base/replacement_file.h"
#include "base/text_encoding.h"
#include "base/text_search.h"
#include "records/record_problems.h"
#include "records/records_file.h"
#include "records/records_lock.h"
#include "records/schema.h"
#include "records/statement_scope.h"

namespace tamrivo {

const char kWrongSecret[] = "the password or recovery code does not open these records";

namespace {

constexpr int kBusyTimeoutMilliseconds = 5000;

using RowCounts = std::map<Text, std::int64_t>;

RawKey rawKeyOf(const SecretBytes& key) {
    return RawKey(key.data(), kRawKeyBytes);
}

// Every table's row count; nothing when one cannot be counted.
std::optional<RowCounts> rowCounts(Database& database) {
    std::vector<Text> tables;
    {
        StatementScope list(database, "select name from sqlite_master where type = 'table'");
        if (!list.prepared()) {
            return std::nullopt;
        }
        while (list.step()) {
            tables.push_back(list.columnText(0));
        }
    }
    RowCounts counts;
    for (const Text& table : tables) {
        StatementScope count(database,
                             "select count(*) from \"" + substitute(table, "\"", "\"\"") + "\"");
        if (!count.step()) {
            return std::nullopt;
        }
        counts[table] = count.columnInt64(0);
    }
    return counts;
}

// How a re-key writes the copy from the source, and opens it to check it.
struct RekeyTarget {
    std::function<bool(Database& source, const Text& copy, Text* why)> write;
    std::function<std::string(Database& copy, const std::filesystem::path& file)> open;
};

// The source, held in a transaction for as long as the re-key runs, so no write of another
// connection lands in the old file after it was copied.
struct HeldSource {
    Database database;
    ~HeldSource() {
        database.execute("ROLLBACK");
        database.close();
    }
};

// Empty when the copy opens with its key, passes the integrity check and holds as many rows
// in every table as the source.
std::string copyProblem(const RekeyTarget& target, const std::filesystem::path& file,
                        const RowCounts& expected) {
    Database check;
    std::string problem = target.open(check, file);
    if (problem.empty()) {
        if (const std::vector<std::string> found = integrityProblems(check); !found.empty()) {
            problem = found.front();
        } else if (rowCounts(check) != expected) {
            problem = "its tables do not hold the rows of the records";
        }
    }
    check.close();
    return problem;
}

std::string writeCheckedCopy(Database& source, const RekeyTarget& target, ReplacementFile& copy,
                             const std::filesystem::path& records) {
    if (const std::error_code error = copy.create(records)) {
        return "cannot write beside " + records.string() + ": " + error.message();
    }
    const Text copyPath = databasePathText(copy.path());
    const std::optional<RowCounts> expected = rowCounts(source);
    if (copyPath.empty() || !expected) {
        return "cannot read the records to copy them";
    }
    Text why;
    if (!target.write(source, copyPath, &why)) {
        return "cannot copy the records into " + copy.path().string() + ": " + gbkToUtf8(why);
    }
    if (const std::string problem = copyProblem(target, copy.path(), *expected); !problem.empty()) {
        return "the re-keyed copy is not sound, so it was not kept: " + problem;
    }
    return {};
}

// A read transaction's shared lock: other connections cannot commit until it ends, and the
// backup may still read through the connection (a write transaction of its own would stop it).
std::string holdSource(HeldSource& source) {
    if (source.database.execute("BEGIN")) {
        StatementScope read(source.database, "select count(*) from sqlite_master");
        if (read.step()) {
            return {};
        }
    }
    return "the records are busy: " + gbkToUtf8(source.database.errorMessage());
}

}  // namespace

std::string takeRekeyLock(const std::filesystem::path& records, std::chrono::milliseconds wait,
                          FileLock& lock) {
    LockAttempt attempt = lockFile(rekeyLockFile(records), LockAccess::Exclusive, wait);
    if (attempt.outcome == LockOutcome::Busy) {
        return "another copy of the program is re-keying these records";
    }
    if (attempt.outcome != LockOutcome::Taken) {
        return "cannot lock " + rekeyLockFile(records).string() + ": " + attempt.error.message();
    }
    lock = std::move(attempt.lock);
    return {};
}

namespace {

void pass(const RekeyHook& hook, RekeyStep step) {
    if (hook) {
        hook(step);
    }
}

std::optional<KeySlots> slotsFor(const SecretBytes& dataKey, const FileId& fileId,
                                 std::span<const SlotSecret> secrets, const KdfCost& cost) {
    KeySlots slots{fileId, {}};
    for (const SlotSecret& secret : secrets) {
        std::optional<KeySlot> slot =
            wrapDataKey(dataKey, fileId, secret.kind, secret.user, secret.secret, cost);
        if (!slot || !setSlot(slots, std::move(*slot))) {
            return std::nullopt;
        }
    }
    return slots;
}

std::string renameIn(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code error;
    std::filesystem::rename(from, to, error);
    if (!error) {
        error = syncFolder(to.parent_path());
    }
    return error ? "cannot put " + to.string() + " in place: " + error.message() : std::string();
}

void removeAndSync(const std::filesystem::path& file) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    syncFolder(file.parent_path());
}

}  // namespace

std::filesystem::path keySlotsFile(const std::filesystem::path& records) {
    return std::filesystem::path(records) += ".keys";
}

std::filesystem::path pendingKeySlotsFile(const std::filesystem::path& records) {
    return std::filesystem::path(records) += ".keys.new";
}

std::filesystem::path rekeyLockFile(const std::filesystem::path& records) {
    return std::filesystem::path(records) += ".rekey.lock";
}

std::optional<FileId> recordsFileId(const std::filesystem::path& records) {
    FileId id{};
    std::ifstream in(records, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(id.data()), static_cast<std::streamsize>(id.size()))) {
        return std::nullopt;
    }
    return id;
}

std::string protectRecords(const std::filesystem::path& records, const SecretBytes& dataKey,
                           std::span<const SlotSecret> secrets, const KdfCost& cost,
                           const RekeyHook& hook) {
    if (dataKey.size() != kRawKeyBytes || secrets.empty()) {
        return "no data key or no password to protect the records with";
    }
    FileLock lock;
    if (std::string why = takeRekeyLock(records, {}, lock); !why.empty()) {
        return why;
    }
    if (nameTaken(keySlotsFile(records))) {
        return "the records are protected already";
    }
    HeldSource source;
    if (std::string why = openRecords(source.database, records); !why.empty()) {
        return why;
    }
    if (std::string why = holdSource(source); !why.empty()) {
        return why;
    }
    const RekeyTarget target{[&dataKey](Database& from, const Text& copy, Text* why) {
                                 return from.backup(copy, rawKeyOf(dataKey), {}, why);
                             },
                             [&dataKey](Database& copy, const std::filesystem::path& file) {
                                 return openRecordsWithKey(copy, file, dataKey);
                             }};
    ReplacementFile copy;
    if (std::string why = writeCheckedCopy(source.database, target, copy, records); !why.empty()) {
        return why;
    }
    pass(hook, RekeyStep::CopyChecked);
    const std::optional<FileId> fileId = recordsFileId(copy.path());
    const std::optional<KeySlots> slots =
        fileId ? slotsFor(dataKey, *fileId, secrets, cost) : std::nullopt;
    if (!slots) {
        return "cannot make the key slots";
    }
    if (std::string why = writeKeySlots(pendingKeySlotsFile(records), *slots); !why.empty()) {
        return why;
    }
    pass(hook, RekeyStep::KeySlotsWritten);
    if (const std::error_code error = copy.commit()) {
        removeAndSync(pendingKeySlotsFile(records));
        return "cannot put the protected records in place: " + error.message();
    }
    pass(hook, RekeyStep::RecordsRenamed);
    return renameIn(pendingKeySlotsFile(records), keySlotsFile(records));
}

std::string unprotectRecords(const std::filesystem::path& records, const SecretBytes& dataKey,
                             const RekeyHook& hook) {
    FileLock lock;
    if (std::string why = takeRekeyLock(records, {}, lock); !why.empty()) {
        return why;
    }
    if (!nameTaken(keySlotsFile(records))) {
        return "the records are not protected";
    }
    HeldSource source;
    if (std::string why = openRecordsWithKey(source.database, records, dataKey); !why.empty()) {
        return why;
    }
    if (std::string why = holdSource(source); !why.empty()) {
        return why;
    }
    const RekeyTarget target{
        [](Database& from, const Text& copy, Text* why) {
            return from.backup(copy, {}, {}, schema::kDatabaseKey, {}, why);
        },
        [](Database& copy, const std::filesystem::path& file) { return openRecords(copy, file); }};
    ReplacementFile copy;
    if (std::string why = writeCheckedCopy(source.database, target, copy, records); !why.empty()) {
        return why;
    }
    pass(hook, RekeyStep::CopyChecked);
    if (const std::error_code error = copy.commit()) {
        return "cannot put the unprotected records in place: " + error.message();
    }
    pass(hook, RekeyStep::RecordsRenamed);
    removeAndSync(keySlotsFile(records));
    return {};
}

RecordsProtection settleProtection(const std::filesystem::path& records,
                                   std::chrono::milliseconds wait) {
    FileLock lock;
    if (std::string why = takeRekeyLock(records, wait, lock); !why.empty()) {
        return {nameTaken(keySlotsFile(records)), why};
    }
    const std::optional<FileId> fileId = recordsFileId(records);
    if (!fileId) {
        return {false, "cannot read the records file " + records.string()};
    }
    const std::filesystem::path pending = pendingKeySlotsFile(records);
    const std::filesystem::path keys = keySlotsFile(records);
    if (nameTaken(pending)) {
        const ParsedKeySlots parsed = readKeySlots(pending);
        if (parsed.slots && parsed.slots->fileId == *fileId) {
            if (std::string why = renameIn(pending, keys); !why.empty()) {
                return {true, why};
            }
        } else {
            removeAndSync(pending);
        }
    }
    if (!nameTaken(keys)) {
        return {false, {}};
    }
    const ParsedKeySlots parsed = readKeySlots(keys);
    if (!parsed.slots) {
        return {true, parsed.problem};
    }
    if (parsed.slots->fileId == *fileId) {
        return {true, {}};
    }
    // Left over from turning protection off, if the records open with the program's key.
    Database check;
    const bool unprotected = openRecords(check, records).empty();
    check.close();
    if (!unprotected) {
        return {true, "the key file " + keys.string() + " belongs to other records"};
    }
    removeAndSync(keys);
    return {false, {}};
}

UnlockedKey unlockDataKey(const std::filesystem::path& records, SlotKind kind,
                          const std::string& user, std::string_view secret) {
    const ParsedKeySlots parsed = readKeySlots(keySlotsFile(records));
    std::string problem = parsed.problem;
    if (parsed.slots && recordsFileId(records) != parsed.slots->fileId) {
        problem = "the key file " + keySlotsFile(records).string() + " belongs to other records";
    }
    if (!problem.empty()) {
        // The derivation a missing slot costs, so that no failure answers sooner than another.
        unwrapDataKey(KeySlots{}, kind, user, secret);
        return {{}, problem};
    }
    SecretBytes dataKey = unwrapDataKey(*parsed.slots, kind, user, secret);
    if (dataKey.empty()) {
        return {{}, kWrongSecret};
    }
    return {std::move(dataKey), {}};
}

std::string openProtectedRecords(Database& database, const std::filesystem::path& records,
                                 SlotKind kind, const std::string& user, std::string_view secret) {
    const UnlockedKey unlocked = unlockDataKey(records, kind, user, secret);
    if (!unlocked.problem.empty()) {
        return unlocked.problem;
    }
    return openRecordsWithKey(database, records, unlocked.dataKey);
}

std::string openRecordsWithKey(Database& database, const std::filesystem::path& records,
                               const SecretBytes& dataKey) {
    const Text path = databasePathText(records);
    if (path.empty()) {
        return "cannot use " + records.string() + ": the path has characters outside GBK";
    }
    if (dataKey.size() != kRawKeyBytes || !database.openWithRawKey(path, rawKeyOf(dataKey)) ||
        !database.setBusyTimeout(kBusyTimeoutMilliseconds)) {
        return "cannot open " + records.string() + ": " + gbkToUtf8(database.errorMessage());
    }
    return {};
}

}  // namespace tamrivo
