#pragma once

#include <filesystem>
#include <optional>

namespace tamrivo {

// Whether the entry, not followed when it is a link, belongs to the user this program runs
// as and nobody else can write it: only such a file may be run, copied or followed on the
// user's behalf. A link's own permissions mean nothing, so its owner alone decides.
bool usersAlone(const std::filesystem::path& path);

// The first entry of the folder, the folder itself included, that is not the user's alone,
// looking into subfolders (never through links); nothing when every entry is.
std::optional<std::filesystem::path> firstNotUsersAlone(const std::filesystem::path& folder);

}  // namespace tamrivo
