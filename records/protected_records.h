#pragma once
// Records protected by a data key of their own, held in the key file beside them, and the
// re-keying that turns protection on and off.
//
// Turning protection on writes, in this order: the records keyed by the data key beside
// Data.db (checked whole), the key file as Data.db.keys.new, the records renamed onto
// Data.db, the key file renamed onto Data.db.keys. The key file is bound to the records it
// belongs to by their file id, so settleProtection can tell, after a kill at any moment,
// which half was done: a pending key file that fits Data.db is finished (renamed in), one
// that does not is left over from a copy that never took its place and goes. Turning it
// off writes the records with the program's key beside Data.db, renames them in, and only
// then removes the key file, which then fits no records any more.

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "data/database.h"
#include "records/key_slots.h"
#include "records/key_wrapping.h"
#include "records/records_lock.h"
#include "records/secret_bytes.h"

namespace tamrivo {

std::filesystem::path keySlotsFile(const std::filesystem::path& records);
std::filesystem::path pendingKeySlotsFile(const std::filesystem::path& records);
// Held alone by a re-key and by settleProtection, so two copies of the program never re-key
// the same records at once, and neither settles what the other is halfway through.
std::filesystem::path rekeyLockFile(const std::filesystem::path& records);
// Takes that lock, waiting as long as given; empty when it is held, otherwise why not.
std::string takeRekeyLock(const std::filesystem::path& records, std::chrono::milliseconds wait,
                          FileLock& lock);

// The records file's id: its first 16 bytes, SQLCipher's salt, random for every file and
// readable without the key. Nothing when the file cannot be read or is shorter.
std::optional<FileId> recordsFileId(const std::filesystem::path& records);

// The points a re-key passes, each once what it names is on disk.
enum class RekeyStep { CopyChecked, KeySlotsWritten, RecordsRenamed };

// Told each step as it is passed; the tests kill the process there, to see what a kill
// leaves behind.
using RekeyHook = std::function<void(RekeyStep)>;

// A secret a slot is made for: a user's password, or the recovery code (user empty).
struct SlotSecret {
    SlotKind kind = SlotKind::User;
    std::string user;
    std::string_view secret;
};

// Rewrites unprotected records keyed by the data key, with a slot for each secret. Other
// programs' writes wait until it is done. Empty on success, otherwise why not; on failure
// the records stay as they were.
std::string protectRecords(const std::filesystem::path& records, const SecretBytes& dataKey,
                           std::span<const SlotSecret> secrets, const KdfCost& cost = {},
                           const RekeyHook& hook = {});

// Rewrites protected records with the program's key and removes their key file.
std::string unprotectRecords(const std::filesystem::path& records, const SecretBytes& dataKey,
                             const RekeyHook& hook = {});

struct RecordsProtection {
    bool isProtected = false;
    std::string problem;  // empty when the state is known
};

// Finishes or undoes what a killed re-key left (see above) and says whether the records are
// protected; waits as long as given for a re-key that is running to end.
RecordsProtection settleProtection(const std::filesystem::path& records,
                                   std::chrono::milliseconds wait = std::chrono::seconds(30));

// The data key of protected records, from the slot of that kind and user, or why not. A
// wrong secret and a missing slot give the same reason; every failure, an unusable key file's
// too, comes after the same derivation.
struct UnlockedKey {
    SecretBytes dataKey;
    std::string problem;
};
UnlockedKey unlockDataKey(const std::filesystem::path& records, SlotKind kind,
                          const std::string& user, std::string_view secret);

// The reason unlockDataKey gives for a wrong secret or a missing slot.
extern const char kWrongSecret[];

// Opens protected records with the data key from the slot of that kind and user. A wrong
// secret and a missing slot give the same reason. Empty on success.
std::string openProtectedRecords(Database& database, const std::filesystem::path& records,
                                 SlotKind kind, const std::string& user, std::string_view secret);

// Opens protected records with the data key itself. Empty on success.
std::string openRecordsWithKey(Database& database, const std::filesystem::path& records,
                               const SecretBytes& dataKey);

}  // namespace tamrivo
