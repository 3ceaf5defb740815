#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tamrivo::id_card {

// The frames a second-generation ID card reader module speaks on its serial line: a fixed
// preamble, a two-byte length (big-endian) of what follows it, the body, and a check byte
// that is the exclusive or of the length and body bytes.
inline constexpr std::array<std::uint8_t, 5> kPreamble{0xAA, 0xAA, 0xAA, 0x96, 0x69};

enum class Command { FindCard, SelectCard, ReadText };

// The whole frame of a command: preamble, length, command and parameter bytes, check byte.
std::vector<std::uint8_t> commandFrame(Command command);

// The module's status byte (SW3) that says how a command went.
inline constexpr std::uint8_t kStatusDone = 0x90;
inline constexpr std::uint8_t kStatusCardFound = 0x9F;
inline constexpr std::uint8_t kStatusNoCard = 0x80;
inline constexpr std::uint8_t kStatusNotSelected = 0x81;

struct Response {
    std::uint8_t status = 0;  // SW3
    std::vector<std::uint8_t> data;
};

enum class ScanState {
    Complete,    // response holds a frame, and consumed says how many bytes it took
    Incomplete,  // more bytes are needed
    Broken,      // a frame whose length or check byte is wrong
};

struct Scan {
    ScanState state = ScanState::Incomplete;
    Response response;
    std::size_t consumed = 0;
};

// Looks for the first response frame in what the reader sent so far. Bytes before the
// preamble are noise and are skipped; a length beyond any answer of the module is broken.
Scan scanResponse(std::span<const std::uint8_t> received);

// A response frame as the module writes it (what the tests' simulated reader sends).
std::vector<std::uint8_t> responseFrame(std::uint8_t status, std::span<const std::uint8_t> data);

}  // namespace tamrivo::id_card
