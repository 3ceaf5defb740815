// The key file read as hostile input, and the data key sealed and opened through its slots.

#include <gtest/gtest.h>

#include <fstream>

#include "records/key_slots.h"
#include "records/key_wrapping.h"
#include "tests/support/temporary_folder.h"

namespace tamrivo {
namespace {

// The cheapest cost the file allows, so the tests do not spend seconds in Argon2id.
constexpr KdfCost kCheap{1, kMinMemlimit};
const FileId kFileId{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};

class KeySlotsTest : public ::testing::Test {
protected:
    KeySlotsTest() {
        slots.fileId = kFileId;
        slots.slots.push_back(
            *wrapDataKey(dataKey, kFileId, SlotKind::User, "admin", "secret", kCheap));
        slots.slots.push_back(
            *wrapDataKey(dataKey, kFileId, SlotKind::RecoveryCode, "", "CODE", kCheap));
        bytes = serializeKeySlots(slots);
    }

    std::string problemOf(const std::vector<std::uint8_t>& file) {
        const ParsedKeySlots parsed = parseKeySlots(file);
        EXPECT_FALSE(parsed.slots.has_value());
        return parsed.problem;
    }

    // Offsets into the first slot (a user named "admin").
    static constexpr std::size_t kCountAt = 8 + 1 + kFileIdBytes;
    static constexpr std::size_t kFirstSlot = kCountAt + 1;
    static constexpr std::size_t kOpsAt = kFirstSlot + 2 + 5;
    static constexpr std::size_t kMemAt = kOpsAt + 8;

