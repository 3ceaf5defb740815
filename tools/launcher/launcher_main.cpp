// /usr/bin/tamrivo: starts Tamrivo from the user's own program folder.
#include <iostream>

#include "tools/launcher/launcher.h"

int main() {
    using namespace tamrivo::launcher;
    return launchProgram(packageProgramFiles(), userProgramFolderFromEnvironment(), std::cerr);
}
