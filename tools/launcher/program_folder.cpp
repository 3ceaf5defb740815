#include "tools/launcher/program_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <system_error>

#include "base/replacement_file.h"
#include "base/users_alone.h"
#include "tools/command_line/child_process.h"
#include "update_format/install_journal.h"
#include "update_format/update_format.h"
#include "update_format/version_order.h"

namespace tamrivo::launcher {
namespace {

namespace fs = std::filesystem;

std::string systemError(const std::string& what, int error) {
    return what + ": " + std::strerror(error);
}

bool copyBytes(int from, ReplacementFile& to) {
    std::uint8_t buffer[1 << 16];
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
        if (to.write({buffer, static_cast<std::size_t>(read)})) {
            return false;
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
    ReplacementFile file;
    std::error_code error = file.create(target, status.st_mode & 0777);
    if (!error && !copyBytes(from, file)) {
        error = {errno, std::generic_category()};
    }
    ::close(from);
    if (!error) {
        error = file.commit();
    }
    if (error) {
        message = "cannot write " + target.string() + ": " + error.message();
    }
    return !error;
}

// A folder of the user's own, made where missing: never a link, which would send the files
// elsewhere, and never one another user could have written into.
bool ownFolder(const fs::path& folder, mode_t mode, std::string& message) {
    if (::mkdir(folder.c_str(), mode) != 0 && errno != EEXIST) {
        message = systemError("cannot make " + folder.string(), errno);
        return false;
    }
    struct stat status {};
    if (::lstat(folder.c_str(), &status) != 0) {
        message = systemError("cannot use " + folder.string(), errno);
        return false;
    }
    if (!S_ISDIR(status.st_mode)) {
        message = "cannot use " + folder.string() + ": it is a link or not a folder";
        return false;
    }
    if (status.st_uid != ::geteuid()) {
        message = "cannot use " + folder.string() + ": it belongs to another user";
        return false;
    }
    return true;
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
            if (!ownFolder(to / name, 0755, message) ||
                !copyProgramFiles(entry.path(), to / name, message)) {
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

bool isFolder(const fs::path& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool isFile(const fs::path& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// Puts the package's copy of a program file or folder where one not the user's alone
// stood, or takes that away where the package has none.
bool restoreFromPackage(const fs::path& pristine, const fs::path& target, std::string& message) {
    if (isFolder(target) || !isFile(pristine)) {
        std::error_code error;
        fs::remove_all(target, error);
        if (error) {
            message = "cannot take away " + target.string() +
                      ", which is not yours alone: " + error.message();
            return false;
        }
    }
    if (isFile(pristine)) {
        return replaceFile(pristine, target, message);  // renamed over a file in one step
    }
    return !isFolder(pristine) ||
           (ownFolder(target, 0755, message) && copyProgramFiles(pristine, target, message));
}

// Another user may have written into a folder once left open to others: every program file
// that is not the user's alone (theirs and writable by nobody else) is replaced by the
// package's pristine copy before anything is run. The records and the updater's work are
// left to their own checks.
bool keepUsersAlone(const fs::path& package, const fs::path& folder, const fs::path& relative,
                    std::string& message) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder / relative, error)) {
        const fs::path name = relative / entry.path().filename();
        if (relative.empty() && (isDataFolderName(name.string()) || name == kUpdateWorkFolder)) {
            continue;
        }
        struct stat status {};
        const bool read = ::lstat(entry.path().c_str(), &status) == 0;
        const bool ownFolderOpenToOthers =
            read && S_ISDIR(status.st_mode) && status.st_uid == ::geteuid();
        if (ownFolderOpenToOthers && !usersAlone(entry.path()) &&
            ::chmod(entry.path().c_str(), status.st_mode & 0755) != 0) {
            message = systemError("cannot protect " + entry.path().string(), errno);
            return false;
        }
        if (!usersAlone(entry.path()) &&
            !restoreFromPackage(package / name, entry.path(), message)) {
            return false;
        }
        if (isFolder(entry.path()) && !keepUsersAlone(package, folder, name, message)) {
            return false;
        }
    }
    if (error) {
        message = "cannot read " + (folder / relative).string() + ": " + error.message();
    }
    return !error;
}

// The records are opened, and their lock taken, through Data: never through a link or a
// folder of another user's. The user's own Data left open to others (made under a umask of
// 002, say) is closed rather than refused, so the landlord is never shut out of the records.
bool dataUsable(const fs::path& folder, std::string& message) {
    const fs::path data = folder / kDataFolderName;
    struct stat status {};
    if (::lstat(data.c_str(), &status) != 0) {
        return true;  // the first start makes it
    }
    const bool ownFolder = S_ISDIR(status.st_mode) && status.st_uid == ::geteuid();
    if (ownFolder && !usersAlone(data) &&
        ::chmod(data.c_str(), status.st_mode & ~(S_IWGRP | S_IWOTH)) != 0) {
        message = systemError("cannot protect " + data.string(), errno);
        return false;
    }
    if (!S_ISDIR(status.st_mode) || !usersAlone(data)) {
        message =
            "cannot use " + data.string() + ": it is a link, not a folder, or not yours alone";
        return false;
    }
    return true;
}

FolderChange changeNeeded(const fs::path& programFiles, const fs::path& folder, FolderSync sync) {
    const std::string present = readVersion(folder);
    if (present.empty() && !fs::exists(folder / kVersionFileName)) {
        return FolderChange::Installed;
    }
    const auto order = compareVersions(present, readVersion(programFiles));
    const bool keep =
        order.has_value() && (*order == 0 || (*order > 0 && sync == FolderSync::KeepNewer));
    return keep ? FolderChange::Kept : FolderChange::Refreshed;
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

Preparation prepareProgramFolder(const fs::path& programFiles, const fs::path& folder,
                                 FolderSync sync) {
    std::error_code error;
    fs::create_directories(folder.parent_path(), error);
    Preparation result;
    // Whatever stands in the folder is started: it must be the user's alone.
    if (!ownFolder(folder, 0700, result.message) || ::chmod(folder.c_str(), 0700) != 0) {
        if (result.message.empty()) {
            result.message = systemError("cannot protect " + folder.string(), errno);
        }
        return result;
    }
    if (!dataUsable(folder, result.message)) {
        return result;
    }
    // Held against a second launcher, a start of the program and the updater alike.
    const InstallLock lock(folder);
    // An update the updater could not finish is finished or undone before anything else,
    // from a journal only the user could have written.
    const InstallWork work(folder);
    if (const std::optional<fs::path> planted = work.distrusted()) {
        result.message = "the interrupted update in " + (folder / kUpdateWorkFolder).string() +
                         " was not followed: " + planted->string() + " is not yours alone";
    } else if (!work.recover().empty()) {
        result.message = "an interrupted update left files it could not put back, in " +
                         (folder / kUpdateWorkFolder).string();
    }
    if (!keepUsersAlone(programFiles, folder, {}, result.message)) {
        return result;
    }
    result.change = changeNeeded(programFiles, folder, sync);
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
