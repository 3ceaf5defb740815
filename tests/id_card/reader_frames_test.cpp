#include "id_card/reader_frames.h"

#include <gtest/gtest.h>

#include <vector>

namespace tamrivo::id_card {
namespace {

TEST(ReaderFrames, CommandsAreTheModulesFramesByteForByte) {
    EXPECT_EQ(
        commandFrame(Command::FindCard),
        (std::vector<std::uint8_t>{0xAA, 0xAA, 0xAA, 0x96, 0x69, 0x00, 0x03, 0x20, 0x01, 0x22}));
    EXPECT_EQ(
        commandFrame(Command::SelectCard),
        (std::vector<std::uint8_t>{0xAA, 0xAA, 0xAA, 0x96, 0x69, 0x00, 0x03, 0x20, 0x02, 0x21}));
    EXPECT_EQ(
        commandFrame(Command::ReadText),
        (std::vector<std::uint8_t>{0xAA, 0xAA, 0xAA, 0x96, 0x69, 0x00, 0x03, 0x30, 0x01, 0x32}));
}

TEST(ReaderFrames, AResponseIsFoundAfterNoiseAndOnlyWhenWhole) {
    const std::vector<std::uint8_t> data{1, 2, 3};
    const auto frame = responseFrame(kStatusDone, data);
    std::vector<std::uint8_t> received{0x13, 0xAA, 0xAA, 0x00};
    received.insert(received.end(), frame.begin(), frame.end());
    received.push_back(0x77);  // the start of whatever comes next

    for (std::size_t cut = 0; cut + 1 < received.size(); ++cut) {
        const auto partial = scanResponse(std::span(received).first(cut));
        EXPECT_EQ(partial.state, ScanState::Incomplete) << cut;
    }
    const auto whole = scanResponse(received);
    ASSERT_EQ(whole.state, ScanState::Complete);
    EXPECT_EQ(whole.response.status, kStatusDone);
    EXPECT_EQ(whole.response.data, data);
    EXPECT_EQ(whole.consumed, received.size() - 1);
}

TEST(ReaderFrames, AWrongCheckByteOrAnImpossibleLengthIsBroken) {
    auto frame = responseFrame(kStatusDone, std::vector<std::uint8_t>{9, 9});
    frame.back() ^= 0xFF;
    EXPECT_EQ(scanResponse(frame).state, ScanState::Broken);

    const std::vector<std::uint8_t> tooLong{0xAA, 0xAA, 0xAA, 0x96, 0x69, 0xFF, 0xFF};
    EXPECT_EQ(scanResponse(tooLong).state, ScanState::Broken);
    const std::vector<std::uint8_t> tooShort{0xAA, 0xAA, 0xAA, 0x96, 0x69, 0x00, 0x01, 0x00};
    EXPECT_EQ(scanResponse(tooShort).state, ScanState::Broken);
}

}  // namespace
}  // namespace tamrivo::id_card
