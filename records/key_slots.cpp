#include "records/key_slots.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace tamrivo {
namespace {

constexpr std::string_view kMagic = "TAMRIVOK";
constexpr std::string_view kAssociatedLabel = "tamrivo key slot 1";

// Reads forward through the bytes; every read fails once one has run past the end.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool take(std::span<std::uint8_t> out) {
        if (bytes_.size() - position_ < out.size()) {
            return false;
        }
        std::memcpy(out.data(), bytes_.data() + position_, out.size());
        position_ += out.size();
        return true;
    }
    bool byte(std::uint8_t& out) { return take({&out, 1}); }
    bool number(std::uint64_t& out) {
        std::array<std::uint8_t, 8> raw{};
        if (!take(raw)) {
            return false;
        }
        out = 0;
        for (std::size_t i = raw.size(); i-- > 0;) {
            out = (out << 8) | raw[i];
        }
        return true;
    }
    bool text(std::size_t length, std::string& out) {
        if (bytes_.size() - position_ < length) {
            return false;
        }
        out.assign(reinterpret_cast<const char*>(bytes_.data() + position_), length);
        position_ += length;
        return true;
    }
    bool atEnd() const { return position_ == bytes_.size(); }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

void putNumber(std::vector<std::uint8_t>& out, std::uint64_t value) {
    for (int i = 0; i < 8; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void putBytes(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// Empty when the limits are within what this program ever asks for or allows.
std::string limitsProblem(const KdfParameters& kdf) {
    if (kdf.opslimit < kMinOpslimit || kdf.opslimit > kMaxOpslimit) {
        return "its opslimit " + std::to_string(kdf.opslimit) + " is outside 1 to " +
               std::to_string(kMaxOpslimit);
    }
    if (kdf.memlimit < kMinMemlimit || kdf.memlimit > kMaxMemlimit || kdf.memlimit % 1024 != 0) {
        return "its memlimit " + std::to_string(kdf.memlimit) +
               " bytes is not whole KiB from 8 MiB to 1 GiB";
    }
    return {};
}

// One slot, or why not; `number` names it in the reason.
std::string readSlot(Reader& reader, std::size_t number, KeySlot& slot) {
    const std::string which = "slot " + std::to_string(number + 1);
    std::uint8_t kind = 0;
    std::uint8_t nameLength = 0;
    if (!reader.byte(kind) || !reader.byte(nameLength)) {
        return which + " is cut short";
    }
    if (kind != static_cast<std::uint8_t>(SlotKind::User) &&
        kind != static_cast<std::uint8_t>(SlotKind::RecoveryCode)) {
        return which + " is of unknown kind " + std::to_string(kind);
    }
    slot.kind = static_cast<SlotKind>(kind);
    if ((slot.kind == SlotKind::User) != (nameLength > 0)) {
        return which + (slot.kind == SlotKind::User ? " names no user"
                                                    : " is the recovery code's but names a user");
    }
    if (!reader.text(nameLength, slot.user) || !reader.number(slot.kdf.opslimit) ||
        !reader.number(slot.kdf.memlimit) || !reader.take(slot.kdf.salt) ||
        !reader.take(slot.nonce) || !reader.take(slot.wrapped)) {
        return which + " is cut short";
    }
    if (std::string problem = limitsProblem(slot.kdf); !problem.empty()) {
        return which + ": " + problem;
    }
    return {};
}

ParsedKeySlots refused(const std::string& why) {
    return {std::nullopt, "the key file is not usable: " + why};
}

}  // namespace

ParsedKeySlots parseKeySlots(std::span<const std::uint8_t> bytes) {
    if (bytes.size() > kMaxKeySlotsFileBytes) {
        return refused("it is longer than any key file");
    }
    Reader reader(bytes);
    std::string magic;
    std::uint8_t version = 0;
    if (!reader.text(kMagic.size(), magic) || magic != kMagic) {
        return refused("it is not a key file");
    }
    if (!reader.byte(version)) {
        return refused("it is cut short");
    }
    if (version != kKeySlotsVersion) {
        return refused("it is of version " + std::to_string(version) +
                       ", which this program does not read");
    }
    KeySlots slots;
    std::uint8_t count = 0;
    if (!reader.take(slots.fileId) || !reader.byte(count)) {
        return refused("it is cut short");
    }
    if (count == 0 || count > kMaxKeySlots) {
        return refused("it says it holds " + std::to_string(count) + " slots");
    }
    for (std::size_t i = 0; i < count; ++i) {
        KeySlot slot;
        if (std::string problem = readSlot(reader, i, slot); !problem.empty()) {
            return refused(problem);
        }
        if (findSlot(slots, slot.kind, slot.user) != nullptr) {
            return refused("slot " + std::to_string(i + 1) + " repeats " +
                           (slot.kind == SlotKind::User ? "the user " + slot.user
                                                        : std::string("the recovery code")));
        }
        slots.slots.push_back(std::move(slot));
    }
    if (!reader.atEnd()) {
        return refused("bytes follow its last slot");
    }
    return {std::move(slots), {}};
}

std::vector<std::uint8_t> serializeKeySlots(const KeySlots& slots) {
    std::vector<std::uint8_t> out(kMagic.begin(), kMagic.end());
    out.push_back(kKeySlotsVersion);
    putBytes(out, slots.fileId);
    out.push_back(static_cast<std::uint8_t>(slots.slots.size()));
    for (const KeySlot& slot : slots.slots) {
        out.push_back(static_cast<std::uint8_t>(slot.kind));
        out.push_back(static_cast<std::uint8_t>(slot.user.size()));
        putBytes(out, {reinterpret_cast<const std::uint8_t*>(slot.user.data()), slot.user.size()});
        putNumber(out, slot.kdf.opslimit);
        putNumber(out, slot.kdf.memlimit);
        putBytes(out, slot.kdf.salt);
        putBytes(out, slot.nonce);
        putBytes(out, slot.wrapped);
    }
    return out;
}

const KeySlot* findSlot(const KeySlots& slots, SlotKind kind, const std::string& user) {
    const auto found = std::find_if(slots.slots.begin(), slots.slots.end(), [&](const KeySlot& s) {
        return s.kind == kind && s.user == user;
    });
    return found != slots.slots.end() ? &*found : nullptr;
}

bool setSlot(KeySlots& slots, KeySlot slot) {
    for (KeySlot& existing : slots.slots) {
        if (existing.kind == slot.kind && existing.user == slot.user) {
            existing = std::move(slot);
            return true;
        }
    }
    if (slots.slots.size() >= kMaxKeySlots) {
        return false;
    }
    slots.slots.push_back(std::move(slot));
    return true;
}

bool removeSlot(KeySlots& slots, SlotKind kind, const std::string& user) {
    const auto before = slots.slots.size();
    std::erase_if(slots.slots, [&](const KeySlot& s) { return s.kind == kind && s.user == user; });
    return slots.slots.size() != before;
}

std::vector<std::uint8_t> slotAssociatedData(const FileId& fileId, const KeySlot& slot) {
    std::vector<std::uint8_t> out(kAssociatedLabel.begin(), kAssociatedLabel.end());
    putBytes(out, fileId);
    out.push_back(static_cast<std::uint8_t>(slot.kind));
    out.push_back(static_cast<std::uint8_t>(slot.user.size()));
    putBytes(out, {reinterpret_cast<const std::uint8_t*>(slot.user.data()), slot.user.size()});
    putNumber(out, slot.kdf.opslimit);
    putNumber(out, slot.kdf.memlimit);
    return out;
}

}  // namespace tamrivo
