#include <termios.h>
#include <unistd.h>

#include <istream>
#include <ostream>
#include <string>

#include "base/text_encoding.h"
#include "records/users.h"
#include "tools/records/records_access.h"
#include "tools/records/records_commands.h"

namespace tamrivo {
namespace {

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

// A person typing at the terminal is asked, and asked twice; a pipe gives one line.
bool typedByAPerson(const CommandInput& input) {
    return input.console.terminal && ::isatty(STDIN_FILENO) == 1;
}

std::string readLine(const CommandInput& input, const char* prompt) {
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

// The password as the program's password window would store it, or why it cannot be.
std::string takePassword(const std::string& typed, Text& password) {
    password = utf8ToGbk(typed);
    switch (checkNewPassword(password)) {
        case PasswordResult::Set:
            return {};
        case PasswordResult::Empty:
            return "the new password may not be empty";
        case PasswordResult::HasBlank:
            return "the new password may not hold blanks (spaces, full-width spaces, tabs): the "
                   "login takes a password exactly as typed";
        default:
            return "the new password may hold only English letters, digits and symbols: the "
                   "login's password box takes nothing else";
    }
}

}  // namespace

int runPassword(const CommandInput& input) {
    const Text user = utf8ToGbk(input.arguments.operands.front());
    std::string typed;
    {
        const HiddenTyping hidden;
        typed = readLine(input, "new password: ");
        if (typedByAPerson(input) && readLine(input, "again: ") != typed) {
            return input.fail("the two passwords differ; nothing was changed");
        }
    }
    Text password;
    if (const std::string refusal = takePassword(typed, password); !refusal.empty()) {
        return input.fail(refusal + "; nothing was changed");
    }
    const auto lock = shareRecords(input);
    Database database;
    if (!lock || !openForCommand(input, database)) {
        return kExitFailed;
    }
    const auto userId = findUserId(database, user);
    if (!userId) {
        database.close();
        return input.fail("there is no user " + input.arguments.operands.front());
    }
    const PasswordOutcome outcome = setPassword(database, *userId, password);
    database.close();
    if (outcome.result == PasswordResult::NoSuchUser) {
        return input.fail("there is no user " + input.arguments.operands.front());
    }
    if (outcome.result != PasswordResult::Set) {
        return input.fail("cannot store the password: " + gbkToUtf8(outcome.error));
    }
    input.console.out << "the password of " << input.arguments.operands.front() << " is changed\n";
    return kExitDone;
}

}  // namespace tamrivo
