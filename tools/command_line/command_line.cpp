#include "tools/command_line/command_line.h"

#include <algorithm>

namespace tamrivo {
namespace {

const KnownOption* findOption(std::span<const KnownOption> known, std::string_view name) {
    const auto found = std::find_if(known.begin(), known.end(), [name](const KnownOption& option) {
        return option.name == name;
    });
    return found != known.end() ? &*found : nullptr;
}

}  // namespace

ParsedArguments parseArguments(std::span<const std::string_view> arguments,
                               std::span<const KnownOption> known) {
    ParsedArguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size() && parsed.error.empty(); ++i) {
        const std::string_view argument = arguments[i];
        if (optionsEnded || !argument.starts_with("-") || argument == "-") {
            parsed.operands.emplace_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            parsed.help = true;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string_view name = argument.substr(0, equals);
        const KnownOption* option = findOption(known, name);
        if (option == nullptr) {
            parsed.error = "unknown option " + std::string(name);
        } else if (!option->takesValue) {
            if (equals != std::string_view::npos) {
                parsed.error = "option " + std::string(name) + " takes no value";
            }
            parsed.options[std::string(name)] = "";
        } else if (equals != std::string_view::npos) {
            parsed.options[std::string(name)] = std::string(argument.substr(equals + 1));
        } else if (i + 1 < arguments.size()) {
            parsed.options[std::string(name)] = std::string(arguments[++i]);
        } else {
            parsed.error = "option " + std::string(name) + " needs a value";
        }
    }
    return parsed;
}

}  // namespace tamrivo
