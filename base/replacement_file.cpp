#include "base/replacement_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <string>

namespace tamrivo {
namespace {

std::error_code lastError() {
    return {errno, std::generic_category()};
}

// Puts the file at a name that must still be free. Where the file system cannot rename
// without replacing, a hard link gives the same all-or-nothing answer.
int moveToNewName(const char* from, const char* to) {
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return -1;
    }
    if (::link(from, to) != 0) {
        return -1;
    }
    return ::unlink(from);
}

}  // namespace

ReplacementFile::~ReplacementFile() {
    discard();
}

std::error_code ReplacementFile::create(const std::filesystem::path& target) {
    return create(target, userFileMode());
}

std::error_code ReplacementFile::create(const std::filesystem::path& target, mode_t mode) {
    discard();
    std::string name = target.string() + kPartialMarker + "XXXXXX";
    // mkostemp creates exclusively: an existing name, a link included, is never opened.
    descriptor_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (descriptor_ < 0) {
        return lastError();
    }
    target_ = target;
    partial_ = name;
    if (::fchmod(descriptor_, mode) != 0) {
        const std::error_code error = lastError();
        discard();
        return error;
    }
    return {};
}

std::error_code ReplacementFile::write(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return lastError();
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return {};
}

std::error_code ReplacementFile::commit(Target target) {
    if (descriptor_ < 0) {
        return std::make_error_code(std::errc::bad_file_descriptor);
    }
    if (::fsync(descriptor_) != 0) {
        const std::error_code error = lastError();
        discard();
        return error;
    }
    const int closed = ::close(descriptor_);
    descriptor_ = -1;
    const int moved = closed != 0 ? -1
                      : target == Target::Replace
                          ? ::rename(partial_.c_str(), target_.c_str())
                          : moveToNewName(partial_.c_str(), target_.c_str());
    if (moved != 0) {
        const std::error_code error = lastError();
        discard();
        return error;
    }
    partial_.clear();
    return syncFolder(target_.parent_path());
}

void ReplacementFile::discard() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
    if (!partial_.empty()) {
        ::unlink(partial_.c_str());
        partial_.clear();
    }
}

std::error_code writeWholeFile(const std::filesystem::path& target,
                               std::span<const std::uint8_t> bytes, mode_t mode) {
    ReplacementFile file;
    if (std::error_code error = file.create(target, mode)) {
        return error;
    }
    if (std::error_code error = file.write(bytes)) {
        return error;
    }
    return file.commit();
}

std::error_code writeWholeFile(const std::filesystem::path& target,
                               std::span<const std::uint8_t> bytes) {
    return writeWholeFile(target, bytes, userFileMode());
}

mode_t userFileMode() {
    // Read where the kernel shows it: setting the umask to learn it would race other threads.
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0) {
            return 0666 & ~static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
        }
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666 & ~mask;
}

bool nameTaken(const std::filesystem::path& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

std::error_code syncFolder(const std::filesystem::path& folder) {
    const std::filesystem::path path = folder.empty() ? "." : folder;
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        return lastError();
    }
    const bool synced = ::fsync(descriptor) == 0;
    const std::error_code error = synced ? std::error_code{} : lastError();
    ::close(descriptor);
    return error;
}

}  // namespace tamrivo
