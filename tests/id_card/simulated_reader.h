#pragma once
// A reader module on a pseudo-terminal, speaking the frames of a real one, for a card made up
// by the test (never a real person's data).

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace tamrivo::testing {

// A card's fields as the card holds them: GBK texts, codes as digits.
struct SimulatedCard {
    std::string name;
    std::string sexCode;
    std::string nationCode;
    std::string birthDate;
    std::string address;
    std::string number;
    std::string authority;
    std::string validFrom;
    std::string validUntil;
};

enum class ReaderBehaviour {
    GoodCard,       // answers every command and gives the card
    NoCard,         // answers that no card lies on it
    CutShort,       // sends only the first half of the card's frame
    BadCheckByte,   // sends the card's frame with its check byte wrong
    Silent,         // never answers
    Flood,          // answers with an endless stream of noise
    NoiseThenCard,  // a burst of noise before each proper answer
};

class SimulatedReader {
public:
    SimulatedReader(ReaderBehaviour behaviour, SimulatedCard card);
    ~SimulatedReader();
    SimulatedReader(const SimulatedReader&) = delete;
    SimulatedReader& operator=(const SimulatedReader&) = delete;

    // The terminal the program opens, as it would /dev/ttyUSB0.
    const std::filesystem::path& device() const { return device_; }
    int commandsReceived() const { return commands_; }

private:
    void serve();
    void answer(std::uint8_t command, std::uint8_t parameter);
    void send(const std::vector<std::uint8_t>& bytes);

    ReaderBehaviour behaviour_;
    SimulatedCard card_;
    int master_ = -1;
    int slave_ = -1;  // held open so that the master never sees the line hung up
    std::filesystem::path device_;
    std::atomic<bool> stopping_{false};
    std::atomic<int> commands_{0};
    std::thread server_;
};

// The text block of a card with these fields: UCS-2, each field padded to its width.
std::vector<std::uint8_t> cardTextBlock(const SimulatedCard& card);

}  // namespace tamrivo::testing
