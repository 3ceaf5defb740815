#include "ui/folder_sync.h"

#include <fcntl.h>
#include <unistd.h>

namespace tamrivo {

bool syncFolder(const std::filesystem::path& folder) {
    const std::filesystem::path path = folder.empty() ? "." : folder;
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        return false;
    }
    const bool synced = ::fsync(descriptor) == 0;
    ::close(descriptor);
    return synced;
}

}  // namespace tamrivo