    void putNumber(std::size_t at, std::uint64_t value) {
        for (int i = 0; i < 8; ++i) {
            bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    }

    SecretBytes dataKey = newDataKey();
    KeySlots slots;
    std::vector<std::uint8_t> bytes;
};

TEST_F(KeySlotsTest, AFileReadsBackAsWritten) {
    const ParsedKeySlots parsed = parseKeySlots(bytes);
    ASSERT_TRUE(parsed.slots) << parsed.problem;
    EXPECT_EQ(parsed.slots->fileId, kFileId);
    ASSERT_EQ(parsed.slots->slots.size(), 2u);
    EXPECT_EQ(parsed.slots->slots[0].user, "admin");
    EXPECT_EQ(parsed.slots->slots[0].kdf.opslimit, kCheap.opslimit);
    EXPECT_EQ(parsed.slots->slots[0].kdf.memlimit, kCheap.memlimit);
    EXPECT_EQ(parsed.slots->slots[1].kind, SlotKind::RecoveryCode);
    EXPECT_EQ(serializeKeySlots(*parsed.slots), bytes);
}

TEST_F(KeySlotsTest, EveryCutShortFileIsRefused) {
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        const std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + length);
        EXPECT_FALSE(problemOf(cut).empty()) << length;
    }
}

TEST_F(KeySlotsTest, BytesAfterTheLastSlotAreRefused) {
    bytes.push_back(0);
    EXPECT_NE(problemOf(bytes).find("follow its last slot"), std::string::npos);
}

TEST_F(KeySlotsTest, AnotherVersionOrMagicIsRefused) {
    std::vector<std::uint8_t> otherVersion = bytes;
    otherVersion[8] = 2;
    EXPECT_NE(problemOf(otherVersion).find("version 2"), std::string::npos);
    std::vector<std::uint8_t> otherMagic = bytes;
    otherMagic[0] = 'X';
    EXPECT_NE(problemOf(otherMagic).find("not a key file"), std::string::npos);
}

TEST_F(KeySlotsTest, AbsurdLimitsAreRefused) {
    putNumber(kMemAt, std::uint64_t{100} << 30);  // 100 GiB
    EXPECT_NE(problemOf(bytes).find("memlimit"), std::string::npos);
    putNumber(kMemAt, kMinMemlimit - 1024);
    EXPECT_NE(problemOf(bytes).find("memlimit"), std::string::npos);
    putNumber(kMemAt, kMinMemlimit + 1);
    EXPECT_NE(problemOf(bytes).find("memlimit"), std::string::npos);
    putNumber(kMemAt, kMinMemlimit);
    putNumber(kOpsAt, ~std::uint64_t{0});
    EXPECT_NE(problemOf(bytes).find("opslimit"), std::string::npos);
    putNumber(kOpsAt, 0);
    EXPECT_NE(problemOf(bytes).find("opslimit"), std::string::npos);
}

TEST_F(KeySlotsTest, SlotCountsAndKindsOutsideTheFormatAreRefused) {
    std::vector<std::uint8_t> none = bytes;
    none[kCountAt] = 0;
    EXPECT_FALSE(problemOf(none).empty());
    std::vector<std::uint8_t> tooMany = bytes;
    tooMany[kCountAt] = 200;
    EXPECT_FALSE(problemOf(tooMany).empty());
    std::vector<std::uint8_t> unknownKind = bytes;
    unknownKind[kFirstSlot] = 7;
    EXPECT_NE(problemOf(unknownKind).find("unknown kind"), std::string::npos);
    std::vector<std::uint8_t> namelessUser = bytes;
    namelessUser[kFirstSlot + 1] = 0;
    EXPECT_NE(problemOf(namelessUser).find("names no user"), std::string::npos);
}

TEST_F(KeySlotsTest, TwoSlotsForOneUserAreRefused) {
    KeySlots twice = slots;
    twice.slots.push_back(slots.slots[0]);
    EXPECT_NE(problemOf(serializeKeySlots(twice)).find("repeats the user admin"),
              std::string::npos);
    KeySlots twoCodes = slots;
    twoCodes.slots.push_back(slots.slots[1]);
    EXPECT_NE(problemOf(serializeKeySlots(twoCodes)).find("repeats the recovery code"),
              std::string::npos);
}

TEST_F(KeySlotsTest, AFileLongerThanAnyKeyFileIsNotRead) {
    testing::TemporaryFolder folder;
    const std::filesystem::path file = folder.path() / "Data.db.keys";
    std::ofstream(file, std::ios::binary) << std::string(kMaxKeySlotsFileBytes + 1, 'x');
    EXPECT_NE(readKeySlots(file).problem.find("longer than any key file"), std::string::npos);
    EXPECT_NE(readKeySlots(folder.path() / "missing").problem.find("cannot read"),
              std::string::npos);
}

TEST_F(KeySlotsTest, TheRightPasswordOrCodeUnwrapsTheDataKey) {
    const SecretBytes byPassword = unwrapDataKey(slots, SlotKind::User, "admin", "secret");
    ASSERT_FALSE(byPassword.empty());
    EXPECT_EQ(std::vector(byPassword.bytes().begin(), byPassword.bytes().end()),
              std::vector(dataKey.bytes().begin(), dataKey.bytes().end()));
    EXPECT_FALSE(unwrapDataKey(slots, SlotKind::RecoveryCode, "", "CODE").empty());
}

TEST_F(KeySlotsTest, AWrongPasswordAndAMissingSlotFailAlike) {
    EXPECT_TRUE(unwrapDataKey(slots, SlotKind::User, "admin", "Secret").empty());
    EXPECT_TRUE(unwrapDataKey(slots, SlotKind::User, "nobody", "secret").empty());
    EXPECT_TRUE(unwrapDataKey(slots, SlotKind::RecoveryCode, "", "secret").empty());
}

TEST_F(KeySlotsTest, ASlotOpensOnlyForItsUserItsFileAndItsLimits) {
    KeySlots moved = slots;
    moved.slots[0].user = "clerk";  // admin's slot claimed for another user
    EXPECT_TRUE(unwrapDataKey(moved, SlotKind::User, "clerk", "secret").empty());
    KeySlots otherFile = slots;
    otherFile.fileId[0] ^= 1;  // the slots of one records file beside another
    EXPECT_TRUE(unwrapDataKey(otherFile, SlotKind::User, "admin", "secret").empty());
    KeySlots raised = slots;
    raised.slots[0].kdf.opslimit = 2;
    EXPECT_TRUE(unwrapDataKey(raised, SlotKind::User, "admin", "secret").empty());
}

TEST_F(KeySlotsTest, ReplacingAUsersSlotLeavesTheOthersAsTheyWere) {
    const KeySlot code = slots.slots[1];
    ASSERT_TRUE(
        setSlot(slots, *wrapDataKey(dataKey, kFileId, SlotKind::User, "admin", "new", kCheap)));
    ASSERT_EQ(slots.slots.size(), 2u);
    EXPECT_EQ(slots.slots[1].wrapped, code.wrapped);
    EXPECT_TRUE(unwrapDataKey(slots, SlotKind::User, "admin", "secret").empty());
    EXPECT_FALSE(unwrapDataKey(slots, SlotKind::User, "admin", "new").empty());
    ASSERT_TRUE(
        setSlot(slots, *wrapDataKey(dataKey, kFileId, SlotKind::User, "clerk", "c", kCheap)));
    EXPECT_EQ(slots.slots.size(), 3u);
    EXPECT_TRUE(removeSlot(slots, SlotKind::User, "admin"));
    EXPECT_FALSE(removeSlot(slots, SlotKind::User, "admin"));
    EXPECT_TRUE(unwrapDataKey(slots, SlotKind::User, "admin", "new").empty());
    EXPECT_FALSE(unwrapDataKey(slots, SlotKind::User, "clerk", "c").empty());
}

TEST_F(KeySlotsTest, WrappingRefusesWhatTheFileCannotHold) {
    EXPECT_FALSE(wrapDataKey(dataKey, kFileId, SlotKind::User, std::string(256, 'a'), "p", kCheap));
    EXPECT_FALSE(wrapDataKey(dataKey, kFileId, SlotKind::User, "", "p", kCheap));
    EXPECT_FALSE(
        wrapDataKey(dataKey, kFileId, SlotKind::User, "a", "p", {kMaxOpslimit + 1, kMinMemlimit}));
    EXPECT_FALSE(wrapDataKey(SecretBytes(16), kFileId, SlotKind::User, "a", "p", kCheap));
}

TEST_F(KeySlotsTest, TheDefaultCostIsAtLeast64MiBAndWithinTheFilesLimits) {
    const std::optional<KeySlot> slot =
        wrapDataKey(dataKey, kFileId, SlotKind::User, "admin", "secret");
    ASSERT_TRUE(slot);
    EXPECT_GE(slot->kdf.memlimit, std::uint64_t{64} << 20);
    KeySlots defaults{kFileId, {*slot}};
    const ParsedKeySlots parsed = parseKeySlots(serializeKeySlots(defaults));
    ASSERT_TRUE(parsed.slots) << parsed.problem;
    EXPECT_FALSE(unwrapDataKey(*parsed.slots, SlotKind::User, "admin", "secret").empty());
}

TEST_F(KeySlotsTest, AKeyFileIsWrittenWholeAndReadBack) {
    testing::TemporaryFolder folder;
    const std::filesystem::path file = folder.path() / "Data.db.keys";
    ASSERT_EQ(writeKeySlots(file, slots), "");
    const ParsedKeySlots parsed = readKeySlots(file);
    ASSERT_TRUE(parsed.slots) << parsed.problem;
    EXPECT_EQ(serializeKeySlots(*parsed.slots), bytes);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

}  // namespace
}  // namespace tamrivo
