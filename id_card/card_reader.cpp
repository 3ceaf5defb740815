#include "id_card/card_reader.h"

#include <algorithm>
#include <optional>
#include <system_error>

#include "id_card/reader_frames.h"
#include "id_card/serial_line.h"

namespace tamrivo::id_card {
namespace {

// More than any answer with noise around it; a reader that sends more without a frame in
// it is flooding the line.
constexpr std::size_t kMostBytesWithoutFrame = 16 * 1024;
constexpr std::size_t kLengthFieldsBytes = 4;  // the text's and the photo's lengths

struct Answer {
    CardReadOutcome failure = CardReadOutcome::Read;  // Read when response holds the answer
    Response response;
};

Answer ask(SerialLine& line, Command command, std::chrono::milliseconds wait) {
    line.discardInput();
    const auto deadline = std::chrono::steady_clock::now() + wait;
    if (!line.write(commandFrame(command), deadline)) {
        return {CardReadOutcome::Silent, {}};
    }
    std::vector<std::uint8_t> received;
    for (;;) {
        if (!line.readSome(received, deadline)) {
            return {received.empty() ? CardReadOutcome::Silent : CardReadOutcome::BadAnswer, {}};
        }
        const Scan scan = scanResponse(received);
        if (scan.state == ScanState::Complete) {
            return {CardReadOutcome::Read, scan.response};
        }
        if (scan.state == ScanState::Broken || received.size() > kMostBytesWithoutFrame) {
            return {CardReadOutcome::BadAnswer, {}};
        }
    }
}

CardRead failed(CardReadOutcome outcome) {
    return CardRead{outcome, {}};
}

CardRead readText(const Response& response) {
    const auto& data = response.data;
    if (data.size() < kLengthFieldsBytes) {
        return failed(CardReadOutcome::BadAnswer);
    }
    const std::size_t textBytes = (std::size_t{data[0]} << 8) | data[1];
    if (textBytes < kCardTextBytes || data.size() < kLengthFieldsBytes + textBytes) {
        return failed(CardReadOutcome::BadAnswer);
    }
    const auto text = readCardText(std::span(data).subspan(kLengthFieldsBytes, textBytes));
    return text ? CardRead{CardReadOutcome::Read, *text} : failed(CardReadOutcome::Unreadable);
}

}  // namespace

CardRead readCard(const std::filesystem::path& device, std::chrono::milliseconds answerWait) {
    SerialLine line(device);
    if (!line.isOpen()) {
        return failed(CardReadOutcome::NoReader);
    }
    const Answer found = ask(line, Command::FindCard, answerWait);
    if (found.failure != CardReadOutcome::Read) {
        return failed(found.failure);
    }
    if (found.response.status != kStatusCardFound) {
        return failed(CardReadOutcome::NoCard);
    }
    const Answer selected = ask(line, Command::SelectCard, answerWait);
    if (selected.failure != CardReadOutcome::Read) {
        return failed(selected.failure);
    }
    if (selected.response.status != kStatusDone) {
        return failed(CardReadOutcome::NoCard);
    }
    const Answer read = ask(line, Command::ReadText, answerWait);
    if (read.failure != CardReadOutcome::Read) {
        return failed(read.failure);
    }
    if (read.response.status != kStatusDone) {
        return failed(CardReadOutcome::NoCard);
    }
    return readText(read.response);
}

std::vector<std::filesystem::path> readerDevices(const std::filesystem::path& devices) {
    std::vector<std::filesystem::path> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(devices, error)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("ttyUSB") || name.starts_with("ttyACM")) {
            found.push_back(entry.path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

CardRead readCardFromAnyReader(const std::filesystem::path& devices) {
    CardRead last = failed(CardReadOutcome::NoReader);
    for (const auto& device : readerDevices(devices)) {
        last = readCard(device);
        if (last.outcome != CardReadOutcome::NoReader && last.outcome != CardReadOutcome::Silent) {
            return last;
        }
    }
    return last;
}

}  // namespace tamrivo::id_card
