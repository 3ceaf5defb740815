#include "id_card/reader_frames.h"

#include <algorithm>

namespace tamrivo::id_card {
namespace {

constexpr std::size_t kLengthBytes = 2;
constexpr std::size_t kStatusBytes = 3;  // SW1, SW2, SW3
constexpr std::size_t kCheckBytes = 1;
// The longest answer: text and photo lengths, 256 bytes of text, 1024 of photo, and room for
// the fingerprint block some modules add.
constexpr std::size_t kLongestBody = 4096;

std::uint8_t checkByte(std::span<const std::uint8_t> bytes) {
    std::uint8_t check = 0;
    for (const std::uint8_t byte : bytes) {
        check ^= byte;
    }
    return check;
}

std::vector<std::uint8_t> framed(std::span<const std::uint8_t> body) {
    const std::size_t length = body.size() + kCheckBytes;
    std::vector<std::uint8_t> frame(kPreamble.begin(), kPreamble.end());
    frame.push_back(static_cast<std::uint8_t>(length >> 8));
    frame.push_back(static_cast<std::uint8_t>(length & 0xFF));
    frame.insert(frame.end(), body.begin(), body.end());
    frame.push_back(checkByte(std::span(frame).subspan(kPreamble.size())));
    return frame;
}

}  // namespace

std::vector<std::uint8_t> commandFrame(Command command) {
    switch (command) {
        case Command::FindCard:
            return framed(std::array<std::uint8_t, 2>{0x20, 0x01});
        case Command::SelectCard:
            return framed(std::array<std::uint8_t, 2>{0x20, 0x02});
        case Command::ReadText:
            return framed(std::array<std::uint8_t, 2>{0x30, 0x01});
    }
    return {};
}

std::vector<std::uint8_t> responseFrame(std::uint8_t status, std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> body{0x00, 0x00, status};
    body.insert(body.end(), data.begin(), data.end());
    return framed(body);
}

Scan scanResponse(std::span<const std::uint8_t> received) {
    Scan scan;
    const auto start =
        std::search(received.begin(), received.end(), kPreamble.begin(), kPreamble.end());
    const auto skipped = static_cast<std::size_t>(start - received.begin());
    const auto rest = received.subspan(skipped);
    if (rest.size() < kPreamble.size() + kLengthBytes) {
        return scan;
    }
    const std::size_t length = (std::size_t{rest[5]} << 8) | rest[6];
    if (length < kStatusBytes + kCheckBytes || length > kLongestBody) {
        scan.state = ScanState::Broken;
        return scan;
    }
    const std::size_t frameSize = kPreamble.size() + kLengthBytes + length;
    if (rest.size() < frameSize) {
        return scan;
    }
    const auto checked = rest.subspan(kPreamble.size(), kLengthBytes + length - kCheckBytes);
    if (checkByte(checked) != rest[frameSize - 1]) {
        scan.state = ScanState::Broken;
        return scan;
    }
    const auto body = checked.subspan(kLengthBytes);
    scan.state = ScanState::Complete;
    scan.response.status = body[2];
    scan.response.data.assign(body.begin() + kStatusBytes, body.end());
    scan.consumed = skipped + frameSize;
    return scan;
}

}  // namespace tamrivo::id_card
