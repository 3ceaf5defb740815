#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace tamrivo {

// Where an archive entry named name (UTF-8, "/" or "\" between folders) belongs, relative to
// the directory it is unpacked into; nothing when the name would land outside that
// directory (an absolute path, a drive, "..") or names no file at all.
std::optional<std::filesystem::path> entryTarget(std::string_view name);

// A name ending in a separator names a folder.
bool isFolderEntry(std::string_view name);

}  // namespace tamrivo
