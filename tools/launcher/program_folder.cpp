#include "tools/launcher/program_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "tools/launcher/child_process.h"
#include "tools/updater/install_journal.h"
#include "update_format/update_format.h"
#include "update_format/version_order.h"

namespace tamrivo::launcher {
namespace {

namespace fs = std::filesystem;

std::string systemError(const std::string& what, int error) {
    return what + ": " + std::strerror(error);
}

bool copyBytes(int from, int to) {
    char buffer[1 << 16];
    while (true) {
        const ssize_t read = ::read(from, buffer, sizeof buffer);
        if (read == 0) {
            return true;
        }
        if (read < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        for (ssize_t written = 0; written < read;) {
            const ssize_t now = ::write(to, buffer + written, static_cast<size_t>(read - written));
            if (now < 0 && errno != EINTR) {
                return false;
            }
            written += now > 0 ? now : 0;
        }
    }
}

// Writes the file beside its place and renames it over whatever stands there (a symbolic
// link included, which is replaced rather than followed).
bool replaceFile(const fs::path& source, const fs::path& target, std::string& message) {
    const int from = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status {};
    if (from < 0 || ::fstat(from, &status) != 0) {
        message = systemError("cannot read " + source.string(), errno);
        if (from >= 0) {
            ::close(from);
        }
        return false;
    }
    std::string name = target.filename().string();
    name.insert(0, 1, '.');
    fs::path temporary = target;
    temporary.replace_filename(name + ".new");
    ::unlink(temporary.c_str());
    const int to = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          status.st_mode & 0777);
    int error = to < 0 ? errno : 0;
    if (error == 0 && !(copyBytes(from, to) && ::fsync(to) == 0)) {
        error = errno;
    }
    ::close(from);
    if (to >= 0 && ::close(to) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        message = systemError("cannot write " + target.string(), error);
        ::unlink(temporary.c_str());
    }
    return error == 0;
}

// Every file of the package but VERSION, folders included; nothing under Data/.
bool copyProgramFiles(const fs::path& from, const fs::path& to, std::string& message) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(from, error)) {
        const fs::path name = entry.path().filename();
        if (isDataFolderName(name.string()) || name == kVersionFileName) {
            continue;
        }
        if (entry.is_directory(error) && !entry.is_symlink(error)) {
            fs::create_directories(to / name, error);
            if (error || !copyProgramFiles(entry.path(), to / name, message)) {
                message = message.empty() ? "cannot make " + (to / name).string() : message;
                return false;
            }
        } else if (entry.is_regular_file(error) && !replaceFile(entry.path(), to / name, message)) {
            return false;
        }
    }
    if (error) {
        message = "cannot read " + from.string() + ": " + error.message();
        return false;
    }
    return true;
}

FolderChange changeNeeded(const fs::path& programFiles, const fs::path& folder) {
    const std::string present = readVersion(folder);
    if (present.empty() && !fs::exists(folder / kVersionFileName)) {
        return FolderChange::Installed;
    }
    const auto order = compareVersions(present, readVersion(programFiles));
    return order.has_value() && *order >= 0 ? FolderChange::Kept : FolderChange::Refreshed;
}

}  // namespace

fs::path userProgramFolder(const char* xdgDataHome, const char* home) {
    if (xdgDataHome != nullptr && fs::path(xdgDataHome).is_absolute()) {
        return fs::path(xdgDataHome) / "tamrivo";
    }
    if (home != nullptr && fs::path(home).is_absolute()) {
        return fs::path(home) / ".local" / "share" / "tamrivo";
    }
    return {};
}

Preparation prepareProgramFolder(const fs::path& programFiles, const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder.parent_path(), error);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return {false, FolderChange::Kept, systemError("cannot make " + folder.string(), errno)};
    }
    // Held against a second launcher, a start of the program and the updater alike.
    const InstallLock lock(folder);
    Preparation result;
    // An update the updater could not finish is finished or undone before anything else.
    if (const std::vector<std::string> notRestored = InstallWork(folder).recover();
        !notRestored.empty()) {
        result.message = "an interrupted update left files it could not put back, in " +
                         (folder / kUpdateWorkFolder).string();
    }
    result.change = changeNeeded(programFiles, folder);
    if (result.change != FolderChange::Kept &&
        (!copyProgramFiles(programFiles, folder, result.message) ||
         !replaceFile(programFiles / kVersionFileName, folder / kVersionFileName,
                      result.message))) {
        // A refresh cut short leaves the earlier program, which may still start.
        result.ready = result.change == FolderChange::Refreshed;
        return result;
    }
    result.ready = true;
    return result;
}

std::vector<std::string> databaseCreationCommand(const fs::path& folder) {
    return {(folder / TAMRIVO_RECORDS_TOOL).string(), "--folder", folder.string(), "create"};
}

bool needsFirstDatabase(const fs::path& folder) {
    std::error_code error;
    const fs::path data = folder / kDataFolderName;
    return !fs::exists(fs::symlink_status(data, error)) ||
           (fs::is_directory(fs::symlink_status(data, error)) && fs::is_empty(data, error) &&
            !error);
}

bool createFirstDatabase(const fs::path& folder, std::string& message) {
    const int status = runAndWait(databaseCreationCommand(folder));
    if (status != 0) {
        message = "the records tool could not create the database (status " +
                  std::to_string(status) + ")";
    }
    return status == 0;
}

}  // namespace tamrivo::launcher
