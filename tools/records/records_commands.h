#pragma once
// The commands of the records tool, each given its parsed arguments.

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "tools/command_line/command_line.h"
#include "tools/records/records_tool.h"

namespace tamrivo {

// Who opens protected records: a user with their password, or the recovery code; the secret
// is asked for, or read from a descriptor, never given on the command line.
struct Credentials {
    std::string user = "admin";
    bool recovery = false;
    int passwordDescriptor = -1;
};

struct CommandInput {
    std::filesystem::path programFolder;
    ParsedArguments arguments;
    Console& console;
    Credentials credentials;

    std::filesystem::path dataFolder() const;
    std::filesystem::path databaseFile() const;
    // Writes "tamrivo-records: " and the message to the error stream.
    void warn(const std::string& message) const;
    // Warns, and gives the status of a command that failed.
    int fail(const std::string& message) const;
};

struct Command {
    std::string_view name;
    std::string_view synopsis;  // the command line, as the usage shows it
    std::string_view summary;   // one line
    std::string_view help;      // the rest of `COMMAND --help`
    std::span<const KnownOption> options;
    std::size_t operands;  // exactly this many plain arguments
    int (*run)(const CommandInput& input);
};

int runCreate(const CommandInput& input);
int runBackup(const CommandInput& input);
int runRestore(const CommandInput& input);
int runCheck(const CommandInput& input);
int runExport(const CommandInput& input);
int runIcalExport(const CommandInput& input);
int runReport(const CommandInput& input);
int runPassword(const CommandInput& input);
int runProtect(const CommandInput& input);
int runUnprotect(const CommandInput& input);
int runRecover(const CommandInput& input);
int runPurge(const CommandInput& input);

}  // namespace tamrivo
