#pragma once
// The key file beside protected records (Data.db.keys): the records' data key, wrapped once per
// user by a key derived from that user's password, and once by the recovery code.
//
// Format, version 1, all numbers little-endian:
//   8 bytes   "TAMRIVOK"
//   1 byte    version (1)
//   16 bytes  file id: the first 16 bytes of the records file it belongs to (SQLCipher's
//             random salt, written in the clear), so a key file never fits other records
//   1 byte    slot count (1 to 64)
//   per slot:
//     1 byte    kind: 1 a user's password, 2 the recovery code (at most one)
//     1 byte    user name length (1 to 255 for a user, 0 for the recovery code), then the name
//               as the records store it; no two slots for one user
//     8 bytes   Argon2id opslimit (1 to 16)
//     8 bytes   Argon2id memlimit in bytes (8 MiB to 1 GiB, whole KiB)
//     16 bytes  Argon2id salt
//     24 bytes  XChaCha20-Poly1305 nonce
//     48 bytes  the 32-byte data key sealed with its 16-byte tag; the associated data is
//               "tamrivo key slot 1", the file id, the kind, the name length and name, and
//               both Argon2id limits, so a slot moved to another user or other records, or
//               given other limits, does not open
//   nothing after the last slot.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tamrivo {

inline constexpr std::uint8_t kKeySlotsVersion = 1;
inline constexpr std::size_t kFileIdBytes = 16;
inline constexpr std::size_t kMaxKeySlots = 64;
inline constexpr std::uint64_t kMinOpslimit = 1;
inline constexpr std::uint64_t kMaxOpslimit = 16;
inline constexpr std::uint64_t kMinMemlimit = std::uint64_t{8} << 20;
inline constexpr std::uint64_t kMaxMemlimit = std::uint64_t{1} << 30;
// A file longer than any valid one is refused before it is read.
inline constexpr std::size_t kMaxKeySlotsFileBytes = 64 * 1024;

using FileId = std::array<std::uint8_t, kFileIdBytes>;

enum class SlotKind : std::uint8_t { User = 1, RecoveryCode = 2 };

struct KdfParameters {
    std::uint64_t opslimit = 0;
    std::uint64_t memlimit = 0;
    std::array<std::uint8_t, 16> salt{};
};

struct KeySlot {
    SlotKind kind = SlotKind::User;
    std::string user;  // empty for the recovery code
    KdfParameters kdf;
    std::array<std::uint8_t, 24> nonce{};
    std::array<std::uint8_t, 48> wrapped{};
};

struct KeySlots {
    FileId fileId{};
    std::vector<KeySlot> slots;
};

// A key file read, or why not (one line, native text).
struct ParsedKeySlots {
    std::optional<KeySlots> slots;
    std::string problem;
};

// Reads the format above, trusting nothing: every length and limit is checked before use.
ParsedKeySlots parseKeySlots(std::span<const std::uint8_t> bytes);

std::vector<std::uint8_t> serializeKeySlots(const KeySlots& slots);

// The slot for a user (or the recovery code, whose user is empty); null when there is none.
const KeySlot* findSlot(const KeySlots& slots, SlotKind kind, const std::string& user);

// Puts the slot in place of the one of its kind and user, or adds it; the others stay as
// they are. False when the file would hold more slots than it may.
bool setSlot(KeySlots& slots, KeySlot slot);

// False when there was no such slot.
bool removeSlot(KeySlots& slots, SlotKind kind, const std::string& user);

// The associated data a slot is sealed with (see above).
std::vector<std::uint8_t> slotAssociatedData(const FileId& fileId, const KeySlot& slot);

}  // namespace tamrivo
