#include "tools/launcher/launcher.h"

#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "tools/command_line/child_process.h"
#include "tools/launcher/program_folder.h"

namespace tamrivo::launcher {
namespace {

constexpr int kFailed = 1;
// The package's build leaves updates to the package manager (a build setting).
constexpr FolderSync kFolderSync =
    TAMRIVO_PACKAGED ? FolderSync::FollowPackage : FolderSync::KeepNewer;

// Says what went wrong; true when the folder's program may still be started.
bool prepare(const std::filesystem::path& programFiles, const std::filesystem::path& folder,
             std::ostream& err) {
    if (folder.empty()) {
        err << "tamrivo: cannot tell where your program folder goes: set HOME\n";
        return false;
    }
    const Preparation preparation = prepareProgramFolder(programFiles, folder, kFolderSync);
    if (!preparation.message.empty()) {
        err << "tamrivo: " << preparation.message << '\n';
    }
    return preparation.ready;
}

// Says nothing unless the program could not be started: a prefix written before the exec
// would be left dangling on the terminal of every start.
int become(const std::vector<std::string>& command, std::ostream& err) {
    const std::string reason = replaceWith(command);
    err << "tamrivo: " << reason << '\n';
    return kFailed;
}

}  // namespace

std::filesystem::path packageProgramFiles() {
    return TAMRIVO_PROGRAM_FILES;
}

std::filesystem::path userProgramFolderFromEnvironment() {
    return userProgramFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

int launchProgram(const std::filesystem::path& programFiles, const std::filesystem::path& folder,
                  std::ostream& err) {
    if (!prepare(programFiles, folder, err)) {
        return kFailed;
    }
    std::string message;
    // Without a database the program still starts and tells the person it cannot open it.
    if (needsFirstDatabase(folder) && !createFirstDatabase(folder, message)) {
        err << "tamrivo: " << message << '\n';
    }
    return become({(folder / "tamrivo").string()}, err);
}

int launchRecordsTool(const std::filesystem::path& programFiles,
                      const std::filesystem::path& folder, std::span<const char* const> arguments,
                      std::ostream& err) {
    if (!prepare(programFiles, folder, err)) {
        return kFailed;
    }
    std::vector<std::string> command{(folder / TAMRIVO_RECORDS_TOOL).string()};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return become(command, err);
}

}  // namespace tamrivo::launcher
