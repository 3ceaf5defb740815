#include "id_card/card_reader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include "tests/id_card/simulated_reader.h"
#include "tests/support/temporary_folder.h"

namespace tamrivo::id_card {
namespace {

using testing::ReaderBehaviour;
using testing::SimulatedCard;
using testing::SimulatedReader;

constexpr std::chrono::milliseconds kShortWait{300};

// Made up for the tests: the number's check character fits, the person does not exist.
SimulatedCard madeUpCard() {
    return SimulatedCard{.name = "测试甲",
                         .sexCode = "1",
                         .nationCode = "01",
                         .birthDate = "19900307",
                         .address = "北京市朝阳区测试路1号",
                         .number = "110105199003071239",
                         .authority = "北京市公安局朝阳分局",
                         .validFrom = "20200101",
                         .validUntil = "20400101"};
}

TEST(CardReader, AGoodCardIsReadWholeInThreeCommands) {
    SimulatedReader reader(ReaderBehaviour::GoodCard, madeUpCard());
    const auto read = readCard(reader.device());
    ASSERT_EQ(read.outcome, CardReadOutcome::Read);
    EXPECT_EQ(read.text.name, "测试甲");
    EXPECT_EQ(read.text.sex, "男");
    EXPECT_EQ(read.text.nation, "汉");
    EXPECT_EQ(read.text.birthDate, "19900307");
    EXPECT_EQ(read.text.address, "北京市朝阳区测试路1号");
    EXPECT_EQ(read.text.number, "110105199003071239");
    EXPECT_EQ(read.text.authority, "北京市公安局朝阳分局");
    EXPECT_EQ(read.text.validFrom, "20200101");
    EXPECT_EQ(read.text.validUntil, "20400101");
    EXPECT_EQ(reader.commandsReceived(), 3);
}

TEST(CardReader, NoiseBeforeTheAnswersIsSkipped) {
    auto card = madeUpCard();
    card.validUntil = "长期";
    card.nationCode = "38";
    card.sexCode = "2";
    SimulatedReader reader(ReaderBehaviour::NoiseThenCard, card);
    const auto read = readCard(reader.device());
    ASSERT_EQ(read.outcome, CardReadOutcome::Read);
    EXPECT_EQ(read.text.validUntil, "长期");
    EXPECT_EQ(read.text.nation, "锡伯");
    EXPECT_EQ(read.text.sex, "女");
}

TEST(CardReader, EachFailureIsToldApartAndNothingIsRead) {
    const struct {
        ReaderBehaviour behaviour;
        CardReadOutcome outcome;
    } cases[] = {
        {ReaderBehaviour::NoCard, CardReadOutcome::NoCard},
        {ReaderBehaviour::CutShort, CardReadOutcome::BadAnswer},
        {ReaderBehaviour::BadCheckByte, CardReadOutcome::BadAnswer},
        {ReaderBehaviour::Silent, CardReadOutcome::Silent},
        {ReaderBehaviour::Flood, CardReadOutcome::BadAnswer},
    };
    for (const auto& c : cases) {
        SimulatedReader reader(c.behaviour, madeUpCard());
        const auto read = readCard(reader.device(), kShortWait);
        EXPECT_EQ(read.outcome, c.outcome) << static_cast<int>(c.behaviour);
        EXPECT_TRUE(read.text.name.empty());
    }
}

TEST(CardReader, AMissingDeviceOrAFileThatIsNoTerminalIsNoReader) {
    testing::TemporaryFolder folder;
    EXPECT_EQ(readCard(folder.path() / "ttyUSB0").outcome, CardReadOutcome::NoReader);
    std::ofstream(folder.path() / "ttyUSB1") << "not a terminal";
    EXPECT_EQ(readCard(folder.path() / "ttyUSB1").outcome, CardReadOutcome::NoReader);
    EXPECT_EQ(readCardFromAnyReader(folder.path() / "absent").outcome, CardReadOutcome::NoReader);
}

TEST(CardReader, ReaderDevicesAreTheUsbAndAcmSerialLinesInOrder) {
    testing::TemporaryFolder folder;
    for (const char* name : {"ttyUSB1", "ttyS0", "ttyACM0", "ttyUSB0", "tty1"}) {
        std::ofstream(folder.path() / name);
    }
    const auto devices = readerDevices(folder.path());
    ASSERT_EQ(devices.size(), 3u);
    EXPECT_EQ(devices[0].filename(), "ttyACM0");
    EXPECT_EQ(devices[1].filename(), "ttyUSB0");
    EXPECT_EQ(devices[2].filename(), "ttyUSB1");
}

TEST(CardReader, ACardWhoseTextHoldsControlCharactersIsRefusedWhole) {
    auto card = madeUpCard();
    card.name = std::string("测试\x01", 5);
    SimulatedReader reader(ReaderBehaviour::GoodCard, card);
    const auto read = readCard(reader.device());
    EXPECT_EQ(read.outcome, CardReadOutcome::Unreadable);
    EXPECT_TRUE(read.text.number.empty());
}

}  // namespace
}  // namespace tamrivo::id_card
