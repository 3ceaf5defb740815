#include "tools/launcher/program_folder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <system_error>

#include "tools/launcher/child_process.h"
#include "tools/launcher/version_order.h"
#include "ui/replacement_file.h"

namespace tamrivo::launcher {
namespace {

namespace fs = std::filesystem;

constexpr char kVersionFile[] = "VERSION";
constexpr char kDataFolder[] = "Data";

std::string systemError(const std::string& what, int error) {
    return what + ": " + std::strerror(error);
}

// Holds the folder against a second launcher bringing it up at the same time.
class FolderLock {
public:
    explicit FolderLock(const fs::path& folder)
        : descriptor_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (descriptor_ >= 0) {
            ::flock(descriptor_, LOCK_EX);
        }
    }
    ~FolderLock() {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int descriptor_;
};

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
        if (name == kDataFolder || name == kVersionFile) {
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

FolderChange changeNeeded(const fs::path& programFiles, const fs::path& folder) {
    const std::string present = readVersion(folder);
    if (present.empty() && !fs::exists(folder / kVersionFile)) {
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
    Preparation result;
    // Whatever stands in the folder is started: it must be the user's alone.
    if (!ownFolder(folder, 0700, result.message) || ::chmod(folder.c_str(), 0700) != 0) {
        if (result.message.empty()) {
            result.message = systemError("cannot protect " + folder.string(), errno);
        }
        return result;
    }
    const FolderLock lock(folder);
    result.change = changeNeeded(programFiles, folder);
    if (result.change != FolderChange::Kept &&
        (!copyProgramFiles(programFiles, folder, result.message) ||
         !replaceFile(programFiles / kVersionFile, folder / kVersionFile, result.message))) {
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
    const fs::path data = folder / kDataFolder;
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
