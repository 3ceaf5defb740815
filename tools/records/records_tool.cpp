#include "tools/records/records_tool.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "records/records_file.h"
#include "tools/records/records_commands.h"
#include "update_format/running_version.h"

namespace tamrivo {
namespace {

constexpr char kProgramName[] = "tamrivo-records";

constexpr std::array kCreateOptions = {KnownOption{"--demo", false}};
constexpr std::array kReportOptions = {KnownOption{"--from", true}, KnownOption{"--to", true},
                                       KnownOption{"--period", true}, KnownOption{"--csv", false}};

constexpr std::array kCommands = {
    Command{"create", "create [--demo]", "make a new database with the user admin",
            "Makes Data/Data.db with its three tables and the user admin (password 904817).\n"
            "With --demo it also holds demo rooms and leases. An existing file is never\n"
            "touched.\n",
            kCreateOptions, 0, runCreate},
    Command{
        "backup",
        "backup FILE",
        "copy the records into FILE, now",
        "Copies the records into FILE, a new file that opens with the program's key,\n"
        "while the program may go on running. A copy of protected records is keyed like\n"
        "them and carries their key file as FILE.keys. FILE must not exist yet. On a terminal a\n"
        "progress bar shows how far the copy is.\n",
        {},
        1,
        runBackup},
    Command{"restore",
            "restore FILE",
            "put the records of FILE in place of the current ones",
            "Puts the records of FILE (a backup) in place of Data/Data.db. FILE must open\n"
            "with the program's key (or, a protected backup, with its key file FILE.keys and\n"
            "a password of its day or the recovery code), be undamaged and hold the\n"
            "program's three tables; otherwise nothing changes. Its key file comes back with\n"
            "it. Refused while the program or another command of this tool uses the\n"
            "records. The replaced records are kept beside them as\n"
            "Data/Data-replaced-YYYY-MM-DD-HHMMSS.db (with their key file); the swap itself\n"
            "is atomic.\n",
            {},
            1,
            runRestore},
    Command{"check",
            "check",
            "look for damage and impossible record states",
            "Runs the database's integrity check and checks the records' states: every let\n"
            "room has exactly one open lease with its order number, every open lease has a\n"
            "let room, an idle room holds no order number, and room conditions,\n"
            "occupancies and lease states hold known values. Prints each problem; the exit\n"
            "status is 3 when there is one.\n",
            {},
            0,
            runCheck},
    Command{"export",
            "export FOLDER",
            "write the rooms and leases as CSV files",
            "Writes rooms.csv and leases.csv into FOLDER (made when missing; existing files\n"
            "are not replaced): UTF-8 with a byte-order mark, Chinese headers, dates and\n"
            "amounts as stored. A text a spreadsheet would take for a formula (one that\n"
            "begins with = + - @) is written with a leading apostrophe.\n",
            {},
            1,
            runExport},
    Command{"ical-export",
            "ical-export FOLDER",
            "write each room's calendar as an iCalendar file",
            "Writes room-ID.ics for every normal room into FOLDER (made when missing), as the\n"
            "program does on every change when an export folder is set: the room's guest in\n"
            "and its bookings not over yet, as all-day events the booking platforms can\n"
            "import. Each file is replaced whole. Guests' names and phones are written only\n"
            "when the program's sync settings say so; the platforms' own stays never are.\n",
            {},
            1,
            runIcalExport},
    Command{"report", "report [--from DATE] [--to DATE] [--period PERIOD] [--csv]",
            "settled income per month and nights let per room",
            "Shows the settled income of each month (by settlement date) and the nights let\n"
            "of each room (by the address on its leases) between the two dates, both\n"
            "included (DATE as YYYY-MM-DD; without them, all the records). A night is\n"
            "counted for each date from the check-in up to the day before the check-out; an\n"
            "open lease counts up to tonight. With --csv the tables are written as CSV.\n"
            "With --period (this-month, last-month, this-year, last-year, last-30-days, or\n"
            "custom with --from and --to) the period's figures follow, beside those of the\n"
            "period before it, as the statistics window shows them: settled income, stays\n"
            "(check-ins), nights let, occupancy (nights let per normal room and night of the\n"
            "period up to tonight), average rate per night let, income per night on offer;\n"
            "then each room's check-ins, nights, occupancy and income, best income first.\n",
            kReportOptions, 0, runReport},
    Command{"password",
            "password USER",
            "set a user's password from the terminal",
            "Reads a new password for USER (typed twice, unseen, on a terminal; one line\n"
            "otherwise) and stores it as the program's password window does, blanks\n"
            "removed. Only English letters, digits and symbols are taken, the characters\n"
            "the login's password box can receive.\n",
            {},
            1,
            runPassword},
    Command{"protect",
            "protect",
            "make the records open only with a password or the recovery code",
            "Rewrites the records keyed by a new random key, sealed for the user's password\n"
            "(--user, admin unless given; asked for, or read from --password-fd) and for a\n"
            "new recovery code, which is printed once: keep it where others cannot read it.\n"
            "A lost password and a lost code mean lost records. The keys live in\n"
            "Data/Data.db.keys beside the records. Refused while the program runs.\n",
            {},
            0,
            runProtect},
    Command{"unprotect",
            "unprotect",
            "write protected records back with the program's key",
            "Asks for a user's password (or with --recovery the recovery code), then rewrites\n"
            "the records with the program's own key and removes Data/Data.db.keys. Backups\n"
            "made while they were protected stay protected. Refused while the program runs.\n",
            {},
            0,
            runUnprotect},
    Command{"recover",
            "recover USER",
            "set a forgotten password with the recovery code",
            "Asks for the recovery code (or reads it from --password-fd), then for the new\n"
            "password of USER (typed twice, unseen, on a terminal; one line otherwise), and\n"
            "sets it in the users table and in USER's key slot.\n",
            {},
            1,
            runRecover},
    Command{"purge",
            "purge",
            "empty the guests' identity kept longer than the retention",
            "Empties the identity fields (document number, address, authority, validity,\n"
            "birth date, sex, nation, nationality, phone) of every guest whose stay was\n"
            "settled longer ago than the years the records keep them (3 unless the\n"
            "landlord set otherwise). The stays, their money and the guests' names stay.\n"
            "All in one transaction, each purged guest written to the access log; the\n"
            "program does the same once a day when it starts.\n",
            {},
            0,
            runPurge},
};

void printUsage(std::ostream& stream) {
    stream << "usage: " << kProgramName
           << " [--folder DIR] [--user NAME | --recovery] [--password-fd N] COMMAND [ARGUMENTS]\n\n"
           << "Keeps the records of Tamrivo, DIR/Data/Data.db; DIR is the folder of this\n"
           << "program unless given. Protected records open only with a user's password\n"
           << "(--user, admin unless given) or with --recovery the recovery code: asked for\n"
           << "unseen at a terminal, read as one line from descriptor N with --password-fd,\n"
           << "otherwise from the standard input; never given as an argument.\n\ncommands:\n";
    for (const Command& command : kCommands) {
        stream << "  " << command.synopsis << "\n      " << command.summary << '\n';
    }
    stream << "\n'" << kProgramName << " COMMAND --help' tells more about a command.\n"
           << "Exit status: 0 done, 1 failed, 2 wrong usage, 3 check found problems.\n";
}

void printCommandHelp(const Command& command, std::ostream& stream) {
    stream << "usage: " << kProgramName << " [--folder DIR] " << command.synopsis << "\n\n"
           << command.help;
}

const Command* findCommand(std::string_view name) {
    const auto found =
        std::find_if(kCommands.begin(), kCommands.end(),
                     [name](const Command& command) { return command.name == name; });
    return found != kCommands.end() ? &*found : nullptr;
}

// Takes one of the tool's own options; empty when it is known and right, otherwise what is wrong.
std::string takeToolOption(std::string_view name, std::optional<std::string_view> value,
                           std::filesystem::path& folder, Credentials& credentials) {
    if (name == "--recovery") {
        credentials.recovery = true;
        return value ? "option --recovery takes no value" : "";
    }
    if (name != "--folder" && name != "--user" && name != "--password-fd") {
        return "unknown option " + std::string(name);
    }
    if (!value || value->empty()) {
        return "option " + std::string(name) +
               (name == "--folder" ? " needs a folder" : " needs a value");
    }
    if (name == "--folder") {
        folder = std::string(*value);
    } else if (name == "--user") {
        credentials.user = std::string(*value);
    } else {
        int descriptor = -1;
        const auto [end, error] =
            std::from_chars(value->data(), value->data() + value->size(), descriptor);
        if (error != std::errc() || end != value->data() + value->size() || descriptor < 0) {
            return "option --password-fd needs a descriptor number";
        }
        credentials.passwordDescriptor = descriptor;
    }
    return {};
}

int usageError(Console& console, const std::string& message, const Command* command) {
    console.err << kProgramName << ": " << message << '\n';
    if (command != nullptr) {
        console.err << "usage: " << kProgramName << " [--folder DIR] " << command->synopsis << '\n';
    } else {
        console.err << "Try '" << kProgramName << " --help'.\n";
    }
    return kExitUsage;
}

int runCommand(const Command& command, std::span<const std::string_view> arguments,
               const std::filesystem::path& folder, Console& console,
               const Credentials& credentials) {
    CommandInput input{folder, parseArguments(arguments, command.options), console, credentials};
    if (input.arguments.help) {
        printCommandHelp(command, console.out);
        return kExitDone;
    }
    if (!input.arguments.error.empty()) {
        return usageError(console, input.arguments.error, &command);
    }
    if (input.arguments.operands.size() != command.operands) {
        const std::string wanted = command.operands == 0 ? "no arguments" : "one argument";
        return usageError(console, std::string(command.name) + " takes " + wanted, &command);
    }
    return command.run(input);
}

}  // namespace

std::filesystem::path CommandInput::dataFolder() const {
    return recordsFolder(programFolder);
}

std::filesystem::path CommandInput::databaseFile() const {
    return recordsFile(programFolder);
}

void CommandInput::warn(const std::string& message) const {
    console.err << kProgramName << ": " << message << '\n';
}

int CommandInput::fail(const std::string& message) const {
    warn(message);
    return kExitFailed;
}

int runRecordsTool(std::span<const char* const> arguments,
                   const std::filesystem::path& programFolder, Console console) {
    const std::vector<std::string_view> words(arguments.begin(), arguments.end());
    std::filesystem::path folder = programFolder;
    Credentials credentials;
    std::size_t next = 0;
    // The tool's own options stand before the command; everything after it is the command's.
    for (; next < words.size() && words[next].starts_with("-"); ++next) {
        const std::string_view word = words[next];
        if (word == "--help" || word == "-h") {
            printUsage(console.out);
            return kExitDone;
        }
        if (word == "--version") {
            console.out << kProgramName << ' ' << kRunningVersion << '\n';
            return kExitDone;
        }
        const std::string_view name = word.substr(0, word.find('='));
        std::optional<std::string_view> value;
        if (name.size() < word.size()) {
            value = word.substr(name.size() + 1);
        } else if ((name == "--folder" || name == "--user" || name == "--password-fd") &&
                   next + 1 < words.size()) {
            value = words[++next];
        }
        if (const std::string wrong = takeToolOption(name, value, folder, credentials);
            !wrong.empty()) {
            return usageError(console, wrong, nullptr);
        }
    }
    if (next == words.size()) {
        return usageError(console, "no command given", nullptr);
    }
    const Command* command = findCommand(words[next]);
    if (command == nullptr) {
        return usageError(console, "unknown command " + std::string(words[next]), nullptr);
    }
    if (folder.empty()) {
        return usageError(console, "cannot tell which folder the program is in; give --folder",
                          nullptr);
    }
    return runCommand(*command, std::span(words).subspan(next + 1), folder, console, credentials);
}

}  // namespace tamrivo
