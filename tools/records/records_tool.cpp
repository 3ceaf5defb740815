#include "tools/records/records_tool.h"

#include <algorithm>
#include <array>
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
    Command{"backup",
            "backup FILE",
            "copy the records into FILE, now",
            "Copies the records into FILE, a new file that opens with the program's key,\n"
            "while the program may go on running. FILE must not exist yet. On a terminal a\n"
            "progress bar shows how far the copy is.\n",
            {},
            1,
            runBackup},
    Command{"restore",
            "restore FILE",
            "put the records of FILE in place of the current ones",
            "Puts the records of FILE (a backup) in place of Data/Data.db. FILE must open\n"
            "with the program's key, be undamaged and hold the program's three tables;\n"
            "otherwise nothing changes. Refused while the program or another command of\n"
            "this tool uses the records. The replaced records are kept beside them as\n"
            "Data/Data-replaced-YYYY-MM-DD-HHMMSS.db; the swap itself is atomic.\n",
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
    stream << "usage: " << kProgramName << " [--folder DIR] COMMAND [ARGUMENTS]\n\n"
           << "Keeps the records of Tamrivo, DIR/Data/Data.db; DIR is the folder of this\n"
           << "program unless given.\n\ncommands:\n";
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
               const std::filesystem::path& folder, Console& console) {
    CommandInput input{folder, parseArguments(arguments, command.options), console};
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
        if (word.starts_with("--folder=")) {
            folder = std::string(word.substr(word.find('=') + 1));
        } else if (word == "--folder" && next + 1 < words.size()) {
            folder = std::string(words[++next]);
        } else {
            return usageError(console,
                              word == "--folder" ? "option --folder needs a folder"
                                                 : "unknown option " + std::string(word),
                              nullptr);
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
    return runCommand(*command, std::span(words).subspan(next + 1), folder, console);
}

}  // namespace tamrivo
