#include "records/key_wrapping.h"

#include <sodium.h>

#include <fstream>
#include <system_error>
#include <vector>

#include "base/replacement_file.h"

namespace tamrivo {
namespace {

static_assert(sizeof(KdfParameters::salt) == crypto_pwhash_SALTBYTES);
static_assert(sizeof(KeySlot::nonce) == crypto_aead_xchacha20poly1305_ietf_NPUBBYTES);
static_assert(sizeof(KeySlot::wrapped) == kRawKeyBytes + crypto_aead_xchacha20poly1305_ietf_ABYTES);
static_assert(kRawKeyBytes == crypto_aead_xchacha20poly1305_ietf_KEYBYTES);
static_assert(kMinMemlimit >= crypto_pwhash_MEMLIMIT_MIN);

constexpr std::size_t kMaxUserName = 255;

bool withinLimits(const KdfCost& cost) {
    return cost.opslimit >= kMinOpslimit && cost.opslimit <= kMaxOpslimit &&
           cost.memlimit >= kMinMemlimit && cost.memlimit <= kMaxMemlimit &&
           cost.memlimit % 1024 == 0;
}

// The key a slot is sealed with, from the secret and the slot's own limits; empty when the
// derivation failed (memory short) or the limits are outside the key file's, whoever made
// the slot.
SecretBytes wrappingKey(std::string_view secret, const KdfParameters& kdf) {
    SecretBytes key(crypto_aead_xchacha20poly1305_ietf_KEYBYTES);
    // An empty secret still derives (and fails to open any slot), from a pointer that is real.
    const char* const text = secret.empty() ? "" : secret.data();
    if (key.empty() || !withinLimits({kdf.opslimit, kdf.memlimit}) ||
        crypto_pwhash(key.data(), key.size(), text, secret.size(), kdf.salt.data(), kdf.opslimit,
                      static_cast<std::size_t>(kdf.memlimit), crypto_pwhash_ALG_ARGON2ID13) != 0) {
        return {};
    }
    return key;
}

}  // namespace

SecretBytes newDataKey() {
    SecretBytes key(kRawKeyBytes);
    if (!key.empty()) {
        randombytes_buf(key.data(), key.size());
    }
    return key;
}

std::optional<KeySlot> wrapDataKey(const SecretBytes& dataKey, const FileId& fileId, SlotKind kind,
                                   const std::string& user, std::string_view secret,
                                   const KdfCost& cost) {
    if (dataKey.size() != kRawKeyBytes || !withinLimits(cost) || user.size() > kMaxUserName ||
        (kind == SlotKind::User) == user.empty()) {
        return std::nullopt;
    }
    KeySlot slot{kind, user, {cost.opslimit, cost.memlimit, {}}, {}, {}};
    randombytes_buf(slot.kdf.salt.data(), slot.kdf.salt.size());
    randombytes_buf(slot.nonce.data(), slot.nonce.size());
    const SecretBytes key = wrappingKey(secret, slot.kdf);
    if (key.empty()) {
        return std::nullopt;
    }
    const std::vector<std::uint8_t> associated = slotAssociatedData(fileId, slot);
    crypto_aead_xchacha20poly1305_ietf_encrypt(slot.wrapped.data(), nullptr, dataKey.data(),
                                               dataKey.size(), associated.data(), associated.size(),
                                               nullptr, slot.nonce.data(), key.data());
    return slot;
}

SecretBytes unwrapDataKey(const KeySlots& slots, SlotKind kind, const std::string& user,
                          std::string_view secret) {
    const KeySlot* slot = findSlot(slots, kind, user);
    if (slot == nullptr) {
        // The same work as for a slot, so a missing user costs what a wrong password does.
        KdfParameters standIn{kDefaultOpslimit, kDefaultMemlimit, {}};
        randombytes_buf(standIn.salt.data(), standIn.salt.size());
        wrappingKey(secret, standIn);
        return {};
    }
    const SecretBytes key = wrappingKey(secret, slot->kdf);
    SecretBytes dataKey(kRawKeyBytes);
    if (key.empty() || dataKey.empty()) {
        return {};
    }
    const std::vector<std::uint8_t> associated = slotAssociatedData(slots.fileId, *slot);
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(
            dataKey.data(), nullptr, nullptr, slot->wrapped.data(), slot->wrapped.size(),
            associated.data(), associated.size(), slot->nonce.data(), key.data()) != 0) {
        return {};
    }
    return dataKey;
}

ParsedKeySlots readKeySlots(const std::filesystem::path& file) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    if (error) {
        return {std::nullopt, "cannot read the key file " + file.string() + ": " + error.message()};
    }
    if (size > kMaxKeySlotsFileBytes) {
        return {std::nullopt, "the key file is not usable: it is longer than any key file"};
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    std::ifstream in(file, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
        return {std::nullopt, "cannot read the key file " + file.string()};
    }
    return parseKeySlots(bytes);
}

std::string writeKeySlots(const std::filesystem::path& file, const KeySlots& slots) {
    if (const std::error_code error = writeWholeFile(file, serializeKeySlots(slots))) {
        return "cannot write the key file " + file.string() + ": " + error.message();
    }
    return {};
}

}  // namespace tamrivo
