#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tamrivo {

// An option a command knows: `--name` alone, or `--name VALUE` / `--name=VALUE`.
struct KnownOption {
    std::string_view name;
    bool takesValue = false;
};

// A command's arguments split into its options and its plain arguments, or what was wrong
// with them. `--help` anywhere asks for the command's help; `--` ends the options.
struct ParsedArguments {
    std::map<std::string, std::string, std::less<>> options;  // flags map to ""
    std::vector<std::string> operands;
    bool help = false;
    std::string error;

    bool has(std::string_view option) const { return options.contains(option); }
};

ParsedArguments parseArguments(std::span<const std::string_view> arguments,
                               std::span<const KnownOption> known);

}  // namespace tamrivo
