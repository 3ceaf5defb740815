#include "records/key_slot_changes.h"

#include "records/records_lock.h"

namespace tamrivo {
namespace {

// A slot change waits this long for a re-key that is running.
constexpr std::chrono::seconds kLockWait{30};

// The key file of the records, once it is known to belong to them.
ParsedKeySlots slotsOf(const std::filesystem::path& records) {
    ParsedKeySlots parsed = readKeySlots(keySlotsFile(records));
    if (parsed.slots && recordsFileId(records) != parsed.slots->fileId) {
        return {std::nullopt,
                "the key file " + keySlotsFile(records).string() + " belongs to other records"};
    }
    return parsed;
}

}  // namespace

std::string setKeySlot(const std::filesystem::path& records, const SecretBytes& dataKey,
                       const SlotSecret& secret, const KdfCost& cost) {
    FileLock lock;
    if (std::string why = takeRekeyLock(records, kLockWait, lock); !why.empty()) {
        return why;
    }
    ParsedKeySlots parsed = slotsOf(records);
    if (!parsed.slots) {
        return parsed.problem;
    }
    // A key that is not the records' would lock the user out of them.
    Database check;
    const bool fits = openRecordsWithKey(check, records, dataKey).empty();
    check.close();
    if (!fits) {
        return "the data key does not open these records";
    }
    std::optional<KeySlot> slot =
        wrapDataKey(dataKey, parsed.slots->fileId, secret.kind, secret.user, secret.secret, cost);
    if (!slot || !setSlot(*parsed.slots, std::move(*slot))) {
        return "cannot make the key slot";
    }
    return writeKeySlots(keySlotsFile(records), *parsed.slots);
}

std::string removeKeySlot(const std::filesystem::path& records, SlotKind kind,
                          const std::string& user) {
    FileLock lock;
    if (std::string why = takeRekeyLock(records, kLockWait, lock); !why.empty()) {
        return why;
    }
    ParsedKeySlots parsed = slotsOf(records);
    if (!parsed.slots) {
        return parsed.problem;
    }
    if (findSlot(*parsed.slots, kind, user) == nullptr) {
        return "there is no such key slot";
    }
    if (parsed.slots->slots.size() == 1) {
        return "the last key slot is kept: without it the records open for nobody";
    }
    removeSlot(*parsed.slots, kind, user);
    return writeKeySlots(keySlotsFile(records), *parsed.slots);
}

}  // namespace tamrivo
