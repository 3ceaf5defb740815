#include "base/users_alone.h"

#include <sys/stat.h>
#include <unistd.h>

#include <system_error>

namespace tamrivo {

bool usersAlone(const std::filesystem::path& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && status.st_uid == ::geteuid() &&
           (S_ISLNK(status.st_mode) || (status.st_mode & (S_IWGRP | S_IWOTH)) == 0);
}

std::optional<std::filesystem::path> firstNotUsersAlone(const std::filesystem::path& folder) {
    if (!usersAlone(folder)) {
        return folder;
    }
    std::error_code error;
    std::filesystem::recursive_directory_iterator entries(folder, error);
    for (; !error && entries != std::filesystem::recursive_directory_iterator();
         entries.increment(error)) {
        if (!usersAlone(entries->path())) {
            return entries->path();
        }
    }
    if (error) {
        return folder;  // what cannot be read cannot be vouched for
    }
    return std::nullopt;
}

}  // namespace tamrivo
