// tamrivo-release: makes signing keys and publishes signed updates.
#include <iostream>
#include <string>
#include <vector>

#include "tools/release/release_tool.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return tamrivo::release::runReleaseTool(arguments, std::cout, std::cerr);
}
