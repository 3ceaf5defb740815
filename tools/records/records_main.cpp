#include <unistd.h>

#include <iostream>
#include <span>

#include "base/executable_directory.h"
#include "tools/records/records_tool.h"

int main(int argc, char** argv) {
    const std::span<const char* const> arguments(argv + 1, static_cast<std::size_t>(argc - 1));
    const bool terminal = ::isatty(STDERR_FILENO) == 1;
    return tamrivo::runRecordsTool(arguments, tamrivo::executableDirectory(),
                                   {std::cin, std::cout, std::cerr, terminal});
}
