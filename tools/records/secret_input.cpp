#include "tools/records/secret_input.h"

#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <istream>
#include <ostream>

namespace tamrivo {
namespace {

// Longer lines are no password of the program's and no recovery code.
constexpr std::size_t kLongestSecret = 1024;

// Keeps what is typed at a terminal off the screen while it is read.
class HiddenTyping {
public:
    HiddenTyping() : hidden_(::tcgetattr(STDIN_FILENO, &saved_) == 0) {
        if (hidden_) {
            termios quiet = saved_;
            quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
            ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
        }
    }
    ~HiddenTyping() {
        if (hidden_) {
            ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
        }
    }
    HiddenTyping(const HiddenTyping&) = delete;
    HiddenTyping& operator=(const HiddenTyping&) = delete;

private:
    termios saved_{};
    bool hidden_;
};

// One line from the descriptor, byte by byte so that nothing after it is taken from a script
// that writes more; a line too long is refused whole.
SecretBytes readDescriptorLine(int descriptor) {
    SecretBytes line(kLongestSecret);
    if (line.empty()) {
        return line;
    }
    std::size_t length = 0;
    for (;;) {
        std::uint8_t byte = 0;
        const ssize_t got = ::read(descriptor, &byte, 1);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0 || byte == '\n') {
            break;
        }
        if (length == line.size()) {
            return {};
        }
        line.data()[length++] = byte;
    }
    if (length > 0 && line.data()[length - 1] == '\r') {
        --length;
    }
    SecretBytes exact(length);
    std::copy(line.data(), line.data() + length, exact.data());
    return exact;
}

}  // namespace

bool typedByAPerson(const CommandInput& input) {
    return input.console.terminal && ::isatty(STDIN_FILENO) == 1;
}

std::string readHiddenLine(const CommandInput& input, const char* prompt) {
    const HiddenTyping hidden;
    if (typedByAPerson(input)) {
        input.console.err << prompt << std::flush;
    }
    std::string line;
    std::getline(input.console.in, line);
    if (typedByAPerson(input)) {
        input.console.err << '\n';
    }
    return line;
}

SecretBytes readSecret(const CommandInput& input, const char* prompt, bool fromDescriptor) {
    if (fromDescriptor && input.credentials.passwordDescriptor >= 0) {
        return readDescriptorLine(input.credentials.passwordDescriptor);
    }
    std::string typed = readHiddenLine(input, prompt);
    if (typed.size() > kLongestSecret) {
        wipeText(typed);
    }
    return takeSecretText(typed);
}

}  // namespace tamrivo
