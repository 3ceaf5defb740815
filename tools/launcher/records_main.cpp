// /usr/bin/tamrivo-records: the records tool of the user's own program folder.
#include <iostream>
#include <span>

#include "tools/launcher/launcher.h"

int main(int argc, char** argv) {
    using namespace tamrivo::launcher;
    const std::span<const char* const> arguments(argv + 1, static_cast<std::size_t>(argc - 1));
    return launchRecordsTool(packageProgramFiles(), userProgramFolderFromEnvironment(), arguments,
                             std::cerr);
}
