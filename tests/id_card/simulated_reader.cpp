#include "tests/id_card/simulated_reader.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <array>

#include "base/text_encoding.h"
#include "id_card/reader_frames.h"

namespace tamrivo::testing {
namespace {

constexpr std::size_t kCommandFrameSize = 10;
constexpr std::size_t kPhotoBytes = 1024;

void appendField(std::vector<std::uint8_t>& block, const std::string& gbk, std::size_t width) {
    std::vector<char16_t> units(gbk.size() + 1);
    units.resize(gbkToUtf16(gbk, units.data()));
    units.resize(width, u' ');
    for (const char16_t unit : units) {
        block.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        block.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
}

void makeRaw(int descriptor) {
    termios settings{};
    ::tcgetattr(descriptor, &settings);
    ::cfmakeraw(&settings);
    ::tcsetattr(descriptor, TCSANOW, &settings);
}

}  // namespace

std::vector<std::uint8_t> cardTextBlock(const SimulatedCard& card) {
    std::vector<std::uint8_t> block;
    appendField(block, card.name, 15);
    appendField(block, card.sexCode, 1);
    appendField(block, card.nationCode, 2);
    appendField(block, card.birthDate, 8);
    appendField(block, card.address, 35);
    appendField(block, card.number, 18);
    appendField(block, card.authority, 15);
    appendField(block, card.validFrom, 8);
    appendField(block, card.validUntil, 8);
    appendField(block, "", 18);
    return block;
}

SimulatedReader::SimulatedReader(ReaderBehaviour behaviour, SimulatedCard card)
    : behaviour_(behaviour), card_(std::move(card)) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ::grantpt(master_);
    ::unlockpt(master_);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    device_ = ::ptsname(master_);
    slave_ = ::open(device_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    makeRaw(slave_);
    server_ = std::thread([this] { serve(); });
}

SimulatedReader::~SimulatedReader() {
    stopping_ = true;
    server_.join();
    ::close(slave_);
    ::close(master_);
}

void SimulatedReader::serve() {
    std::vector<std::uint8_t> received;
    std::array<std::uint8_t, 256> chunk{};
    while (!stopping_) {
        pollfd wanted{master_, POLLIN, 0};
        if (::poll(&wanted, 1, 20) <= 0 || (wanted.revents & POLLIN) == 0) {
            continue;
        }
        const ssize_t got = ::read(master_, chunk.data(), chunk.size());
        if (got <= 0) {
            continue;
        }
        received.insert(received.end(), chunk.begin(), chunk.begin() + got);
        while (received.size() >= kCommandFrameSize) {
            ++commands_;
            answer(received[7], received[8]);
            received.erase(received.begin(), received.begin() + kCommandFrameSize);
        }
    }
}

void SimulatedReader::answer(std::uint8_t command, std::uint8_t parameter) {
    using namespace id_card;
    if (behaviour_ == ReaderBehaviour::Silent) {
        return;
    }
    if (behaviour_ == ReaderBehaviour::Flood) {
        const std::vector<std::uint8_t> noise(4096, 0xAA);
        while (!stopping_) {
            send(noise);
        }
        return;
    }
    if (behaviour_ == ReaderBehaviour::NoiseThenCard) {
        send({0x00, 0x13, 0xAA, 0xAA, 0x96, 0x55, 0xFF});
    }
    const bool find = command == 0x20 && parameter == 0x01;
    const bool select = command == 0x20 && parameter == 0x02;
    if (behaviour_ == ReaderBehaviour::NoCard) {
        send(responseFrame(find ? kStatusNoCard : kStatusNotSelected, {}));
        return;
    }
    if (find || select) {
        send(responseFrame(find ? kStatusCardFound : kStatusDone, {}));
        return;
    }
    const auto text = cardTextBlock(card_);
    std::vector<std::uint8_t> data;
    data.reserve(4 + text.size() + kPhotoBytes);
    for (const std::size_t length : {text.size(), kPhotoBytes}) {
        data.push_back(static_cast<std::uint8_t>(length >> 8));
        data.push_back(static_cast<std::uint8_t>(length & 0xFF));
    }
    data.insert(data.end(), text.begin(), text.end());
    data.resize(data.size() + kPhotoBytes, 0x5A);
    auto frame = responseFrame(kStatusDone, data);
    if (behaviour_ == ReaderBehaviour::CutShort) {
        frame.resize(frame.size() / 2);
    } else if (behaviour_ == ReaderBehaviour::BadCheckByte) {
        frame.back() ^= 0x01;
    }
    send(frame);
}

void SimulatedReader::send(const std::vector<std::uint8_t>& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size() && !stopping_) {
        const ssize_t written = ::write(master_, bytes.data() + sent, bytes.size() - sent);
        if (written > 0) {
            sent += static_cast<std::size_t>(written);
        } else {
            pollfd wanted{master_, POLLOUT, 0};
            ::poll(&wanted, 1, 20);
        }
    }
}

}  // namespace tamrivo::testing
