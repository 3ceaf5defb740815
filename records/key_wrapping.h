#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "data/database.h"
#include "records/key_slots.h"
#include "records/secret_bytes.h"

namespace tamrivo {

// What Argon2id costs for a new slot: 192 MiB and about half a second (0.43 s on an idle
// two-core machine, 0.71 s on a busy one); bench/records measures unlocking with them. Each slot
// keeps its own limits, so raising these later leaves older slots opening as before.
inline constexpr std::uint64_t kDefaultOpslimit = 3;
inline constexpr std::uint64_t kDefaultMemlimit = std::uint64_t{192} << 20;

struct KdfCost {
    std::uint64_t opslimit = kDefaultOpslimit;
    std::uint64_t memlimit = kDefaultMemlimit;
};

// A fresh random 32-byte data key; empty when secure memory could not be had.
SecretBytes newDataKey();

// The data key sealed for a user's password or the recovery code (whose user is empty), under
// a fresh salt and nonce, bound to the records' file id. Nothing when the name is too long
// for the key file, the cost is outside its limits, or memory ran short.
std::optional<KeySlot> wrapDataKey(const SecretBytes& dataKey, const FileId& fileId, SlotKind kind,
                                   const std::string& user, std::string_view secret,
                                   const KdfCost& cost = {});

// The data key from the slot of that kind and user; empty for a wrong secret and for a
// missing slot alike, which also costs the same derivation, so neither the result nor the
// time tells them apart.
SecretBytes unwrapDataKey(const KeySlots& slots, SlotKind kind, const std::string& user,
                          std::string_view secret);

// The key file at the path, or why not; a file too long to be one is not read.
ParsedKeySlots readKeySlots(const std::filesystem::path& file);

// Writes the key file whole beside the path and renames it in. Empty on success, otherwise
// why not.
std::string writeKeySlots(const std::filesystem::path& file, const KeySlots& slots);

}  // namespace tamrivo
