#pragma once

#include <chrono>
#include <filesystem>
#include <vector>

#include "id_card/card_text.h"

namespace tamrivo::id_card {

enum class CardReadOutcome {
    Read,        // text holds the card's fields
    NoReader,    // no reader device, or it cannot be opened
    NoCard,      // the reader answered that no card lies on it
    Silent,      // the reader did not answer in time
    BadAnswer,   // the reader answered with a frame that is cut short, damaged or unreadable
    Unreadable,  // the card's text holds characters the program cannot keep
};

struct CardRead {
    CardReadOutcome outcome = CardReadOutcome::NoReader;
    CardText text;
};

// How long the reader has for each answer: a card's text comes in well under a second.
inline constexpr std::chrono::milliseconds kAnswerWait{1500};

// Finds, selects and reads the card on the reader at device. The photo is not kept.
CardRead readCard(const std::filesystem::path& device,
                  std::chrono::milliseconds answerWait = kAnswerWait);

// The serial devices a reader module shows as (/dev/ttyUSB*, /dev/ttyACM*), in name order.
std::vector<std::filesystem::path> readerDevices(const std::filesystem::path& devices = "/dev");

// Reads from the first of those devices that answers; NoReader when there is none.
CardRead readCardFromAnyReader(const std::filesystem::path& devices = "/dev");

}  // namespace tamrivo::id_card
