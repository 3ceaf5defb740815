#include "net/download_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/text_encoding.h"
#include "net/download_types.h"

namespace tamrivo {

DownloadFile::~DownloadFile() {
    close();
}

bool DownloadFile::create(const Text& path) {
    close();
    const std::string nativePath = gbkToUtf8(path);
    if (nativePath.empty()) {
        return false;
    }
    descriptor_ = ::open(nativePath.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    struct stat status {};
    if (isOpen() &&
        (::flock(descriptor_, LOCK_EX | LOCK_NB) != 0 || ::fstat(descriptor_, &status) != 0 ||
         !S_ISREG(status.st_mode) || status.st_nlink != 1 || ::ftruncate(descriptor_, 0) != 0)) {
        close();
    }
    return isOpen();
}

std::int32_t DownloadFile::write(const char* data, std::size_t length) {
    ssize_t written = 0;
    do {
        written = ::write(descriptor_, data, length);
    } while (written < 0 && errno == EINTR);
    if (written < 0) {
        return kDownloadWriteFailed;
    }
    return static_cast<std::size_t>(written) == length ? 0 : kDownloadWriteShort;
}

void DownloadFile::close() {
    if (isOpen()) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
}

}  // namespace tamrivo
