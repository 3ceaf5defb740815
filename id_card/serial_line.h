#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace tamrivo::id_card {

// A serial line in raw mode at the reader modules' speed, every wait bounded.
class SerialLine {
public:
    // Opens and sets the line up; isOpen() says whether it could.
    explicit SerialLine(const std::filesystem::path& device);
    ~SerialLine();
    SerialLine(const SerialLine&) = delete;
    SerialLine& operator=(const SerialLine&) = delete;

    bool isOpen() const { return descriptor_ >= 0; }
    // Throws away whatever the line holds unread.
    void discardInput();
    // Writes every byte before the deadline; false when it cannot.
    bool write(std::span<const std::uint8_t> bytes, std::chrono::steady_clock::time_point deadline);
    // Appends what arrives until some bytes came or the deadline passed; false at the deadline
    // or when the line fails.
    bool readSome(std::vector<std::uint8_t>& into, std::chrono::steady_clock::time_point deadline);

private:
    int descriptor_ = -1;
};

}  // namespace tamrivo::id_card
