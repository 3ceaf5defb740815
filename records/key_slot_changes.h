#pragma once

#include <filesystem>
#include <string>

#include "records/key_slots.h"
#include "records/key_wrapping.h"
#include "records/protected_records.h"
#include "records/secret_bytes.h"

namespace tamrivo {

// Seals the data key of open protected records for the secret, in place of that user's (or
// the recovery code's) slot or as a new one; the other slots are kept byte for byte. The key
// file is written whole beside and renamed in. Empty on success, otherwise why not.
std::string setKeySlot(const std::filesystem::path& records, const SecretBytes& dataKey,
                       const SlotSecret& secret, const KdfCost& cost = {});

// Removes that slot; the last one never goes, since the records would then open for nobody.
std::string removeKeySlot(const std::filesystem::path& records, SlotKind kind,
                          const std::string& user);

}  // namespace tamrivo
