#pragma once

#include <filesystem>
#include <string>

namespace tamrivo::release {

// Packs everything in the program folder into a zip archive at package, except what the
// updater would never write (Data/ and its own work folder): files compressed with their
// Unix permissions, folders as folders, in a fixed order. Empty when done, else what went
// wrong (a link or a special file in the folder, a file that cannot be read).
std::string writePackage(const std::filesystem::path& folder, const std::filesystem::path& package);

}  // namespace tamrivo::release
