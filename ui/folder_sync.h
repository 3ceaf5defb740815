#pragma once

#include <filesystem>

namespace tamrivo {

// Flushes a folder's entries to the disk, so that a file made or renamed in it outlives a
// power cut; false when it cannot. An empty path is the current folder.
bool syncFolder(const std::filesystem::path& folder);

}  // namespace tamrivo
