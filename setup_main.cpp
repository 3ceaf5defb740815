#include <iostream>
#include <span>

#include "app/database_setup.h"
#include "ui/executable_directory.h"

int main(int argc, char** argv) {
    const std::span<const char* const> arguments(argv + 1, static_cast<std::size_t>(argc - 1));
    return tamrivo::runDatabaseSetup(arguments, tamrivo::executableDirectory(), std::cout,
                                     std::cerr);
}
