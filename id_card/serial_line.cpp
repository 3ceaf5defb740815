#include "id_card/serial_line.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace tamrivo::id_card {
namespace {

// The modules answer at 115200 baud, 8 data bits, no parity, one stop bit.
constexpr speed_t kSpeed = B115200;

int millisecondsUntil(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

bool waitFor(int descriptor, short events, std::chrono::steady_clock::time_point deadline) {
    pollfd wanted{descriptor, events, 0};
    for (;;) {
        const int ready = ::poll(&wanted, 1, millisecondsUntil(deadline));
        if (ready > 0) {
            return (wanted.revents & events) != 0;
        }
        if (ready == 0 || errno != EINTR) {
            return false;
        }
    }
}

bool makeRaw(int descriptor) {
    termios settings{};
    if (::tcgetattr(descriptor, &settings) != 0) {
        return false;
    }
    ::cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    ::cfsetispeed(&settings, kSpeed);
    ::cfsetospeed(&settings, kSpeed);
    return ::tcsetattr(descriptor, TCSANOW, &settings) == 0;
}

}  // namespace

SerialLine::SerialLine(const std::filesystem::path& device) {
    descriptor_ = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor_ >= 0 && !makeRaw(descriptor_)) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
}

SerialLine::~SerialLine() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

void SerialLine::discardInput() {
    ::tcflush(descriptor_, TCIFLUSH);
}

bool SerialLine::write(std::span<const std::uint8_t> bytes,
                       std::chrono::steady_clock::time_point deadline) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
        if (written > 0) {
            bytes = bytes.subspan(static_cast<std::size_t>(written));
        } else if (written < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        } else if (!waitFor(descriptor_, POLLOUT, deadline)) {
            return false;
        }
    }
    return true;
}

bool SerialLine::readSome(std::vector<std::uint8_t>& into,
                          std::chrono::steady_clock::time_point deadline) {
    std::array<std::uint8_t, 512> chunk{};
    for (;;) {
        const ssize_t got = ::read(descriptor_, chunk.data(), chunk.size());
        if (got > 0) {
            into.insert(into.end(), chunk.begin(), chunk.begin() + got);
            return true;
        }
        if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
            return false;
        }
        if (!waitFor(descriptor_, POLLIN, deadline)) {
            return false;
        }
    }
}

}  // namespace tamrivo::id_card
